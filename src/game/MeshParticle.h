#pragma once

#include <memory>

#include "math/Matrix.h"
#include "math/Vector3.h"

class Mesh;
class ModelShader;

// One small mesh of a block's burst, placed in world space.
struct MeshParticle {
    static constexpr int StartLife = 30;

    // scale × yaw-pitch-roll of rotation (radians: x pitch, y yaw, z roll) × translation.
    Matrix WorldMatrix() const;
    // The mesh (every particle of a burst shows the same one) at full
    // strength in the Glow technique.
    void Draw(ModelShader& shader, const std::shared_ptr<Mesh>& mesh) const;

    Vector3 position{0.0f};
    Vector3 rotation{0.0f};
    Vector3 scale{1.0f};
    // Frames left to live.
    int life = StartLife;
};
