#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include <dlfcn.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <stdio.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "files/AtomicFile.h"
#include "stage/StageFile.h"
#include "support/ChildProcess.h"
#include "support/TestDirectory.h"

namespace fs = std::filesystem;

namespace {

// A file as fsync found it: its name then and how many bytes it held.
struct Flush {
    std::string name;
    std::uintmax_t size;
};
// Where fsync records, while a test wants to know.
std::vector<Flush>* flushes = nullptr;

}  // namespace

// Every fsync of the tests passes here on its way to the C library's.
extern "C" int fsync(int file)
{
    if (flushes) {
        std::error_code error;
        const fs::path name = fs::read_symlink("/proc/self/fd/" + std::to_string(file), error);
        struct stat info {};
        fstat(file, &info);
        flushes->push_back({name.filename().string(), static_cast<std::uintmax_t>(info.st_size)});
    }
    using Fsync = int (*)(int);
    static const auto real = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
    return real(file);
}

namespace {

std::string Contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// From here on this process's file system behaves as FAT or exFAT does: a
// hard link is refused with EPERM, and, with noReplaceRenames false too, a
// rename that must not replace is refused as an unknown flag (EINVAL), as on
// file systems that know nothing of it. With dieAtRename, the process is
// killed the moment it renames anything.
bool ActLikeFat(bool noReplaceRenames, bool dieAtRename = false)
{
    constexpr std::uint32_t Allow = SECCOMP_RET_ALLOW;
    constexpr std::uint32_t NoLinks = SECCOMP_RET_ERRNO | EPERM;
    const std::uint32_t onNoReplace = noReplaceRenames ? Allow : SECCOMP_RET_ERRNO | EINVAL;
    const std::uint32_t onRename = dieAtRename ? SECCOMP_RET_KILL_PROCESS : Allow;
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, Allow),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_link, 6, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_linkat, 5, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_rename, 5, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_renameat, 4, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_renameat2, 0, 4),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[4])),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, RENAME_NOREPLACE, 3, 1),
        BPF_STMT(BPF_RET | BPF_K, NoLinks),
        BPF_STMT(BPF_RET | BPF_K, onRename),
        BPF_STMT(BPF_RET | BPF_K, Allow),
        BPF_STMT(BPF_RET | BPF_K, onNoReplace),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// What a save must do where hard links are not to be had: make new files,
// never over an existing one. The number of the first check that fails.
int SavesWithoutHardLinks(bool noReplaceRenames)
{
    if (!ActLikeFat(noReplaceRenames))
        return 1;
    if (link("kept.txt", "second-name.txt") == 0 || errno != EPERM)
        return 2;
    if (!AtomicFile::Create("new.txt", "fresh") || Contents("new.txt") != "fresh")
        return 3;
    if (AtomicFile::Create("kept.txt", "intruder") || errno != EEXIST || Contents("kept.txt") != "the player's")
        return 4;
    if (AtomicFile::RenameNoReplace("new.txt", "kept.txt") || Contents("kept.txt") != "the player's")
        return 5;
    if (!AtomicFile::RenameNoReplace("new.txt", "moved.txt") || Contents("moved.txt") != "fresh")
        return 6;
    if (!AtomicFile::Replace("kept.txt", "replaced") || Contents("kept.txt") != "replaced")
        return 7;
    // The editor's save: the folder renumbered and a new stage written.
    fs::create_directories("Resource/BData");
    AtomicFile::Create("Resource/BData/Stage003.txt", "x:1,y:0,z:1,sf:2,af:0,pf:0\n");
    std::string name;
    if (!StageFile::WriteNew({{4, 0, 4, 2}}, &name) || name != "Stage002.txt" ||
        Contents("Resource/BData/Stage001.txt") != "x:1,y:0,z:1,sf:2,af:0,pf:0\n")
        return 8;
    return 0;
}

TEST(AtomicFile, TwoProcessesSavingOneFileAlwaysLeaveOneOfTheirTextsWhole)
{
    TestDirectory dir;
    const std::string texts[2] = {"score:12", "score:9"};
    ASSERT_TRUE(AtomicFile::Replace("Result1.txt", texts[0]));
    constexpr int Saves = 1000;
    std::set<std::string> seen;
    const auto statuses = TogetherInChildren(
        2,
        [&](int i) {
            int failed = 0;
            for (int save = 0; save < Saves; ++save)
                failed += !AtomicFile::Replace("Result1.txt", texts[i]);
            return failed > 0 ? 1 : 0;
        },
        [&] {
            for (int read = 0; read < 4 * Saves; ++read)
                seen.insert(Contents("Result1.txt"));
        });
    EXPECT_EQ(statuses, (std::vector<int>{0, 0})) << "a save reported failure";
    EXPECT_TRUE(seen.size() <= 2 && seen.count(texts[0]) + seen.count(texts[1]) == seen.size())
        << "a reader saw text that neither save wrote, e.g. '" << *seen.rbegin() << "'";
    const std::string last = Contents("Result1.txt");
    EXPECT_TRUE(last == texts[0] || last == texts[1]) << last;
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2)
        << "temporary files were left behind (beside Result1.txt and Shader)";
}

