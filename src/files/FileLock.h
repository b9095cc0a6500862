#pragma once

#include <string>

// An exclusive lock on a lock file, held while it lives, so that two copies
// of the game (two windows, the game and the editor) take turns at reading,
// comparing and replacing a file. The lock file is made when missing and
// left in place. Without it (a folder that cannot be written) the holder goes
// on unlocked: its write fails there anyway.
class FileLock {
public:
    explicit FileLock(const std::string& lockPath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return file >= 0; }

private:
    int file = -1;
};
