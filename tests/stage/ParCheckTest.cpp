#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "stage/ParFile.h"
#include "support/TestDirectory.h"

namespace {

// A stage's par is trusted only while its check still matches, so every
// edit a player makes in the editor must change the check: the same blocks
// with two of them swapping kinds, two lines swapping places, or one digit
// changed. A sum of the bytes, or any check blind to their order, would take
// the first two for the old stage and show a par that is no longer true.
TEST(ParCheck, EveryEditThatKeepsTheBytesButNotTheirOrderChangesTheCheck)
{
    const std::vector<std::string> lines = {"x:2,y:0,z:0,sf:2,af:0,pf:0", "x:3,y:0,z:0,sf:1,af:0,pf:0",
                                            "x:4,y:0,z:4,sf:3,af:0,pf:0", "x:5,y:0,z:4,sf:1,af:0,pf:0",
                                            "x:0,y:0,z:3,sf:2,af:0,pf:0"};
    const auto text = [](const std::vector<std::string>& stage) {
        std::string joined;
        for (const std::string& line : stage)
            joined += line + "\n";
        return joined;
    };
    // Every stage text and what was done to it.
    std::vector<std::pair<std::string, std::string>> stages = {{"as it is", text(lines)}};
    const std::size_t KindAt = lines[0].find("sf:") + 3;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            std::vector<std::string> swapped = lines;
            std::swap(swapped[i], swapped[j]);
            stages.push_back({"lines " + std::to_string(i) + " and " + std::to_string(j) + " swapped", text(swapped)});
            if (lines[i][KindAt] == lines[j][KindAt])
                continue;
            std::vector<std::string> kinds = lines;
            std::swap(kinds[i][KindAt], kinds[j][KindAt]);
            stages.push_back({"the kinds of lines " + std::to_string(i) + " and " + std::to_string(j) + " swapped",
                              text(kinds)});
        }
        for (std::size_t at = 0; at < lines[i].size(); ++at) {
            if (lines[i][at] < '0' || lines[i][at] > '9')
                continue;
            std::vector<std::string> changed = lines;
            changed[i][at] = lines[i][at] == '9' ? '0' : static_cast<char>(lines[i][at] + 1);
            stages.push_back({"line " + std::to_string(i) + ", character " + std::to_string(at) + " changed",
                              text(changed)});
        }
    }

    TestDirectory directory;
    std::map<std::int32_t, std::string> seen;
    for (const auto& [what, stage] : stages) {
        directory.Write("Stage.txt", stage);
        const std::optional<std::int32_t> check = ParFile::Check("Stage.txt");
        ASSERT_TRUE(check) << what;
        const auto [at, added] = seen.emplace(*check, what);
        EXPECT_TRUE(added) << what << " has the check of: " << at->second;
    }
    EXPECT_FALSE(ParFile::Check("Missing.txt"));
}

}  // namespace
