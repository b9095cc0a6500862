#pragma once

#include <vector>

#include "Canvas.h"

// Outlines for the canvas, as exact signed distance functions, and the ways
// to combine them.
namespace shapes {

Shape Rect(glm::vec2 min, glm::vec2 max, float radius);
Shape Circle(glm::vec2 centre, float radius);
// A closed polygon, in either winding, convex or not.
Shape Polygon(std::vector<glm::vec2> points);
// A stroke from a to b with round ends, radius wide on each side.
Shape Capsule(glm::vec2 a, glm::vec2 b, float radius);
Shape Moved(Shape shape, glm::vec2 by);
// Positive `by` swells the outline, negative shrinks it.
Shape Grown(Shape shape, float by);
// A band of the given width centred on the outline.
Shape Stroke(Shape shape, float width);
Shape Union(Shape a, Shape b);
Shape Minus(Shape a, Shape b);
Shape Intersection(Shape a, Shape b);

}  // namespace shapes

// Fills that vary over the image.
namespace paints {

// From `top` at y0 to `bottom` at y1, clamped beyond.
Paint Vertical(Color top, Color bottom, float y0, float y1);

}  // namespace paints
