#pragma once

// The Game's sounds, by their place in its lists: effects in the order Game
// loads them (see its effect file table), one music track.
namespace GameSound {

enum Effect : int {
    Walk = 0,
    Landing = 1,
    BatchStart = 2,
    StageClear = 3,
    Cursor = 4,
    Decide = 5,
    Charge = 6,
    Shot = 7,
    // Five copies of one chime, rung in turn as blocks finish turning over.
    FirstFlipDone = 8,
    LastFlipDone = 12,
    GameOver = 13,
    ClearSwing = 14,
    ClearStrum = 15,
    ClearJingle = 16,
    Burst = 17,
    // Loaded only with the play aids: a shot or an undo that cannot be done.
    Refused = 18,
};

// The effects of the game as first designed; the aids' own follow them.
constexpr int EffectCount = 18;
constexpr int FlipDoneCount = LastFlipDone - FirstFlipDone + 1;
constexpr int Music = 0;

}  // namespace GameSound
