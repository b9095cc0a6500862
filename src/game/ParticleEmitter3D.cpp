#include "game/ParticleEmitter3D.h"

#include <algorithm>

void ParticleEmitter3D::Update()
{
    for (const auto& particle : particles)
        --particle->life;
    std::erase_if(particles, [](const std::shared_ptr<MeshParticle>& particle) { return particle->life <= 0; });
}
