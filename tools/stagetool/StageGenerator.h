#pragma once

#include <cstddef>
#include <vector>

#include "solver/StageSolver.h"
#include "stage/StageFile.h"

// Random bottom-layer stages, each solved, for a person to choose from and
// polish: most random boards cannot be solved, and of those that can, the
// ones that need many shots are rare.
struct GeneratorOptions {
    unsigned seed = 1;
    int tries = 200;
    int blacks = 4;
    int hardBlacks = 0;
    int whites = 4;
    std::size_t stateLimit = 200'000;
};

struct GeneratedStage {
    std::vector<BlockRecord> records;
    Solution solution;
};

// The solvable board of the tries that needs the most shots (on a tie, the
// one whose search visited more positions); no records when none was solvable.
GeneratedStage GenerateStage(const GeneratorOptions& options);
