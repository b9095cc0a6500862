#include "stage/ParFile.h"

#include "assets/AssetFiles.h"
#include "files/AtomicFile.h"
#include "files/FileBytes.h"
#include "stage/RecordScanner.h"
#include "stage/TextLines.h"

namespace ParFile {

std::string Path(int group)
{
    return "./" + StageData::GroupFolder(group) + "/Par.txt";
}

std::map<int, Entry> Read(const std::string& path)
{
    std::map<int, Entry> entries;
    std::optional<std::istringstream> in = ReadTextFile(path);
    if (!in)
        return entries;
    TextLines lines(*in);
    std::string line;
    while (lines.Next(line)) {
        int stage = 0;
        int par = 0;
        int check = 0;
        RecordScanner record(line);
        if (record.Int("stage:", stage) && record.Int(",par:", par) && record.Int(",check:", check))
            entries[stage] = {par, check};
    }
    return entries;
}

bool Write(const std::string& path, const std::map<int, Entry>& entries)
{
    std::string text;
    for (const auto& [stage, entry] : entries) {
        text += "stage:" + std::to_string(stage) + ",par:" + std::to_string(entry.par) +
                ",check:" + std::to_string(entry.check) + "\n";
    }
    return AtomicFile::Replace(path, text);
}

std::optional<std::int32_t> Check(const std::string& stagePath)
{
    std::string error;
    const auto bytes = ReadFileBytes(stagePath, TextLines::MaxBytes, error);
    if (!bytes)
        return std::nullopt;
    // FNV-1a: a changed stage file is all it has to notice.
    std::uint32_t hash = 2166136261u;
    for (const std::uint8_t byte : *bytes) {
        hash ^= byte;
        hash *= 16777619u;
    }
    return static_cast<std::int32_t>(hash);
}

}  // namespace ParFile
