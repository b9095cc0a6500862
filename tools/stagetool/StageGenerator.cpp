#include "StageGenerator.h"

#include <algorithm>
#include <numeric>
#include <random>

#include "game/BlockKind.h"
#include "game/StageBlocks.h"

GeneratedStage GenerateStage(const GeneratorOptions& options)
{
    std::mt19937 random(options.seed);
    // Every bottom-layer cell but the player's start.
    std::vector<int> cells(99);
    std::iota(cells.begin(), cells.end(), 1);
    const int count = std::min(options.blacks + options.hardBlacks + options.whites, static_cast<int>(cells.size()));

    GeneratedStage best;
    for (int attempt = 0; attempt < options.tries; ++attempt) {
        std::shuffle(cells.begin(), cells.end(), random);
        std::vector<BlockRecord> records;
        for (int i = 0; i < count; ++i) {
            const int kind = i < options.blacks                         ? BlockKind::Black
                             : i < options.blacks + options.hardBlacks ? BlockKind::HardBlack
                                                                        : BlockKind::White;
            BlockRecord record;
            record.x = cells[static_cast<std::size_t>(i)] / 10;
            record.z = cells[static_cast<std::size_t>(i)] % 10;
            record.kind = kind;
            records.push_back(record);
        }
        Solution solution = StageSolver::Solve(BlocksOf(records), options.stateLimit);
        if (solution.verdict != Solution::Verdict::Solved)
            continue;
        const bool better = best.records.empty() || solution.shots.size() > best.solution.shots.size() ||
                            (solution.shots.size() == best.solution.shots.size() &&
                             solution.statesVisited > best.solution.statesVisited);
        if (better)
            best = {std::move(records), std::move(solution)};
    }
    return best;
}
