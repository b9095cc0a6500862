#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/Block.h"
#include "game/GamePrinters.h"
#include "game/StageBlocks.h"
#include "stage/StageFile.h"
#include "support/DeviceFixture.h"

namespace {

namespace fs = std::filesystem;

class StageFiles : public DeviceFixture {
protected:
    void SetUp() override { StartDevice(false); }

    static std::string Text(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::string> EditorFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(directory.Path() / "Resource/BData"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static BlockList Blocks(std::initializer_list<std::array<int, 4>> cells)
    {
        BlockList blocks;
        for (const auto& c : cells)
            blocks.push_back(std::make_shared<Block>(MapPosition{c[0], c[1], c[2]}, c[3]));
        return blocks;
    }
};

TEST_F(StageFiles, LoadStageReadsGroupAndNumberIntoBlocksAtCellCentres)
{
    directory.Write("Resource/BData/STAGE2/Stage003.txt", "x:1,y:2,z:3,sf:3,af:0,pf:0\n");
    BlockList blocks = Blocks({{0, 0, 0, 1}});
    ASSERT_TRUE(LoadStage(blocks, StageFile::Path(2, 3)));
    ASSERT_EQ(blocks.size(), 2u) << "appended to what the list held";
    EXPECT_EQ(blocks[1]->transform.position, (Vector3{75.0f, 125.0f, 175.0f}));
    EXPECT_EQ(blocks[1]->mapCell, (MapPosition{1, 2, 3}));
    EXPECT_EQ(blocks[1]->kind, 3);
    EXPECT_EQ(StageFile::Path(1, 12), "Resource/BData/STAGE1/Stage012.txt");
}

TEST_F(StageFiles, AMissingStageSaysSoAndLoadsNothing)
{
    BlockList blocks;
    EXPECT_FALSE(LoadStage(blocks, StageFile::Path(1, 4)));
    EXPECT_TRUE(blocks.empty());
    EXPECT_FALSE(StageFile::Read(StageFile::Path(1, 4)));
}

TEST_F(StageFiles, SaveRenumbersTheFolderAndWritesTheNextNumber)
{
    directory.Write("Resource/BData/Stage001.txt", "one");
    directory.Write("Resource/BData/Stage003.txt", "three");
    ASSERT_TRUE(SaveStage(Blocks({{1, 2, 3, 2}, {4, 5, 6, 1}})));
    EXPECT_EQ(EditorFiles(), (std::vector<std::string>{"Stage001.txt", "Stage002.txt", "Stage003.txt"}));
    EXPECT_EQ(Text(directory.Path() / "Resource/BData/Stage002.txt"), "three");
    EXPECT_EQ(Text(directory.Path() / "Resource/BData/Stage003.txt"),
              "x:1,y:2,z:3,sf:2,af:0,pf:0\nx:4,y:5,z:6,sf:1,af:0,pf:0\n");
}

TEST_F(StageFiles, SaveNeverReplacesAStageThatIsThere)
{
    // In name order "A.txt" would become Stage001.txt and Stage001.txt would
    // become Stage002.txt: both names are taken, and a plain rename replaces.
    directory.Write("Resource/BData/A.txt", "a");
    directory.Write("Resource/BData/Stage001.txt", "one");
    directory.Write("Resource/BData/Stage002.txt", "two");
    fs::create_directories(directory.Path() / "Resource/BData/folder.txt");
    ASSERT_TRUE(SaveStage(Blocks({{0, 0, 0, 2}})));
    std::vector<std::string> contents;
    for (const std::string& name : EditorFiles()) {
        if (name != "folder.txt")
            contents.push_back(Text(directory.Path() / "Resource/BData" / name));
    }
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{"a", "one", "two", "x:0,y:0,z:0,sf:2,af:0,pf:0\n"}));
    EXPECT_TRUE(fs::is_directory(directory.Path() / "Resource/BData/folder.txt"));
}

TEST_F(StageFiles, SaveReportsAFolderItCannotWriteIn)
{
    EXPECT_FALSE(SaveStage(Blocks({{0, 0, 0, 2}})));
}

TEST_F(StageFiles, MovementRecordsAreSavedTruncatedAndReadBack)
{
    BlockList blocks = Blocks({{2, 0, 0, 1}, {3, 0, 0, 2}});
    blocks[0]->launched = 1;
    blocks[0]->state = 1;
    blocks[0]->moves = {{12.7f, -0.5f, -3.9f}, {1e30f, 0.0f, 0.0f}};
    blocks[0]->frames = {5, 6};
    fs::create_directories(directory.Path() / "Resource/BData");
    ASSERT_TRUE(SaveStage(blocks));
    const std::string text = Text(directory.Path() / "Resource/BData/Stage001.txt");
    EXPECT_EQ(text,
              "x:2,y:0,z:0,sf:1,af:1,pf:1\n"
              "mx:12,my:0,mz:-3,fr:5\n"
              "mx:2147483647,my:0,mz:0,fr:6\n"
              "x:3,y:0,z:0,sf:2,af:0,pf:0\n");

    // Read back, the launched block takes the block record after its
    // movements as one more movement line, which matches nothing.
    std::istringstream in(text);
    const auto records = StageFile::Parse(in);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].moves, (std::vector<Vector3>{{12.0f, 0.0f, -3.0f}, {2147483647.0f, 0.0f, 0.0f}}));
}

TEST_F(StageFiles, AnEditorStageRoundTrips)
{
    fs::create_directories(directory.Path() / "Resource/BData/STAGE1");
    const BlockList saved = Blocks({{0, 0, 0, 1}, {9, 9, 9, 2}, {4, 0, 7, 3}, {5, 1, 2, 3}});
    ASSERT_TRUE(SaveStage(saved));
    fs::rename(directory.Path() / "Resource/BData/Stage001.txt", directory.Path() / "Resource/BData/STAGE1/Stage001.txt");
    BlockList loaded;
    ASSERT_TRUE(LoadStage(loaded, StageFile::Path(1, 1)));
    ASSERT_EQ(loaded.size(), saved.size());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(loaded[i]->mapCell, saved[i]->mapCell);
        EXPECT_EQ(loaded[i]->kind, saved[i]->kind);
        EXPECT_EQ(loaded[i]->transform.position, saved[i]->transform.position);
    }
}

}  // namespace
