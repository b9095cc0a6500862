#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

// The proven fewest shots of a group's stages, kept beside them so that the
// solver runs only when a stage is new or has changed. One line a stage:
// "stage:N,par:P,check:C", where C is a checksum of the stage file's bytes
// and P is -1 for a stage with no par (one that cannot be cleared).
namespace ParFile {

// "./Resource/BData/STAGE" + group + "/Par.txt".
std::string Path(int group);

struct Entry {
    int par = -1;
    std::int32_t check = 0;
};

// The entries by stage number; lines that do not read whole are skipped,
// and a missing or unreadable file has none.
std::map<int, Entry> Read(const std::string& path);
// Replaces the file whole (see AtomicFile); false when it cannot be written.
bool Write(const std::string& path, const std::map<int, Entry>& entries);

// The checksum of a stage file's bytes; nothing when it cannot be read.
std::optional<std::int32_t> Check(const std::string& stagePath);

}  // namespace ParFile
