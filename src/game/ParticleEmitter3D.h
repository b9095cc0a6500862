#pragma once

#include <memory>
#include <vector>

#include "game/MeshParticle.h"
#include "math/Vector3.h"

// The live particles of one burst. Its own placement is not applied to them:
// their positions are world positions.
struct ParticleEmitter3D {
    // Each particle lives one frame less; those at 0 go, the rest keep their order.
    void Update();

    Vector3 position{0.0f};
    Vector3 rotation{0.0f};
    Vector3 scale{1.0f};
    std::vector<std::shared_ptr<MeshParticle>> particles;
};
