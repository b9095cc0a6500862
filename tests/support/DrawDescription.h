#pragma once

#include <string>
#include <vector>

#include "render/DrawRecord.h"

// A draw in a few words, for comparing whole sequences: "target sceneTarget",
// "quad NormalTech 320x180", "mesh FILE TECHNIQUE", "fixed WHAT", "sprite
// FILE", "text STRING".
std::string Describe(const DrawRecord& draw);
std::vector<std::string> Described(const std::vector<DrawRecord>& draws);
