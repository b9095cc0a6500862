#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BaseScene.h"
#include "app/KeyLatch.h"
#include "app/SceneContext.h"
#include "game/Block.h"
#include "rules/Piece.h"
#include "rules/StageGrid.h"
#include "scenes/StageShelf.h"

class BackgroundSolve;
class Camera;
class SoundPlayer;

// The stage editor: the bottom layer seen from straight above, a cursor tile,
// and keys to place white, black and hard black blocks (1, 2, 3), remove one
// (X), clear all (C), save the stage as a new numbered file (P) and load one
// (L, then the group and the stage with Up, Down and Enter). No scene leads
// here: orb-editor starts in it. After a save it shows the new file's name,
// "checking..." while the solver works on it (on a thread of its own: the
// editor keeps its pace), then for a few seconds its verdict.
//
// With the aids on (Settings::assists) it also shows its keys (F1 hides them),
// marks the player's start cell and refuses a block there, keeps its cursor in
// sight above the blocks, gives the solver's reason with a verdict that stays
// until the board changes, checks the board without saving (V), and plays it
// in the Game (T), coming back to it as it was. It keeps work: undo and redo,
// a question before leaving with changes, a board kept for after a crash.
// P saves to the player's own stages under a typed name, L lists them apart
// from the shipped ones, and Ctrl+C and Ctrl+V carry a board as a stage code.
class Edit final : public BaseScene {
public:
    // The editor asks the solver for at most this many positions.
    static constexpr std::size_t VerdictStateLimit = 100'000;

    explicit Edit(const SceneContext& context);
    ~Edit() override;

    void Update() override;
    void Draw() override;
    void UpdateFadeOut() override {}
    void DrawFadeOut() override {}

    // Appends a resting block in cell (x, y, z).
    static void AddBlock(BlockList& blocks, int x, int y, int z, int kind);

    // Read-only views for the harness trace and the tests.
    const BlockList& Blocks() const { return blocks; }
    int CursorX() const { return static_cast<int>(cursorX); }
    int CursorZ() const { return static_cast<int>(cursorZ); }
    bool LoadMode() const { return loadMode; }
    int LoadStep() const { return loadStep; }
    int LoadGroup() const { return loadGroup; }
    int LoadStageNumber() const { return loadStage; }
    // What the last save said, while it is shown; empty otherwise.
    const std::string& SaveMessage() const { return saveMessage; }
    // The saved stage's check is still running.
    bool Checking() const { return check != nullptr; }
    bool KeyListShown() const;
    // A refusal or a failure, in a few words, while it is shown; empty otherwise.
    const std::string& Notice() const { return notice; }
    bool Assisted() const { return sound != nullptr; }
    bool Unsaved() const { return unsaved; }
    // The name being typed before a save, while it is asked.
    const std::optional<std::string>& Naming() const { return naming; }
    // The player's own stage being edited: its file; empty for none.
    const std::string& OwnFile() const { return ownFile; }
    // The list's chosen row, while the list is open with the aids.
    std::optional<std::string> ListChoice() const
    {
        return shelf ? std::optional<std::string>(shelf->Chosen().label) : std::nullopt;
    }
    // The answer chosen in the question before leaving, while it is asked: 0 save, 1 discard, 2 stay.
    bool RecoveryAsked() const { return recoveryAsked; }
    std::optional<int> LeaveChoice() const
    {
        return leaveAsked ? std::optional<int>(static_cast<int>(*leaveAsked)) : std::nullopt;
    }

private:
    void EditKeys();
    void LoadKeys();
    void Save();
    // With the aids: P names a new stage first, and saves the player's own in place.
    void SaveKey();
    void SaveOwn();
    void NameKeys();
    // The board as a stage code, to the clipboard and back.
    void CopyCode();
    void PasteCode();
    void ShelfKeys();
    // The board's check, without saving it.
    void Check();
    // The board played in the Game, through a file of its own; the Game comes back here.
    void Play();
    // Escape with the aids: leaves at once, or asks first when the board
    // has changes not saved.
    void AskToLeave();
    void LeaveKeys();
    // The first of candidates pressed, when the latch lets it act; 0 otherwise.
    int TakeKey(std::initializer_list<int> candidates);
    // Leaves for good: the recovery file goes.
    void Leave();
    void RecoveryKeys();
    void KeepForRecovery();
    // A board not saved is kept in the player's folder: with the aids, where
    // unfinished work is kept (Settings::keepUnfinished).
    bool KeepsRecovery() const;
    void Refuse(const std::string& why);
    // Says what was done, in ink, for as long as a refusal.
    void Inform(const std::string& what);
    // An edit of the board: with the aids, the board before it is kept for
    // undo, redo is forgotten, and so is the verdict on the old board.
    template <typename Action>
    void Change(Action action);
    // Undo (from undo to redo) or redo (the other way); refused when there is nothing.
    void Travel(std::vector<std::string>& from, std::vector<std::string>& to);
    void ForgetVerdict();
    // Takes the saved stage's verdict once its check has ended.
    void TakeVerdict();
    void DrawAids();

    SceneContext context;
    BlockList blocks;
    std::unique_ptr<StageGrid> grid;
    std::unique_ptr<Camera> camera;
    KeyLatch latch;
    bool loadMode = false;
    int loadStep = 0;
    int loadGroup = 1;
    int loadStage = 1;
    // Whole numbers kept in floats, as the cursor always was.
    float cursorX = 0.0f;
    float cursorZ = 0.0f;
    std::string saveMessage;
    int saveMessageFrames = 0;
    // The file name of the stage being checked, and its check.
    std::string checkedName;
    std::unique_ptr<BackgroundSolve> check;
    // The aids' own: a sound for a refusal, and the words for it.
    std::shared_ptr<SoundPlayer> sound;
    std::string notice;
    int noticeFrames = 0;
    bool noticeRefused = false;
    // The verdict as drawn with the aids, in the heading face, below where the stage went.
    std::string verdict;
    std::string verdictReason;
    // The file whose par the check running will prove.
    std::string checkedOwnFile;
    std::optional<StageShelf> shelf;
    std::optional<std::string> naming;
    bool leaveAfterNaming = false;
    // Ctrl was down at the end of the last frame.
    bool controlBefore = false;
    std::string ownFile;
    std::string ownName;
    // With the aids: the boards before each edit (Z) and those undone (Y, Shift+Z).
    static constexpr std::size_t UndoSteps = 500;
    std::vector<std::string> undo;
    std::vector<std::string> redo;
    // The board has changed since it was last saved.
    bool unsaved = false;
    // The question before leaving, while it is asked, and its chosen answer.
    enum class LeaveAnswer { Save, Discard, Stay };
    std::optional<LeaveAnswer> leaveAsked;
    // The board an editor left behind stands on the board while "bring it
    // back" is asked.
    bool recoveryAsked = false;
    bool bringBack = true;
    // The board has changed since the recovery file was last written.
    bool recoveryDirty = false;
    int recoveryFrames = 0;
};
