#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The temporary name: hidden, and not ending in the target's extension, so a
// leftover from a killed write is never taken for a stage or a result.
std::string TemporaryPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, name) + "." + path.substr(name) + ".tmp";
}

// Writes the temporary file whole and flushed to the disk.
bool WriteTemporary(const std::string& temporary, const std::string& text)
{
    const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0)
        return false;
    bool written = true;
    for (std::size_t done = 0; written && done < text.size();) {
        const ssize_t n = write(file, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        written = n > 0;
        done += written ? static_cast<std::size_t>(n) : 0;
    }
    written = written && fsync(file) == 0;
    written = close(file) == 0 && written;
    if (!written)
        unlink(temporary.c_str());
    return written;
}

}  // namespace

namespace AtomicFile {

bool Replace(const std::string& path, const std::string& text)
{
    const std::string temporary = TemporaryPath(path);
    if (!WriteTemporary(temporary, text))
        return false;
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool Create(const std::string& path, const std::string& text)
{
    const std::string temporary = TemporaryPath(path);
    if (!WriteTemporary(temporary, text))
        return false;
    // A second name for the written file, refused when path exists.
    const bool linked = link(temporary.c_str(), path.c_str()) == 0;
    unlink(temporary.c_str());
    return linked;
}

}  // namespace AtomicFile
