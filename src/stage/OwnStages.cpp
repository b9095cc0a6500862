#include "stage/OwnStages.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <map>

#include "files/AtomicFile.h"
#include "stage/TextLines.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view FileKey = "file:";
constexpr std::string_view ParKey = ",par:";
constexpr std::string_view NameKey = ",name:";
// How many numbers past the last a save tries when other saves take them first.
constexpr int NumberAttempts = 1000;

// The number of a "StageNNN.txt", or nothing for any other name.
std::optional<int> StageNumber(const std::string& name)
{
    constexpr std::string_view Prefix = "Stage";
    constexpr std::string_view Suffix = ".txt";
    if (name.size() <= Prefix.size() + Suffix.size() || !name.starts_with(Prefix) || !name.ends_with(Suffix))
        return std::nullopt;
    const char* first = name.data() + Prefix.size();
    const char* last = name.data() + name.size() - Suffix.size();
    int number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || !std::all_of(first, last, [](char c) { return std::isdigit(c); }))
        return std::nullopt;
    return number;
}

std::string Cleaned(const std::string& name)
{
    std::string kept;
    for (const char c : name) {
        if (OwnStages::NameCharacter(c) && kept.size() < OwnStages::MaxName)
            kept += c;
    }
    return kept;
}

// The list's lines by file; a line that does not read whole is skipped.
std::map<std::string, OwnStages::Entry> ReadList(const fs::path& folder)
{
    std::map<std::string, OwnStages::Entry> entries;
    std::optional<std::istringstream> text = ReadTextFile((folder / OwnStages::ListFile).string());
    if (!text)
        return entries;
    TextLines lines(*text);
    for (std::string line; lines.Next(line);) {
        const std::size_t par = line.find(ParKey);
        const std::size_t name = line.find(NameKey);
        if (!line.starts_with(FileKey) || par == std::string::npos || name == std::string::npos || name < par)
            continue;
        OwnStages::Entry entry;
        entry.file = line.substr(FileKey.size(), par - FileKey.size());
        const char* first = line.data() + par + ParKey.size();
        const char* last = line.data() + name;
        const auto [end, error] = std::from_chars(first, last, entry.par);
        if (error != std::errc() || end != last || !StageNumber(entry.file))
            continue;
        entry.par = std::max(entry.par, -1);
        entry.name = Cleaned(line.substr(name + NameKey.size()));
        entries[entry.file] = entry;
    }
    return entries;
}

bool WriteList(const fs::path& folder, const std::map<std::string, OwnStages::Entry>& entries)
{
    std::string text;
    for (const auto& [file, entry] : entries)
        text += "file:" + file + ",par:" + std::to_string(entry.par) + ",name:" + entry.name + "\n";
    return AtomicFile::Replace((folder / OwnStages::ListFile).string(), text);
}

}  // namespace

namespace OwnStages {

bool NameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == ' ' || c == '-';
}

std::vector<Entry> List(const std::string& folder)
{
    const std::map<std::string, Entry> named = ReadList(folder);
    std::vector<Entry> stages;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string file = it->path().filename().string();
        std::error_code typeError;
        if (!StageNumber(file) || !it->is_regular_file(typeError))
            continue;
        const auto found = named.find(file);
        stages.push_back(found != named.end() ? found->second : Entry{file, file.substr(0, file.size() - 4), -1});
    }
    std::sort(stages.begin(), stages.end(), [](const Entry& a, const Entry& b) { return a.file < b.file; });
    return stages;
}

std::optional<std::string> AddNew(const std::vector<BlockRecord>& records, const std::string& name,
                                  const std::string& folder)
{
    std::error_code error;
    fs::create_directories(folder, error);
    int last = 0;
    for (const Entry& stage : List(folder))
        last = std::max(last, StageNumber(stage.file).value_or(0));
    const std::string text = StageFile::Format(records);
    for (int number = last + 1; number <= last + NumberAttempts; ++number) {
        const std::string file = StageFile::FileName(number);
        if (AtomicFile::Create((fs::path(folder) / file).string(), text)) {
            std::map<std::string, Entry> entries = ReadList(folder);
            entries[file] = {file, Cleaned(name), -1};
            WriteList(folder, entries);
            return file;
        }
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

bool Replace(const std::string& file, const std::vector<BlockRecord>& records, const std::string& folder)
{
    return AtomicFile::Replace((fs::path(folder) / file).string(), StageFile::Format(records));
}

bool SetPar(const std::string& file, int par, const std::string& folder)
{
    std::map<std::string, Entry> entries = ReadList(folder);
    Entry& entry = entries[file];
    if (entry.file.empty())
        entry = {file, file.substr(0, file.size() - 4), -1};
    entry.par = par;
    return WriteList(folder, entries);
}

}  // namespace OwnStages
