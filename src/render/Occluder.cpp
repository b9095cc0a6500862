#include "render/Occluder.h"

#include <algorithm>
#include <cmath>

namespace {

// A sight line must enter the occluder this much of its length before the
// point: a point on the occluder's near surface is not hidden by it.
constexpr float EntryMargin = 1e-3f;

glm::vec3 Place(const glm::mat4& m, const glm::vec3& p)
{
    return glm::vec3(m * glm::vec4(p, 1.0f));
}

}  // namespace

Occluder::Occluder(const Matrix& world, const Vector3& boxLow, const Vector3& boxHigh)
    : toLocal(Matrix::Inverse(world).g), low(boxLow.x, boxLow.y, boxLow.z), high(boxHigh.x, boxHigh.y, boxHigh.z)
{
}

bool Occluder::Hides(const Vector3& eye, const Matrix& world, const Vector3& boxLow, const Vector3& boxHigh) const
{
    const glm::vec3 from = Place(toLocal, {eye.x, eye.y, eye.z});
    if (glm::all(glm::greaterThanEqual(from, low)) && glm::all(glm::lessThanEqual(from, high)))
        return false;
    const glm::mat4 toOccluder = toLocal * world.g;
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec3 p(corner & 1 ? boxHigh.x : boxLow.x, corner & 2 ? boxHigh.y : boxLow.y,
                          corner & 4 ? boxHigh.z : boxLow.z);
        if (!Blocks(from, Place(toOccluder, p)))
            return false;
    }
    return true;
}

bool Occluder::Blocks(const glm::vec3& eye, const glm::vec3& point) const
{
    const glm::vec3 along = point - eye;
    float enter = 0.0f;
    float leave = 1.0f;
    for (int axis = 0; axis < 3; ++axis) {
        if (std::abs(along[axis]) < 1e-6f) {
            if (eye[axis] < low[axis] || eye[axis] > high[axis])
                return false;
            continue;
        }
        float t0 = (low[axis] - eye[axis]) / along[axis];
        float t1 = (high[axis] - eye[axis]) / along[axis];
        if (t0 > t1)
            std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
    }
    return enter <= leave && enter < 1.0f - EntryMargin;
}
