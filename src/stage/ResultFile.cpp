#include "stage/ResultFile.h"

#include <filesystem>

#include "assets/AssetFiles.h"
#include "files/AtomicFile.h"
#include "files/FileLock.h"
#include "stage/RecordScanner.h"
#include "stage/TextLines.h"

namespace {

namespace fs = std::filesystem;

// Beside the results of a group, hidden: held while a best score is decided.
const char* const LockName = ".lock";

}  // namespace

namespace ResultFile {

std::string Path(int group, int stage)
{
    return "./" + StageData::GroupFolder(group) + "/Result" + std::to_string(stage) + ".txt";
}

int Parse(std::istream& in)
{
    const int score = ParseLast(in);
    return score < 0 ? 0 : score;
}

int ParseLast(std::istream& in)
{
    int score = 0;
    TextLines lines(in);
    std::string line;
    while (lines.Next(line))
        RecordScanner(line).Int("score:", score);
    return score;
}

std::optional<int> Read(const std::string& path)
{
    std::optional<std::istringstream> in = ReadTextFile(path);
    if (!in)
        return std::nullopt;
    return Parse(*in);
}

std::optional<int> ReadLast(const std::string& path)
{
    std::optional<std::istringstream> in = ReadTextFile(path);
    if (!in)
        return std::nullopt;
    return ParseLast(*in);
}

Update Write(const std::string& path, int score)
{
    const std::string text = "score:" + std::to_string(score);
    // Another copy of the game may be clearing the same stage: the stored
    // score is read, compared and replaced by one copy at a time.
    const FileLock lock((fs::path(path).parent_path() / LockName).string());
    const std::optional<int> stored = Read(path);
    if (!stored) {
        std::error_code error;
        // Only a file that is really missing is made anew: one that is there
        // but unreadable may hold a better score.
        if (fs::exists(path, error) || error || score <= 0)
            return Update::Unopened;
        return AtomicFile::Replace(path, text) ? Update::Created : Update::Unopened;
    }
    // A clear of 0 shots is an empty stage, not a best score.
    if (score <= 0 || (*stored != 0 && score >= *stored))
        return Update::Kept;
    return AtomicFile::Replace(path, text) ? Update::Written : Update::Failed;
}

bool Reset(const std::string& path)
{
    return AtomicFile::Replace(path, "score:0");
}

}  // namespace ResultFile
