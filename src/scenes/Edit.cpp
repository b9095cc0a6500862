#include "scenes/Edit.h"

#include <algorithm>
#include <string>

#include "game/BoardPieces.h"
#include "game/GameKeys.h"
#include "game/StageBlocks.h"
#include "platform/Application.h"
#include "platform/Messages.h"
#include "platform/VirtualKey.h"
#include "render/Camera.h"
#include "render/DrawQuadXZ.h"
#include "render/GraphicsDevice.h"
#include "render/ShaderManager.h"
#include "render/TextureCache.h"
#include "solver/BackgroundSolve.h"
#include "stage/StageCatalogue.h"
#include "stage/StageFile.h"

namespace {

const char* const TileImage = "Resource/Texture/StageGrid_2.png";
const char* const CursorImage = "Resource/Texture/Target.png";

const Vector3 Eye{225.0f, 700.0f, 225.0f};
const Vector3 Below{225.0f, 0.0f, 225.0f};
// Straight down, with +z up the screen.
const Vector3 ScreenUp{0.0f, 0.0f, 1.0f};

constexpr int Cells = 10;
constexpr int TileSize = 50;
constexpr float LastCell = 9.0f;

constexpr std::uint32_t Black = 0xFF000000;
constexpr int TextLeft = 50;
constexpr int GroupTextTop = 50;
constexpr int StageTextTop = 100;
constexpr int MessageTop = 660;
// About three seconds.
constexpr int MessageFrames = 180;

std::string Verdict(const Solution& solution)
{
    switch (solution.verdict) {
    case Solution::Verdict::Solved:
        return "solvable in " + std::to_string(solution.shots.size()) + (solution.shots.size() == 1 ? " shot" : " shots");
    case Solution::Verdict::LostAtStart:
        return "lost at start";
    case Solution::Verdict::GaveUp:
        return "undecided";
    default:
        return "unsolvable";
    }
}

}  // namespace

Edit::Edit(const SceneContext& sceneContext)
    : context(sceneContext), grid(std::make_unique<StageGrid>()), camera(Camera::Create(context.render.device))
{
}

// A check still running is stopped, and its thread waited for, here.
Edit::~Edit() = default;

void Edit::AddBlock(BlockList& list, int x, int y, int z, int kind)
{
    list.push_back(std::make_shared<Block>(MapPosition{x, y, z}, kind));
}

void Edit::Update()
{
    grid->Clear();
    if (!loadMode) {
        grid->RebuildAll(PiecesOf(blocks));
        EditKeys();
    }
    if (loadMode)
        LoadKeys();
    // The editor plays no sound: its blocks get no sound object.
    for (const auto& block : blocks)
        block->Update(*grid, flight, nullptr);
    TakeVerdict();
    if (saveMessageFrames > 0 && --saveMessageFrames == 0)
        saveMessage.clear();

    camera->view = Matrix::LookAtLH(Eye, Below, ScreenUp);
    GraphicsDevice& device = context.render.device;
    device.SetTransform(TransformState::View, camera->view);
    device.SetTransform(TransformState::Projection, camera->projection);
}

// Keys count on either bit; the first pressed, in this order, is the one
// handled. A key whose action cannot be done holds the latch as it is.
void Edit::EditKeys()
{
    const int x = static_cast<int>(cursorX);
    const int z = static_cast<int>(cursorZ);
    const bool free = grid->CellAt(x, 0, z) == BlockKind::Empty;
    const auto act = [this](bool possible, auto action) {
        if (!possible || !latch.Take())
            return;
        action();
    };
    if (MenuKeyPressed(context.application.Keys(), VirtualKey::Up)) {
        act(cursorZ < LastCell, [this] { cursorZ += 1.0f; });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Down)) {
        act(cursorZ > 0.0f, [this] { cursorZ -= 1.0f; });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Left)) {
        act(cursorX > 0.0f, [this] { cursorX -= 1.0f; });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Right)) {
        act(cursorX < LastCell, [this] { cursorX += 1.0f; });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::L)) {
        act(true, [this] {
            loadMode = true;
            loadStep = 0;
        });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Digit1)) {
        act(free, [&] { AddBlock(blocks, x, 0, z, BlockKind::White); });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Digit2)) {
        act(free, [&] { AddBlock(blocks, x, 0, z, BlockKind::Black); });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Digit3)) {
        act(free, [&] { AddBlock(blocks, x, 0, z, BlockKind::HardBlack); });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::X)) {
        act(!free, [&] { blocks.erase(blocks.begin() + grid->IndexAt(x, 0, z)); });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::C)) {
        act(true, [this] { blocks.clear(); });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::P)) {
        act(!blocks.empty(), [this] { Save(); });
    } else {
        latch.Open();
    }
}

