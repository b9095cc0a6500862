#pragma once

#include "rules/MapPosition.h"

// A block as the rules see it: where it stands, its kind, and whether it is
// the shot in flight (which the grid leaves out).
struct Piece {
    MapPosition cell;
    int kind = 0;
    bool launched = false;
    friend bool operator==(const Piece&, const Piece&) = default;
};
