#pragma once

#include "math/Matrix.h"
#include "math/Vector3.h"

// Where a model stands: its parts kept apart and combined into the world
// matrix that draws it. Owners change rotation or position, then UpdateWorld.
struct Transform {
    Matrix world;
    Matrix rotation;
    Matrix scale;
    Vector3 position{0.0f, 0.0f, 0.0f};

    // world = scale × rotation × translation(position).
    void UpdateWorld();
    Matrix GetTranslation() const { return Matrix::Translation(position); }
};
