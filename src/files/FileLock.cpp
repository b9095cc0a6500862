#include "files/FileLock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FileLock::FileLock(const std::string& lockPath)
{
    file = open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (file < 0)
        return;
    int locked = 0;
    do {
        locked = flock(file, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        close(file);
        file = -1;
    }
}

FileLock::~FileLock()
{
    if (file >= 0)
        close(file);
}
