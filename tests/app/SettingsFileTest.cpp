#include <gtest/gtest.h>

#include <string>

#include "app/SettingsFile.h"
#include "support/TestDirectory.h"

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    std::string Path() const { return (directory.Path() / "config/orb/settings.ini").string(); }

    TestDirectory directory;
};

TEST_F(SettingsFileTest, WhatIsWrittenIsReadBackAndAMissingFileKeepsTheDefaults)
{
    Settings settings;
    std::string warning;
    EXPECT_TRUE(SettingsFile::Read(Path(), settings, warning));
    EXPECT_EQ(settings.musicLevel, 100);
    EXPECT_EQ(settings.display, Display::Ask);

    settings.musicLevel = 70;
    settings.effectsLevel = 0;
    settings.display = Display::Window;
    ASSERT_TRUE(SettingsFile::Write(Path(), settings)) << "its folder is made";
    Settings read;
    EXPECT_TRUE(SettingsFile::Read(Path(), read, warning));
    EXPECT_EQ(read.musicLevel, 70);
    EXPECT_EQ(read.effectsLevel, 0);
    EXPECT_EQ(read.display, Display::Window);
}

TEST_F(SettingsFileTest, AnyLineThatIsNoSettingGivesTheDefaultsAndSaysWhere)
{
    for (const char* text : {"music = 101\n", "music = loud\n", "volume = 5\n", "display = maybe\n", "music\n",
                             "effects = -1\n", "music = 5 5\n"}) {
        directory.Write("config/orb/settings.ini", std::string("# mine\n\neffects = 20\n") + text);
        Settings settings;
        std::string warning;
        EXPECT_FALSE(SettingsFile::Read(Path(), settings, warning)) << text;
        EXPECT_EQ(settings.effectsLevel, 100) << "nothing of a bad file is taken: " << text;
        EXPECT_NE(warning.find("line 4"), std::string::npos) << warning;
    }
    directory.Write("config/orb/settings.ini", " display =fullscreen \r\n\tmusic=0\n");
    Settings settings;
    std::string warning;
    EXPECT_TRUE(SettingsFile::Read(Path(), settings, warning)) << warning;
    EXPECT_EQ(settings.display, Display::FullScreen);
    EXPECT_EQ(settings.musicLevel, 0);
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadGivesTheDefaults)
{
    directory.Write("config/orb/settings.ini/inside", "a folder where the file should be");
    Settings settings;
    std::string warning;
    EXPECT_FALSE(SettingsFile::Read(Path(), settings, warning));
    EXPECT_FALSE(warning.empty());
    EXPECT_EQ(settings.musicLevel, 100);
}

}  // namespace
