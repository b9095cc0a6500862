#include "math/Matrix.h"

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/matrix.hpp>

void Matrix::SetTranslationRow(const Vector3& t)
{
    g[3][0] = t.x;
    g[3][1] = t.y;
    g[3][2] = t.z;
}

Matrix Matrix::Translation(float x, float y, float z)
{
    Matrix m;
    m.SetTranslationRow({x, y, z});
    return m;
}

Matrix Matrix::Scaling(float x, float y, float z)
{
    Matrix m;
    m(0, 0) = x;
    m(1, 1) = y;
    m(2, 2) = z;
    return m;
}

Matrix Matrix::RotationX(float radians)
{
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    Matrix m;
    m(1, 1) = c;
    m(1, 2) = s;
    m(2, 1) = -s;
    m(2, 2) = c;
    return m;
}

Matrix Matrix::RotationY(float radians)
{
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    Matrix m;
    m(0, 0) = c;
    m(0, 2) = -s;
    m(2, 0) = s;
    m(2, 2) = c;
    return m;
}

Matrix Matrix::RotationZ(float radians)
{
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    Matrix m;
    m(0, 0) = c;
    m(0, 1) = s;
    m(1, 0) = -s;
    m(1, 1) = c;
    return m;
}

Matrix Matrix::RotationYawPitchRoll(float yaw, float pitch, float roll)
{
    return RotationZ(roll) * RotationX(pitch) * RotationY(yaw);
}

Matrix Matrix::RotationQuaternion(const Quaternion& q)
{
    return {glm::mat4_cast(q)};
}

Matrix Matrix::Inverse(const Matrix& m)
{
    return {glm::inverse(m.g)};
}

Matrix Matrix::LookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up)
{
    return {glm::lookAtLH(eye, at, up)};
}

Matrix Matrix::PerspectiveFovLH(float fieldOfViewY, float aspect, float nearPlane, float farPlane)
{
    return {glm::perspectiveLH_ZO(fieldOfViewY, aspect, nearPlane, farPlane)};
}

Matrix operator*(const Matrix& a, const Matrix& b)
{
    // The stored transposes multiply in the opposite order.
    return {b.g * a.g};
}

Vector3 TransformCoord(const Vector3& p, const Matrix& m)
{
    const glm::vec4 r = m.g * glm::vec4(p, 1.0f);
    return Vector3(r) / r.w;
}

Vector3 TransformNormal(const Vector3& v, const Matrix& m)
{
    return Vector3(m.g * glm::vec4(v, 0.0f));
}
