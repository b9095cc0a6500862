#include "StageCheck.h"

#include <algorithm>
#include <map>
#include <regex>

#include "rules/BlockKind.h"
#include "solver/StagePieces.h"
#include "stage/StageFile.h"

StageReport CheckStage(const std::filesystem::path& file, std::size_t stateLimit)
{
    StageReport report;
    const std::string name = file.string();
    const auto problem = [&](int line, const std::string& reason) {
        std::string text = name;
        if (line > 0) {
            text += ':';
            text += std::to_string(line);
        }
        text += ": ";
        text += reason;
        report.problems.push_back(std::move(text));
    };
    std::vector<StageProblem> lineProblems;
    const std::optional<std::vector<BlockRecord>> read = StageFile::Read(name, &lineProblems);
    if (!read) {
        problem(0, "cannot be read");
        return report;
    }
    const std::vector<BlockRecord>& records = *read;
    for (const StageProblem& p : lineProblems)
        problem(p.line, p.reason);

    std::map<std::tuple<int, int, int>, int> taken;
    for (const BlockRecord& record : records) {
        report.blacks += record.kind == BlockKind::Black;
        report.armoured += record.kind == BlockKind::HardBlack;
        if (record.launched != 0 || record.state != 0)
            problem(record.line, "a stage's blocks start at rest (af:0, pf:0)");
        if (record.x == 0 && record.y == 0 && record.z == 0)
            problem(record.line, "the player starts in cell (0, 0, 0), which must be free");
        const auto [at, fresh] = taken.emplace(std::make_tuple(record.x, record.y, record.z), record.line);
        if (!fresh)
            problem(record.line, "cell " + CellText({record.x, record.y, record.z}) +
                                     " already holds the block of line " + std::to_string(at->second));
    }

    report.solution = StageSolver::Solve(PiecesOf(records), stateLimit);
    switch (report.solution.verdict) {
    case Solution::Verdict::Solved:
        if (report.solution.shots.empty())
            problem(0, "cleared before the first shot: it has no black block");
        break;
    case Solution::Verdict::LostAtStart:
        problem(0, "lost at start: " + report.solution.reason);
        break;
    case Solution::Verdict::GaveUp:
        problem(0, "undecided: " + report.solution.reason);
        break;
    default:
        problem(0, "unsolvable: " + report.solution.reason);
        break;
    }
    return report;
}

int SingleTurnOvers(int blacks, int armoured)
{
    return blacks + 2 * armoured;
}

int Saving(const StageReport& report)
{
    return SingleTurnOvers(report.blacks, report.armoured) - static_cast<int>(report.solution.shots.size());
}

std::vector<std::filesystem::path> StageFilesUnder(const std::filesystem::path& folder)
{
    static const std::regex stageName("Stage[0-9]+\\.txt");
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error) && std::regex_match(it->path().filename().string(), stageName))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}
