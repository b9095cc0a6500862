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
    int Release()
    {
        const int descriptor = file;
        file = -1;
        return descriptor;
    }

private:
    int file;
};

// The descriptor of path opened for reading, and its size; -1 with the reason
// and errno set when it cannot be opened or is no regular file.
int OpenRegularFile(const std::string& path, std::size_t& size, std::string& error)
{
    OpenFile file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || fstat(file.Get(), &info) != 0) {
        const int code = errno;
        error = std::strerror(code);
        errno = code;
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "not a regular file";
        errno = EINVAL;
        return -1;
    }
    size = static_cast<std::size_t>(info.st_size);
    return file.Release();
}

template <typename Buffer>
std::optional<Buffer> ReadWhole(const std::string& path, std::size_t limit, std::string& error)
{
    const auto fail = [&](const std::string& reason, int code) {
        error = reason;
        errno = code;
        return std::nullopt;
    };
    std::size_t reportedSize = 0;
    const OpenFile file(OpenRegularFile(path, reportedSize, error));
    if (file.Get() < 0)
        return std::nullopt;
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

std::unique_ptr<FileReader> FileReader::Open(const std::string& path, std::size_t limit, std::string& error)
{
    std::size_t size = 0;
    OpenFile file(OpenRegularFile(path, size, error));
    if (file.Get() < 0)
        return nullptr;
    if (size > limit) {
        error = "larger than " + std::to_string(limit) + " bytes";
        errno = EFBIG;
        return nullptr;
    }
    return std::unique_ptr<FileReader>(new FileReader(file.Release(), size));
}

FileReader::FileReader(int file, std::size_t bytes) : descriptor(file), size(bytes) {}

FileReader::~FileReader()
{
    close(descriptor);
}

bool FileReader::Read(std::size_t offset, std::span<std::uint8_t> out) const
{
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = pread(descriptor, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}
