#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "app/SettingsFile.h"
#include "files/FileBytes.h"
#include "formats/WavFile.h"
#include "stage/ParFile.h"
#include "stage/ResultFile.h"
#include "stage/StageFile.h"
#include "support/ChildProcess.h"
#include "support/TestDirectory.h"

namespace {

// Long enough for any read that does not wait, short of a test's timeout.
constexpr unsigned WaitLimitSeconds = 5;

TEST(FileBytes, ARegularFileIsReadWholeUpToItsLimit)
{
    TestDirectory dir;
    dir.Write("ten.txt", "0123456789");
    std::string error;
    EXPECT_EQ(ReadFileText("ten.txt", 10, error), "0123456789") << error;
    EXPECT_EQ(ReadFileBytes("ten.txt", 10, error)->size(), 10u) << error;
    EXPECT_FALSE(ReadFileText("ten.txt", 9, error));
    EXPECT_EQ(error, "larger than 9 bytes");
    EXPECT_FALSE(ReadFileText("missing.txt", 10, error));
    EXPECT_EQ(errno, ENOENT) << "a missing file must be told from a broken one";
}

// A FIFO waits for a writer when opened as usual, and a device never ends.
TEST(FileBytes, AnythingButARegularFileIsRefusedAtOnce)
{
    TestDirectory dir;
    ASSERT_EQ(mkfifo("fifo", 0600), 0);
    for (const char* path : {"fifo", "/dev/zero", "/dev/null", "."}) {
        const int status = InChild([&] {
            alarm(WaitLimitSeconds);
            std::string error;
            const bool refused = !ReadFileBytes(path, 1 << 20, error) && error == "not a regular file";
            return refused ? 0 : 1;
        });
        EXPECT_EQ(status, 0) << path << (status < 0 ? " held the reader up" : " was read");
    }
}

// Each of the game's files, named by a FIFO: no reader opens a file by itself.
TEST(FileBytes, EveryReaderOfTheGamesFilesPassesAFifoBy)
{
    TestDirectory dir;
    ASSERT_EQ(mkfifo("fifo", 0600), 0);
    const int status = InChild([] {
        alarm(WaitLimitSeconds);
        Settings settings;
        std::string warning;
        return (StageFile::Read("fifo") ? 1 : 0) | (ResultFile::Read("fifo") ? 2 : 0) |
               (ResultFile::ReadLast("fifo") ? 4 : 0) | (ParFile::Read("fifo").empty() ? 0 : 8) |
               (ParFile::Check("fifo") ? 16 : 0) |
               (SettingsFile::Read("fifo", settings, warning) == SettingsFile::ReadOutcome::Unreadable ? 0 : 32) |
               (WavStream::Open("fifo", warning) ? 64 : 0);
    });
    EXPECT_EQ(status, 0) << "-1: a reader waited for a writer; else the readers that took it for a file, as bits";
}

}  // namespace