// The stage is kept when it could not be written whole; either way the
// screen says what happened, and what the solver makes of a saved stage once
// its check, off the frame, has ended. A new save stops the check before.
void Edit::Save()
{
    check.reset();
    std::string name;
    if (!SaveStage(blocks, &name)) {
        saveMessage = "could not save the stage";
        saveMessageFrames = MessageFrames;
        return;
    }
    checkedName = name;
    check = std::make_unique<BackgroundSolve>(PiecesOf(blocks), VerdictStateLimit);
    saveMessage = name + ": checking...";
    saveMessageFrames = 0;
    blocks.clear();
}

void Edit::TakeVerdict()
{
    if (!check)
        return;
    const std::optional<Solution> solution = check->Result(context.application.BackgroundWorkWaited());
    if (!solution)
        return;
    check.reset();
    saveMessage = checkedName + ": " + Verdict(*solution);
    saveMessageFrames = MessageFrames;
}

void Edit::LoadKeys()
{
    using StageCatalogue::Cycle;
    if (MenuKeyPressed(context.application.Keys(), VirtualKey::Return)) {
        if (!latch.Take())
            return;
        if (loadStep == 0) {
            loadStep = 1;
        } else {
            loadMode = false;
            if (!LoadStage(blocks, StageFile::Path(loadGroup, loadStage)))
                context.application.ShowMessage(Message(MessageId::FileMissing));
        }
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Up)) {
        if (!latch.Take())
            return;
        if (loadStep == 0)
            loadGroup = Cycle(loadGroup, 1, StageCatalogue::Groups);
        else
            loadStage = Cycle(loadStage, 1, StageCatalogue::StagesPerGroup);
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Down)) {
        if (!latch.Take())
            return;
        if (loadStep == 0)
            loadGroup = Cycle(loadGroup, -1, StageCatalogue::Groups);
        else
            loadStage = Cycle(loadStage, -1, StageCatalogue::StagesPerGroup);
    } else {
        latch.Open();
    }
}

void Edit::Draw()
{
    GraphicsDevice& device = context.render.device;
    device.SetLighting(false);
    TextureCache& textures = context.render.textures;
    const auto tile = textures.Get(TileImage);
    const auto cursor = textures.Get(CursorImage);
    device.SetTexture(tile.get());
    for (int i = 0; i < Cells; ++i) {
        for (int j = 0; j < Cells; ++j) {
            const Matrix world = Matrix::Translation(static_cast<float>(TileSize * j), 0.0f, static_cast<float>(TileSize * i));
            const bool underCursor = static_cast<float>(i) == cursorZ && static_cast<float>(j) == cursorX;
            if (underCursor)
                device.SetTexture(cursor.get());
            DrawQuadXZ(device, {0, 0, TileSize, TileSize}, world, {}, 255.0f);
            if (underCursor)
                device.SetTexture(tile.get());
        }
    }
    device.SetTexture(nullptr);

    // The editor may be the first scene of a run: the model effect gets its
    // camera here, not from whichever scene drew last.
    ModelShader& model = context.render.shaders.modelShader;
    model.SetCamera(camera->view, camera->projection);
    model.SetLighting(true);
    for (const auto& block : blocks)
        block->Draw(context.render);

    if (loadMode) {
        device.DrawText(std::to_string(loadGroup), TextLeft, GroupTextTop, Black);
        device.DrawText(std::to_string(loadStage), TextLeft, StageTextTop, Black);
    }
    if (!saveMessage.empty())
        device.DrawText(saveMessage, TextLeft, MessageTop, Black);
}
