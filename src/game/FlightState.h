#pragma once

#include "math/Vector3.h"
#include "rules/MapPosition.h"

// The one block that can be in the air. Only the Game writes it: it launches
// the shot the launch marker fires, lands it where the block comes to rest,
// and takes the landing to resolve it. The player and the blocks read it.
struct FlightState {
    bool inFlight = false;
    // The player's facing when it fired (Direction codes).
    int direction = 0;
    Vector3 velocity{0.0f};
    MapPosition landingCell;
    // The shot has just come to rest; the Game must resolve it.
    bool landed = false;

    void Launch(int facing);
    void Land(const MapPosition& cell);
};

// World units a fired block moves per frame in a direction.
Vector3 FlightVelocity(int direction);
