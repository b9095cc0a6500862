#include "files/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    return path.substr(0, name) + "." + path.substr(name) + ".XXXXXX";
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

// Files are made as open(2) would make them with mode 0644: under the umask.
mode_t FileMode()
{
    static const mode_t mask = [] {
        const mode_t current = umask(0);
        umask(current);
        return current;
    }();
    return 0644 & ~mask;
}

// A new file of its own beside path, holding text flushed to the disk; its
// name, or empty when it could not be made.
std::string WriteTemporary(const std::string& path, const std::string& text)
{
    std::string name = TemplateFor(path);
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    const int file = mkostemp(buffer.data(), O_CLOEXEC);
    if (file < 0)
        return {};
    name = buffer.data();
    const bool written = WriteWhole(file, text) && fchmod(file, FileMode()) == 0;
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
// rename, to is first made empty and exclusively (nobody else can have it
// then), and the rename replaces only that.
bool MoveNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (!Unsupported(errno))
        return false;
    const int reserved = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, FileMode());
    if (reserved < 0)
        return false;
    close(reserved);
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        const int error = errno;
        unlink(to.c_str());
        errno = error;
        return false;
    }
    return true;
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
    const std::string temporary = WriteTemporary(path, text);
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
    const std::string temporary = WriteTemporary(path, text);
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

}  // namespace AtomicFile
