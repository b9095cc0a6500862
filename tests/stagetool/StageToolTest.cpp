#include <gtest/gtest.h>

#include <sstream>

#include "StageTool.h"
#include "support/TestDirectory.h"

namespace {

// orb-stage's commands run in a temporary folder, output and status checked.
class StageTool : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& arguments)
    {
        out.str("");
        err.str("");
        return RunStageTool(arguments, out, err);
    }
    static std::string Lines(std::initializer_list<const char*> lines)
    {
        std::string text;
        for (const char* line : lines)
            text += std::string(line) + "\n";
        return text;
    }

    TestDirectory directory;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(StageTool, VersionAndHelpAreAnswersNotMistakes)
{
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out.str().rfind("orb-stage ", 0), 0u) << out.str();
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_EQ(out.str().rfind("usage: orb-stage", 0), 0u) << out.str();
}

TEST_F(StageTool, MisusesEndWithTheUsageTheMistakeAndStatusTwo)
{
    const std::pair<std::vector<std::string>, const char*> misuses[] = {
        {{"bogus", "a.txt"}, "orb-stage: unknown command bogus\n"},
        {{"bogus"}, "orb-stage: unknown command bogus\n"},
        {{"solve"}, "orb-stage: solve needs a file\n"},
        {{"check"}, "orb-stage: check needs a folder\n"},
        {{"solve", "--limit", "x", "a.txt"}, "orb-stage: --limit needs a whole number\n"},
        {{"solve", "--frobnicate", "1", "a.txt"}, "orb-stage: unknown option --frobnicate\n"},
    };
    for (const auto& [arguments, said] : misuses) {
        EXPECT_EQ(Run(arguments), 2) << arguments[0];
        EXPECT_TRUE(err.str().starts_with("usage: orb-stage")) << err.str();
        EXPECT_TRUE(err.str().ends_with(said)) << err.str();
    }
}

TEST_F(StageTool, SolveGivesTheFewestShotsFirstThenEachShot)
{
    directory.Write("a.txt", Lines({"x:2,y:0,z:0,sf:2,af:0,pf:0", "x:3,y:0,z:0,sf:2,af:0,pf:0",
                                    "x:4,y:0,z:0,sf:1,af:0,pf:0"}));
    EXPECT_EQ(Run({"solve", "a.txt"}), 0);
    EXPECT_EQ(out.str(), "1\nfire from (0, 0, 0) toward +x: lands on (1, 0, 0), turns 2 over\n");

    EXPECT_EQ(Run({"solve", "--stats", "a.txt"}), 0);
    EXPECT_NE(out.str().find("\nstates visited: 2\ntime: "), std::string::npos) << out.str();
}

TEST_F(StageTool, SolveSaysWhyAndFailsWhenThereIsNoSolution)
{
    directory.Write("lost.txt", Lines({"x:5,y:0,z:5,sf:2,af:0,pf:0"}));
    EXPECT_EQ(Run({"solve", "lost.txt"}), 1);
    EXPECT_EQ(out.str(), "lost at start: no shot can turn anything over\n");

    directory.Write("boxed.txt", Lines({"x:0,y:0,z:1,sf:1,af:0,pf:0", "x:1,y:0,z:1,sf:1,af:0,pf:0",
                                        "x:2,y:0,z:0,sf:2,af:0,pf:0", "x:3,y:0,z:0,sf:1,af:0,pf:0",
                                        "x:5,y:0,z:5,sf:2,af:0,pf:0", "x:6,y:0,z:5,sf:1,af:0,pf:0"}));
    EXPECT_EQ(Run({"solve", "boxed.txt"}), 1);
    EXPECT_EQ(out.str(), "unsolvable: no sequence of shots turns the black block at (2, 0)\n");

    EXPECT_EQ(Run({"solve", "missing.txt"}), 2);
    EXPECT_EQ(err.str(), "orb-stage: cannot read missing.txt\n");
    EXPECT_EQ(Run({"solve"}), 2);
    EXPECT_EQ(Run({"polish", "a.txt"}), 2);
}

TEST_F(StageTool, CheckNamesEachProblemByFileAndLine)
{
    directory.Write("BData/STAGE1/Stage001.txt", Lines({"x:2,y:0,z:0,sf:2,af:0,pf:0", "x:3,y:0,z:0,sf:1,af:0,pf:0"}));
    directory.Write("BData/STAGE1/Result1.txt", "score:0");
    EXPECT_EQ(Run({"check", "BData"}), 0);
    EXPECT_EQ(out.str(), "BData/STAGE1/Stage001.txt: 1 shot\n1 stages, 0 problems\n");
    // A search cut short proves nothing either way.
    directory.Write("Deep/Stage001.txt", Lines({"x:2,y:0,z:0,sf:2,af:0,pf:0", "x:3,y:0,z:0,sf:1,af:0,pf:0",
                                                "x:0,y:0,z:2,sf:2,af:0,pf:0", "x:0,y:0,z:3,sf:1,af:0,pf:0"}));
    EXPECT_EQ(Run({"check", "--limit", "2", "Deep"}), 1);
    EXPECT_EQ(out.str(), "Deep/Stage001.txt: undecided: no answer within 2 positions\n1 stages, 1 problems\n");

    directory.Write("BData/STAGE2/Stage001.txt",
                    Lines({"x:0,y:0,z:0,sf:1,af:0,pf:0", "not a block", "x:12,y:0,z:0,sf:2,af:0,pf:0",
                           "x:2,y:0,z:0,sf:2,af:0,pf:0", "x:2,y:0,z:0,sf:1,af:0,pf:0", "x:3,y:0,z:3,sf:4,af:0,pf:0",
                           "x:4,y:0,z:4,sf:1,af:1,pf:0"}));
    EXPECT_EQ(Run({"check", "BData"}), 1);
    const std::string report = out.str();
    for (const char* problem : {"Stage001.txt:1: the player starts in cell (0, 0, 0), which must be free",
                                "Stage001.txt:2: not a block record", "Stage001.txt:3: cell (12, 0, 0) is outside the field",
                                "Stage001.txt:5: cell (2, 0, 0) already holds the block of line 4",
                                "Stage001.txt:6: kind 4 is not one of 1 to 3",
                                "Stage001.txt:7: a stage's blocks start at rest (af:0, pf:0)"})
        EXPECT_NE(report.find(problem), std::string::npos) << problem << " in\n" << report;
    EXPECT_NE(report.find("2 stages, "), std::string::npos) << report;
}

TEST_F(StageTool, KeysPlayTheSolutionWithTheArrowsAndSpace)
{
    directory.Write("a.txt", Lines({"x:2,y:0,z:3,sf:2,af:0,pf:0", "x:3,y:0,z:3,sf:1,af:0,pf:0"}));
    EXPECT_EQ(Run({"keys", "a.txt"}), 0);
    // Up the left edge three cells, then charge, face +x and fire.
    EXPECT_EQ(out.str(), "# a.txt: 1 shots; the last turning over ends by frame 135\n"
                         "1 Up down\n2 Up up\n13 Up down\n14 Up up\n25 Up down\n26 Up up\n"
                         "37 Space down\n38 Right down\n39 Right up\n49 Space up\n");
}

TEST_F(StageTool, GenerateWritesASolvableStage)
{
    EXPECT_EQ(Run({"generate", "--seed", "3", "--tries", "40", "--black", "3", "--white", "3"}), 0);
    directory.Write("generated.txt", out.str());
    EXPECT_EQ(Run({"solve", "generated.txt"}), 0);
}

}  // namespace
