#include "StageGenerator.h"

#include <array>
#include <random>

#include "rules/BlockKind.h"
#include "solver/StagePieces.h"

namespace {

constexpr int Cells = 100;

// A random board built the way puzzles are: non-white blocks laid in short
// straight runs, half the white blocks closing a run's end in line with it,
// the rest anywhere. Scattered blocks almost never make a solvable stage.
std::vector<BlockRecord> RandomBoard(const GeneratorOptions& options, std::mt19937& random)
{
    std::array<int, Cells> kinds{};
    // The player's start stays free.
    kinds[0] = -1;
    const auto uniform = [&](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
    const auto free = [&](int x, int z) { return x >= 0 && x < 10 && z >= 0 && z < 10 && kinds[x * 10 + z] == 0; };
    const auto randomFreeCell = [&]() {
        for (;;) {
            const int cell = uniform(Cells);
            if (kinds[static_cast<std::size_t>(cell)] == 0)
                return cell;
        }
    };

    std::vector<std::pair<int, int>> runEnds;  // (cell, direction the run grows in)
    const int dx[4] = {0, 0, -1, 1};
    const int dz[4] = {1, -1, 0, 0};
    const int nonWhite = options.blacks + options.hardBlacks;
    for (int i = 0; i < nonWhite && i < Cells / 2; ++i) {
        const int kind = i < options.blacks ? BlockKind::Black : BlockKind::HardBlack;
        if (!runEnds.empty() && uniform(2) == 0) {
            auto& [cell, direction] = runEnds.back();
            const int x = cell / 10 + dx[direction];
            const int z = cell % 10 + dz[direction];
            if (free(x, z)) {
                kinds[static_cast<std::size_t>(x * 10 + z)] = kind;
                cell = x * 10 + z;
                continue;
            }
        }
        const int cell = randomFreeCell();
        kinds[static_cast<std::size_t>(cell)] = kind;
        runEnds.emplace_back(cell, uniform(4));
    }
    for (int i = 0; i < options.whites; ++i) {
        int cell = -1;
        if (i < static_cast<int>(runEnds.size()) && uniform(2) == 0) {
            const auto [end, direction] = runEnds[static_cast<std::size_t>(i)];
            const int x = end / 10 + dx[direction];
            const int z = end % 10 + dz[direction];
            if (free(x, z))
                cell = x * 10 + z;
        }
        if (cell < 0)
            cell = randomFreeCell();
        kinds[static_cast<std::size_t>(cell)] = BlockKind::White;
    }

    std::vector<BlockRecord> records;
    for (int cell = 1; cell < Cells; ++cell) {
        if (kinds[static_cast<std::size_t>(cell)] <= 0)
            continue;
        BlockRecord record;
        record.x = cell / 10;
        record.z = cell % 10;
        record.kind = kinds[static_cast<std::size_t>(cell)];
        records.push_back(record);
    }
    return records;
}

}  // namespace

GeneratedStage GenerateStage(const GeneratorOptions& options)
{
    std::mt19937 random(options.seed);
    GeneratedStage best;
    for (int attempt = 0; attempt < options.tries; ++attempt) {
        std::vector<BlockRecord> records = RandomBoard(options, random);
        Solution solution = StageSolver::Solve(PiecesOf(records), options.stateLimit);
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
