#pragma once

#include <memory>

#include "app/BaseScene.h"
#include "app/FadeOut.h"
#include "app/SceneContext.h"
#include "app/SceneId.h"
#include "game/EndingSequence.h"
#include "game/GameMenu.h"
#include "game/GameView.h"
#include "game/PlayBoard.h"
#include "game/PlayHistory.h"
#include "game/ResumeOffer.h"
#include "game/VolumeKeys.h"
#include "rules/BoardPosition.h"

class FlipBatch;
class SoundPlayer;

// One stage in play: the SceneManager's stage group and number, loaded from
// its stage file. Each frame runs the play step (walk, fire, fly, land, turn
// over, decide cleared or lost); a cleared stage sets its blocks bursting one
// by one, a lost one slows its music down, and either then opens the menu
// (next stage, stage select, title, retry). M opens the menu at any time.
//
// With the play aids on (Settings::assists) the stage in play is also
// searched beside the frames after every shot: H shows the next shot of a
// shortest way on, Z or Backspace takes the last shot back, the screen says
// when no way to clear is left, Space shows where a shot will land, a
// refused shot has its own sound and mark, and F1 shows or hides the keys.
class Game final : public BaseScene {
public:
    explicit Game(const SceneContext& context);
    ~Game() override;

    void Update() override;
    // The picture (GameView), then the music starts at the end of the first call.
    void Draw() override;
    void UpdateFadeOut() override;
    void DrawFadeOut() override;

    // Read-only views for the harness trace and the tests.
    int Fade() const { return fade; }
    const Player& GetPlayer() const { return board.player; }
    const BlockList& Blocks() const { return board.blocks; }
    const FlipBatch& Flips() const { return *board.flips; }
    const FlameBlock& Flame() const { return board.flame; }
    const ShardArray& Shards() const { return board.shards; }
    const SoundPlayer& Sounds() const { return *sound; }
    const FlightState& Flight() const { return board.flight; }
    // The shards of a dissolved shot are still flying.
    bool ShardsFlying() const { return board.shardsFlying; }
    // The position on the board as the rules see it.
    BoardPosition Position() const { return board.Position(); }
    bool Cleared() const { return cleared; }
    int ClearFrame() const { return ending.ClearFrame(); }
    int BurnTimer() const { return ending.BurnTimer(); }
    bool GameOver() const { return gameOver; }
    int GameOverFrame() const { return ending.GameOverFrame(); }
    bool MenuOpen() const { return menu.IsOpen(); }
    int EarlyMenuKey() const { return menu.EarlyKey(); }
    bool PlanShown() const { return view.plan; }
    std::optional<AimPreview> Aim() const { return board.Aim(); }
    int MenuCursor() const { return menu.Cursor(); }
    LossReason Loss() const { return loss; }
    // The play aids' state; null when they are off.
    const Assists* Aids() const { return history ? &history->Aids() : nullptr; }
    bool KeyLineShown() const;
    const ResumeOffer* Unfinished() const { return resume.get(); }

private:
    void LoadSounds();
    void PlayStep();
    void WriteResult();
    // The shot has come to rest: the blocks the rules turn over are queued
    // to turn, or the shot dissolves.
    void ResolveLanding();
    // Nothing is turning over: the rules judge the board.
    void EndTurningOver();
    void ClearSequence();
    // With the play aids, one of the game's stages left in the middle is
    // laid out as it was, and asked about.
    void OfferUnfinished();
    void AskToResume();
    void ChooseMenuItem(GameMenu::Item item);
    // Whether searches are waited for (a scripted run) or run beside the frames.
    bool WaitForSearches() const;

    SceneContext context;
    int fade = FadeOpaque;
    SceneId nextScene = SceneId::Title;
    bool cleared = false;
    bool gameOver = false;
    LossReason loss = LossReason::None;
    PlayBoard board;
    GameView view;
    std::shared_ptr<SoundPlayer> sound;
    unsigned bgmFrequency = 0;
    GameMenu menu;
    EndingSequence ending;
    VolumeKeys volumeKeys;
    // The play aids; null when they are off.
    std::unique_ptr<PlayHistory> history;
    // A stage left in the middle, kept and offered again; null when not kept.
    std::unique_ptr<ResumeOffer> resume;
};
