#pragma once

#include <string>

#include "MeshBuilder.h"

// The DirectX text form of a model ("xof 0303txt 0032"): one Mesh with its
// normals, texture coordinates and material list, materials written inline
// in order so that subset i is material i.
std::string WriteXFile(const MeshBuilder& mesh, const std::string& meshName);
