#pragma once

#include <string>

#include "solver/StageSolver.h"

// A solution as the keys a person would press, for the harness: walk to each
// firing cell an arrow press at a time, charge, turn to the shot's direction
// while charging, fire, and wait for the flight and the turning over to end.
struct KeyPlan {
    // The harness key script, one change per line.
    std::string script;
    // The first frame by which the last turning over has ended.
    int doneFrame = 0;
};

KeyPlan PlanKeys(const Solution& solution);

// The harness key name of a Direction code's arrow: Up for +z, Down, Left, Right.
const char* ArrowKey(int direction);
// "+z", "-z", "-x" or "+x".
const char* DirectionName(int direction);
