#pragma once

// A Block's state.
namespace BlockState {
constexpr int Resting = 0;
// The launched block, flying.
constexpr int Moving = 1;
// Held by the FlipBatch, which animates and draws it.
constexpr int Flipping = 2;
}  // namespace BlockState
