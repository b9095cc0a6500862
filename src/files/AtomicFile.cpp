#include "files/AtomicFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/FileLock.h"

namespace {

namespace fs = std::filesystem;

// mkostemp's X's: TemplateFor's names end in a dot and this many letters or digits.
constexpr std::size_t UniqueLength = 6;
// A temporary file untouched this long belongs to no save still going on.
constexpr auto LeftoverAge = std::chrono::minutes(1);
// Taken, in the target's folder, by every save that must check a name is free
// before it renames (see MoveNoReplace).
const char* const RenameLockName = ".rename.lock";

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Hidden, and not ending in the target's extension, so a leftover from a
// killed write is never taken for a stage or a result; mkostemp fills in the
// X's and creates the file only if nothing, not even a link, has that name.
std::string TemplateFor(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, name) + "." + path.substr(name) + "." + std::string(UniqueLength, 'X');
}

// ".", a target's name, "." and the unique letters.
bool IsTemporaryName(const std::string& name)
{
    if (name.size() < UniqueLength + 3 || name.front() != '.')
        return false;
    const auto unique = name.end() - static_cast<std::ptrdiff_t>(UniqueLength);
    return unique[-1] == '.' &&
           std::all_of(unique, name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

bool WriteWhole(int file, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = write(file, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return fsync(file) == 0;
}

// New files are made as open(2) would make them with mode 0644: under the umask.
mode_t NewFileMode()
{
    static const mode_t mask = [] {
        const mode_t current = umask(0);
        umask(current);
        return current;
    }();
    return 0644 & ~mask;
}

// A file replaced keeps its permissions: a player who made it private keeps it so.
mode_t ReplacementMode(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 0777;
    return NewFileMode();
}

// A new file of its own beside path, holding text flushed to the disk, with
// mode; its name, or empty when it could not be made.
std::string WriteTemporary(const std::string& path, const std::string& text, mode_t mode)
{
    std::string name = TemplateFor(path);
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    const int file = mkostemp(buffer.data(), O_CLOEXEC);
    if (file < 0)
        return {};
    name = buffer.data();
    const bool written = WriteWhole(file, text) && fchmod(file, mode) == 0;
    if (close(file) != 0 || !written) {
        const int error = errno;
        unlink(name.c_str());
        errno = error;
        return {};
    }
    return name;
}

// The folder's entry for the new name is on the disk too.
void SyncFolderOf(const std::string& path)
{
    const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    fsync(folder);
    close(folder);
}

// The file system cannot do what was asked, as opposed to refusing it.
bool Unsupported(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL || error == EXDEV;
}

// Renames from to to unless to exists. Where the file system knows no such
// rename, every copy of the game checks that the name is free and renames
// while it holds a lock in the folder, so no two take one name; the file
// appears whole under it or not at all, even when the process is killed.
bool MoveNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (!Unsupported(errno))
        return false;
    const FileLock lock(FolderOf(to) + "/" + RenameLockName);
    struct stat info {};
    if (lstat(to.c_str(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return errno == ENOENT && std::rename(from.c_str(), to.c_str()) == 0;
}

// Gives the written temporary file path's name unless path exists: a second
// name where the file system has hard links, a rename that never replaces
// where it has not.
bool Publish(const std::string& temporary, const std::string& path)
{
    if (link(temporary.c_str(), path.c_str()) == 0)
        return true;
    return Unsupported(errno) && MoveNoReplace(temporary, path);
}

}  // namespace

namespace AtomicFile {

bool Replace(const std::string& path, const std::string& text)
{
    const std::string temporary = WriteTemporary(path, text, ReplacementMode(path));
    if (temporary.empty())
        return false;
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        errno = error;
        return false;
    }
    SyncFolderOf(path);
    return true;
}

bool Create(const std::string& path, const std::string& text)
{
    const std::string temporary = WriteTemporary(path, text, NewFileMode());
    if (temporary.empty())
        return false;
    const bool published = Publish(temporary, path);
    const int error = errno;
    unlink(temporary.c_str());
    if (published)
        SyncFolderOf(path);
    errno = error;
    return published;
}

bool RenameNoReplace(const std::string& from, const std::string& to)
{
    if (!MoveNoReplace(from, to))
        return false;
    SyncFolderOf(to);
    return true;
}

void RemoveLeftovers(const std::string& folder)
{
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code entryError;
        if (!IsTemporaryName(it->path().filename().string()) ||
            it->symlink_status(entryError).type() != fs::file_type::regular)
            continue;
        const auto written = fs::last_write_time(it->path(), entryError);
        if (!entryError && now - written > LeftoverAge)
            fs::remove(it->path(), entryError);
    }
}

}  // namespace AtomicFile
