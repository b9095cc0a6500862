#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "math/Matrix.h"

// A solid, opaque box, drawn before whatever it may hide: low to high in its
// own space, placed by its world matrix.
class Occluder {
public:
    Occluder(const Matrix& world, const Vector3& low, const Vector3& high);

    // Whether the box low..high placed by world is wholly hidden from eye:
    // every sight line to it passes through the occluder first. Checking the
    // corners is enough, as what a box hides from a point is convex.
    bool Hides(const Vector3& eye, const Matrix& world, const Vector3& low, const Vector3& high) const;

private:
    // Whether the sight line from eye to point enters the occluder before it.
    bool Blocks(const glm::vec3& eye, const glm::vec3& point) const;

    glm::mat4 toLocal;
    glm::vec3 low;
    glm::vec3 high;
};
