#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "game/Player.h"
#include "rules/BoardPosition.h"
#include "rules/MapPosition.h"
#include "rules/Piece.h"
#include "solver/BackgroundSolve.h"
#include "solver/StageSolver.h"

// A position of play as undo keeps it: the board as the rules see it, how
// the player stood there (mid-turn, say), and what was known of the way on.
struct UndoStep {
    BoardPosition position;
    PlayerPose pose;
    std::optional<Solution> known;
};

// What the play aids know of the stage in play: the fewest shots left from
// the position on the board (searched beside the frames, never on them), the
// hint taken from them, the positions undo goes back to, and a refused
// shot's mark. It knows nothing of drawing; the Game shows what it holds.
class Assists {
public:
    // Frames a refused shot's mark stays on its cell.
    static constexpr int RefusedMarkFrames = 40;

    // pace: whether the searches run beside the frames or are waited for.
    explicit Assists(BackgroundSolve::Pace pace);
    ~Assists();
    Assists(const Assists&) = delete;
    Assists& operator=(const Assists&) = delete;

    // A position to search from: the stage's start, the end of a shot, an
    // undo. What is known of it already (an undo's) needs no search.
    void NewPosition(std::vector<Piece> pieces, const MapPosition& player, std::optional<Solution> known = {});
    // A shot is on its way: nothing is known until the board is at rest again.
    void LeavePosition();
    // Once a frame: the refused mark's time, and the search's result.
    void Update(bool wait);
    // The search's result when it is there; a scripted run waits for it, so
    // that what it records never depends on the machine.
    void TakeAnswer(bool wait);

    // The search's answer for the position on the board, once there is one.
    const std::optional<Solution>& Known() const { return known; }
    // Whether the position can still be cleared; nothing while the search
    // runs or when it gave up.
    std::optional<bool> Solvable() const;
    // Proven: no sequence of shots clears the board from here.
    bool DeadEnd() const { return Solvable() == false; }
    // The search gave up: the position has more ways on than it may keep.
    bool TooLarge() const { return known && known->TooLarge(); }
    // The fewest shots of the stage from its start: the first search's answer.
    std::optional<int> Par() const { return par; }

    // The next shot of a shortest way on, shown as soon as it is known.
    // False when it is known already that there is none to show.
    bool AskHint();
    void DropHint();
    const std::optional<SolutionShot>& Hint() const { return hint; }
    // A hint was shown in this play of the stage.
    bool HintsUsed() const { return hintsUsed; }

    void Push(UndoStep step) { undo.push_back(std::move(step)); }
    std::optional<UndoStep> Pop() { return PopFrom(undo); }
    int UndoDepth() const { return static_cast<int>(undo.size()); }
    // The positions undo left, the latest last: redo goes forward to them
    // until a new shot is fired.
    void PushRedo(UndoStep step) { redo.push_back(std::move(step)); }
    std::optional<UndoStep> PopRedo() { return PopFrom(redo); }
    void ForgetRedo() { redo.clear(); }
    int RedoDepth() const { return static_cast<int>(redo.size()); }

    void MarkRefused(const MapPosition& cell);
    const std::optional<MapPosition>& RefusedMark() const { return refused; }

private:
    void ShowHintIfKnown();
    static std::optional<UndoStep> PopFrom(std::vector<UndoStep>& steps);

    BackgroundSolve::Pace pace;
    std::unique_ptr<BackgroundSolve> search;
    std::optional<Solution> known;
    // The search under way is of the stage's start.
    bool searchingStart = false;
    int positions = 0;
    std::optional<int> par;
    bool hintAsked = false;
    bool hintsUsed = false;
    std::optional<SolutionShot> hint;
    std::vector<UndoStep> undo;
    std::vector<UndoStep> redo;
    std::optional<MapPosition> refused;
    int refusedFrames = 0;
};
