#include "scenes/Edit.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>
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
#include "stage/OwnStages.h"
#include "stage/StageCatalogue.h"
#include "stage/StageCode.h"
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
constexpr int NoticeTop = 548;
constexpr std::size_t NoticeLineLength = 28;
constexpr int NoticeLineHeight = 32;
// The verdict, in the heading face, with where the stage went on the line
// above and the solver's reason below.
constexpr int WhereTop = 588;
constexpr int VerdictTop = 622;
constexpr int ReasonTop = 668;
constexpr int NameTop = 40;
constexpr int NameLine = 40;
constexpr int NameIndent = 24;

// The first design's few words on a saved stage.
std::string Verdict(const Solution& solution)
{
    const std::size_t shots = solution.shots.size();
    switch (solution.verdict) {
    case Solution::Verdict::Solved:
        return "solvable in " + std::to_string(shots) + (shots == 1 ? " shot" : " shots");
    case Solution::Verdict::LostAtStart:
        return "lost at start";
    case Solution::Verdict::GaveUp:
        return "undecided";
    default:
        return "unsolvable";
    }
}

// The aids' verdict: a headline, and the solver's reason where it has one.
struct Explained {
    std::string headline;
    std::string reason;
};

Explained Explain(const Solution& solution)
{
    const std::size_t shots = solution.shots.size();
    switch (solution.verdict) {
    case Solution::Verdict::Solved:
        if (shots == 0)
            return {"nothing to clear", "it has no black block"};
        return {"can be cleared: par " + std::to_string(shots), ""};
    case Solution::Verdict::LostAtStart:
        return {"lost at start", solution.reason};
    case Solution::Verdict::GaveUp:
        return {"undecided", solution.reason};
    default:
        return {"no way to clear it", solution.reason};
    }
}

// Lines of at most width characters, broken at spaces; a longer word keeps a line of its own.
std::vector<std::string> Wrapped(const std::string& text, std::size_t width)
{
    std::vector<std::string> lines{""};
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        if (!lines.back().empty() && lines.back().size() + 1 + word.size() > width)
            lines.emplace_back();
        lines.back() += (lines.back().empty() ? "" : " ") + word;
        at = end + 1;
    }
    return lines;
}

// A folder as the player knows it: the home folder as "~".
std::string Shown(const std::filesystem::path& folder)
{
    const std::string path = std::filesystem::absolute(folder).string();
    const char* home = std::getenv("HOME");
    if (home && *home && path.starts_with(std::string(home) + "/"))
        return "~" + path.substr(std::string(home).size());
    return path;
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
        ownFile = played.editor.ownFile;
        ownName = played.editor.ownName;
        undo = std::move(played.editor.undo);
        redo = std::move(played.editor.redo);
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
    const bool escape = Assisted() && !leaveAsked && !recoveryAsked && !naming &&
                        MenuKeyPressed(context.application.Keys(), VirtualKey::Escape);
    if (recoveryAsked) {
        RecoveryKeys();
    } else if (leaveAsked) {
        LeaveKeys();
    } else if (naming) {
        NameKeys();
    } else if (escape && loadMode) {
        loadMode = false;
        shelf.reset();
    } else if (escape) {
        AskToLeave();
    } else {
        if (!loadMode)
            EditKeys();
        if (loadMode)
            Assisted() ? ShelfKeys() : LoadKeys();
    }
    controlBefore = context.application.Keys().IsDown(VirtualKey::Control);
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
    // Ctrl+C and Ctrl+V, never C's clearing nor V's check. A Ctrl pressed, or
    // held the frame before, counts with a key pressed beside it: a quick
    // chord may end between two frames.
    const bool control = Assisted() && (MenuKeyPressed(keys, VirtualKey::Control) || controlBefore);
    if (control && MenuKeyPressed(keys, VirtualKey::C)) {
        act(!blocks.empty(), [this] { CopyCode(); });
    } else if (control && MenuKeyPressed(keys, VirtualKey::V)) {
        act(true, [this] { PasteCode(); });
    } else if (control) {
        latch.Open();
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Up)) {
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
            if (Assisted())
                shelf.emplace(OwnStages::List());
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
        act(!blocks.empty(), [this] { Assisted() ? SaveKey() : Save(); });
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
        undo.push_back(StageFile::Format(RecordsOf(blocks)));
        if (undo.size() > UndoSteps)
            undo.erase(undo.begin());
        redo.clear();
        ForgetVerdict();
    }
    action();
}

