#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "assets/AssetFiles.h"
#include "stage/ResultFile.h"
#include "stage/StageFile.h"
#include "support/ChildProcess.h"
#include "support/TestDirectory.h"

// Saves under faults: the process killed at random points while it writes,
// a disk that takes no more bytes, a folder that cannot be written. Whatever
// happens, a result file holds the old best score or the new one, and no
// stage file that existed before a save is lost or broken.
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Starts body in a child process, kills it after a random moment, and waits.
template <typename Body>
void KillDuring(std::mt19937& random, Body body)
{
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

// The disk takes no more than a few bytes of any file this process writes.
void FillTheDisk()
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4, 4};
    setrlimit(RLIMIT_FSIZE, &limit);
}

// Makes folder read-only for this process; root ignores permissions, so a
// root process first becomes nobody.
void MakeReadOnly(const fs::path& folder)
{
    chmod(folder.c_str(), 0555);
    if (geteuid() == 0) {
        constexpr uid_t nobody = 65534;
        if (setgid(nobody) != 0 || setuid(nobody) != 0)
            _exit(99);
    }
}

class SafeSaves : public ::testing::Test {
protected:
    TestDirectory directory;
    std::mt19937 random{20261207};
};

TEST_F(SafeSaves, AKilledResultWriteLeavesTheOldScoreOrTheNew)
{
    const std::string path = "Result1.txt";
    const std::set<std::string> whole = {"score:0", "score:900", "score:500", "score:7"};
    directory.Write(path, "score:0");
    int iterations = 0;
    for (; iterations < 300; ++iterations) {
        KillDuring(random, [&] {
            for (;;) {
                ResultFile::Reset(path);
                for (const int score : {900, 500, 7})
                    ResultFile::Write(path, score);
            }
        });
        const std::string stored = Contents(path);
        ASSERT_TRUE(whole.count(stored)) << "after kill " << iterations << " the file holds \"" << stored << "\"";
    }
    EXPECT_EQ(iterations, 300);
}

TEST_F(SafeSaves, AKilledEditorSaveLosesNoStageThatWasThere)
{
    const fs::path folder = StageData::Folder;
    fs::create_directories(folder);
    // Numbers with gaps, so every save renames files before it writes.
    const std::vector<std::pair<std::string, std::string>> before = {
        {"Stage002.txt", "x:1,y:0,z:1,sf:2,af:0,pf:0\n"},
        {"Stage005.txt", "x:2,y:0,z:2,sf:3,af:0,pf:0\n"},
        {"Stage009.txt", "x:3,y:0,z:3,sf:1,af:0,pf:0\n"},
    };
    std::vector<BlockRecord> edited(40);
    for (int i = 0; i < 40; ++i)
        edited[i] = {i % 10, 0, i / 10, 1 + i % 3, 0, 0, {}, {}, 0};
    const std::string editedText = StageFile::Format(edited);

    for (int iteration = 0; iteration < 200; ++iteration) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const auto& [name, text] : before)
            std::ofstream(folder / name) << text;

        KillDuring(random, [&] {
            for (;;)
                StageFile::WriteNew(edited);
        });

        std::multiset<std::string> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() != ".txt")
                continue;
            const std::string text = Contents(entry.path());
            ASSERT_TRUE(text == editedText || std::any_of(before.begin(), before.end(),
                                                          [&](const auto& file) { return file.second == text; }))
                << "kill " << iteration << ": " << entry.path().filename() << " is broken";
            found.insert(text);
        }
        for (const auto& [name, text] : before)
            ASSERT_EQ(found.count(text), 1u) << "kill " << iteration << " lost or doubled " << name;
    }
}

TEST_F(SafeSaves, AFullDiskKeepsTheOldFiles)
{
    const std::string result = "Result1.txt";
    directory.Write(result, "score:12");
    directory.Write("Resource/BData/Stage001.txt", "x:1,y:0,z:1,sf:2,af:0,pf:0\n");
    const std::vector<BlockRecord> edited = {{4, 0, 4, 2, 0, 0, {}, {}, 0}};

    EXPECT_EQ(InChild([&] {
                  FillTheDisk();
                  const bool resultWritten = ResultFile::Write(result, 3) != ResultFile::Update::Failed;
                  const bool stageWritten = StageFile::WriteNew(edited);
                  return resultWritten || stageWritten ? 1 : 0;
              }),
              0)
        << "a write to a full disk must report failure";
    EXPECT_EQ(Contents(result), "score:12");
    EXPECT_EQ(Contents("Resource/BData/Stage001.txt"), "x:1,y:0,z:1,sf:2,af:0,pf:0\n");
    EXPECT_FALSE(fs::exists("Resource/BData/Stage002.txt"));
    // Nothing half-written is left where the game looks.
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator("."))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

