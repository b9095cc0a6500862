#include "game/MeshParticle.h"

Matrix MeshParticle::WorldMatrix() const
{
    return Matrix::Scaling(scale.x, scale.y, scale.z) *
           Matrix::RotationYawPitchRoll(rotation.y, rotation.x, rotation.z) * Matrix::Translation(position);
}
