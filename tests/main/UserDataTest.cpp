#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "main/UserData.h"
#include "support/ChildProcess.h"
#include "support/TestDirectory.h"

namespace fs = std::filesystem;

namespace {

// Sets an environment variable (or removes it, given nothing) while it lives.
class ScopedVariable {
public:
    ScopedVariable(const char* variableName, const std::optional<std::string>& value) : name(variableName)
    {
        if (const char* old = std::getenv(name))
            previous = old;
        Set(value);
    }
    ~ScopedVariable() { Set(previous); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void Set(const std::optional<std::string>& value) const
    {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }

    const char* name;
    std::optional<std::string> previous;
};

// Root writes through permission bits, so the read-only cases set its
// override aside (from the effective set only, to be taken back after).
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride()
    {
        if (syscall(SYS_capget, &header, saved.data()) != 0)
            return;
        std::array<__user_cap_data_struct, 2> reduced = saved;
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        active = syscall(SYS_capset, &header, reduced.data()) == 0;
    }
    ~WithoutPermissionOverride()
    {
        if (active)
            syscall(SYS_capset, &header, saved.data());
    }
    WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
    WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

private:
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    std::array<__user_cap_data_struct, 2> saved{};
    bool active = false;
};

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fake install under a prefix of the test folder, the player's data home
// beside it.
class UserDataTest : public ::testing::Test {
protected:
    UserDataTest() : dataHome(dir.Path() / "data-home"), dataHomeVariable("XDG_DATA_HOME", dataHome.string()) {}

    // The program of an install with one stage, its result file and a file
    // in each read-only folder.
    fs::path Install(const std::string& prefix) const
    {
        dir.Write(prefix + "/bin/orb", "");
        dir.Write(prefix + "/share/games/orb/Resource/BData/STAGE1/Stage001.txt", "4,0,4,2\n");
        dir.Write(prefix + "/share/games/orb/Resource/BData/STAGE1/Result1.txt", "score:0");
        dir.Write(prefix + "/share/games/orb/Resource/Data/Board.x", "xof 0302txt 0032\n");
        dir.Write(prefix + "/share/games/orb/Resource/Sound/Flip.wav", "RIFF");
        dir.Write(prefix + "/share/games/orb/Shader/Shader_Model.cso", "@technique");
        return dir.Path() / prefix / "bin/orb";
    }

    bool Enter(const fs::path& program) { return EnterDataDirectory(program.string(), error); }

    fs::path User() const { return dataHome / "orb"; }

