#include "stage/StageFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "assets/AssetFiles.h"
#include "files/AtomicFile.h"
#include "stage/RecordScanner.h"
#include "stage/TextLines.h"

namespace {

namespace fs = std::filesystem;

// How many numbers past the last a save tries when other saves take them first.
constexpr int NumberAttempts = 1000;

bool InField(int v)
{
    return v >= 0 && v < StageFile::FieldCells;
}

bool Placeable(const BlockRecord& record)
{
    return InField(record.x) && InField(record.y) && InField(record.z) && record.kind >= StageFile::MinKind &&
           record.kind <= StageFile::MaxKind;
}

bool ScanBlock(const std::string& line, BlockRecord& block)
{
    RecordScanner scan(line);
    scan.Int("x:", block.x) && scan.Int(",y:", block.y) && scan.Int(",z:", block.z) &&
        scan.Int(",sf:", block.kind) && scan.Int(",af:", block.launched) && scan.Int(",pf:", block.state);
    return scan.Count() > 0;
}

bool ScanMove(const std::string& line, Vector3& move, int& frames)
{
    RecordScanner scan(line);
    scan.Float("mx:", move.x) && scan.Float(",my:", move.y) && scan.Float(",mz:", move.z) && scan.Int(",fr:", frames);
    return scan.Count() > 0;
}

// Truncated toward zero as the writer prints it; out of range saturates.
int Truncated(float v)
{
    if (std::isnan(v))
        return 0;
    const double t = std::trunc(static_cast<double>(v));
    if (t <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (t >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(t);
}

std::vector<fs::path> ListStageTexts(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->path().extension() == ".txt" && !it->is_directory(typeError))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
    return files;
}

bool Exists(const fs::path& path)
{
    std::error_code error;
    const bool exists = fs::exists(path, error);
    // When we cannot tell, the file might be there: treat it as taken.
    return exists || error;
}

}  // namespace

namespace StageFile {

std::string FileName(int number)
{
    const char* prefix = number < 10 ? "Stage00" : number < 100 ? "Stage0" : "Stage";
    return prefix + std::to_string(number) + ".txt";
}

std::string Path(int group, int number)
{
    return StageData::GroupFolder(group) + "/" + FileName(number);
}

std::vector<BlockRecord> Parse(std::istream& in, std::vector<StageProblem>* problems)
{
    std::vector<BlockRecord> blocks;
    TextLines lines(in);
    std::string line;
    int number = 0;
    const auto report = [&](const std::string& reason) {
        if (problems)
            problems->push_back({number, reason});
    };
    // Fields a line leaves out keep the values of the line before.
    BlockRecord fields;
    Vector3 move{0.0f};
    int frames = 0;
    while (blocks.size() < MaxBlocks && lines.Next(line)) {
        ++number;
        if (!ScanBlock(line, fields)) {
            if (line.find_first_not_of(" \t") != std::string::npos)
                report("not a block record (x:X,y:Y,z:Z,sf:KIND,af:0,pf:0)");
            continue;
        }
        BlockRecord block{fields.x, fields.y, fields.z, fields.kind, fields.launched, fields.state, {}, {}, number};
        if (block.launched == 1) {
            while (lines.Next(line)) {
                ++number;
                if (!ScanMove(line, move, frames))
                    continue;
                block.moves.push_back(move);
                block.frames.push_back(frames);
            }
        } else {
            block.moves.push_back(Vector3{0.0f});
            block.frames.push_back(0);
        }
        if (Placeable(block)) {
            blocks.push_back(std::move(block));
        } else if (block.kind < MinKind || block.kind > MaxKind) {
            report("kind " + std::to_string(block.kind) + " is not one of " + std::to_string(MinKind) + " to " +
                   std::to_string(MaxKind));
        } else {
            report("cell (" + std::to_string(block.x) + ", " + std::to_string(block.y) + ", " +
                   std::to_string(block.z) + ") is outside the field");
        }
    }
    if (blocks.size() == MaxBlocks && lines.Next(line) && ++number > 0)
        report("more than " + std::to_string(MaxBlocks) + " blocks: the rest are not read");
    return blocks;
}

std::string Format(const std::vector<BlockRecord>& records)
{
    std::string text;
    char line[128];
    for (const BlockRecord& r : records) {
        std::snprintf(line, sizeof line, "x:%d,y:%d,z:%d,sf:%d,af:%d,pf:%d\n", r.x, r.y, r.z, r.kind, r.launched,
                      r.state);
        text += line;
        if (r.state == 0)
            continue;
        for (std::size_t i = 0; i < r.moves.size(); ++i) {
            const int frames = i < r.frames.size() ? r.frames[i] : 0;
            std::snprintf(line, sizeof line, "mx:%d,my:%d,mz:%d,fr:%d\n", Truncated(r.moves[i].x),
                          Truncated(r.moves[i].y), Truncated(r.moves[i].z), frames);
            text += line;
        }
    }
    return text;
}

std::optional<std::vector<BlockRecord>> Read(const std::string& path, std::vector<StageProblem>* problems)
{
    std::optional<std::istringstream> in = ReadTextFile(path);
    if (!in)
        return std::nullopt;
    return Parse(*in, problems);
}

bool WriteNew(const std::vector<BlockRecord>& records, std::string* writtenName)
{
    const fs::path folder = StageData::Folder;
    const std::vector<fs::path> files = ListStageTexts(folder);
    const int count = static_cast<int>(files.size());
    for (int i = 1; i <= count; ++i) {
        const fs::path target = folder / FileName(i);
        // Another editor may save a stage under the name meanwhile: never over it.
        if (files[i - 1].filename() != target.filename())
            AtomicFile::RenameNoReplace(files[i - 1].string(), target.string());
    }

    // The first free number; a file that appears under it meanwhile is never
    // replaced: the stage takes the next one.
    const std::string text = Format(records);
    for (int number = count + 1; number <= count + NumberAttempts; ++number) {
        if (Exists(folder / FileName(number)))
            continue;
        if (AtomicFile::Create((folder / FileName(number)).string(), text)) {
            if (writtenName)
                *writtenName = FileName(number);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

}  // namespace StageFile
