#include "files/FileBytes.h"

#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes the file however reading ends.
class OpenFile {
public:
    explicit OpenFile(int descriptor) : file(descriptor) {}
    ~OpenFile()
    {
        if (file >= 0)
            close(file);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int Get() const { return file; }

private:
    int file;
};

template <typename Buffer>
std::optional<Buffer> ReadWhole(const std::string& path, std::size_t limit, std::string& error)
{
    const auto fail = [&](const std::string& reason, int code) {
        error = reason;
        errno = code;
        return std::nullopt;
    };
    const OpenFile file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Get() < 0) {
        const int code = errno;
        return fail(std::strerror(code), code);
    }
    struct stat info {};
    if (fstat(file.Get(), &info) != 0) {
        const int code = errno;
        return fail(std::strerror(code), code);
    }
    if (!S_ISREG(info.st_mode))
        return fail("not a regular file", EINVAL);
    // Read in pieces rather than trusting the size the file reports: a file
    // that grows while it is read must not overrun the limit.
    Buffer bytes;
    constexpr std::size_t Piece = 1 << 16;
    for (;;) {
        const std::size_t start = bytes.size();
        try {
            bytes.resize(start + Piece);
        } catch (const std::bad_alloc&) {
            return fail("not enough memory to read it", ENOMEM);
        }
        const ssize_t got = read(file.Get(), bytes.data() + start, Piece);
        if (got < 0 && errno == EINTR) {
            bytes.resize(start);
            continue;
        }
        if (got < 0) {
            const int code = errno;
            return fail(std::strerror(code), code);
        }
        bytes.resize(start + static_cast<std::size_t>(got));
        if (bytes.size() > limit)
            return fail("larger than " + std::to_string(limit) + " bytes", EFBIG);
        if (got == 0)
            return bytes;
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t limit, std::string& error)
{
    return ReadWhole<std::vector<std::uint8_t>>(path, limit, error);
}

std::optional<std::string> ReadFileText(const std::string& path, std::size_t limit, std::string& error)
{
    return ReadWhole<std::string>(path, limit, error);
}
