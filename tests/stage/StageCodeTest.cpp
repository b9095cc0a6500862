#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "stage/StageCode.h"

namespace {

int Cell(const BlockRecord& r)
{
    return (r.y * StageFile::FieldCells + r.z) * StageFile::FieldCells + r.x;
}

// The board a list of blocks stands for: cells and kinds in cell order.
std::vector<std::pair<int, int>> Board(const std::vector<BlockRecord>& blocks)
{
    std::vector<std::pair<int, int>> board;
    for (const BlockRecord& r : blocks)
        board.emplace_back(Cell(r), r.kind);
    std::sort(board.begin(), board.end());
    return board;
}

std::vector<BlockRecord> Decoded(const std::string& code)
{
    std::string error;
    const auto blocks = StageCode::Decode(code, error);
    EXPECT_TRUE(blocks) << code << ": " << error;
    return blocks.value_or(std::vector<BlockRecord>{});
}

std::string Encoded(const std::vector<BlockRecord>& blocks)
{
    std::string error;
    const auto code = StageCode::Encode(blocks, error);
    EXPECT_TRUE(code) << error;
    return code.value_or("");
}

TEST(StageCode, EveryShippedStageComesBackExactlyFromAShortCode)
{
    int stages = 0;
    for (int group = 1; group <= 3; ++group) {
        for (int stage = 1; stage <= 6; ++stage) {
            const std::string path = std::string(ORB_SOURCE_DIR) + "/data/" + StageFile::Path(group, stage);
            const auto blocks = StageFile::Read(path);
            ASSERT_TRUE(blocks) << path;
            const std::string code = Encoded(*blocks);
            EXPECT_LE(code.size(), 64u) << group << "-" << stage << ": " << code;
            EXPECT_EQ(Board(Decoded(code)), Board(*blocks)) << group << "-" << stage;
            ++stages;
        }
    }
    EXPECT_EQ(stages, 18);
}

// Random legal boards, from empty to a whole layer and blocks above it: the
// code reads back to the same board, in any case and grouping a person types.
TEST(StageCode, RandomBoardsComeBackExactlyHoweverTheCodeIsTyped)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<int> cells(1000);
        for (int i = 0; i < 1000; ++i)
            cells[static_cast<std::size_t>(i)] = i;
        std::shuffle(cells.begin(), cells.end(), random);
        const std::size_t count = std::uniform_int_distribution<std::size_t>(0, round % 3 == 0 ? 1000 : 60)(random);
        std::vector<BlockRecord> blocks;
        for (std::size_t i = 0; i < count; ++i) {
            BlockRecord r;
            r.x = cells[i] % 10;
            r.z = cells[i] / 10 % 10;
            r.y = round % 2 == 0 ? 0 : cells[i] / 100;
            r.kind = std::uniform_int_distribution<int>(1, 3)(random);
            if (std::none_of(blocks.begin(), blocks.end(), [&](const BlockRecord& b) { return Cell(b) == Cell(r); }))
                blocks.push_back(r);
        }
        std::string code = Encoded(blocks);
        ASSERT_EQ(Board(Decoded(code)), Board(blocks)) << code;
        std::string typed = code;
        // Hyphens become blanks of every kind, as when a code is wrapped over lines.
        const char blanks[] = {' ', '\n', '\t', '\r'};
        std::size_t hyphen = 0;
        std::transform(typed.begin() + 4, typed.end(), typed.begin() + 4,
                       [&](char c) { return c == '-' ? blanks[hyphen++ % 4] : c; });
        typed = "orb-" + typed.substr(4);
        std::transform(typed.begin(), typed.end(), typed.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
        ASSERT_EQ(Board(Decoded(typed)), Board(blocks)) << typed;
    }
}

// One clear message for each way a code goes wrong, and never a board.
TEST(StageCode, ADamagedOrForeignCodeGivesItsReasonAndNoBoard)
{
    BlockRecord one;
    one.x = 2;
    one.kind = 2;
    const std::string code = Encoded({one});
    const struct {
        std::string code;
        const char* reason;
    } bad[] = {
        {"", "a code starts with ORB-"},
        {"Stage001.txt", "a code starts with ORB-"},
        {"ORB-", "cut short"},
        {"ORB-6K", "cut short"},
        {"ORB-6KA!A-4690C", "no digit"},
        {code.substr(0, code.size() - 1), "checksum"},
        {code + "0", "checksum"},
    };
    for (const auto& c : bad) {
        std::string error;
        EXPECT_FALSE(StageCode::Decode(c.code, error)) << c.code;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.code << ": " << error;
    }

    // Every digit mistyped as every other: the checksum catches each.
    const std::string digits = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
    int caught = 0;
    for (std::size_t at = 4; at < code.size(); ++at) {
        for (const char digit : digits) {
            if (code[at] == '-' || code[at] == digit)
                continue;
            std::string typo = code;
            typo[at] = digit;
            std::string error;
            EXPECT_FALSE(StageCode::Decode(typo, error)) << typo;
            ++caught;
        }
    }
    EXPECT_GE(caught, 200);
}

TEST(StageCode, OnlyABoardAtRestOnTheFieldOneBlockToACellHasACode)
{
    BlockRecord block;
    block.kind = 1;
    BlockRecord flying = block;
    flying.launched = 1;
    BlockRecord outside = block;
    outside.z = 10;
    BlockRecord noKind = block;
    noKind.kind = 4;
    for (const auto& blocks : {std::vector<BlockRecord>{flying}, std::vector<BlockRecord>{outside},
                               std::vector<BlockRecord>{noKind}, std::vector<BlockRecord>{block, block}}) {
        std::string error;
        EXPECT_FALSE(StageCode::Encode(blocks, error));
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
