#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "stage/ResultFile.h"
#include "support/TestDirectory.h"

namespace {

namespace fs = std::filesystem;

class ResultFiles : public ::testing::Test {
protected:
    void Store(const std::string& text) { directory.Write(path, text); }
    std::string Stored() const
    {
        std::ifstream in(directory.Path() / path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Stores before, writes score, returns what the file then holds.
    std::string After(const std::string& before, int score)
    {
        Store(before);
        ResultFile::Write(path, score);
        return Stored();
    }

    TestDirectory directory;
    const std::string path = "Resource/BData/STAGE2/Result3.txt";
};

TEST_F(ResultFiles, TheStageGroupAndNumberNameTheFile)
{
    EXPECT_EQ(ResultFile::Path(2, 3), "./Resource/BData/STAGE2/Result3.txt");
}

TEST_F(ResultFiles, OnlyAStrictlyBetterClearReplacesTheStoredScore)
{
    EXPECT_EQ(After("score:0", 7), "score:7") << "any clear beats not cleared";
    EXPECT_EQ(After("score:5", 7), "score:5");
    EXPECT_EQ(After("score:5", 5), "score:5");
    EXPECT_EQ(After("score:5", 3), "score:3");
    EXPECT_EQ(After("score:5\n", 3), "score:3");
    EXPECT_FALSE(fs::exists(directory.Path() / (path + ".tmp")));
}

TEST_F(ResultFiles, AnEmptyOrBrokenFileCountsAsNotCleared)
{
    EXPECT_EQ(After("", 4), "score:4");
    EXPECT_EQ(After("garbage", 4), "score:4");
    EXPECT_EQ(After("score:-2", 4), "score:4");
    EXPECT_EQ(After("score:99999999999999", 4), "score:4");
}

TEST_F(ResultFiles, TheLastReadableLineDecides)
{
    EXPECT_EQ(After("score:2\r\nscore:9\r\nnoise\r\n", 5), "score:5");
    EXPECT_EQ(After("score:9\nscore:2\n", 5), "score:9\nscore:2\n");
}

TEST_F(ResultFiles, AClearOfNoShotsIsNeverStored)
{
    EXPECT_EQ(After("score:0", 0), "score:0");
    EXPECT_EQ(After("score:5", 0), "score:5");
    EXPECT_EQ(After("score:5", -1), "score:5");
}

// Both say the file could not be opened, which the game tells the player.
TEST_F(ResultFiles, AMissingFileIsMadeAnewHoldingTheScoreAndAMissingFolderLosesNothingElse)
{
    EXPECT_EQ(ResultFile::Write(path, 6), ResultFile::Update::Unopened);
    EXPECT_FALSE(fs::exists(directory.Path() / "Resource"));

    fs::create_directories(directory.Path() / "Resource/BData/STAGE2");
    const ResultFile::Update created = ResultFile::Write(path, 6);
    EXPECT_EQ(created, ResultFile::Update::Created);
    EXPECT_TRUE(ResultFile::Unopened(created));
    EXPECT_EQ(Stored(), "score:6");
}

}  // namespace
