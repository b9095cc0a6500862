#include "game/MeshParticle.h"

#include "render/ShaderManager.h"

Matrix MeshParticle::WorldMatrix() const
{
    return Matrix::Scaling(scale.x, scale.y, scale.z) *
           Matrix::RotationYawPitchRoll(rotation.y, rotation.x, rotation.z) * Matrix::Translation(position);
}

void MeshParticle::Draw() const
{
    ModelShader& shader = ShaderManager::Instance().modelShader;
    shader.SetWorld(WorldMatrix());
    shader.DrawGlow(mesh, 1.0f);
}
