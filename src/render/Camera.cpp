#include "render/Camera.h"

#include "render/GraphicsDevice.h"

namespace {
constexpr float FieldOfViewY = 1.0471976f;
constexpr float NearPlane = 1.0f;
constexpr float StartPitch = 0.75f;
const Vector3 StartPosition{250.0f, 325.0f, -125.0f};

void SetDeviceTransforms(GraphicsDevice& device, const Camera& camera)
{
    device.SetTransform(TransformState::View, camera.view);
    device.SetTransform(TransformState::Projection, camera.projection);
}

}  // namespace

Matrix CameraProjection(const GraphicsDevice& device, float farPlane)
{
    const float aspect = static_cast<float>(device.BackBufferWidth()) / static_cast<float>(device.BackBufferHeight());
    return Matrix::PerspectiveFovLH(FieldOfViewY, aspect, NearPlane, farPlane);
}

std::unique_ptr<Camera> Camera::Create(const GraphicsDevice& device)
{
    auto camera = std::make_unique<Camera>();
    camera->yaw = 0.0f;
    camera->pitch = StartPitch;
    camera->position = StartPosition;
    camera->projection = CameraProjection(device, CreateFarPlane);
    return camera;
}

void Camera::UpdateOrbit(GraphicsDevice& device)
{
    world = Matrix::RotationYawPitchRoll(yaw, pitch, 0.0f) * Matrix::Translation(position);
    view = Matrix::Inverse(world);
    projection = CameraProjection(device, OrbitFarPlane);
    SetDeviceTransforms(device, *this);
}

void Camera::LookAt(GraphicsDevice& device, const Matrix& frame, const Vector3& eyeLocal, const Vector3& targetLocal,
                    const Vector3& upLocal)
{
    const Vector3 eyeWorld = TransformCoord(eyeLocal, frame);
    const Vector3 targetWorld = TransformCoord(targetLocal, frame);
    const Vector3 upWorld = Normalize(TransformNormal(upLocal, frame));
    view = Matrix::LookAtLH(eyeWorld, targetWorld, upWorld);
    projection = CameraProjection(device, LookAtFarPlane);
    SetDeviceTransforms(device, *this);
}
