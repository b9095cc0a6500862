#include <gtest/gtest.h>

#include <numbers>

#include "render/SpriteQuad.h"
#include "render/Texture.h"

namespace {

void ExpectCorner(const SpriteCorner& corner, float x, float y, float u, float v)
{
    EXPECT_NEAR(corner.x, x, 1e-3f);
    EXPECT_NEAR(corner.y, y, 1e-3f);
    EXPECT_NEAR(corner.u, u, 1e-6f);
    EXPECT_NEAR(corner.v, v, 1e-6f);
}

TEST(SpritePlacement, TheCentreLandsOnTheTransformsOrigin)
{
    const Rect whole{0, 0, 100, 40};
    const auto corners = PlaceSprite(whole, Matrix::Translation(640, 360, 0), {50, 20, 0}, 100, 40);
    ExpectCorner(corners[0], 590, 340, 0, 0);
    ExpectCorner(corners[1], 690, 340, 1, 0);
    ExpectCorner(corners[2], 690, 380, 1, 1);
    ExpectCorner(corners[3], 590, 380, 0, 1);
}

TEST(SpritePlacement, ScalingAppliesAboutTheCentreBeforeTheMove)
{
    // Scaling(1.5) × Translation(115, 65): a 20 × 30 digit centred on (10, 15).
    const Matrix m = Matrix::Scaling(1.5f, 1.5f, 1.5f) * Matrix::Translation(115, 65, 0);
    const auto corners = PlaceSprite({0, 0, 20, 30}, m, {10, 15, 0}, 20, 30);
    ExpectCorner(corners[0], 100, 42.5f, 0, 0);
    ExpectCorner(corners[2], 130, 87.5f, 1, 1);
}

TEST(SpritePlacement, RotationTurnsTheSpriteAboutItsCentreOnScreen)
{
    const Matrix m = Matrix::RotationZ(std::numbers::pi_v<float> / 2) * Matrix::Translation(100, 100, 0);
    const auto corners = PlaceSprite({0, 0, 10, 10}, m, {5, 5, 0}, 10, 10);
    // The top-left corner (-5, -5) turns to (5, -5): screen y grows downwards.
    ExpectCorner(corners[0], 105, 95, 0, 0);
}

TEST(SpritePlacement, APartOfTheTextureMapsToItsTexels)
{
    const auto corners = PlaceSprite({64, 32, 128, 64}, Matrix::Identity(), {0, 0, 0}, 256, 128);
    ExpectCorner(corners[0], 0, 0, 0.25f, 0.25f);
    ExpectCorner(corners[2], 64, 32, 0.5f, 0.5f);
}

TEST(ScreenQuad, CoversTheRectangleWithTheWholeTexture)
{
    const auto v = ScreenQuadVertices({0, 0, 320, 180});
    EXPECT_EQ(v[0].x, 0);
    EXPECT_EQ(v[0].u, 0);
    EXPECT_EQ(v[1].x, 320);
    EXPECT_EQ(v[1].u, 1);
    EXPECT_EQ(v[2].y, 180);
    EXPECT_EQ(v[2].v, 1);
    EXPECT_EQ(v[3].x, 0);
    EXPECT_EQ(v[3].v, 1);
    const auto empty = ScreenQuadVertices({10, 20, 0, 0});
    EXPECT_EQ(empty[0].x, empty[2].x);
    EXPECT_EQ(empty[0].y, empty[2].y);
}

}  // namespace
