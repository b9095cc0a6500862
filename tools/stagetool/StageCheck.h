#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "solver/StageSolver.h"

// What orb-stage check says about one stage file: every problem as
// "FILE:LINE: reason" (or "FILE: reason" for the whole stage), and the
// solver's answer when the file could be read.
struct StageReport {
    std::vector<std::string> problems;
    Solution solution;
    int blacks = 0;
    int armoured = 0;
};

// What a stage asks of the player beyond its minimum: the turn-overs it needs
// one at a time (a black once, an armoured block twice), and the shots a
// solution saves on them by turning several blocks at once.
int SingleTurnOvers(int blacks, int armoured);
int Saving(const StageReport& report);

// A shipped stage must read cleanly (every line a block at rest inside the
// field), hold no two blocks in one cell, leave the player's start cell
// (0, 0, 0) free, and be solvable, with at least one shot.
StageReport CheckStage(const std::filesystem::path& file, std::size_t stateLimit);

// The stage files under folder ("Stage" + number + ".txt"), in path order.
std::vector<std::filesystem::path> StageFilesUnder(const std::filesystem::path& folder);
