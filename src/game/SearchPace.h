#pragma once

#include "platform/Application.h"
#include "solver/BackgroundSolve.h"

// A scripted run waits for every search; a player's frames never do.
inline BackgroundSolve::Pace SearchPace(const Application& application)
{
    return application.BackgroundWorkWaited() ? BackgroundSolve::Pace::Waited : BackgroundSolve::Pace::BesideFrames;
}
