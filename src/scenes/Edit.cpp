#include "scenes/Edit.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <string>

#include "app/SceneManager.h"
#include "app/Settings.h"
#include "assets/AssetFiles.h"
#include "game/BoardPieces.h"
#include "game/GameKeys.h"
#include "game/SearchPace.h"
#include "game/StageBlocks.h"
#include "platform/Application.h"
#include "platform/Messages.h"
#include "platform/VirtualKey.h"
#include "render/Camera.h"
#include "render/DrawQuadXZ.h"
#include "render/GraphicsDevice.h"
#include "render/ShaderManager.h"
#include "render/Sprites.h"
#include "render/TextureCache.h"
#include "sound/SoundPlayer.h"
#include "stage/StageCatalogue.h"
#include "stage/StageFile.h"

namespace {

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

// The aids' looks: the key list beside the board, the start cell's mark, the
// cursor over whatever stands in its cell, the load choice's words, and a
// refusal's words in coral.
constexpr float KeysX = 1085.0f;
constexpr float KeysY = 338.0f;
constexpr float MarkHeight = 0.5f;
constexpr float CursorAbove = 51.0f;
// Left of the centre, clear of the key list.
constexpr float QuestionX = 610.0f;
constexpr float QuestionY = 360.0f;
// In the player's folder, beside (not among) the stage files, which saving renumbers.
constexpr const char* RecoveryFile = "EditorBoard.txt";
// About three seconds.
constexpr int RecoveryEvery = 180;
constexpr std::uint32_t Ink = 0xFF262833;
constexpr std::uint32_t Coral = 0xFFC2463A;
constexpr int NoticeTop = 610;
constexpr int LoadTitleTop = 40;
constexpr int LoadChoiceIndent = 24;

std::string Verdict(const Solution& solution, bool withReason)
{
    const std::size_t shots = solution.shots.size();
    switch (solution.verdict) {
    case Solution::Verdict::Solved:
        if (withReason)
            return shots == 0 ? "nothing to clear: it has no black block" : "can be cleared: par " + std::to_string(shots);
        return "solvable in " + std::to_string(shots) + (shots == 1 ? " shot" : " shots");
    case Solution::Verdict::LostAtStart:
        return withReason ? "lost at start: " + solution.reason : "lost at start";
    case Solution::Verdict::GaveUp:
        return withReason ? "undecided: " + solution.reason : "undecided";
    default:
        return withReason ? "no way to clear it: " + solution.reason : "unsolvable";
    }
}

}  // namespace

