#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "scenes/GroupPars.h"
#include "stage/ParFile.h"
#include "stage/StageFile.h"
#include "support/TestDirectory.h"

namespace {

// Two shots: the row, then the column.
const char* const TwoShots = "x:2,y:0,z:0,sf:2,af:0,pf:0\nx:3,y:0,z:0,sf:1,af:0,pf:0\n"
                             "x:0,y:0,z:3,sf:2,af:0,pf:0\nx:0,y:0,z:4,sf:1,af:0,pf:0\n";
const char* const OneShot = "x:2,y:0,z:0,sf:2,af:0,pf:0\nx:3,y:0,z:0,sf:1,af:0,pf:0\n";
// A lone black is never closed in by white.
const char* const NoWay = "x:5,y:0,z:5,sf:2,af:0,pf:0\n";

class GroupParsTest : public ::testing::Test {
protected:
    std::string ParText() const
    {
        std::ifstream in(directory.Path() / ParFile::Path(2), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TestDirectory directory;
};

TEST_F(GroupParsTest, ParsAreSolvedOnceAndSearchedAgainOnlyForAChangedStage)
{
    directory.Write(StageFile::Path(2, 1), TwoShots);
    directory.Write(StageFile::Path(2, 2), NoWay);
    // Stage 3 is missing: it has no par, and takes no search.
    {
        GroupPars pars(2, 3, BackgroundSolve::Pace::Waited);
        EXPECT_FALSE(pars.Par(1)) << "not known before its search";
        pars.Update(true);
        EXPECT_EQ(pars.Par(1), 2);
        EXPECT_FALSE(pars.Par(2));
        EXPECT_FALSE(pars.Par(3));
    }
    const std::string saved = ParText();
    EXPECT_NE(saved.find("stage:1,par:2,check:"), std::string::npos) << saved;
    EXPECT_NE(saved.find("stage:2,par:-1,check:"), std::string::npos) << saved;

    {
        GroupPars pars(2, 3, BackgroundSolve::Pace::Waited);
        EXPECT_EQ(pars.Par(1), 2) << "from the file, with no search";
    }
    directory.Write(StageFile::Path(2, 1), OneShot);
    GroupPars pars(2, 3, BackgroundSolve::Pace::Waited);
    EXPECT_FALSE(pars.Par(1)) << "a changed stage is searched again";
    pars.Update(true);
    EXPECT_EQ(pars.Par(1), 1);
}

TEST_F(GroupParsTest, ADamagedParFileIsReadForWhatItHoldsAndWrittenWholeAgain)
{
    directory.Write(StageFile::Path(2, 1), OneShot);
    const std::int32_t check = *ParFile::Check(StageFile::Path(2, 1));
    directory.Write(ParFile::Path(2), "garbage\nstage:1,par:7\nstage:1,par:9,check:" + std::to_string(check) +
                                          "\n\xEF\xBB\xBFstage:x\n");
    EXPECT_EQ(ParFile::Read(ParFile::Path(2)).at(1).par, 9);
    GroupPars pars(2, 1, BackgroundSolve::Pace::Waited);
    EXPECT_EQ(pars.Par(1), 9) << "a par file is trusted while its checksum matches";
    directory.Write(ParFile::Path(2), "stage:1,par:9,check:" + std::to_string(check + 1) + "\n");
    GroupPars again(2, 1, BackgroundSolve::Pace::Waited);
    again.Update(true);
    EXPECT_EQ(again.Par(1), 1);
    EXPECT_EQ(ParText(), "stage:1,par:1,check:" + std::to_string(check) + "\n");
}

}  // namespace
