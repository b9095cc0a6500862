#include "game/GameView.h"

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
#include "rules/BlockKind.h"
#include "rules/Field.h"
#include "rules/Shots.h"

namespace {

constexpr float SkyScrollPerFrame = 0.001f;

// The play aids in the world: ghosts of the white block where a shot will
// land, and marks lying on the board's cells.
constexpr float AimGhostAlpha = 0.45f;
// The hint's ghost in the teal of its marks, see-through.
const Color HintGhostColour(0.1f, 0.45f, 0.75f, 0.7f);
constexpr float FloorMarkHeight = 0.5f;
constexpr int FloorMark = static_cast<int>(Field::CellSize);
// The hint's marks grow toward the back rows, which the camera sees smallest,
// up to this many cells across on the farthest.
constexpr float FarHintMark = 1.6f;

float HintMarkScale(const MapPosition& cell)
{
    const float depth = static_cast<float>(cell.z) / static_cast<float>(Field::Cells - 1);
    return 1.0f + (FarHintMark - 1.0f) * depth;
}

// Straight above the board's middle, high enough that the whole board, and
// the tops of its edge blocks, fit the picture's height with a margin.
const Vector3 PlanEye{Field::CellSize * Field::Cells / 2.0f, 520.0f, Field::CellSize * Field::Cells / 2.0f};
// The facing arrow lies just above the player's head.
constexpr float PlayerTop = 52.0f;

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

GameView::GameView(GraphicsDevice& device)
    : sky(std::make_unique<SkySphere>()), camera(Camera::Create(device)), planCamera(Camera::Create(device))
{
    planCamera->pitch = std::numbers::pi_v<float> / 2.0f;
    planCamera->position = PlanEye;
}

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
    (plan ? planCamera : camera)->UpdateOrbit(device);
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
        // the world itself and save a full-screen copy. Something see-through
        // lit above 1 blends in premultiplied, so it looks the same at 8 bits.
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

void GameView::DrawAssists(const RenderContext& render, const PlayBoard& board, const Assists& aids) const
{
    GraphicsDevice& device = render.device;
    ModelShader& model = render.shaders.modelShader;
    const std::optional<AimPreview> aim = board.Aim();
    const std::optional<SolutionShot>& hint = aids.Hint();

    // The marks go down before the ghosts, which would hide a mark under
    // them from the depth test.
    const bool lit = device.Lighting();
    device.SetLighting(false);
    const auto lay = [&](const char* image, const Vector3& at, float turn, float scale) {
        device.SetTexture(render.textures.Get(image).get());
        DrawQuadXZ(device, {-FloorMark / 2, -FloorMark / 2, FloorMark, FloorMark},
                   Matrix::Scaling(scale, 1.0f, scale) * Matrix::RotationY(turn) * Matrix::Translation(at), {}, 255.0f);
    };
    // On the floor, or on top of the block standing in the cell.
    const auto mark = [&](const char* image, const MapPosition& cell, float turn, float scale) {
        const Vector3 centre = Field::Centre(cell);
        const float height = BlockKind::IsBlock(board.grid.CellAt(cell)) ? Field::CellSize : 0.0f;
        lay(image, {centre.x, height + FloorMarkHeight, centre.z}, turn, scale);
    };
    if (plan) {
        const Vector3& player = board.player.transform.position;
        lay(ImageFile::PlayerFacing, {player.x, PlayerTop, player.z}, ArrowTurn(board.player.facing), 1.0f);
    }
    if (hint) {
        const float scale = HintMarkScale(hint->from);
        mark(ImageFile::HintCell, hint->from, 0.0f, scale);
        mark(ImageFile::HintArrow, hint->from, ArrowTurn(hint->direction), scale);
    }
    if (const std::optional<MapPosition>& refused = aids.RefusedMark())
        mark(ImageFile::RefusedCell, *refused, 0.0f, 1.0f);
    if (aim) {
        for (const TurnedPiece& piece : aim->turned) {
            const char* image = piece.becomes == BlockKind::White ? ImageFile::TurnsWhite : ImageFile::TurnsBlack;
            mark(image, piece.cell, 0.0f, 1.0f);
        }
        if (aim->turned.empty())
            mark(ImageFile::ShotDissolves, aim->landing, 0.0f, 1.0f);
    }
    device.SetTexture(nullptr);
    device.SetLighting(lit);

    if (aim) {
        model.SetWorld(Matrix::Translation(Field::Centre(aim->landing)));
        model.DrawGlow(render.meshes.Get(BlockModel::White), AimGhostAlpha);
    }
    if (hint) {
        model.SetWorld(Matrix::Translation(Field::Centre(hint->landing)));
        model.DrawColor(render.meshes.Get(BlockModel::White), HintGhostColour, 1.0f);
    }
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
