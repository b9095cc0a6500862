#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "stage/StageFile.h"

namespace {

std::vector<BlockRecord> ParseText(const std::string& text)
{
    std::istringstream in(text);
    return StageFile::Parse(in);
}

struct Cell {
    int x, y, z, kind;
    friend bool operator==(const Cell&, const Cell&) = default;
};

std::vector<Cell> Cells(const std::vector<BlockRecord>& records)
{
    std::vector<Cell> cells;
    for (const BlockRecord& r : records)
        cells.push_back({r.x, r.y, r.z, r.kind});
    return cells;
}

void PrintTo(const Cell& c, std::ostream* out)
{
    *out << "(" << c.x << "," << c.y << "," << c.z << " kind " << c.kind << ")";
}

TEST(StageParse, EachLineIsABlockAndMissingFieldsComeFromTheLineBefore)
{
    const auto records = ParseText("x:1,y:2,z:3,sf:2,af:0,pf:0\nx:4,y:0\nx:5\n");
    EXPECT_EQ(Cells(records), (std::vector<Cell>{{1, 2, 3, 2}, {4, 0, 3, 2}, {5, 0, 3, 2}}));
    ASSERT_EQ(records[0].moves.size(), 1u) << "a resting block carries one empty move";
    EXPECT_EQ(records[0].moves[0], Vector3(0.0f));
    EXPECT_EQ(records[0].frames, std::vector<int>{0});
}

TEST(StageParse, BlankLinesCarriageReturnsAndAByteOrderMarkAreNoBlocks)
{
    const auto records = ParseText("\xEF\xBB\xBFx:1,y:0,z:0,sf:1,af:0,pf:0\r\n\r\n\nx:2,y:0,z:0,sf:3,af:0,pf:0\r\n");
    EXPECT_EQ(Cells(records), (std::vector<Cell>{{1, 0, 0, 1}, {2, 0, 0, 3}}));
    EXPECT_TRUE(ParseText("").empty());
}

TEST(StageParse, NumbersReadAsTheCScannerReadsThem)
{
    const auto records = ParseText("x: 7,y:+2,z:-0,sf:2,af:0,pf:0trailing\n");
    EXPECT_EQ(Cells(records), (std::vector<Cell>{{7, 2, 0, 2}}));
}

TEST(StageParse, BlocksThatCannotBePlacedOnTheFieldAreSkippedAndTheRestLoad)
{
    const auto records = ParseText(
        "x:10,y:0,z:0,sf:2,af:0,pf:0\n"
        "x:0,y:-1,z:0,sf:2,af:0,pf:0\n"
        "x:0,y:0,z:9,sf:5,af:0,pf:0\n"
        "x:0,y:0,z:9,sf:0,af:0,pf:0\n"
        "x:1,y:0,z:0,sf:2,af:0,pf:0\n"
        "x:2,y:99999999999999999999,z:5\n"
        "x:9,y:9,z:9,sf:4,af:0,pf:0\n"
        "x:9,y:9,z:9,sf:3,af:0,pf:0\n");
    // The number out of range ends its line: the rest comes from the line
    // before. Kind 4 is not a kind: a block that bursts is the clear's
    // animation, never a stage's.
    EXPECT_EQ(Cells(records), (std::vector<Cell>{{1, 0, 0, 2}, {2, 0, 0, 2}, {9, 9, 9, 3}}));
}

TEST(StageParse, AFirstLineThatLeavesTheKindOutIsNoBlock)
{
    EXPECT_TRUE(ParseText("x:1,y:1,z:1\n").empty());
}

TEST(StageParse, AnAbsurdlyLongLineIsRefusedAndTheNextOneStillReads)
{
    const std::string huge = "x:1,y:1,z:1,sf:2,af:0,pf:0" + std::string(10 * 1024 * 1024, ' ');
    const auto records = ParseText(huge + "\nx:3,y:0,z:0,sf:1,af:0,pf:0\n");
    EXPECT_EQ(Cells(records), (std::vector<Cell>{{3, 0, 0, 1}}));
}

TEST(StageParse, ReadingStopsAfterSixteenMebibytes)
{
    const std::string junk(1024 * 1024, '#');
    std::string text = "x:1,y:0,z:0,sf:2,af:0,pf:0\n";
    for (int i = 0; i < 17; ++i)
        text += junk + "\n";
    text += "x:2,y:0,z:0,sf:2,af:0,pf:0\n";
    EXPECT_EQ(Cells(ParseText(text)), (std::vector<Cell>{{1, 0, 0, 2}}));
}

TEST(StageParse, ALaunchedBlockTakesEveryLineAfterItAsItsMovements)
{
    const auto records = ParseText(
        "x:1,y:0,z:0,sf:1,af:0,pf:0\n"
        "x:2,y:0,z:0,sf:1,af:1,pf:1\n"
        "mx:12.5,my:-3,mz:0,fr:4\n"
        "mx:1e1\n"
        "x:3,y:0,z:0,sf:1,af:0,pf:0\n"
        "\n"
        "mx:nan,my:2,mz:2,fr:2\n");
    ASSERT_EQ(records.size(), 2u);
    const BlockRecord& launched = records[1];
    EXPECT_EQ(launched.launched, 1);
    EXPECT_EQ(launched.moves, (std::vector<Vector3>{{12.5f, -3.0f, 0.0f}, {10.0f, -3.0f, 0.0f}}));
    EXPECT_EQ(launched.frames, (std::vector<int>{4, 4}));
    EXPECT_TRUE(ParseText("x:2,y:0,z:0,sf:1,af:1,pf:1\n")[0].moves.empty());
}

TEST(StageParse, AFileNeverYieldsMoreBlocksThanTheFieldHasCells)
{
    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += "x:1,y:1,z:1,sf:2,af:0,pf:0\n";
    EXPECT_EQ(ParseText(text).size(), StageFile::MaxBlocks);
}

}  // namespace
