#include "game/MeshParticle.h"

#include "render/ModelShader.h"

Matrix MeshParticle::WorldMatrix() const
{
    return Matrix::Scaling(scale.x, scale.y, scale.z) *
           Matrix::RotationYawPitchRoll(rotation.y, rotation.x, rotation.z) * Matrix::Translation(position);
}

void MeshParticle::Draw(ModelShader& shader, const std::shared_ptr<Mesh>& mesh) const
{
    shader.SetWorld(WorldMatrix());
    shader.DrawGlow(mesh, 1.0f);
}
