#include "Shapes.h"

#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>

namespace shapes {

Shape Rect(glm::vec2 min, glm::vec2 max, float radius)
{
    const glm::vec2 centre = (min + max) * 0.5f;
    const glm::vec2 half = (max - min) * 0.5f - glm::vec2(radius);
    return [=](glm::vec2 p) {
        const glm::vec2 q = glm::abs(p - centre) - half;
        return glm::length(glm::max(q, glm::vec2(0.0f))) + std::min(std::max(q.x, q.y), 0.0f) - radius;
    };
}

Shape Circle(glm::vec2 centre, float radius)
{
    return [=](glm::vec2 p) { return glm::length(p - centre) - radius; };
}

Shape Polygon(std::vector<glm::vec2> v)
{
    return [v = std::move(v)](glm::vec2 p) {
        float nearest = glm::dot(p - v[0], p - v[0]);
        float sign = 1.0f;
        for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
            const glm::vec2 e = v[j] - v[i];
            const glm::vec2 w = p - v[i];
            const glm::vec2 b = w - e * std::clamp(glm::dot(w, e) / glm::dot(e, e), 0.0f, 1.0f);
            nearest = std::min(nearest, glm::dot(b, b));
            const bool above = p.y >= v[i].y;
            const bool below = p.y < v[j].y;
            const bool left = e.x * w.y > e.y * w.x;
            if ((above && below && left) || (!above && !below && !left)) {
                sign = -sign;
            }
        }
        return sign * std::sqrt(nearest);
    };
}

Shape Capsule(glm::vec2 a, glm::vec2 b, float radius)
{
    return [=](glm::vec2 p) {
        const glm::vec2 along = b - a;
        const float t = std::clamp(glm::dot(p - a, along) / glm::dot(along, along), 0.0f, 1.0f);
        return glm::length(p - a - along * t) - radius;
    };
}

Shape Moved(Shape shape, glm::vec2 by)
{
    return [=](glm::vec2 p) { return shape(p - by); };
}

Shape Grown(Shape shape, float by)
{
    return [=](glm::vec2 p) { return shape(p) - by; };
}

Shape Stroke(Shape shape, float width)
{
    return [=](glm::vec2 p) { return std::abs(shape(p)) - width * 0.5f; };
}

Shape Union(Shape a, Shape b)
{
    return [=](glm::vec2 p) { return std::min(a(p), b(p)); };
}

Shape Minus(Shape a, Shape b)
{
    return [=](glm::vec2 p) { return std::max(a(p), -b(p)); };
}

Shape Intersection(Shape a, Shape b)
{
    return [=](glm::vec2 p) { return std::max(a(p), b(p)); };
}

}  // namespace shapes

namespace paints {

Paint Vertical(Color top, Color bottom, float y0, float y1)
{
    return [=](glm::vec2 p) { return Mix(top, bottom, std::clamp((p.y - y0) / (y1 - y0), 0.0f, 1.0f)); };
}

}  // namespace paints
