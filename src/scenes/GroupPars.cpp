#include "scenes/GroupPars.h"

#include <algorithm>

#include "solver/StagePieces.h"
#include "stage/StageFile.h"

GroupPars::GroupPars(int stageGroup, int stages, BackgroundSolve::Pace searchPace)
    : group(stageGroup), pace(searchPace), entries(ParFile::Read(ParFile::Path(group)))
{
    for (int stage = 1; stage <= stages; ++stage) {
        const std::optional<std::int32_t> check = ParFile::Check(StageFile::Path(group, stage));
        if (!check) {
            entries.erase(stage);
            continue;
        }
        const auto entry = entries.find(stage);
        if (entry == entries.end() || entry->second.check != *check)
            queue.emplace_back(stage, *check);
    }
    StartNext();
}

GroupPars::~GroupPars() = default;

void GroupPars::StartNext()
{
    if (queue.empty())
        return;
    searching = queue.front();
    queue.erase(queue.begin());
    std::vector<Piece> pieces;
    if (const auto records = StageFile::Read(StageFile::Path(group, searching.first)))
        pieces = PiecesOf(*records);
    search = std::make_unique<BackgroundSolve>(std::move(pieces), StageSolver::DefaultStateLimit, pace);
}

void GroupPars::Update(bool wait)
{
    while (search) {
        const std::optional<Solution> solution = search->Result(wait);
        if (!solution)
            return;
        search.reset();
        const bool solved = solution->verdict == Solution::Verdict::Solved;
        entries[searching.first] = {solved ? static_cast<int>(solution->shots.size()) : -1, searching.second};
        changed = true;
        StartNext();
    }
    if (changed) {
        changed = false;
        // Only a cache: a folder it cannot be written in costs another search next time.
        ParFile::Write(ParFile::Path(group), entries);
    }
}

std::optional<int> GroupPars::Par(int stage) const
{
    const auto entry = entries.find(stage);
    if (entry == entries.end() || entry->second.par < 0 ||
        std::any_of(queue.begin(), queue.end(), [stage](const auto& queued) { return queued.first == stage; }) ||
        (search && searching.first == stage))
        return std::nullopt;
    return entry->second.par;
}