Edit::Edit(const SceneContext& sceneContext)
    : context(sceneContext), grid(std::make_unique<StageGrid>()), camera(Camera::Create(context.render.device))
{
    CustomPlay& played = context.scenes.stage.custom;
    const bool backFromPlay = played.FromEditor();
    if (backFromPlay) {
        blocks = BlocksOfText(played.boardText);
        cursorX = static_cast<float>(played.editor.cursorX);
        cursorZ = static_cast<float>(played.editor.cursorZ);
        unsaved = played.editor.unsaved;
        played = {};
    }
    if (context.settings.assists) {
        sound = SoundPlayer::Create(context.application);
        sound->AddEffect(SoundFile::Refused);
        // A board left behind by an editor that never said goodbye (killed,
        // crashed, its window closed) is offered back.
        // It stands on the board while the question is asked.
        if (KeepsRecovery() && !backFromPlay && LoadStage(blocks, RecoveryFile) && !blocks.empty())
            recoveryAsked = true;
    }
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
    if (!loadMode)
        grid->RebuildAll(PiecesOf(blocks));
    // With the aids Escape closes the stage list, or asks before leaving with
    // changes not saved; without them it has quit already.
    const bool escape = Assisted() && !leaveAsked && !recoveryAsked &&
                        MenuKeyPressed(context.application.Keys(), VirtualKey::Escape);
    if (recoveryAsked) {
        RecoveryKeys();
    } else if (leaveAsked) {
        LeaveKeys();
    } else if (escape && loadMode) {
        loadMode = false;
    } else if (escape) {
        AskToLeave();
    } else {
        if (!loadMode)
            EditKeys();
        if (loadMode)
            LoadKeys();
    }
    // The editor plays no sound: its blocks get no sound object.
    for (const auto& block : blocks)
        block->Update(nullptr);
    TakeVerdict();
    KeepForRecovery();
    if (saveMessageFrames > 0 && --saveMessageFrames == 0)
        saveMessage.clear();
    if (noticeFrames > 0 && --noticeFrames == 0)
        notice.clear();

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
    // With the aids, the player's start cell takes no block.
    const auto place = [&](int kind) {
        if (Assisted() && x == 0 && z == 0)
            act(free, [this] { Refuse("the player starts here"); });
        else
            act(free, [&] { Change([&] { AddBlock(blocks, x, 0, z, kind); }); });
    };
    Keyboard& keys = context.application.Keys();
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
    } else if (MenuKeyPressed(keys, VirtualKey::Digit1)) {
        place(BlockKind::White);
    } else if (MenuKeyPressed(keys, VirtualKey::Digit2)) {
        place(BlockKind::Black);
    } else if (MenuKeyPressed(keys, VirtualKey::Digit3)) {
        place(BlockKind::HardBlack);
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::X)) {
        act(!free, [&] { Change([&] { blocks.erase(blocks.begin() + grid->IndexAt(x, 0, z)); }); });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::C)) {
        act(true, [this] { Change([this] { blocks.clear(); }); });
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::P)) {
        act(!blocks.empty(), [this] { Save(); });
    } else if (Assisted() && MenuKeyPressed(keys, VirtualKey::V)) {
        act(!blocks.empty(), [this] { Check(); });
    } else if (Assisted() && MenuKeyPressed(keys, VirtualKey::T)) {
        act(!blocks.empty(), [this] { Play(); });
    } else if (Assisted() && MenuKeyPressed(keys, VirtualKey::Z)) {
        const bool shift = GameKeyDown(keys, VirtualKey::Shift);
        act(true, [&] { shift ? Travel(redo, undo) : Travel(undo, redo); });
    } else if (Assisted() && MenuKeyPressed(keys, VirtualKey::Y)) {
        act(true, [this] { Travel(redo, undo); });
    } else if (Assisted() && MenuKeyPressed(keys, VirtualKey::F1)) {
        act(true, [this] { context.settings.editorKeys = !context.settings.editorKeys; });
    } else {
        latch.Open();
    }
}

template <typename Action>
void Edit::Change(Action action)
{
    if (Assisted()) {
        unsaved = true;
        recoveryDirty = true;
        undo.push_back(PiecesOf(blocks));
        if (undo.size() > UndoSteps)
            undo.erase(undo.begin());
        redo.clear();
        ForgetVerdict();
    }
    action();
}

void Edit::Travel(std::vector<std::vector<Piece>>& from, std::vector<std::vector<Piece>>& to)
{
    if (from.empty()) {
        Refuse(&from == &undo ? "nothing to undo" : "nothing to redo");
        return;
    }
    to.push_back(PiecesOf(blocks));
    blocks.clear();
    for (const Piece& piece : from.back())
        AddBlock(blocks, piece.cell.x, piece.cell.y, piece.cell.z, piece.kind);
    from.pop_back();
    unsaved = true;
    recoveryDirty = true;
    ForgetVerdict();
}

// A verdict stays until the board it speaks of changes; the check of a board
// that is gone is stopped. A saved stage's check names its file, and goes on.
void Edit::ForgetVerdict()
{
    if (check && checkedName.empty())
        check.reset();
    if (!check) {
        saveMessage.clear();
        saveMessageFrames = 0;
    }
}

bool Edit::KeepsRecovery() const
{
    return Assisted() && context.settings.keepUnfinished;
}

bool Edit::KeyListShown() const
{
    return Assisted() && context.settings.editorKeys;
}

