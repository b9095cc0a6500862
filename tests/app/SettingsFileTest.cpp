#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>

#include "app/SettingsFile.h"
#include "main/PlayerSettings.h"
#include "support/ChildProcess.h"
#include "support/TestDirectory.h"

namespace {

namespace fs = std::filesystem;

using Outcome = SettingsFile::ReadOutcome;

class SettingsFileTest : public ::testing::Test {
protected:
    std::string Path() const { return (directory.Path() / Name).string(); }
    void Store(const std::string& text) const { directory.Write(Name, text); }
    std::string Stored() const
    {
        std::ifstream in(Path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The file read as the game reads it at its start.
    Settings Read(Outcome expected = Outcome::Whole) const
    {
        Settings settings;
        std::string warning;
        EXPECT_EQ(SettingsFile::Read(Path(), settings, warning), expected) << warning;
        EXPECT_EQ(warning.empty(), expected == Outcome::Whole) << warning;
        return settings;
    }

    static constexpr const char* Name = "config/orb/settings.ini";
    TestDirectory directory;
};

TEST_F(SettingsFileTest, AMissingFileKeepsTheDefaultsAndIsMadeWithEverySettingOnTheFirstSave)
{
    Settings settings = Read();
    EXPECT_EQ(settings.musicLevel, 100);
    EXPECT_EQ(settings.effectsLevel, 100);
    EXPECT_EQ(settings.display, Display::Ask);

    settings.musicLevel = 70;
    ASSERT_TRUE(SettingsFile::Write(Path(), settings)) << "its folder is made";
    EXPECT_EQ(Stored().front(), '#') << "it starts with a comment saying what it holds";
    const Settings read = Read();
    EXPECT_EQ(read.musicLevel, 70);
    EXPECT_EQ(read.effectsLevel, 100);
    EXPECT_EQ(read.display, Display::Ask);
    EXPECT_NE(Stored().find("effects = 100\n"), std::string::npos);
    EXPECT_NE(Stored().find("display = ask\n"), std::string::npos);
}

TEST_F(SettingsFileTest, EachLevelTakesZeroToAHundredAndNothingBeyond)
{
    struct Case {
        const char* value;
        bool taken;
    };
    for (const char* key : {"music", "effects"}) {
        for (const Case& c : {Case{"0", true}, Case{"100", true}, Case{"57", true}, Case{"-1", false},
                              Case{"101", false}, Case{"loud", false}, Case{"5 5", false}, Case{"", false}}) {
            // Away from the default, so that a refused line shows.
            Store(std::string(key) + " = 50\n" + key + " = " + c.value + "\n");
            const Settings settings = Read(c.taken ? Outcome::Whole : Outcome::LinesSkipped);
            const int level = std::string(key) == "music" ? settings.musicLevel : settings.effectsLevel;
            EXPECT_EQ(level, c.taken ? std::stoi(c.value) : 50) << key << " = " << c.value;
        }
    }
}

TEST_F(SettingsFileTest, ABadLineIsReportedWithItsNumberAndTheGoodLinesStillApply)
{
    Store("# mine\n\neffects = 20\nmusik = 50\n display =window \r\n\tmusic=0\n");
    Settings settings = Read(Outcome::LinesSkipped);
    EXPECT_EQ(settings.effectsLevel, 20);
    EXPECT_EQ(settings.musicLevel, 0);
    EXPECT_EQ(settings.display, Display::Window);
    std::string warning;
    SettingsFile::Read(Path(), settings, warning);
    EXPECT_EQ(warning.rfind(Path() + ": line 4 is not ", 0), 0u) << warning;

    Store("volume = 5\ndisplay = maybe\nmusic\nmusic = 30\n");
    settings = Read(Outcome::LinesSkipped);
    EXPECT_EQ(settings.musicLevel, 30);
    EXPECT_EQ(settings.display, Display::Ask);
    SettingsFile::Read(Path(), settings, warning);
    EXPECT_NE(warning.find("line 1 and 2 more are not"), std::string::npos) << warning;
}

TEST_F(SettingsFileTest, AFileThatIsNoSettingsFileGivesTheDefaultsAndTheGameNeverWritesIt)
{
    const std::string tooLarge = "music = 10\n" + std::string(64 * 1024, '#');
    const std::string binary = std::string("music = 10\n\0\x01\x02", 14);
    for (const std::string& text : {tooLarge, binary}) {
        Store(text);
        EXPECT_EQ(Read(Outcome::Unreadable).musicLevel, 100);
        EXPECT_TRUE(PlayerSettings("orb", Path()).file.empty()) << "volume changes would go into the file";
        Settings changed;
        changed.musicLevel = 20;
        EXPECT_FALSE(SettingsFile::Write(Path(), changed));
        EXPECT_EQ(Stored(), text);
    }
    fs::remove(Path());
    ASSERT_EQ(mkfifo(Path().c_str(), 0600), 0);
    EXPECT_EQ(InChild([&] {
                  alarm(5);
                  Settings settings;
                  std::string warning;
                  return SettingsFile::Read(Path(), settings, warning) == Outcome::Unreadable ? 0 : 1;
              }),
              0)
        << "a FIFO is refused at once";
    fs::remove(Path());
    fs::create_directories(Path());
    EXPECT_EQ(Read(Outcome::Unreadable).musicLevel, 100);
    fs::remove(Path());
    Store("music = loud\n");
    EXPECT_EQ(PlayerSettings("orb", Path()).file, Path()) << "a file with a bad line is still the player's to keep";
}

TEST_F(SettingsFileTest, ASaveChangesOnlyItsOwnLineAndKeepsEverythingElse)
{
    const std::string mine = "# my levels\r\nmusic = 50\r\nmusik = 1\neffects=10  \nmusic = 60\n# the end";
    Store(mine);
    Settings settings = Read(Outcome::LinesSkipped);
    settings.musicLevel = 70;
    ASSERT_TRUE(SettingsFile::Write(Path(), settings));
    EXPECT_EQ(Stored(), "# my levels\r\nmusic = 50\r\nmusik = 1\neffects=10  \nmusic = 70\n# the end")
        << "the line that counts, the last";
    settings.display = Display::FullScreen;
    ASSERT_TRUE(SettingsFile::Write(Path(), settings));
    EXPECT_EQ(Stored(), "# my levels\r\nmusic = 50\r\nmusik = 1\neffects=10  \nmusic = 70\n# the end\n"
                        "display = fullscreen\n");
}

TEST_F(SettingsFileTest, TwoCopiesChangingDifferentSettingsKeepBothChanges)
{
    Store("music = 50\neffects = 50\n");
    Settings first = Read();
    Settings second = Read();
    second.effectsLevel = 20;
    ASSERT_TRUE(SettingsFile::Write(Path(), second));
    first.musicLevel = 80;
    ASSERT_TRUE(SettingsFile::Write(Path(), first));
    EXPECT_EQ(Stored(), "music = 80\neffects = 20\n");

    // At once, round after round: one copy saves its few changes while the
    // other is busy saving many.
    constexpr int Rounds = 6;
    constexpr int MusicSaves = 30;
    constexpr int EffectsSaves = 3;
    for (int round = 0; round < Rounds; ++round) {
        Store("music = 50\neffects = 50\n");
        const auto statuses = TogetherInChildren(
            2,
            [&](int i) {
                Settings settings = Read();
                int failed = 0;
                for (int save = 1; i == 0 && save <= MusicSaves; ++save) {
                    settings.musicLevel = save;
                    failed += !SettingsFile::Write(Path(), settings);
                }
                for (int save = 1; i == 1 && save <= EffectsSaves; ++save) {
                    settings.effectsLevel = save;
                    failed += !SettingsFile::Write(Path(), settings);
                    usleep(2000);
                }
                return failed;
            },
            [] {});
        ASSERT_EQ(statuses, (std::vector<int>{0, 0}));
        const Settings last = Read();
        ASSERT_EQ(last.musicLevel, MusicSaves) << "round " << round;
        ASSERT_EQ(last.effectsLevel, EffectsSaves) << "round " << round;
    }
}

TEST_F(SettingsFileTest, ALinkStaysALinkAndTheFileKeepsItsPermissions)
{
    directory.Write("dotfiles/orb.ini", "music = 50\n");
    const fs::path target = directory.Path() / "dotfiles/orb.ini";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(fs::path(Path()).parent_path());
    fs::create_symlink("../../dotfiles/orb.ini", Path());
    Settings settings = Read();
    settings.musicLevel = 40;
    ASSERT_TRUE(SettingsFile::Write(Path(), settings));
    EXPECT_TRUE(fs::is_symlink(Path()));
    EXPECT_EQ(Stored(), "music = 40\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