TEST(AtomicFile, ALinkPlantedWhereATemporaryFileMightGoIsNeverFollowed)
{
    TestDirectory dir;
    dir.Write("victim.txt", "precious");
    fs::create_symlink("victim.txt", ".Result1.txt.tmp");
    fs::create_symlink("victim.txt", ".Stage001.txt.tmp");
    EXPECT_TRUE(AtomicFile::Replace("Result1.txt", "score:3"));
    EXPECT_TRUE(AtomicFile::Create("Stage001.txt", "x:1,y:0,z:1,sf:2,af:0,pf:0\n"));
    EXPECT_EQ(Contents("victim.txt"), "precious");
    EXPECT_EQ(Contents("Result1.txt"), "score:3");
    EXPECT_TRUE(fs::is_symlink(".Result1.txt.tmp"));
}

TEST(AtomicFile, WithoutHardLinksNewFilesAreStillMadeAndNeverOverAnother)
{
    TestDirectory dir;
    dir.Write("kept.txt", "the player's");
    EXPECT_EQ(InChild([] { return SavesWithoutHardLinks(true); }), 0) << "no hard links";
    fs::remove_all("Resource");
    fs::remove("moved.txt");
    dir.Write("kept.txt", "the player's");
    EXPECT_EQ(InChild([] { return SavesWithoutHardLinks(false); }), 0) << "no hard links, no renames that keep";
}

TEST(AtomicFile, KilledAtTheRenameWithoutHardLinksANewFileIsWholeOrAbsent)
{
    TestDirectory dir;
    const int status = InChild([] {
        if (!ActLikeFat(false, true))
            return 1;
        AtomicFile::Create("Stage001.txt", "x:1,y:0,z:1,sf:2,af:0,pf:0\n");
        return 0;
    });
    ASSERT_EQ(status, -1) << "the save never reached its rename";
    EXPECT_FALSE(fs::exists("Stage001.txt")) << "it holds \"" << Contents("Stage001.txt") << "\"";
}

TEST(AtomicFile, ASaveIsOnTheDiskBeforeItHasItsName)
{
    TestDirectory dir;
    const std::string text = "x:1,y:0,z:1,sf:2,af:0,pf:0\n";
    std::vector<Flush> seen;
    flushes = &seen;
    const bool replaced = AtomicFile::Replace("Result1.txt", text);
    const bool created = AtomicFile::Create("Stage001.txt", text);
    flushes = nullptr;
    ASSERT_TRUE(replaced && created);
    for (const std::string name : {".Result1.txt.", ".Stage001.txt."}) {
        const bool flushed = std::any_of(seen.begin(), seen.end(), [&](const Flush& flush) {
            return flush.name.starts_with(name) && flush.size == text.size();
        });
        EXPECT_TRUE(flushed) << name << "XXXXXX was not flushed whole before it was named";
    }
}

TEST(AtomicFile, AReplacedFileKeepsItsPermissionsAndANewOneFollowsTheUmask)
{
    TestDirectory dir;
    dir.Write("private.txt", "mine");
    fs::permissions("private.txt", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(AtomicFile::Replace("private.txt", "still mine"));
    EXPECT_EQ(fs::status("private.txt").permissions(), fs::perms::owner_read | fs::perms::owner_write);

    ASSERT_TRUE(AtomicFile::Replace("new.txt", "fresh") && AtomicFile::Create("created.txt", "fresh"));
    const mode_t mask = umask(0);
    umask(mask);
    const auto expected = static_cast<fs::perms>(0644 & ~mask);
    EXPECT_EQ(fs::status("new.txt").permissions(), expected);
    EXPECT_EQ(fs::status("created.txt").permissions(), expected);
}

TEST(AtomicFile, LeftoversOfKilledSavesGoOnceAMinuteOldAndNothingElseDoes)
{
    TestDirectory dir;
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    const auto make = [&](const std::string& name, bool aged) {
        dir.Write("BData/" + name, "x:1");
        if (aged)
            fs::last_write_time("BData/" + name, old);
    };
    for (const std::string name : {".Stage001.txt.a1B2c3", ".settings.ini.XyZ789", ".Par.txt.000000"})
        make(name, true);
    const std::set<std::string> kept = {".Stage002.txt.a1B2c3", "Stage001.txt.a1B2c3", ".Stage001.txt.a1B2c",
                                        ".Stage001.txt-a1B2c3", ".a1B2c3", ".lock", "Stage001.txt", ".notes.txt"};
    for (const std::string& name : kept)
        make(name, name != ".Stage002.txt.a1B2c3");
    fs::create_symlink("Stage001.txt", "BData/.Stage003.txt.a1B2c3");
    fs::create_directory("BData/.Stage004.txt.a1B2c3");
    fs::last_write_time("BData/.Stage004.txt.a1B2c3", old);

    AtomicFile::RemoveLeftovers("BData");
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator("BData"))
        left.insert(entry.path().filename().string());
    std::set<std::string> expected = kept;
    expected.insert({".Stage003.txt.a1B2c3", ".Stage004.txt.a1B2c3"});
    EXPECT_EQ(left, expected);
    AtomicFile::RemoveLeftovers("no such folder");
}

}  // namespace

