#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/KeyLatch.h"
#include "rules/BoardPosition.h"

class Keyboard;
class SoundPlayer;

// A play aid: a stage left in the middle (quit, or another stage chosen) is
// kept in the player's folder after every shot, and on the next visit the
// board stands as it was left while "Go on where you left off?" asks
// whether to continue (chosen first) or start again.
class ResumeOffer {
public:
    enum class Answer { Continue, StartAgain };

    // For one of the game's stages, starting as start: reads what is kept.
    ResumeOffer(int group, int stage, const BoardPosition& start);

    // The position to offer; nothing when none is kept (or what is kept does
    // not fit the stage as it is now). Asking starts with it.
    const std::optional<BoardPosition>& Kept() const { return kept; }
    bool Asking() const { return asking; }
    bool StartAgainChosen() const { return startAgain; }
    // The question's keys: Left, Right, Up and Down choose, Enter answers.
    std::optional<Answer> ReadAnswer(Keyboard& keys, SoundPlayer& sound);

    // Once the board rests in a new position: kept while the stage is under
    // way with shots fired, forgotten once it has ended or is back at its start.
    void Keep(const BoardPosition& position, bool ended);
    // The player chose to play the stage again from its start.
    void Forget();

private:
    std::string path;
    std::optional<std::int32_t> stageCheck;
    std::optional<BoardPosition> kept;
    bool asking = false;
    bool startAgain = false;
    KeyLatch latch;
};
