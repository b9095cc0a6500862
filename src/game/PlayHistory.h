#pragma once

#include <memory>
#include <optional>
#include <utility>

#include "app/KeyLatch.h"
#include "game/Assists.h"

class Keyboard;
class SoundPlayer;
struct PlayBoard;
struct Settings;

// The play aids' part of a Game: what they know (Assists), the position
// before each shot that undo goes back to, and a new search each time a shot
// has come to rest. Their keys: H asks for a hint, Z or Backspace takes the
// last shot back, Y or Shift+Z plays it again, R starts the stage again (an
// undo takes that back too), F1 shows or hides the key line, Tab shows the
// board from straight above or as before.
class PlayHistory {
public:
    // pace: whether searches run beside the frames or are waited for; wait,
    // in the calls below, says the same to each search.
    explicit PlayHistory(BackgroundSolve::Pace pace);

    const Assists& Aids() const { return assists; }
    Assists& Aids() { return assists; }
    bool PlanShown() const { return planShown; }

    // The stage's start, to search from.
    void Start(const PlayBoard& board);
    // A stage left in the middle: the board as position has it, searched
    // from there; R and the start question still go back to the start.
    void Continue(const BoardPosition& position, PlayBoard& board, bool wait);
    // Back to the start, as the stage began.
    void StartAgain(PlayBoard& board, SoundPlayer& sound, bool wait);
    // True once after the board has come to rest in a new position (a shot,
    // an undo, a redo, a restart), for whoever keeps it.
    bool TakeNewPosition() { return std::exchange(newPosition, false); }
    // The aids' keys, before the play step. keyLineShown: whether the key
    // line shows now, for F1 to turn over.
    void ReadKeys(Keyboard& keys, Settings& settings, bool keyLineShown, PlayBoard& board, SoundPlayer& sound,
                  bool wait);
    // Before the player moves: a board at rest with the player idle is where
    // undo would go back to.
    void KeepRestPoint(const PlayBoard& board);
    // After the launch marker: a shot was just fired, so the rest point is
    // kept for undo and nothing is known until the board rests again.
    void CountShot(const PlayBoard& board);
    // At the end of the play step: once a fired shot has come to rest and
    // everything it turned has turned, the board is a new position to
    // search, unless the stage has ended.
    void SearchWhenAtRest(const PlayBoard& board, bool ended, bool wait);

private:
    // The board as it stands, as undo and redo keep it.
    UndoStep Here(const PlayBoard& board) const;
    // The board laid out as step has it, at rest, and searched from there.
    void GoTo(UndoStep step, PlayBoard& board, SoundPlayer& sound, bool wait);
    // The moves through the history; each is refused with its sound while
    // a shot flies or blocks turn over, or when there is nowhere to go.
    void Undo(PlayBoard& board, SoundPlayer& sound, bool wait);
    void Redo(PlayBoard& board, SoundPlayer& sound, bool wait);
    // To step, taken off one list; where the board stood goes on the other
    // list (keepHere), so the move can be made back.
    void Travel(std::optional<UndoStep> step, void (Assists::*keepHere)(UndoStep), PlayBoard& board,
                SoundPlayer& sound, bool wait);
    void Restart(PlayBoard& board, SoundPlayer& sound, bool wait);

    Assists assists;
    // The aids' keys share a latch of their own, so they never hold up the menu's.
    KeyLatch latch;
    std::optional<UndoStep> restPoint;
    // The stage as it started, for R.
    std::optional<UndoStep> start;
    int shotsCounted = 0;
    // A shot was fired; the next quiet frame is a new position to search.
    bool awaitingRest = false;
    bool planShown = false;
    bool newPosition = false;
};