void Edit::Travel(std::vector<std::string>& from, std::vector<std::string>& to)
{
    if (from.empty()) {
        Refuse(&from == &undo ? "nothing to undo" : "nothing to redo");
        return;
    }
    to.push_back(StageFile::Format(RecordsOf(blocks)));
    blocks = BlocksOfText(from.back());
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
        verdict.clear();
        verdictReason.clear();
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
    const int key = TakeKey({VirtualKey::Return, VirtualKey::Escape, VirtualKey::Left, VirtualKey::Right});
    if (key == 0)
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
    if (answer == LeaveAnswer::Save && ownFile.empty()) {
        // A new stage is named first; it leaves once saved.
        naming.emplace();
        leaveAfterNaming = true;
        return;
    }
    if (answer == LeaveAnswer::Save)
        SaveOwn();
    // A save that failed keeps the editor open, saying so.
    if (!unsaved || answer == LeaveAnswer::Discard)
        Leave();
}

// As every key of the editor, a tap that began and ended between two frames counts.
int Edit::TakeKey(std::initializer_list<int> candidates)
{
    Keyboard& keys = context.application.Keys();
    const auto pressed = std::find_if(candidates.begin(), candidates.end(),
                                      [&keys](int candidate) { return MenuKeyPressed(keys, candidate); });
    const int key = pressed == candidates.end() ? 0 : *pressed;
    if (key == 0)
        latch.Open();
    return key != 0 && latch.Take() ? key : 0;
}

void Edit::Leave()
{
    if (KeepsRecovery())
        std::remove(RecoveryFile);
    context.application.PostQuit();
}

void Edit::RecoveryKeys()
{
    const int key = TakeKey({VirtualKey::Return, VirtualKey::Left, VirtualKey::Right});
    if (key == 0)
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
    Inform(why);
    noticeRefused = true;
}

void Edit::Inform(const std::string& what)
{
    notice = what;
    noticeFrames = MessageFrames;
    noticeRefused = false;
}

void Edit::Check()
{
    check = std::make_unique<BackgroundSolve>(PiecesOf(blocks), VerdictStateLimit, SearchPace(context.settings));
    checkedName.clear();
    checkedOwnFile.clear();
    saveMessage = "checking...";
    verdict = saveMessage;
    verdictReason.clear();
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
    play.editor = {static_cast<int>(cursorX), static_cast<int>(cursorZ), unsaved, ownFile, ownName, undo, redo};
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
    checkedName = name;
    check = std::make_unique<BackgroundSolve>(PiecesOf(blocks), VerdictStateLimit, SearchPace(context.settings));
    saveMessage = checkedName + ": checking...";
    saveMessageFrames = 0;
    blocks.clear();
}

void Edit::SaveKey()
{
    if (!ownFile.empty()) {
        SaveOwn();
        return;
    }
    naming.emplace();
    leaveAfterNaming = false;
}

// The player's own stage: a new one under the name typed, or the one being
// edited, in place. The board stays, and the message says where it went;
// the check's par goes on the list beside it.
void Edit::SaveOwn()
{
    check.reset();
    const std::vector<BlockRecord> records = RecordsOf(blocks);
    std::optional<std::string> file = ownFile;
    if (ownFile.empty())
        file = OwnStages::AddNew(records, ownName);
    else if (!OwnStages::Replace(ownFile, records))
        file.reset();
    if (!file) {
        checkedName.clear();
        saveMessage = verdict = "could not save the stage in " + Shown(OwnStages::Folder);
        verdictReason.clear();
        return;
    }
    ownFile = *file;
    unsaved = false;
    recoveryDirty = true;
    checkedOwnFile = ownFile;
    checkedName = "\"" + ownName + "\" saved as " + ownFile + " in " + Shown(OwnStages::Folder);
    check = std::make_unique<BackgroundSolve>(PiecesOf(blocks), VerdictStateLimit, SearchPace(context.settings));
    verdict = "checking...";
    verdictReason.clear();
    saveMessage = checkedName + ": " + verdict;
    saveMessageFrames = 0;
}

// Letters (capitals with Shift), digits, spaces and dashes; Backspace takes
// the last back, Enter saves under the name, Escape goes back to the board.
void Edit::NameKeys()
{
    Keyboard& keys = context.application.Keys();
    const auto pressed = [&keys](int key) { return (keys.Poll(key) & Keyboard::PressedBit) != 0; };
    if (pressed(VirtualKey::Escape)) {
        naming.reset();
        latch.Close();
        return;
    }
    if (pressed(VirtualKey::Return)) {
        latch.Close();
        if (naming->empty()) {
            Refuse("type a name first");
            return;
        }
        ownName = *std::exchange(naming, std::nullopt);
        SaveOwn();
        if (leaveAfterNaming && !unsaved)
            Leave();
        return;
    }
    std::string& name = *naming;
    if (pressed(VirtualKey::Back) && !name.empty())
        name.pop_back();
    const bool capital = GameKeyDown(keys, VirtualKey::Shift);
    const auto type = [&](int key, char c) {
        if (pressed(key) && name.size() < OwnStages::MaxName)
            name += c;
    };
    for (char c = 'A'; c <= 'Z'; ++c)
        type(c, capital ? c : static_cast<char>(c - 'A' + 'a'));
    for (char c = '0'; c <= '9'; ++c)
        type(c, c);
    type(VirtualKey::Space, ' ');
    type(VirtualKey::Minus, '-');
}