    TestDirectory dir;
    fs::path dataHome;
    ScopedVariable dataHomeVariable;
    std::string error;
};

TEST_F(UserDataTest, FirstRunCopiesTheStageFolderLinksTheRestAndRunsThere)
{
    const fs::path program = Install("usr");
    ASSERT_TRUE(Enter(program)) << error;

    EXPECT_EQ(fs::current_path(), User());
    EXPECT_FALSE(fs::is_symlink("Resource/BData/STAGE1/Result1.txt"));
    EXPECT_EQ(ReadText("Resource/BData/STAGE1/Result1.txt"), "score:0");
    EXPECT_EQ(ReadText("Resource/BData/STAGE1/Stage001.txt"), "4,0,4,2\n");
    const fs::path content = dir.Path() / "usr/share/games/orb";
    EXPECT_EQ(fs::read_symlink("Resource/Data"), content / "Resource/Data");
    EXPECT_EQ(fs::read_symlink("Resource/Sound"), content / "Resource/Sound");
    EXPECT_EQ(fs::read_symlink("Shader"), content / "Shader");
    EXPECT_EQ(ReadText("Shader/Shader_Model.cso"), "@technique");
}

TEST_F(UserDataTest, LaterRunsKeepThePlayersFilesAndAddNewShippedOnes)
{
    const fs::path program = Install("usr");
    ASSERT_TRUE(Enter(program)) << error;
    dir.Write("data-home/orb/Resource/BData/STAGE1/Result1.txt", "score:7");
    dir.Write("data-home/orb/Resource/BData/Stage001.txt", "1,0,1,1\n");
    dir.Write("usr/share/games/orb/Resource/BData/STAGE1/Stage001.txt", "5,0,5,2\n");
    dir.Write("usr/share/games/orb/Resource/BData/STAGE4/Stage001.txt", "2,0,2,2\n");

    ASSERT_TRUE(Enter(program)) << error;
    EXPECT_EQ(ReadText("Resource/BData/STAGE1/Result1.txt"), "score:7");
    EXPECT_EQ(ReadText("Resource/BData/STAGE1/Stage001.txt"), "4,0,4,2\n");
    EXPECT_EQ(ReadText("Resource/BData/Stage001.txt"), "1,0,1,1\n");
    EXPECT_EQ(ReadText("Resource/BData/STAGE4/Stage001.txt"), "2,0,2,2\n");
}

TEST_F(UserDataTest, LinksFollowAMovedInstallButThePlayersOwnFolderStays)
{
    ASSERT_TRUE(Enter(Install("usr/local"))) << error;
    fs::remove(User() / "Resource/Sound");
    dir.Write("data-home/orb/Resource/Sound/Flip.wav", "the player's own");

    ASSERT_TRUE(Enter(Install("opt/orb"))) << error;
    EXPECT_EQ(fs::read_symlink("Resource/Data"), dir.Path() / "opt/orb/share/games/orb/Resource/Data");
    EXPECT_EQ(fs::read_symlink("Shader"), dir.Path() / "opt/orb/share/games/orb/Shader");
    EXPECT_EQ(ReadText("Resource/Sound/Flip.wav"), "the player's own");
}

TEST_F(UserDataTest, AReadOnlyDataHomeFailsNamingTheFolderAndLosesNothing)
{
    const fs::path program = Install("usr");
    fs::create_directories(dataHome);
    fs::permissions(dataHome, fs::perms::owner_read | fs::perms::owner_exec);
    {
        WithoutPermissionOverride unprivileged;
        EXPECT_FALSE(Enter(program));
    }
    EXPECT_EQ(error, "cannot create " + (User() / "Resource/BData").string() + ": Permission denied");
    EXPECT_EQ(fs::current_path(), dir.Path());

    fs::permissions(dataHome, fs::perms::owner_all);
    ASSERT_TRUE(Enter(program)) << error;
    dir.Write("data-home/orb/Resource/BData/STAGE1/Result1.txt", "score:7");
    const fs::path stages = User() / "Resource/BData/STAGE1";
    fs::permissions(stages, fs::perms::owner_read | fs::perms::owner_exec);
    {
        WithoutPermissionOverride unprivileged;
        EXPECT_FALSE(Enter(program));
    }
    fs::permissions(stages, fs::perms::owner_all);
    EXPECT_EQ(error, "cannot write into " + stages.string() + ": Permission denied");
    EXPECT_EQ(ReadText(stages / "Result1.txt"), "score:7");
}

TEST_F(UserDataTest, TheDataHomeFallsBackToHomeAndFailsWithoutOne)
{
    const fs::path program = Install("usr");
    {
        ScopedVariable relative("XDG_DATA_HOME", "relative/data");
        ScopedVariable home("HOME", (dir.Path() / "home").string());
        ASSERT_TRUE(Enter(program)) << error;
        EXPECT_EQ(fs::current_path(), dir.Path() / "home/.local/share/orb");
    }
    ScopedVariable empty("XDG_DATA_HOME", "");
    ScopedVariable noHome("HOME", std::nullopt);
    EXPECT_FALSE(Enter(program));
    EXPECT_NE(error.find("HOME"), std::string::npos) << error;
}

TEST_F(UserDataTest, FromTheBuildTreeNothingChanges)
{
    dir.Write("build/orb", "");
    dir.Write("build/runtime/Resource/BData/STAGE1/Result1.txt", "score:0");
    ASSERT_TRUE(Enter(dir.Path() / "build/orb")) << error;
    EXPECT_EQ(fs::current_path(), dir.Path());
    EXPECT_FALSE(fs::exists(dataHome));

    EXPECT_FALSE(Enter(dir.Path() / "build/no-such-program"));
    EXPECT_NE(error.find("build/no-such-program"), std::string::npos) << error;
}

// A prefix of ~/.local puts the install in ~/.local/share/games/orb, beside
// the player's ~/.local/share/orb; a data home that would put the player's
// folder inside an install is refused, and nothing is written there.
TEST_F(UserDataTest, ThePlayersFolderIsNeverTheInstallOrInsideIt)
{
    const fs::path program = Install("home/.local");
    {
        ScopedVariable unset("XDG_DATA_HOME", std::nullopt);
        ScopedVariable home("HOME", (dir.Path() / "home").string());
        ASSERT_TRUE(Enter(program)) << error;
        EXPECT_EQ(fs::current_path(), dir.Path() / "home/.local/share/orb");
    }
    fs::current_path(dir.Path());
    ScopedVariable games("XDG_DATA_HOME", (dir.Path() / "home/.local/share/games").string());
    EXPECT_FALSE(Enter(program));
    EXPECT_NE(error.find("lies inside the installed game"), std::string::npos) << error;
    EXPECT_EQ(fs::current_path(), dir.Path());
    EXPECT_FALSE(fs::exists(dir.Path() / "home/.local/share/games/orb/Resource/Shader"));
    EXPECT_FALSE(fs::is_symlink(dir.Path() / "home/.local/share/games/orb/Resource/Data"));
}

// Inside the install in any way the data home can name it, the player's
// folder is refused and nothing is written there; a folder beside it whose
// name merely starts with the install's is the player's own.
TEST_F(UserDataTest, AnyFolderInsideTheInstallIsRefusedHoweverTheDataHomeNamesIt)
{
    const fs::path program = Install("usr");
    const fs::path install = dir.Path() / "usr/share/games/orb";
    fs::create_symlink(install / "Resource", dir.Path() / "into-the-install");
    const auto entries = [&install] {
        std::vector<fs::path> found;
        for (const auto& entry : fs::recursive_directory_iterator(install))
            found.push_back(entry.path());
        std::sort(found.begin(), found.end());
        return found;
    };
    const std::vector<fs::path> shipped = entries();
    struct Case {
        const char* dataHome;
        bool refused;
    };
    const Case cases[] = {
        {"usr/share/games/orb/Resource", true},        // a folder of it
        {"usr/share/games/orb/Resource/BData", true},  // the folder the game writes into
        {"usr/share/games/orb/not/made/yet", true},    // inside, not there yet
        {"usr/share/games/orb/Shader/../Resource", true},
        {"into-the-install", true},                    // a link into it
        {"usr/share/games/orb-saves", false},          // beside it, its name a longer one
    };
    for (const Case& c : cases) {
        ScopedVariable home("XDG_DATA_HOME", (dir.Path() / c.dataHome).string());
        fs::current_path(dir.Path());
        EXPECT_EQ(Enter(program), !c.refused) << c.dataHome << ": " << error;
        if (c.refused) {
            EXPECT_NE(error.find("lies inside the installed game"), std::string::npos) << c.dataHome << ": " << error;
            EXPECT_EQ(fs::current_path(), dir.Path()) << c.dataHome;
        } else {
            EXPECT_EQ(fs::current_path(), dir.Path() / c.dataHome / "orb") << c.dataHome;
        }
        EXPECT_EQ(entries(), shipped) << c.dataHome << ": something was written into the install";
    }
}

// A link the player made stays; one that leads nowhere, or into an install
// of this game (the one that moved away, say), points at this install again.
TEST_F(UserDataTest, ThePlayersOwnLinksStayAndOnlyLinksLeadingNowhereOrIntoAnInstallAreReplaced)
{
    const fs::path program = Install("usr");
    ASSERT_TRUE(Enter(program)) << error;
    const fs::path content = dir.Path() / "usr/share/games/orb";
    dir.Write("my-sounds/Flip.wav", "the player's own");
    fs::remove(User() / "Resource/Sound");
    fs::create_symlink(dir.Path() / "my-sounds", User() / "Resource/Sound");
    fs::remove(User() / "Resource/Data");
    fs::create_symlink(dir.Path() / "gone/Resource/Data", User() / "Resource/Data");
    Install("opt");
    fs::remove(User() / "Shader");
    fs::create_symlink(dir.Path() / "opt/share/games/orb/Shader", User() / "Shader");

    ASSERT_TRUE(Enter(program)) << error;
    EXPECT_EQ(fs::read_symlink("Resource/Sound"), dir.Path() / "my-sounds");
    EXPECT_EQ(ReadText("Resource/Sound/Flip.wav"), "the player's own");
    EXPECT_EQ(fs::read_symlink("Resource/Data"), content / "Resource/Data");
    EXPECT_EQ(fs::read_symlink("Shader"), content / "Shader");
}

// A double-click that starts the game twice: both copies make the folder
// together, both start, and every file is whole.
TEST_F(UserDataTest, TwoCopiesStartingAtOnceBothStartWithEveryFileWhole)
{
    const fs::path program = Install("usr");
    for (int round = 0; round < 40; ++round) {
        const fs::path home = dir.Path() / ("home-" + std::to_string(round));
        ScopedVariable dataHomeOfRound("XDG_DATA_HOME", home.string());
        const auto statuses = TogetherInChildren(
            2, [&](int) { return EnterDataDirectory(program.string(), error) ? 0 : 1; }, [] {});
        ASSERT_EQ(statuses, (std::vector<int>{0, 0})) << "round " << round;
        EXPECT_EQ(ReadText(home / "orb/Resource/BData/STAGE1/Result1.txt"), "score:0");
        EXPECT_EQ(ReadText(home / "orb/Resource/BData/STAGE1/Stage001.txt"), "4,0,4,2\n");
        EXPECT_EQ(fs::read_symlink(home / "orb/Shader"), dir.Path() / "usr/share/games/orb/Shader");
    }
}

TEST_F(UserDataTest, LeftoversOfKilledSavesGoFromEveryFolderTheGameWrites)
{
    const std::vector<std::string> folders = {"config/orb", ".", "Resource/BData", "Resource/BData/STAGE1",
                                              "Resource/BData/STAGE3", "stages"};
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const std::string& folder : folders) {
        dir.Write(folder + "/.Saved.txt.a1B2c3", "half");
        fs::last_write_time(folder + "/.Saved.txt.a1B2c3", old);
    }
    RemoveSaveLeftovers((dir.Path() / "config/orb/settings.ini").string());
    for (const std::string& folder : folders)
        EXPECT_FALSE(fs::exists(folder + "/.Saved.txt.a1B2c3")) << folder;
}

}  // namespace
