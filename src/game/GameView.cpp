#include "game/GameView.h"

#include <algorithm>
#include <numbers>

#include "assets/AssetFiles.h"
#include "game/Assists.h"
#include "game/BlockModels.h"
#include "game/FlipBatch.h"
#include "game/PlayBoard.h"
#include "render/Camera.h"
#include "render/DrawQuadXZ.h"
#include "render/GraphicsDevice.h"
#include "render/MeshCache.h"
#include "render/RenderContext.h"
#include "render/ShaderManager.h"
#include "render/SkySphere.h"
#include "render/Surface.h"
#include "render/Texture.h"
#include "render/TextureCache.h"
#include "rules/Field.h"
#include "rules/Shots.h"

namespace {

constexpr float SkyScrollPerFrame = 0.001f;
// From this frame of a game over the world shows its negative look.
constexpr int NegativeLookFrame = 160;

// The play aids in the world: ghosts of the white block where a shot will
// land, and marks lying on the board's cells.
constexpr float AimGhostAlpha = 0.45f;
// The hint's ghost in the teal of its marks, see-through.
const Color HintGhostColour(0.25f, 0.75f, 0.8f, 0.55f);
constexpr float FloorMarkHeight = 0.5f;
constexpr int FloorMark = static_cast<int>(Field::CellSize);

// The arrow image points toward the camera (-z); the turn about y that points it the given way.
float ArrowTurn(int direction)
{
    switch (direction) {
    case Direction::PlusZ:
        return std::numbers::pi_v<float>;
    case Direction::MinusX:
        return std::numbers::pi_v<float> / 2.0f;
    case Direction::PlusX:
        return -std::numbers::pi_v<float> / 2.0f;
    default:
        return 0.0f;
    }
}

}  // namespace

GameView::GameView(GraphicsDevice& device) : sky(std::make_unique<SkySphere>()), camera(Camera::Create(device)) {}

GameView::~GameView() = default;

void GameView::LoadTextures(TextureCache& textures)
{
    shardTexture = textures.Get(ImageFile::ShardFace);
}

void GameView::ScrollSky()
{
    sky->vScroll += SkyScrollPerFrame;
}

void GameView::Step(GraphicsDevice& device)
{
    sky->transform->UpdateWorld();
    SetCamera(device);
}

void GameView::SetCamera(GraphicsDevice& device)
{
    camera->UpdateOrbit(device);
}

void GameView::Draw(const RenderContext& render, const PlayBoard& board, const Assists* aids, int group,
                    const GameHudState& hud)
{
    GraphicsDevice& device = render.device;
    ShaderManager& shaders = render.shaders;
    const int width = device.BackBufferWidth();
    const int height = device.BackBufferHeight();

    // Without a scene target, or the filter that copies it to the screen, the
    // world goes straight to the back buffer.
    Texture* scene = shaders.sceneTarget && shaders.sceneTarget->GetSurface() && shaders.filterShader.effect
                         ? shaders.sceneTarget.get()
                         : nullptr;
    Surface* savedTarget = device.GetRenderTarget();
    if (scene) {
        // The scene target is only ever copied whole onto the screen, or read
        // back by the negative pass while it is current: the screen can hold
        // the world itself and save a full-screen copy. Not while something
        // see-through is shown: lit above 1, it blends in at its full value in
        // the float target but clamped to 1 on the 8-bit screen, and looks
        // darker there.
        if (!SeeThroughInWorld(board, aids))
            device.StandIn(scene->GetSurface(), savedTarget);
        device.SetRenderTarget(scene->GetSurface());
    }
    DrawWorld(render, board, aids, group, hud, scene);
    if (scene) {
        device.SetRenderTarget(savedTarget);
        shaders.filterShader.DrawNormal(*scene, width, height, Color(1.0f), 1.0f);
    }
    if (glowReady)
        ComposeGlow(render);
    DrawGameHud(render, hud);
}

