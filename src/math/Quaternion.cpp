#include "math/Quaternion.h"

#include "math/Matrix.h"

Quaternion QuaternionFromMatrix(const Matrix& m)
{
    return glm::quat_cast(glm::mat3(m.g));
}

Quaternion Slerp(const Quaternion& a, const Quaternion& b, float t)
{
    return glm::slerp(a, b, t);
}
