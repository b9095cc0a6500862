#include "game/BlockBurst.h"
#include "math/Angles.h"

#include <cmath>

#include "game/Block.h"
#include "game/BlockModels.h"
#include "game/GameSounds.h"
#include "render/MeshCache.h"
#include "render/RenderContext.h"
#include "render/ShaderManager.h"
#include "rules/Field.h"
#include "sound/SoundPlayer.h"

namespace {

constexpr float ParticleScale = 0.25f;
constexpr int LastHeightFrame = 15;
constexpr int LastSpinFrame = 62;
// π/96: the spin's sine reaches its top after 48 frames, at two turns less a degree.
constexpr double SpinStep = 0.032724923474893676;
constexpr double SpinDegrees = 720.0;
constexpr float BurstFrames = 30.0f;
constexpr float BurstTopSpeed = -30.0f;

}  // namespace

BlockBurst::BlockBurst(std::weak_ptr<Block> owner)
    : emitter(std::make_shared<ParticleEmitter3D>()), block(std::move(owner))
{
    emitter->particles.reserve(ParticleCount);
    for (int i = 0; i < ParticleCount; ++i) {
        auto particle = std::make_shared<MeshParticle>();
        particle->scale = Vector3{ParticleScale};
        emitter->particles.push_back(std::move(particle));
    }
}

void BlockBurst::Update(SoundPlayer* sound)
{
    const std::shared_ptr<Block> owner = block.lock();
    if (!owner)
        return;
    if (frame <= LastRiseFrame)
        Rise(*owner);
    else
        Burst(*owner, sound);
}

void BlockBurst::Rise(Block& owner)
{
    if (frame <= LastHeightFrame) {
        const int e = (-10 * frame) / 15;
        owner.transform.position.y = static_cast<float>((1.0 - std::pow(2.0, e)) * 100.0 + 50.0);
    }
    if (frame > LastHeightFrame && frame <= LastSpinFrame) {
        const int degrees = static_cast<int>(std::sin((frame - LastHeightFrame) * SpinStep) * SpinDegrees);
        owner.transform.rotation = Matrix::RotationYawPitchRoll(0.0f, static_cast<float>(degrees) * DegreesToRadians, 0.0f);
    }
    owner.transform.UpdateWorld();
    ++frame;
    if (frame > LastRiseFrame)
        PlaceParticles(owner);
}

void BlockBurst::Burst(const Block& owner, SoundPlayer* sound)
{
    const Vector3 centre = Field::Centre(owner.mapCell);
    const float t = static_cast<float>(burstFrame) / BurstFrames - 1.0f;
    const float speed = (t * t * t * t - 1.0f) * BurstTopSpeed;
    for (const auto& particle : emitter->particles) {
        particle->position += Normalize(particle->position - centre) * speed;
        const float s = static_cast<float>(particle->life) / BurstFrames * ParticleScale;
        particle->scale = Vector3{s};
    }
    if (!soundPlayed) {
        soundPlayed = true;
        if (sound && sound->EffectCount() > GameSound::Burst)
            sound->PlayEffect(GameSound::Burst, false);
    }
    emitter->Update();
    ++burstFrame;
}

void BlockBurst::Draw(const RenderContext& render) const
{
    ModelShader& shader = render.shaders.modelShader;
    const auto white = render.meshes.Get(BlockModel::White);
    if (frame <= LastRiseFrame) {
        shader.DrawToon(white);
        return;
    }
    for (const auto& particle : emitter->particles)
        particle->Draw(shader, white);
}

void BlockBurst::PlaceParticles(const Block& owner)
{
    // 50 / 1, 50 / 2, 50 / 3, 50 / 4: the cube sits off-centre toward +x, +y, +z.
    constexpr float Offsets[4] = {50.0f, 25.0f, 16.0f, 12.0f};
    constexpr float Shift = 18.0f;
    const Vector3 centre = Field::Centre(owner.mapCell);
    for (int a = 0; a < 4; ++a) {
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                MeshParticle& particle = *emitter->particles[16 * a + 4 * i + j];
                particle.position = centre + Vector3{Offsets[j] - Shift, Offsets[i] - Shift, Offsets[a] - Shift};
            }
        }
    }
}
