#include <gtest/gtest.h>

#include "render/Camera.h"
#include "render/GraphicsDevice.h"
#include "support/DeviceFixture.h"

namespace {

class CameraTest : public DeviceFixture {
protected:
    void SetUp() override { StartDevice(false); }
};

float FarPlaneOf(const Matrix& projection)
{
    // z scale f / (f - n) and offset -n f / (f - n) give f back.
    return projection(3, 2) / (1.0f - projection(2, 2));
}

TEST_F(CameraTest, CreateStandsAboveTheBoardLookingDown)
{
    const auto camera = Camera::Create(Device());
    EXPECT_EQ(camera->yaw, 0.0f);
    EXPECT_EQ(camera->pitch, 0.75f);
    EXPECT_EQ(camera->position, Vector3(250, 325, -125));
    EXPECT_NEAR(FarPlaneOf(camera->projection), 1500.0f, 0.5f);
    EXPECT_NEAR(camera->projection(0, 0) * 1280.0f / 720.0f, camera->projection(1, 1), 1e-4f) << "aspect 16:9";
}

TEST_F(CameraTest, OrbitPutsTheEyeAtItsPositionAndSetsTheDevice)
{
    const auto camera = Camera::Create(Device());
    camera->UpdateOrbit(Device());
    const Vector3 eye = TransformCoord({250, 325, -125}, camera->view);
    EXPECT_NEAR(eye.x, 0, 1e-3f);
    EXPECT_NEAR(eye.y, 0, 1e-3f);
    EXPECT_NEAR(eye.z, 0, 1e-3f);
    EXPECT_NEAR(FarPlaneOf(camera->projection), 5000.0f, 2.0f);
    const GraphicsDevice& device = Device();
    EXPECT_EQ(device.GetTransform(TransformState::View), camera->view);
    EXPECT_EQ(device.GetTransform(TransformState::Projection), camera->projection);
    // Tilted down: a point straight ahead and below is in front of the eye.
    EXPECT_GT(TransformCoord({250, 0, 200}, camera->view).z, 0.0f);
}

TEST_F(CameraTest, LookAtNormalisesUpAndUsesTheFramesSpace)
{
    Camera camera;
    camera.LookAt(Device(), Matrix::Identity(), {0, 0, -10}, {0, 0, 0}, {0, 2, 0});
    const Matrix longUp = camera.view;
    camera.LookAt(Device(), Matrix::Identity(), {0, 0, -10}, {0, 0, 0}, {0, 1, 0});
    EXPECT_EQ(longUp, camera.view);
    EXPECT_NEAR(FarPlaneOf(camera.projection), 2000.0f, 1.0f);

    camera.LookAt(Device(), Matrix::Translation(5, 0, 0), {0, 0, -10}, {0, 0, 0}, {0, 1, 0});
    const Vector3 target = TransformCoord({5, 0, 0}, camera.view);
    EXPECT_NEAR(target.x, 0, 1e-4f);
    EXPECT_NEAR(target.z, 10, 1e-4f);
}

}  // namespace
