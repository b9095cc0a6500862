#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "stage/OwnStages.h"
#include "support/TestDirectory.h"

namespace {

std::string Text(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The list is the player's to edit by hand too: what does not read whole is
// passed over, and every stage file is listed whether or not it is named.
TEST(OwnStages, TheListReadsWhatItCanAndEveryStageFileIsListed)
{
    TestDirectory directory;
    for (const char* file : {"Stage001.txt", "Stage002.txt", "Stage003.txt", "Stage010.txt", "Notes.txt", "Stage4.txt"})
        directory.Write(std::string("stages/") + file, "x:1,y:0,z:0,sf:2,af:0,pf:0\n");
    directory.Write("stages/Names.list", "file:Stage001.txt,par:2,name:Corner trap\n"
                                         "file:Stage002.txt,par:x,name:not a number\n"
                                         "file:../Stage003.txt,par:1,name:not a stage's file\n"
                                         "file:Stage003.txt,par:-7,name:Odd, name; far too long for the list\n"
                                         "Stage010.txt,par:3,name:no file key\n");
    const std::vector<OwnStages::Entry> listed = OwnStages::List();
    const std::vector<std::tuple<std::string, std::string, int>> expected = {
        {"Stage001.txt", "Corner trap", 2},
        {"Stage002.txt", "Stage002", -1},
        {"Stage003.txt", "Odd name far too long fo", -1},
        {"Stage010.txt", "Stage010", -1},
        {"Stage4.txt", "Stage4", -1},
    };
    ASSERT_EQ(listed.size(), expected.size());
    for (std::size_t i = 0; i < listed.size(); ++i)
        EXPECT_EQ(std::tie(listed[i].file, listed[i].name, listed[i].par), expected[i]) << i;
}

// New stages take the number after the last, never one that is there; the
// names stay with their files through every save.
TEST(OwnStages, NewStagesFollowTheLastAndKeepTheirNamesAndPars)
{
    TestDirectory directory;
    const std::vector<BlockRecord> board = {{1, 0, 0, 2}, {2, 0, 0, 1}};
    EXPECT_EQ(OwnStages::AddNew(board, "first"), "Stage001.txt");
    directory.Write("stages/Stage005.txt", "x:1,y:0,z:0,sf:2,af:0,pf:0\n");
    EXPECT_EQ(OwnStages::AddNew(board, "second"), "Stage006.txt");
    EXPECT_TRUE(OwnStages::SetPar("Stage001.txt", 1));
    EXPECT_TRUE(OwnStages::Replace("Stage001.txt", {{3, 0, 0, 2}}));
    EXPECT_EQ(Text(directory.Path() / "stages/Stage001.txt"), "x:3,y:0,z:0,sf:2,af:0,pf:0\n");
    EXPECT_EQ(Text(directory.Path() / "stages/Names.list"),
              "file:Stage001.txt,par:1,name:first\nfile:Stage006.txt,par:-1,name:second\n");
}

}  // namespace
