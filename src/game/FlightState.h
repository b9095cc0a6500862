#pragma once

#include "game/Block.h"
#include "math/Vector3.h"
#include "platform/Singleton.h"

// The one block that can be in the air, shared by the player, the launch
// marker, the blocks and the Game scene. Process-wide; the Game constructor
// clears its flags, and tests reset it whole.
class FlightState : public Singleton<FlightState> {
public:
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

private:
    friend class Singleton<FlightState>;
    FlightState() = default;
};

// World units a fired block moves per frame in a direction.
Vector3 FlightVelocity(int direction);