void Edit::AskToLeave()
{
    if (!unsaved || blocks.empty()) {
        Leave();
        return;
    }
    leaveAsked = LeaveAnswer::Save;
    latch.Close();
}

void Edit::LeaveKeys()
{
    Keyboard& keys = context.application.Keys();
    const int key = FirstGameKeyDown(keys, {VirtualKey::Return, VirtualKey::Escape, VirtualKey::Left, VirtualKey::Right});
    if (key == 0) {
        latch.Open();
        return;
    }
    if (!latch.Take())
        return;
    const int chosen = static_cast<int>(*leaveAsked);
    switch (key) {
    case VirtualKey::Left:
        leaveAsked = static_cast<LeaveAnswer>(std::max(chosen - 1, 0));
        return;
    case VirtualKey::Right:
        leaveAsked = static_cast<LeaveAnswer>(std::min(chosen + 1, static_cast<int>(LeaveAnswer::Stay)));
        return;
    case VirtualKey::Escape:
        leaveAsked.reset();
        return;
    default:
        break;
    }
    const LeaveAnswer answer = *std::exchange(leaveAsked, std::nullopt);
    if (answer == LeaveAnswer::Stay)
        return;
    if (answer == LeaveAnswer::Save)
        Save();
    // A save that failed keeps the editor open, saying so.
    if (!unsaved || answer == LeaveAnswer::Discard)
        Leave();
}

void Edit::Leave()
{
    if (KeepsRecovery())
        std::remove(RecoveryFile);
    context.application.PostQuit();
}

void Edit::RecoveryKeys()
{
    Keyboard& keys = context.application.Keys();
    const int key = FirstGameKeyDown(keys, {VirtualKey::Return, VirtualKey::Left, VirtualKey::Right});
    if (key == 0) {
        latch.Open();
        return;
    }
    if (!latch.Take())
        return;
    if (key != VirtualKey::Return) {
        bringBack = !bringBack;
        return;
    }
    recoveryAsked = false;
    if (bringBack) {
        unsaved = true;
    } else {
        blocks.clear();
        std::remove(RecoveryFile);
    }
}

// The board as it is, kept a few seconds after it changed (and not on every
// key), whole or not at all; gone once it is saved or the editor is left.
void Edit::KeepForRecovery()
{
    if (!KeepsRecovery() || !recoveryDirty || ++recoveryFrames < RecoveryEvery)
        return;
    recoveryFrames = 0;
    recoveryDirty = false;
    if (unsaved)
        KeepBlocks(blocks, RecoveryFile);
    else
        std::remove(RecoveryFile);
}

void Edit::Refuse(const std::string& why)
{
    sound->PlayEffect(0, false);
    notice = why;
    noticeFrames = MessageFrames;
}

void Edit::Check()
{
    check = std::make_unique<BackgroundSolve>(PiecesOf(blocks), VerdictStateLimit, SearchPace(context.settings));
    checkedName.clear();
    saveMessage = "checking...";
    saveMessageFrames = 0;
}

void Edit::Play()
{
    // The Game reads the board as it would a stage file, which holds no more.
    if (blocks.size() > StageFile::MaxBlocks) {
        Refuse("a stage holds at most " + std::to_string(StageFile::MaxBlocks) + " blocks");
        return;
    }
    CustomPlay play;
    play.returnTo = SceneId::Edit;
    play.boardText = StageFile::Format(RecordsOf(blocks));
    play.editor = {static_cast<int>(cursorX), static_cast<int>(cursorZ), unsaved};
    context.scenes.stage.custom = std::move(play);
    leaving = true;
    context.scenes.RequestChange(SceneId::Game);
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
    // With the aids the board stays, and the message says where it went.
    unsaved = false;
    recoveryDirty = true;
    checkedName = Assisted() ? name + " in " + (std::filesystem::current_path() / StageData::Folder).string() : name;
    check = std::make_unique<BackgroundSolve>(PiecesOf(blocks), VerdictStateLimit, SearchPace(context.settings));
    saveMessage = checkedName + ": checking...";
    saveMessageFrames = 0;
    if (!Assisted())
        blocks.clear();
}

