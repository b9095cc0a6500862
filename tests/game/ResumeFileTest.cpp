#include <gtest/gtest.h>

#include <string>

#include "game/ResumeFile.h"
#include "rules/BlockKind.h"
#include "support/TestDirectory.h"

namespace {

using namespace BlockKind;

constexpr std::int32_t Check = 1234;
const BoardPosition Start{{{{2, 0, 0}, Black, false}, {{3, 0, 0}, White, false}}, {0, 0, 0}, Direction::MinusZ, 0};
// One shot: it stayed in (1, 0, 0) and turned the black block.
const BoardPosition Played{
    {{{2, 0, 0}, White, false}, {{3, 0, 0}, White, false}, {{1, 0, 0}, White, false}}, {0, 0, 1}, Direction::PlusX, 1};

// What is kept reads back whole; anything that is not a position of this
// stage, as it is now, is no position at all.
TEST(ResumeFile, APositionReadsBackWholeAndAnythingElseIsNothing)
{
    TestDirectory directory;
    const std::string path = "Resume1.txt";
    ASSERT_TRUE(ResumeFile::Write(path, Check, Played));
    EXPECT_EQ(ResumeFile::Read(path, Check, Start), Played);
    EXPECT_FALSE(ResumeFile::Read(path, Check + 1, Start)) << "the stage has changed since";

    const std::string head = "check:1234\nshots:1\nplayer:0,1,3\n";
    const std::string blocks = "x:2,y:0,z:0,sf:1\nx:3,y:0,z:0,sf:1\n";
    const struct {
        const char* why;
        std::string text;
    } damaged[] = {
        {"empty", ""},
        {"cut short", "check:1234\nshots:1\n"},
        {"no shots fired", "check:1234\nshots:0\nplayer:0,1,3\n" + blocks},
        {"the player outside", "check:1234\nshots:1\nplayer:0,10,3\n" + blocks},
        {"a facing that is none", "check:1234\nshots:1\nplayer:0,1,7\n" + blocks},
        {"a stage block moved", head + "x:2,y:0,z:5,sf:1\nx:3,y:0,z:0,sf:1\n"},
        {"a stage block missing", head + "x:2,y:0,z:0,sf:1\n"},
        {"a shot that is not white", head + blocks + "x:1,y:0,z:0,sf:2\n"},
        {"two blocks in one cell", head + blocks + "x:3,y:0,z:0,sf:1\n"},
        {"a block on the player", head + blocks + "x:0,y:0,z:1,sf:1\n"},
        {"a kind that is none", head + "x:2,y:0,z:0,sf:9\nx:3,y:0,z:0,sf:1\n"},
        {"a number out of range", head + "x:2,y:0,z:99999999999,sf:1\nx:3,y:0,z:0,sf:1\n"},
        {"a line that is not a block", head + blocks + "hello\n"},
    };
    for (const auto& file : damaged) {
        directory.Write(path, file.text);
        EXPECT_FALSE(ResumeFile::Read(path, Check, Start)) << file.why;
    }

    ResumeFile::Remove(path);
    EXPECT_FALSE(ResumeFile::Read(path, Check, Start)) << "removed";
}

}  // namespace
