#pragma once

#include <string>
#include <vector>

#include "render/DrawRecord.h"

// One line of the draw log: {"frame":N,"draws":[...]} with the frame's draws in order.
std::string DrawLogLine(int frame, const std::vector<DrawRecord>& draws);
