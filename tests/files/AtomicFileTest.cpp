#include <gtest/gtest.h>

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <stdio.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

#include "files/AtomicFile.h"
#include "stage/StageFile.h"
#include "support/ChildProcess.h"
#include "support/TestDirectory.h"

namespace {

namespace fs = std::filesystem;

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
// file systems that know nothing of it.
bool ActLikeFat(bool noReplaceRenames)
{
    constexpr std::uint32_t Allow = SECCOMP_RET_ALLOW;
    constexpr std::uint32_t NoLinks = SECCOMP_RET_ERRNO | EPERM;
    constexpr std::uint32_t NoFlags = SECCOMP_RET_ERRNO | EINVAL;
    const std::uint8_t toRenameCheck = noReplaceRenames ? 4 : 0;
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, Allow),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_link, 5, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_linkat, 4, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_renameat2, toRenameCheck, 4),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[4])),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, RENAME_NOREPLACE, 3, 2),
        BPF_STMT(BPF_RET | BPF_K, Allow),
        BPF_STMT(BPF_RET | BPF_K, NoLinks),
        BPF_STMT(BPF_RET | BPF_K, Allow),
        BPF_STMT(BPF_RET | BPF_K, NoFlags),
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

}  // namespace
