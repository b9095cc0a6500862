#include <gtest/gtest.h>

#include <sstream>

#include "KeyScript.h"
#include "platform/VirtualKey.h"

namespace {

bool Parse(const std::string& text, std::vector<KeyChange>& changes, std::string& error)
{
    std::istringstream in(text);
    return ParseKeyScript(in, changes, error);
}

TEST(KeyScript, ReadsChangesWithCommentsAndOrdersThemByFrame)
{
    std::vector<KeyChange> changes;
    std::string error;
    ASSERT_TRUE(Parse("# walk up, then fire\n"
                      "20 Space down   # charge\n"
                      "\n"
                      "0 Up down\n"
                      "11 Up up\n"
                      "20 Enter down\n"
                      "25 Space up\n",
                      changes, error))
        << error;
    ASSERT_EQ(changes.size(), 5u);
    EXPECT_EQ(changes[0].frame, 0);
    EXPECT_EQ(changes[0].virtualKey, VirtualKey::Up);
    EXPECT_TRUE(changes[0].down);
    EXPECT_FALSE(changes[1].down);
    EXPECT_EQ(changes[2].virtualKey, VirtualKey::Space) << "same frame keeps file order";
    EXPECT_EQ(changes[3].virtualKey, VirtualKey::Return);
    EXPECT_EQ(changes[4].frame, 25);
}

TEST(KeyScript, KnowsEveryKeyName)
{
    for (const char* name : {"Up", "Down", "Left", "Right", "Space", "Enter", "Escape", "M", "L", "P", "C", "X", "1",
                             "2", "3"})
        EXPECT_GE(KeyByName(name), 0) << name;
    EXPECT_EQ(KeyByName("1"), '1');
    EXPECT_EQ(KeyByName("up"), -1) << "names are case-sensitive";
}

TEST(KeyScript, ReportsTheLineOfABadChange)
{
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"0 Up down\n5 Jump down\n", "line 2"},
        {"x Up down\n", "line 1"},
        {"-3 Up down\n", "line 1"},
        {"0 Up\n", "line 1"},
        {"0 Up sideways\n", "line 1"},
        {"0 Up down now\n", "line 1"},
    };
    for (const auto& [text, where] : bad) {
        std::vector<KeyChange> changes;
        std::string error;
        EXPECT_FALSE(Parse(text, changes, error)) << text;
        EXPECT_EQ(error.rfind(where, 0), 0u) << error;
    }
}

}  // namespace
