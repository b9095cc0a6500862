#pragma once

#include <memory>

#include "math/Matrix.h"

class GraphicsDevice;

// Builds a scene's view and projection and hands them to the device: from an
// orbit pose (the game) or from a frame and local look-at points (title,
// select). Every projection has a 60° vertical field of view, the back buffer's
// aspect and a near plane of 1; the far plane depends on the operation.
class Camera {
public:
    static constexpr float CreateFarPlane = 1500.0f;
    static constexpr float OrbitFarPlane = 5000.0f;
    static constexpr float LookAtFarPlane = 2000.0f;

    // yaw 0, pitch 0.75, at (250, 325, -125), with the creation projection.
    static std::unique_ptr<Camera> Create(const GraphicsDevice& device);

    // world = yaw-pitch rotation, then the position; view is its inverse. Both
    // updates hand the view and projection to the device.
    void UpdateOrbit(GraphicsDevice& device);
    // The look-at points are given in frame's local space; up is normalised.
    void LookAt(GraphicsDevice& device, const Matrix& frame, const Vector3& eyeLocal, const Vector3& targetLocal,
                const Vector3& upLocal);

    Vector3 eye{0.0f};
    Vector3 target{0.0f};
    Vector3 up{0.0f};
    float yaw = 0.0f;
    float pitch = 0.0f;
    Vector3 position{0.0f};
    Matrix world;
    Matrix view;
    Matrix projection;
};

// The projection every camera uses on the device's back buffer, with the given far plane.
Matrix CameraProjection(const GraphicsDevice& device, float farPlane);
