#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "assets/AssetFiles.h"
#include "game/BlockBurst.h"
#include "platform/VirtualKey.h"
#include "scenes/Edit.h"
#include "scenes/SceneFixture.h"
#include "scenes/Title.h"
#include "stage/OwnStages.h"
#include "support/DrawDescription.h"
#include "support/MatrixNear.h"

namespace {

using namespace BlockKind;

class EditScene : public SceneFixture {
protected:
    // Runs frames until the saved stage's check has given its verdict.
    void WaitForTheCheck(const Edit& edit)
    {
        for (int i = 0; i < 600 && edit.Checking(); ++i) {
            RunFrames(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_FALSE(edit.Checking());
    }
    // The processor time the calling thread spent in body.
    template <typename Body>
    static double FrameThreadMilliseconds(Body body)
    {
        timespec start{};
        timespec end{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
        body();
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
        return (end.tv_sec - start.tv_sec) * 1e3 + (end.tv_nsec - start.tv_nsec) / 1e6;
    }
    Edit& Open() { return Build<Edit>(SceneId::Edit); }
    // Types a name of small letters and digits.
    void Type(const std::string& text)
    {
        for (const char c : text)
            Tap(c == ' ' ? VirtualKey::Space : std::toupper(static_cast<unsigned char>(c)));
    }
    // Moves the cursor from (0, 0) and taps a key there.
    void PlaceAt(int x, int z, int key)
    {
        for (int i = 0; i < x; ++i)
            Tap(VirtualKey::Right);
        for (int i = 0; i < z; ++i)
            Tap(VirtualKey::Up);
        Tap(key);
        for (int i = 0; i < x; ++i)
            Tap(VirtualKey::Left);
        for (int i = 0; i < z; ++i)
            Tap(VirtualKey::Down);
    }
    std::string Saved(const std::string& name) const
    {
        std::ifstream in(directory.Path() / "Resource/BData" / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(EditScene, KeysPlaceRemoveAndClearBlocksUnderTheCursor)
{
    Edit& edit = Open();
    Hold(VirtualKey::Digit2);
    RunFrames(3);
    Release(VirtualKey::Digit2);
    RunFrames(1);
    ASSERT_EQ(edit.Blocks().size(), 1u) << "held, a key places one block";
    Tap(VirtualKey::Digit1);
    EXPECT_EQ(edit.Blocks().size(), 1u) << "the cell is taken";
    PlaceAt(3, 0, VirtualKey::Digit1);
    PlaceAt(3, 1, VirtualKey::Digit3);
    ASSERT_EQ(edit.Blocks().size(), 3u);
    EXPECT_EQ(edit.Blocks()[2]->mapCell, (MapPosition{3, 0, 1}));
    EXPECT_EQ(edit.Blocks()[2]->kind, HardBlack);

    Tap(VirtualKey::Down);
    Tap(VirtualKey::Left);
    EXPECT_EQ(edit.CursorX(), 0) << "the cursor stops at the edge";
    EXPECT_EQ(edit.CursorZ(), 0);
    PlaceAt(3, 0, VirtualKey::X);
    ASSERT_EQ(edit.Blocks().size(), 2u);
    EXPECT_EQ(edit.Blocks()[1]->kind, HardBlack) << "the blocks after it move up";
    Tap(VirtualKey::C);
    EXPECT_TRUE(edit.Blocks().empty());
}

TEST_F(EditScene, SavingWritesANewStageAndShowsWhatTheSolverMakesOfIt)
{
    Edit& edit = Open();
    PlaceAt(2, 0, VirtualKey::Digit2);
    PlaceAt(3, 0, VirtualKey::Digit1);
    Tap(VirtualKey::P);
    EXPECT_TRUE(edit.Blocks().empty());
    EXPECT_EQ(Saved("Stage001.txt"), "x:2,y:0,z:0,sf:2,af:0,pf:0\nx:3,y:0,z:0,sf:1,af:0,pf:0\n");
    WaitForTheCheck(edit);
    EXPECT_EQ(edit.SaveMessage(), "Stage001.txt: solvable in 1 shot");
    const auto frame = NextFrameDraws();
    EXPECT_EQ(Described(frame).back(), "text Stage001.txt: solvable in 1 shot");

    PlaceAt(5, 5, VirtualKey::Digit2);
    Tap(VirtualKey::P);
    WaitForTheCheck(edit);
    EXPECT_EQ(edit.SaveMessage(), "Stage002.txt: lost at start");
    RunFrames(180);
    EXPECT_EQ(edit.SaveMessage(), "") << "the message goes after a few seconds";
}

// A stage whose check reaches the solver's limit took 1.9 s of the frame it
// was saved in. The check runs beside the frames now: the frame thread spends
// no more than a frame's budget on any of them while the check runs, a new
// save stops it, and so does leaving the editor.
TEST_F(EditScene, ALargeStagesCheckRunsBesideTheFramesAndStopsWhenSavedAgainOrLeft)
{
    std::string wide;
    for (int z = 0; z < 10; ++z) {
        for (const int x : {3, 7}) {
            if (z != 5)
                wide += "x:" + std::to_string(x) + ",y:0,z:" + std::to_string(z) + ",sf:2,af:0,pf:0\nx:" +
                        std::to_string(x + 1) + ",y:0,z:" + std::to_string(z) + ",sf:1,af:0,pf:0\n";
        }
    }
    directory.Write("Resource/BData/STAGE1/Stage001.txt", wide);
    Edit& edit = Open();
    for (const int key : {VirtualKey::L, VirtualKey::Return, VirtualKey::Return})
        Tap(key);
    ASSERT_EQ(edit.Blocks().size(), 36u);

    Hold(VirtualKey::P);
    double longest = 0;
    int frames = 0;
    // Three hundred frames, or fewer when the check ends sooner (the solver
    // takes about two seconds here, far longer under the sanitizers).
    for (; frames == 0 || (edit.Checking() && frames < 300); ++frames) {
        // The draws of one frame only: the log of thousands would cost more than a frame.
        draws.clear();
        longest = std::max(longest, FrameThreadMilliseconds([this] { RunFrames(1); }));
        Release(VirtualKey::P);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_LT(longest, 2 * 16.0) << "milliseconds of the frame thread in one frame";
    EXPECT_GT(frames, 1) << "the verdict came within the frame of the save";
    EXPECT_EQ(edit.SaveMessage(), edit.Checking() ? "Stage001.txt: checking..." : "Stage001.txt: undecided");

    for (const int key : {VirtualKey::L, VirtualKey::Return, VirtualKey::Return, VirtualKey::P})
        Tap(key);
    ASSERT_TRUE(edit.Checking());
    EXPECT_EQ(edit.SaveMessage(), "Stage002.txt: checking...");
    for (const int key : {VirtualKey::L, VirtualKey::Return, VirtualKey::Return, VirtualKey::P})
        Tap(key);
    EXPECT_EQ(edit.SaveMessage(), "Stage003.txt: checking...") << "the new save's check took the old one's place";
    const auto leaving = std::chrono::steady_clock::now();
    Build<Title>(SceneId::Title);
    EXPECT_LT(std::chrono::steady_clock::now() - leaving, std::chrono::milliseconds(500)) << "leaving waited for the check";
}

TEST_F(EditScene, AStageThatCannotBeWrittenStaysOnScreenAndSaysSo)
{
    Edit& edit = Open();
    std::filesystem::remove_all(directory.Path() / "Resource/BData");
    PlaceAt(2, 0, VirtualKey::Digit2);
    Tap(VirtualKey::P);
    EXPECT_EQ(edit.Blocks().size(), 1u);
    EXPECT_EQ(edit.SaveMessage(), "could not save the stage");
}

TEST_F(EditScene, TheLoadDialogueChoosesGroupThenStageAndAddsItsBlocks)
{
    WriteStage({{4, 0, 4, Black}, {5, 0, 4, White}}, 2);
    Edit& edit = Open();
    PlaceAt(1, 1, VirtualKey::Digit1);
    Tap(VirtualKey::L);
    ASSERT_TRUE(edit.LoadMode());
    const auto frame = NextFrameDraws();
    const std::vector<std::string> described = Described(frame);
    EXPECT_EQ(std::vector<std::string>(described.end() - 2, described.end()),
              (std::vector<std::string>{"text 1", "text 1"}));
    EXPECT_EQ(frame.back().rect[1], 100);
    Tap(VirtualKey::Down);
    Tap(VirtualKey::Down);
    EXPECT_EQ(edit.LoadGroup(), 2);
    Tap(VirtualKey::Up);
    EXPECT_EQ(edit.LoadGroup(), 3);
    Tap(VirtualKey::Up);
    Tap(VirtualKey::Return);
    EXPECT_EQ(edit.LoadStep(), 1);
    Tap(VirtualKey::Up);
    Tap(VirtualKey::Return);
    EXPECT_FALSE(edit.LoadMode());
    ASSERT_EQ(edit.Blocks().size(), 3u) << "stage 1-2 comes after the block already there";
    EXPECT_EQ(edit.Blocks()[1]->mapCell, (MapPosition{4, 0, 4}));
    Tap(VirtualKey::L);
    EXPECT_EQ(edit.LoadGroup(), 1) << "the numbers are kept";
    EXPECT_EQ(edit.LoadStageNumber(), 2);
}

// Seen from straight above: row i (z) by row, column j (x) within it, tile
// (j, i) covering [50j, 50j + 50] × [50i, 50i + 50]; the cursor's tile shows
// the target image instead of the grid's.
TEST_F(EditScene, TheTilesLieRowByRowAndTheCursorsTileShowsTheTarget)
{
    Edit& edit = Open();
    for (int i = 0; i < 3; ++i)
        Tap(VirtualKey::Right);
    Tap(VirtualKey::Up);
    ASSERT_EQ(edit.CursorX(), 3);
    ASSERT_EQ(edit.CursorZ(), 1);
    std::vector<DrawRecord> tiles;
    for (const DrawRecord& draw : NextFrameDraws()) {
        if (draw.kind == DrawRecord::Kind::Fixed && draw.name == "quadXZ")
            tiles.push_back(draw);
    }
    ASSERT_EQ(tiles.size(), 100u);
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            const DrawRecord& tile = tiles[static_cast<std::size_t>(10 * i + j)];
            EXPECT_EQ(tile.matrix.TranslationRow(), Vector3(50.0f * j, 0, 50.0f * i)) << j << ", " << i;
            EXPECT_EQ(tile.texture, j == 3 && i == 1 ? ImageFile::EditorCursor : ImageFile::EditorTile)
                << j << ", " << i;
        }
    }
}

// The model effect keeps the camera of whichever scene drew last; the
// editor's blocks must be drawn through its own, the view straight down.
TEST_F(EditScene, BlocksAndTilesAreDrawnThroughTheEditorsOwnCamera)
{
    Build<Title>(SceneId::Title);
    RunFrames(1);
    Open();
    Tap(VirtualKey::Digit1);
    const Matrix camera =
        Matrix::LookAtLH({225, 700, 225}, {225, 0, 225}, {0, 0, 1}) * Matrix::PerspectiveFovLH(1.0471976f, 1280.0f / 720.0f, 1, 1500);
    int meshes = 0;
    for (const DrawRecord& draw : NextFrameDraws()) {
        if (draw.kind == DrawRecord::Kind::Mesh || draw.kind == DrawRecord::Kind::Fixed) {
            EXPECT_TRUE(MatrixNear(draw.camera, camera, 1e-5f)) << draw.name;
            meshes += draw.kind == DrawRecord::Kind::Mesh;
        }
    }
    EXPECT_EQ(meshes, 1);
}

// With the aids: Z takes edits back one by one, as far as the first, and Y
// (or Shift+Z) plays them again; a new edit forgets what could be redone.
TEST_F(EditScene, WithTheAidsUndoAndRedoWalkBackAndForthOverManyEdits)
{
    Context().settings.assists = true;
    Edit& edit = Open();
    std::vector<std::size_t> sizes;
    for (int i = 0; i < 20; ++i) {
        PlaceAt(1 + i % 9, i / 9, i % 3 == 0 ? VirtualKey::Digit1 : VirtualKey::Digit2);
        sizes.push_back(edit.Blocks().size());
    }
    Tap(VirtualKey::X);  // the cursor is back on (0, 0), which holds nothing: no edit
    Tap(VirtualKey::C);
    ASSERT_TRUE(edit.Blocks().empty());
    Tap(VirtualKey::Z);
    EXPECT_EQ(edit.Blocks().size(), 20u) << "the clear taken back";
    for (int i = 19; i >= 0; --i) {
        Tap(VirtualKey::Z);
        EXPECT_EQ(edit.Blocks().size(), i == 0 ? 0u : sizes[static_cast<std::size_t>(i - 1)]) << i;
    }
    Tap(VirtualKey::Z);
    EXPECT_EQ(edit.Notice(), "nothing to undo");
    for (int i = 0; i < 10; ++i)
        Tap(VirtualKey::Y);
    EXPECT_EQ(edit.Blocks().size(), sizes[9]);
    Hold(VirtualKey::Shift);
    Tap(VirtualKey::Z);
    Release(VirtualKey::Shift);
    EXPECT_EQ(edit.Blocks().size(), sizes[10]) << "Shift+Z redoes";
    PlaceAt(9, 9, VirtualKey::Digit3);
    Tap(VirtualKey::Y);
    EXPECT_EQ(edit.Notice(), "nothing to redo") << "a new edit forgot the rest";
}

// With the aids the verdict stays until the board changes, a save keeps the
// board and says where it went, and a test play comes back to the cursor.
TEST_F(EditScene, WithTheAidsTheVerdictStaysTheSaveKeepsTheBoardAndTheCursorComesBack)
{
    Context().settings.assists = true;
    Context().settings.waitForSearches = true;
    Edit& edit = Open();
    PlaceAt(2, 0, VirtualKey::Digit2);
    PlaceAt(3, 0, VirtualKey::Digit1);
    Tap(VirtualKey::V);
    WaitForTheCheck(edit);
    EXPECT_EQ(edit.SaveMessage(), "can be cleared: par 1");
    RunFrames(600);
    EXPECT_EQ(edit.SaveMessage(), "can be cleared: par 1") << "10 s later";
    PlaceAt(5, 5, VirtualKey::Digit2);
    EXPECT_EQ(edit.SaveMessage(), "") << "the board it spoke of is gone";

    Tap(VirtualKey::P);
    ASSERT_TRUE(edit.Naming());
    Type("two rows");
    Tap(VirtualKey::Return);
    EXPECT_EQ(edit.Blocks().size(), 3u) << "the board stays";
    WaitForTheCheck(edit);
    const std::string folder = (directory.Path() / "stages").string();
    EXPECT_EQ(edit.SaveMessage().rfind("\"two rows\" saved as Stage001.txt in " + folder + ": ", 0), 0u)
        << edit.SaveMessage();

    Tap(VirtualKey::Right);
    Tap(VirtualKey::Up);
    Tap(VirtualKey::T);
    Leave();
    ASSERT_EQ(Scenes().CurrentId(), SceneId::Game);
    Edit& back = Build<Edit>(SceneId::Edit);
    EXPECT_EQ(back.CursorX(), 1);
    EXPECT_EQ(back.CursorZ(), 1);
    EXPECT_EQ(back.Blocks().size(), 3u);
    EXPECT_EQ(back.OwnFile(), "Stage001.txt");
    Tap(VirtualKey::Z);
    EXPECT_EQ(back.Blocks().size(), 2u) << "the edits before the play are still there to undo";
}

// The player's own stages: named and kept with their proven par, listed apart
// from the shipped ones, reopened and saved in place; a board goes to the
// clipboard as a code and comes back from it, and what is not a code changes nothing.
TEST_F(EditScene, OwnStagesAreNamedListedReopenedAndSharedAsCodes)
{
    Context().settings.assists = true;
    Context().settings.waitForSearches = true;
    Edit& edit = Open();
    PlaceAt(2, 0, VirtualKey::Digit2);
    PlaceAt(3, 0, VirtualKey::Digit1);
    Tap(VirtualKey::P);
    Tap(VirtualKey::Return);
    EXPECT_EQ(edit.Notice(), "type a name first");
    Type("corner 1");
    Tap(VirtualKey::Back);
    Type("2");
    Tap(VirtualKey::Return);
    WaitForTheCheck(edit);
    Tap(VirtualKey::C);
    Tap(VirtualKey::L);
    ASSERT_EQ(edit.ListChoice(), "corner 2   par 1");
    Tap(VirtualKey::Down);
    EXPECT_EQ(edit.ListChoice(), "stage 1-1") << "the shipped stages come after the player's";
    Tap(VirtualKey::Up);
    Tap(VirtualKey::Return);
    EXPECT_EQ(edit.Blocks().size(), 2u);
    EXPECT_FALSE(edit.Unsaved());
    PlaceAt(5, 5, VirtualKey::Digit2);
    Tap(VirtualKey::P);
    EXPECT_FALSE(edit.Naming()) << "a stage of the player's saves in place";
    WaitForTheCheck(edit);
    const std::vector<OwnStages::Entry> own = OwnStages::List((directory.Path() / "stages").string());
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].name, "corner 2");
    EXPECT_EQ(own[0].par, -1) << "the black block at (5, 5) has no way to be cleared";

    Hold(VirtualKey::Control);
    Tap(VirtualKey::C);
    Release(VirtualKey::Control);
    EXPECT_EQ(edit.Blocks().size(), 3u) << "Ctrl+C copies and clears nothing";
    const std::string code = App().ClipboardText();
    EXPECT_EQ(code.rfind("ORB-", 0), 0u);
    Tap(VirtualKey::C);
    // Both keys down and up between two frames, as a quick hand or a tool types them.
    Hold(VirtualKey::Control);
    Hold(VirtualKey::V);
    Release(VirtualKey::V);
    Release(VirtualKey::Control);
    RunFrames(2);
    EXPECT_EQ(edit.Blocks().size(), 3u) << "the code brought the board back";
    EXPECT_FALSE(edit.Checking()) << "and V checked nothing";
    Tap(VirtualKey::C);
    // Ctrl down at the end of one frame, let go with V's tap before the next.
    Hold(VirtualKey::Control);
    RunFrames(1);
    Hold(VirtualKey::V);
    Release(VirtualKey::V);
    Release(VirtualKey::Control);
    RunFrames(2);
    EXPECT_EQ(edit.Blocks().size(), 3u) << "a chord split by a frame";
    App().SetClipboardText(" " + code.substr(0, code.size() - 1) + "\n");
    Tap(VirtualKey::C);
    Hold(VirtualKey::Control);
    Tap(VirtualKey::V);
    Release(VirtualKey::Control);
    EXPECT_TRUE(edit.Blocks().empty()) << "a damaged code changes nothing";
    EXPECT_EQ(edit.Notice().rfind("not pasted: damaged", 0), 0u) << edit.Notice();
}

// With the aids (which leave Escape to the scenes, as the program sets up)
// Escape closes the stage list, leaves a saved board at once, and asks before
// leaving one with changes: Save, Discard or Stay (Escape stays too).
class EditLeaving : public EditScene {
protected:
    Edit& OpenAssisted()
    {
        Context().settings.assists = true;
        App().escapeQuits = false;
        return Open();
    }
    bool Saved() const { return std::filesystem::exists(directory.Path() / "stages/Stage001.txt"); }
};

TEST_F(EditLeaving, EscapeClosesTheListAndASavedBoardLeavesAtOnce)
{
    Edit& edit = OpenAssisted();
    Tap(VirtualKey::L);
    ASSERT_TRUE(edit.LoadMode());
    Tap(VirtualKey::Escape);
    EXPECT_FALSE(edit.LoadMode());
    EXPECT_FALSE(App().QuitPosted());
    PlaceAt(2, 0, VirtualKey::Digit2);
    Tap(VirtualKey::P);
    Type("a");
    Tap(VirtualKey::Return);
    Tap(VirtualKey::Escape);
    EXPECT_FALSE(edit.LeaveChoice());
    EXPECT_TRUE(App().QuitPosted());
}

TEST_F(EditLeaving, ChangesNotSavedAskFirstAndDiscardLeavesWithoutAFile)
{
    Edit& edit = OpenAssisted();
    PlaceAt(2, 0, VirtualKey::Digit2);
    Tap(VirtualKey::Escape);
    EXPECT_EQ(edit.LeaveChoice(), 0) << "Save chosen first";
    Tap(VirtualKey::Escape);
    EXPECT_FALSE(edit.LeaveChoice()) << "Escape stays";
    EXPECT_FALSE(App().QuitPosted());
    Tap(VirtualKey::Escape);
    Tap(VirtualKey::Right);
    Tap(VirtualKey::Right);
    Tap(VirtualKey::Right);
    EXPECT_EQ(edit.LeaveChoice(), 2);
    Tap(VirtualKey::Return);
    EXPECT_FALSE(App().QuitPosted()) << "Stay";
    Tap(VirtualKey::Escape);
    Tap(VirtualKey::Right);
    Tap(VirtualKey::Return);
    EXPECT_TRUE(App().QuitPosted());
    EXPECT_FALSE(Saved());
}

TEST_F(EditLeaving, SaveThenLeaveWritesTheStage)
{
    OpenAssisted();
    PlaceAt(2, 0, VirtualKey::Digit2);
    Tap(VirtualKey::Escape);
    Tap(VirtualKey::Return);
    EXPECT_FALSE(App().QuitPosted()) << "a new stage is named first";
    Type("a");
    Tap(VirtualKey::Return);
    EXPECT_TRUE(Saved());
    EXPECT_TRUE(App().QuitPosted());
}

}  // namespace