void Edit::TakeVerdict()
{
    if (!check)
        return;
    const std::optional<Solution> solution = check->Result(context.settings.waitForSearches);
    if (!solution)
        return;
    check.reset();
    const std::string verdict = Verdict(*solution, Assisted());
    saveMessage = checkedName.empty() ? verdict : checkedName + ": " + verdict;
    // With the aids it stays until the board changes.
    saveMessageFrames = Assisted() ? 0 : MessageFrames;
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
            Change([this] {
                if (!LoadStage(blocks, StageFile::Path(loadGroup, loadStage)))
                    context.application.ShowMessage(Message(MessageId::FileMissing));
            });
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
    const auto tile = textures.Get(ImageFile::EditorTile);
    const auto cursor = textures.Get(ImageFile::EditorCursor);
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

    if (Assisted()) {
        DrawAids();
        return;
    }
    if (loadMode) {
        device.DrawText(std::to_string(loadGroup), TextLeft, GroupTextTop, Black);
        device.DrawText(std::to_string(loadStage), TextLeft, StageTextTop, Black);
    }
    if (!saveMessage.empty())
        device.DrawText(saveMessage, TextLeft, MessageTop, Black);
}

void Edit::DrawAids()
{
    const RenderContext& render = context.render;
    GraphicsDevice& device = render.device;
    device.SetLighting(false);
    const auto mark = [&](const char* image, int x, int z, float height, float alpha) {
        device.SetTexture(render.textures.Get(image).get());
        DrawQuadXZ(device, {0, 0, TileSize, TileSize},
                   Matrix::Translation(static_cast<float>(TileSize * x), height, static_cast<float>(TileSize * z)), {},
                   alpha);
    };
    mark(ImageFile::StartCell, 0, 0, MarkHeight, 255.0f);
    // A frame on the block in its cell, if there is one, else on the floor,
    // so that it never hides the block and never strays off the grid.
    const int x = static_cast<int>(cursorX);
    const int z = static_cast<int>(cursorZ);
    const bool onBlock = grid->CellAt(x, 0, z) != BlockKind::Empty;
    device.SetDepthTest(false);
    mark(ImageFile::EditorCursorFrame, x, z, onBlock ? CursorAbove : MarkHeight, 255.0f);
    device.SetDepthTest(true);
    device.SetTexture(nullptr);

    device.BeginSprite();
    if (KeyListShown())
        Sprites::DrawCentred(render, render.textures.Get(ImageFile::EditorKeys), Matrix::Translation(KeysX, KeysY, 0.0f));
    if (loadMode) {
        device.DrawText("Load a stage:  Up, Down choose;  Enter takes", TextLeft, LoadTitleTop, Ink, TextFace::Sans);
        const auto choice = [&](const char* what, int value, int step, int top) {
            const std::string text = (loadStep == step ? "> " : "   ") + std::string(what) + " " + std::to_string(value);
            device.DrawText(text, TextLeft + LoadChoiceIndent, top, loadStep == step ? Coral : Ink, TextFace::Sans);
        };
        choice("group", loadGroup, 0, GroupTextTop + LoadTitleTop);
        choice("stage", loadStage, 1, StageTextTop + LoadTitleTop);
    }
    if (!notice.empty())
        device.DrawText(notice, TextLeft, NoticeTop, Coral, TextFace::Sans);
    if (recoveryAsked) {
        Sprites::DrawCentred(render, render.textures.Get(ImageFile::EditorRecovery(bringBack ? 0 : 1)),
                             Matrix::Translation(QuestionX, QuestionY, 0.0f));
    }
    if (leaveAsked) {
        Sprites::DrawCentred(render, render.textures.Get(ImageFile::EditorLeaving(static_cast<std::size_t>(*leaveAsked))),
                             Matrix::Translation(QuestionX, QuestionY, 0.0f));
    }
    if (!saveMessage.empty())
        device.DrawText(saveMessage, TextLeft, MessageTop, Ink, TextFace::Sans);
    device.EndSprite();
}
