#pragma once

// The four horizontal steps, in the order of every neighbourhood search: +x, -x, +z, -z.
struct Step {
    int dx;
    int dz;
};

inline constexpr Step Steps[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