void Edit::CopyCode()
{
    std::string error;
    const std::optional<std::string> code = StageCode::Encode(RecordsOf(blocks), error);
    if (!code) {
        Refuse("no code for this board: " + error);
        return;
    }
    context.application.SetClipboardText(*code);
    Inform("copied the stage code: " + *code);
}

// A code that does not read leaves the board as it is, saying why.
void Edit::PasteCode()
{
    // Copied from a chat or a terminal, a code often comes with blanks around it.
    const std::string text = context.application.ClipboardText();
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const std::string code = first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    std::string error;
    const std::optional<std::vector<BlockRecord>> records = StageCode::Decode(code, error);
    if (!records) {
        Refuse("not pasted: " + error);
        return;
    }
    Change([&] { blocks = BlocksOf(*records); });
}

void Edit::ShelfKeys()
{
    const int key = TakeKey({VirtualKey::Return, VirtualKey::Up, VirtualKey::Down});
    if (key == 0)
        return;
    if (key != VirtualKey::Return) {
        shelf->Move(key == VirtualKey::Up ? -1 : 1);
        return;
    }
    const StageShelf::Row row = shelf->Chosen();
    BlockList loaded;
    if (!LoadStage(loaded, row.path)) {
        Refuse("could not read " + row.path);
        return;
    }
    loadMode = false;
    shelf.reset();
    Change([&] { blocks = std::move(loaded); });
    ownFile = row.ownFile;
    ownName = row.ownName;
    // The player's own stage stands as it is saved.
    unsaved = ownFile.empty();
}

void Edit::TakeVerdict()
{
    if (!check)
        return;
    const std::optional<Solution> solution = check->Result(context.settings.waitForSearches);
    if (!solution)
        return;
    check.reset();
    if (Assisted()) {
        const Explained words = Explain(*solution);
        verdict = words.headline;
        verdictReason = words.reason;
    } else {
        verdict = Verdict(*solution);
    }
    const std::string said = verdictReason.empty() ? verdict : verdict + ": " + verdictReason;
    saveMessage = checkedName.empty() ? said : checkedName + ": " + said;
    if (!checkedOwnFile.empty()) {
        const bool proven = solution->verdict == Solution::Verdict::Solved;
        OwnStages::SetPar(checkedOwnFile, proven ? static_cast<int>(solution->shots.size()) : -1);
        checkedOwnFile.clear();
    }
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
    if (shelf)
        shelf->Draw(device);
    if (naming) {
        device.DrawText("Name this stage, then Enter saves it (Esc: back to the board):", TextLeft, NameTop, Ink,
                        TextFace::Sans);
        device.DrawText(*naming + "_", TextLeft + NameIndent, NameTop + NameLine, Coral, TextFace::Heading);
    }
    if (!notice.empty()) {
        // Left of the board, its last line where a one-line notice stands.
        const std::vector<std::string> lines = Wrapped(notice, NoticeLineLength);
        const int top = NoticeTop - NoticeLineHeight * static_cast<int>(lines.size() - 1);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            device.DrawText(lines[i], TextLeft, top + NoticeLineHeight * static_cast<int>(i),
                            noticeRefused ? Coral : Ink, TextFace::Sans);
        }
    }
    if (recoveryAsked) {
        Sprites::DrawCentred(render, render.textures.Get(ImageFile::EditorRecovery(bringBack ? 0 : 1)),
                             Matrix::Translation(QuestionX, QuestionY, 0.0f));
    }
    if (leaveAsked) {
        Sprites::DrawCentred(render, render.textures.Get(ImageFile::EditorLeaving(static_cast<std::size_t>(*leaveAsked))),
                             Matrix::Translation(QuestionX, QuestionY, 0.0f));
    }
    if (!verdict.empty()) {
        if (!checkedName.empty())
            device.DrawText(checkedName, TextLeft, WhereTop, Ink, TextFace::Sans);
        device.DrawText(verdict, TextLeft, VerdictTop, Ink, TextFace::Heading);
        device.DrawText(verdictReason, TextLeft, ReasonTop, Ink, TextFace::Sans);
    }
    device.EndSprite();
}
