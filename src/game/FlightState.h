#pragma once

#include "math/Vector3.h"
#include "rules/MapPosition.h"

// The one block that can be in the air. The Game owns it and hands it to the
// player, the launch marker and the blocks, which read and set it in turn;
// the Game's construction starts it clear.
struct FlightState {
    bool inFlight = false;
    // The player's facing when it fired (Direction codes).
    int direction = 0;
    Vector3 velocity{0.0f};
    MapPosition launchCell;
    MapPosition landingCell;
    // A launched block has just come to rest; the scene must resolve it.
    bool mapDirty = false;
    // The last resolution turned at least one block over.
    bool reversalFound = false;
    // Shards of a dissolved block are still flying.
    bool shardsVisible = false;
};

// World units a fired block moves per frame in a direction.
Vector3 FlightVelocity(int direction);
