#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "main/UserData.h"
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
        dir.Write(prefix + "/share/orb/Resource/BData/STAGE1/Stage001.txt", "4,0,4,2\n");
        dir.Write(prefix + "/share/orb/Resource/BData/STAGE1/Result1.txt", "score:0");
        dir.Write(prefix + "/share/orb/Resource/Data/Board.x", "xof 0302txt 0032\n");
        dir.Write(prefix + "/share/orb/Resource/Sound/Flip.wav", "RIFF");
        dir.Write(prefix + "/share/orb/Shader/Shader_Model.cso", "@technique");
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
    const fs::path content = dir.Path() / "usr/share/orb";
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
    dir.Write("usr/share/orb/Resource/BData/STAGE1/Stage001.txt", "5,0,5,2\n");
    dir.Write("usr/share/orb/Resource/BData/STAGE4/Stage001.txt", "2,0,2,2\n");

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
    EXPECT_EQ(fs::read_symlink("Resource/Data"), dir.Path() / "opt/orb/share/orb/Resource/Data");
    EXPECT_EQ(fs::read_symlink("Shader"), dir.Path() / "opt/orb/share/orb/Shader");
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

}  // namespace
