#include <gtest/gtest.h>

#include <numbers>

#include "render/Transform.h"

namespace {

TEST(Transform, StartsAtTheOriginWithIdentityMatrices)
{
    const Transform t;
    EXPECT_EQ(t.world, Matrix::Identity());
    EXPECT_EQ(t.rotation, Matrix::Identity());
    EXPECT_EQ(t.scale, Matrix::Identity());
    EXPECT_EQ(t.position, Vector3(0, 0, 0));
}

TEST(Transform, WorldIsScaleThenRotationThenTranslation)
{
    Transform t;
    t.position = {10, 20, 30};
    t.UpdateWorld();
    EXPECT_EQ(t.world.TranslationRow(), Vector3(10, 20, 30));

    Transform turned;
    turned.rotation = Matrix::RotationY(std::numbers::pi_v<float> / 2);
    turned.UpdateWorld();
    EXPECT_EQ(turned.world, turned.rotation);

    Transform all;
    all.scale = Matrix::Scaling(2, 2, 2);
    all.rotation = Matrix::RotationZ(std::numbers::pi_v<float> / 2);
    all.position = {1, 0, 0};
    all.UpdateWorld();
    const Vector3 p = TransformCoord({1, 0, 0}, all.world);
    EXPECT_NEAR(p.x, 1, 1e-5f);
    EXPECT_NEAR(p.y, 2, 1e-5f);
    EXPECT_EQ(all.GetTranslation(), Matrix::Translation(1, 0, 0));
}

}  // namespace