void GameView::DrawWorld(const RenderContext& render, const PlayBoard& board, const Assists* aids, int group,
                         const GameHudState& hud, Texture* scene)
{
    GraphicsDevice& device = render.device;
    ShaderManager& shaders = render.shaders;
    ModelShader& model = shaders.modelShader;
    // The camera's update set both; the light is whatever the menus last gave the shared effect.
    model.SetCamera(device.GetTransform(TransformState::View), device.GetTransform(TransformState::Projection));

    const auto boardMesh = render.meshes.Get(ModelFile::StageBoard(group));
    // The sky fills the screen; with the board's depth in first, the half
    // of it the board covers is never drawn.
    model.SetLighting(false);
    model.SetWorld(sky->transform->world);
    model.PrimeDepth(boardMesh);
    sky->Draw(render, group);
    model.DrawGlow(boardMesh, 1.0f);

    model.SetLighting(true);
    board.player.Draw(render);
    board.flame.Draw(render);

    if (hud.gameOver && hud.gameOverFrame >= NegativeLookFrame) {
        model.SetLighting(true);
        for (const auto& block : board.blocks)
            block->DrawInverted(render);
        DrawShards(device, board.shards, shardTexture);
        // Inverted blocks under a negative come out in their own colours
        // again, on a negative board and sky.
        if (scene)
            shaders.filterShader.DrawNegative(*scene, Color(1.0f));
        return;
    }
    board.flips->Draw(render, shaders.glowTarget, glowReady);
    model.SetLighting(true);
    for (const auto& block : board.blocks)
        block->Draw(render);
    if (aids)
        DrawAssists(render, board, *aids);
    DrawShards(device, board.shards, shardTexture);
}

bool GameView::SeeThroughInWorld(const PlayBoard& board, const Assists* aids) const
{
    const bool shardShown =
        std::any_of(board.shards.begin(), board.shards.end(), [](const CellShard& shard) { return shard.visible; });
    const bool aidShown = aids && (aids->Hint() || aids->RefusedMark());
    return board.flame.visible || shardShown || aidShown;
}

void GameView::DrawAssists(const RenderContext& render, const PlayBoard& board, const Assists& aids) const
{
    GraphicsDevice& device = render.device;
    ModelShader& model = render.shaders.modelShader;
    const Player& player = board.player;
    if (player.state == PlayerState::Charging && board.AtRest()) {
        const MapPosition launch = LaunchCell(player.transform.position, player.facing);
        if (CanLaunch(board.grid, launch)) {
            model.SetWorld(Matrix::Translation(Field::Centre(LandingCell(board.grid, launch, player.facing))));
            model.DrawGlow(render.meshes.Get(BlockModel::White), AimGhostAlpha);
        }
    }
    const std::optional<SolutionShot>& hint = aids.Hint();
    if (hint) {
        model.SetWorld(Matrix::Translation(Field::Centre(hint->landing)));
        model.DrawColor(render.meshes.Get(BlockModel::White), HintGhostColour, 1.0f);
    }

    const bool lit = device.Lighting();
    device.SetLighting(false);
    const auto mark = [&](const char* image, const MapPosition& cell, float turn) {
        const Vector3 centre = Field::Centre(cell);
        device.SetTexture(render.textures.Get(image).get());
        DrawQuadXZ(device, {-FloorMark / 2, -FloorMark / 2, FloorMark, FloorMark},
                   Matrix::RotationY(turn) * Matrix::Translation(centre.x, FloorMarkHeight, centre.z), {}, 255.0f);
    };
    if (hint) {
        mark(ImageFile::HintCell, hint->from, 0.0f);
        mark(ImageFile::HintArrow, hint->from, ArrowTurn(hint->direction));
    }
    if (const std::optional<MapPosition>& refused = aids.RefusedMark())
        mark(ImageFile::RefusedCell, *refused, 0.0f);
    device.SetTexture(nullptr);
    device.SetLighting(lit);
}

void GameView::ComposeGlow(const RenderContext& render)
{
    GraphicsDevice& device = render.device;
    ShaderManager& shaders = render.shaders;
    if (!shaders.glowTarget || !shaders.blur)
        return;
    shaders.filterShader.Blur(*shaders.glowTarget, *shaders.blur);
    device.SetBlendOperation(BlendOperation::Add);
    device.SetSourceBlend(BlendFactor::SourceAlpha);
    device.SetDestinationBlend(BlendFactor::One);
    for (const BlurTexture::Level& level : shaders.blur->levels) {
        if (level.b)
            shaders.filterShader.DrawNormal(*level.b, device.BackBufferWidth(), device.BackBufferHeight(),
                                            Color(1.0f), 1.0f);
    }
    device.SetBlendOperation(BlendOperation::Add);
    device.SetSourceBlend(BlendFactor::SourceAlpha);
    device.SetDestinationBlend(BlendFactor::InverseSourceAlpha);
}
