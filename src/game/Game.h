#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BaseScene.h"
#include "app/FadeOut.h"
#include "app/KeyLatch.h"
#include "app/SceneContext.h"
#include "app/SceneId.h"
#include "game/Assists.h"
#include "game/Block.h"
#include "game/CellShard.h"
#include "game/FlightState.h"
#include "rules/BoardPosition.h"

class Camera;
class SoundPlayer;
class FlameBlock;
class Player;
class FlipBatch;
class SkySphere;
class StageGrid;
class Texture;

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
    // The world into the floating-point scene target, that copied to the back
    // buffer with the glow of flipping blocks added, then the HUD. Starts the
    // music at the end of the first call.
    void Draw() override;
    void UpdateFadeOut() override;
    void DrawFadeOut() override;

    // Read-only views for the harness trace and the tests.
    int Fade() const { return fade; }
    const Player& GetPlayer() const { return *player; }
    const BlockList& Blocks() const { return blocks; }
    const FlipBatch& Flips() const { return *flips; }
    const FlameBlock& Flame() const { return *flame; }
    const ShardArray& Shards() const { return shards; }
    const SoundPlayer& Sounds() const { return *sound; }
    const FlightState& Flight() const { return flight; }
    // The shards of a dissolved shot are still flying.
    bool ShardsFlying() const { return shardsFlying; }
    // The position on the board as the rules see it.
    BoardPosition Position() const;
    bool Cleared() const { return cleared; }
    int ClearFrame() const { return clearFrame; }
    int BurnTimer() const { return burnTimer; }
    bool GameOver() const { return gameOver; }
    int GameOverFrame() const { return gameOverFrame; }
    bool MenuOpen() const { return menuOpen; }
    int MenuCursor() const { return menuCursor; }
    LossReason Loss() const { return loss; }
    // The play aids' state; null when they are off.
    const Assists* Aids() const { return assists.get(); }
    bool KeyLineShown() const;

private:
    void LoadSounds();
    void PlayStep();
    void WriteResult();
    void ResolveLanding();
    void EndTurningOver();
    void ClearSequence();
    void GameOverSequence();
    void MenuInput();
    void ChooseMenuItem();
    // The scene the menu's choice leads to; the next stage and the stage
    // played on its own are settled with the scene manager here.
    SceneId MenuChoiceScene();
    // Sky, board, player, launch marker, blocks and shards into the current
    // target; from the 160th frame of a game over, inverted and then negative.
    void DrawWorld(Texture* scene);
    // The blurred glow added over the back buffer.
    void ComposeGlow();

    // The play aids' part of a play frame, around the player's and the
    // launch marker's updates.
    void ReadAssistKeys();
    void KeepRestPoint();
    void CountShot();
    void SearchWhenAtRest();
    UndoStep Snapshot() const;
    void Undo();
    bool AtRest() const;
    // Whether the world shows a model or mark one can see through this frame.
    bool SeeThroughInWorld() const;
    // The aiming ghost, the hint and a refused shot's mark, in the world.
    void DrawAssists() const;
    // - and = turn the music down and up, [ and ] every other sound; the
    // level shows for a moment and goes to the player's settings file.
    void ReadVolumeKeys();

    SceneContext context;
    int fade = FadeOpaque;
    SceneId nextScene = SceneId::Title;
    KeyLatch latch;
    bool cleared = false;
    bool clearStarted = false;
    int burnTimer = 0;
    int burnLimit = 0;
    int burnIndex = 0;
    int clearFrame = 0;
    bool gameOver = false;
    int gameOverFrame = 0;
    LossReason loss = LossReason::None;
    // The shot in flight; the player, the launch marker and the blocks share it.
    FlightState flight;
    bool shardsFlying = false;
    std::unique_ptr<StageGrid> grid;
    std::unique_ptr<SkySphere> skySphere;
    std::unique_ptr<Player> player;
    BlockList blocks;
    std::unique_ptr<FlameBlock> flame;
    std::shared_ptr<FlipBatch> flips;
    ShardArray shards;
    std::shared_ptr<SoundPlayer> sound;
    unsigned bgmFrequency = 0;
    bool menuOpen = false;
    int menuCursor = 0;
    std::unique_ptr<Camera> camera;
    std::shared_ptr<Texture> shardTexture;
    bool glowReady = false;
    float menuIconAngle = 0.0f;

    std::unique_ptr<Assists> assists;
    KeyLatch assistLatch;
    // The position before the shot being charged: what undo goes back to.
    std::optional<UndoStep> restPoint;
    int shotsCounted = 0;
    // A shot was fired; the next quiet frame is a new position to search.
    bool awaitingRest = false;
    KeyLatch volumeLatch;
    std::string levelShown;
    int levelFrames = 0;
};