// The same on a real disk that is full: a small tmpfs filled to the last
// page, in a mount namespace of the child's own. Needs the right to mount.
TEST_F(SafeSaves, ASmallTmpfsFilledToTheLastPageKeepsTheOldFiles)
{
    constexpr int CannotMount = 77;
    const int status = InChild([] {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            !fs::create_directory("disk") || mount("tmpfs", "disk", "tmpfs", 0, "size=64k") != 0)
            return CannotMount;
        if (chdir("disk") != 0)
            return 2;
        fs::create_directories("Resource/BData/STAGE1");
        std::ofstream("Resource/BData/STAGE1/Result1.txt") << "score:12";
        std::ofstream("Resource/BData/Stage001.txt") << "x:1,y:0,z:1,sf:2,af:0,pf:0\n";
        {
            std::ofstream filler("filler", std::ios::binary);
            const std::string page(4096, 'x');
            while (filler.write(page.data(), static_cast<std::streamsize>(page.size())) && filler.flush()) {
            }
        }
        const std::vector<BlockRecord> edited = {{4, 0, 4, 2, 0, 0, {}, {}, 0}};
        if (ResultFile::Write("Resource/BData/STAGE1/Result1.txt", 3) != ResultFile::Update::Failed ||
            StageFile::WriteNew(edited))
            return 3;
        if (Contents("Resource/BData/STAGE1/Result1.txt") != "score:12" ||
            Contents("Resource/BData/Stage001.txt") != "x:1,y:0,z:1,sf:2,af:0,pf:0\n" ||
            fs::exists("Resource/BData/Stage002.txt"))
            return 4;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator("."))
            if (entry.path().extension() == ".tmp")
                return 5;
        return 0;
    });
    if (status == CannotMount)
        GTEST_SKIP() << "needs the right to mount a tmpfs";
    EXPECT_NE(status, 3) << "a write to a full disk must report failure";
    EXPECT_NE(status, 4) << "a write to a full disk changed or added a file";
    EXPECT_NE(status, 5) << "a write to a full disk left a temporary file";
    EXPECT_EQ(status, 0);
}

TEST_F(SafeSaves, AReadOnlyFolderKeepsTheOldFiles)
{
    // Readable by the unprivileged user the test may become.
    fs::permissions(directory.Path(), fs::perms(0755));
    directory.Write("Resource/BData/STAGE1/Result1.txt", "score:12");
    directory.Write("Resource/BData/Stage001.txt", "x:1,y:0,z:1,sf:2,af:0,pf:0\n");
    const std::vector<BlockRecord> edited = {{4, 0, 4, 2, 0, 0, {}, {}, 0}};

    EXPECT_EQ(InChild([&] {
                  MakeReadOnly("Resource/BData/STAGE1");
                  MakeReadOnly("Resource/BData");
                  const bool resultWritten =
                      ResultFile::Write("Resource/BData/STAGE1/Result1.txt", 3) != ResultFile::Update::Failed;
                  const bool stageWritten = StageFile::WriteNew(edited);
                  return resultWritten || stageWritten ? 1 : 0;
              }),
              0)
        << "a write to a read-only folder must report failure";
    chmod("Resource/BData", 0755);
    chmod("Resource/BData/STAGE1", 0755);
    EXPECT_EQ(Contents("Resource/BData/STAGE1/Result1.txt"), "score:12");
    EXPECT_EQ(Contents("Resource/BData/Stage001.txt"), "x:1,y:0,z:1,sf:2,af:0,pf:0\n");
    EXPECT_FALSE(fs::exists("Resource/BData/Stage002.txt"));
}

// Two windows clearing one stage: each reads, compares and replaces the best
// score in turn, so the stored score only ever falls. One copy clears with
// every even number of shots from 800 down, the other with every odd one.
TEST_F(SafeSaves, TwoCopiesClearingOneStageNeverLeaveAWorseScore)
{
    ASSERT_TRUE(ResultFile::Reset("Result1.txt"));
    std::vector<int> stored;
    const auto statuses = TogetherInChildren(
        2,
        [](int i) {
            for (int score = 800 - i; score >= 1; score -= 2) {
                if (ResultFile::Write("Result1.txt", score) == ResultFile::Update::Failed)
                    return 1;
            }
            return 0;
        },
        [&] {
            for (int read = 0; read < 4000; ++read) {
                if (const auto score = ResultFile::Read("Result1.txt"); score && *score > 0)
                    stored.push_back(*score);
            }
        });
    EXPECT_EQ(statuses, (std::vector<int>{0, 0}));
    EXPECT_EQ(ResultFile::Read("Result1.txt"), 1);
    EXPECT_TRUE(std::is_sorted(stored.rbegin(), stored.rend())) << "a worse score replaced a better one";
}

}  // namespace
