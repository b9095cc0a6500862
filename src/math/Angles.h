#pragma once

// Degrees to the radians the matrix functions take.
constexpr float DegreesToRadians = 0.017453292f;
