#include "game/FlightState.h"

#include "rules/Field.h"

namespace {
constexpr float ShotSpeed = 5.0f;
}

void FlightState::Launch(int facing)
{
    direction = facing;
    velocity = FlightVelocity(facing);
    inFlight = true;
}

void FlightState::Land(const MapPosition& cell)
{
    inFlight = false;
    landed = true;
    landingCell = cell;
}

Vector3 FlightVelocity(int direction)
{
    switch (direction) {
    case Direction::PlusZ:
        return {0.0f, 0.0f, ShotSpeed};
    case Direction::MinusZ:
        return {0.0f, 0.0f, -ShotSpeed};
    case Direction::MinusX:
        return {-ShotSpeed, 0.0f, 0.0f};
    default:
        return {ShotSpeed, 0.0f, 0.0f};
    }
}
