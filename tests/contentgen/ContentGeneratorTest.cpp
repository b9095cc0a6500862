#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ContentNames.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

int RunCommand(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ContentGenerator : public testing::Test {
protected:
    void SetUp() override
    {
        scratch = fs::temp_directory_path() / ("contentgen-test-" + std::to_string(::getpid()));
        fs::remove_all(scratch);
    }
    void TearDown() override { fs::remove_all(scratch); }

    fs::path scratch;
};

// Into an empty folder, so that a file the build left behind earlier cannot
// stand in for one the generator no longer writes.
TEST_F(ContentGenerator, WritesEveryFileTheGameNamesWithTheSameBytesAsTheBuildDid)
{
    ASSERT_EQ(RunCommand(std::string(ORB_CONTENTGEN) + " " + scratch.string() + " > /dev/null"), 0);
    for (const std::vector<std::string>& names : {ModelNames(), ImageNames()}) {
        for (const std::string& name : names)
            EXPECT_TRUE(fs::is_regular_file(scratch / name)) << name << " is not written";
    }
    for (const auto& entry : fs::recursive_directory_iterator(scratch)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const fs::path relative = fs::relative(entry.path(), scratch);
        EXPECT_EQ(Read(entry.path()), Read(fs::path(ContentDir()) / relative)) << relative << " differs";
    }
}

TEST_F(ContentGenerator, StopsWithAMessageWhenItsFontsAreMissing)
{
    const fs::path log = scratch / "log.txt";
    fs::create_directories(scratch);
    EXPECT_EQ(RunCommand(std::string(ORB_CONTENTGEN) + " " + (scratch / "out").string() + " /nonexistent 2> " + log.string()), 1);
    EXPECT_NE(Read(log).find("font"), std::string::npos);
    EXPECT_FALSE(fs::exists(scratch / "out"));
}

}  // namespace
