#pragma once

#include <memory>

#include "game/GameHud.h"

class Assists;
class Camera;
class GraphicsDevice;
class SkySphere;
class Texture;
class TextureCache;
struct PlayBoard;
struct RenderContext;

// The Game's picture: the world (sky, board, player, launch marker, blocks,
// the blocks turning over with their glow, the shards of a dissolved shot
// and the play aids' marks) into the floating-point scene target, that onto
// the back buffer with the glow of the turning blocks added, then the HUD.
// From the 160th frame of a game over the world turns inverted and negative.
class GameView {
public:
    // From this frame of a game over the world shows its negative look.
    static constexpr int NegativeLookFrame = 160;

    explicit GameView(GraphicsDevice& device);
    ~GameView();

    // The shards' texture, once the stage is loaded.
    void LoadTextures(TextureCache& textures);
    // Once a play frame: the sky drifts and the camera takes its view.
    void Step(GraphicsDevice& device);
    // The sky drifts on every frame, played or not.
    void ScrollSky();
    // The view changes only for the plan; setting it at the start also
    // serves a stage that starts lost, where no play step runs.
    void SetCamera(GraphicsDevice& device);

    // A play aid: the board seen from straight above, with the player's
    // facing marked on its head. Taken by the camera on the next Step.
    bool plan = false;

    // aids: the play aids' state, or null when they are off.
    void Draw(const RenderContext& render, const PlayBoard& board, const Assists* aids, int group,
              const GameHudState& hud);

private:
    void DrawWorld(const RenderContext& render, const PlayBoard& board, const Assists* aids, int group,
                   const GameHudState& hud, Texture* scene);
    // The aiming ghost, the hint and a refused shot's mark, in the world.
    void DrawAssists(const RenderContext& render, const PlayBoard& board, const Assists& aids) const;
    // The blurred glow added over the back buffer.
    void ComposeGlow(const RenderContext& render);

    std::unique_ptr<SkySphere> sky;
    std::unique_ptr<Camera> camera;
    std::unique_ptr<Camera> planCamera;
    std::shared_ptr<Texture> shardTexture;
    bool glowReady = false;
};
