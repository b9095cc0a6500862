#pragma once

#include "app/Settings.h"
#include "solver/BackgroundSolve.h"

// A scripted run waits for every search; a player's frames never do.
inline BackgroundSolve::Pace SearchPace(const Settings& settings)
{
    return settings.waitForSearches ? BackgroundSolve::Pace::Waited : BackgroundSolve::Pace::BesideFrames;
}
