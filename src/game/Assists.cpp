#include "game/Assists.h"

Assists::Assists(BackgroundSolve::Pace searchPace) : pace(searchPace) {}

Assists::~Assists() = default;

void Assists::NewPosition(std::vector<Piece> pieces, const MapPosition& player, std::optional<Solution> given)
{
    LeavePosition();
    known = std::move(given);
    searchingStart = positions++ == 0;
    if (known)
        return;
    search = std::make_unique<BackgroundSolve>([pieces = std::move(pieces), player](std::stop_token stop) {
        return StageSolver::SolveFrom(pieces, player, StageSolver::DefaultStateLimit, stop);
    }, pace);
}

void Assists::LeavePosition()
{
    search.reset();
    known.reset();
    DropHint();
}

void Assists::Update(bool wait)
{
    if (refusedFrames > 0 && --refusedFrames == 0)
        refused.reset();
    TakeAnswer(wait);
}

void Assists::TakeAnswer(bool wait)
{
    if (!search)
        return;
    std::optional<Solution> result = search->Result(wait);
    if (!result)
        return;
    search.reset();
    known = std::move(result);
    if (searchingStart && known->verdict == Solution::Verdict::Solved)
        par = static_cast<int>(known->shots.size());
    searchingStart = false;
    ShowHintIfKnown();
}

std::optional<bool> Assists::Solvable() const
{
    if (!known || known->verdict == Solution::Verdict::GaveUp)
        return std::nullopt;
    return known->verdict == Solution::Verdict::Solved;
}

bool Assists::AskHint()
{
    hintAsked = true;
    ShowHintIfKnown();
    return !known || hint.has_value();
}

void Assists::DropHint()
{
    hintAsked = false;
    hint.reset();
}

void Assists::ShowHintIfKnown()
{
    if (!hintAsked || !known || known->verdict != Solution::Verdict::Solved || known->shots.empty())
        return;
    hint = known->shots.front();
    hintsUsed = true;
}

std::optional<UndoStep> Assists::PopFrom(std::vector<UndoStep>& steps)
{
    if (steps.empty())
        return std::nullopt;
    UndoStep step = std::move(steps.back());
    steps.pop_back();
    return step;
}

void Assists::MarkRefused(const MapPosition& cell)
{
    refused = cell;
    refusedFrames = RefusedMarkFrames;
}
