#include "StageTool.h"

#include <charconv>
#include <optional>
#include <set>
#include <string>

#include "KeyPlan.h"
#include "StageCheck.h"
#include "StageGenerator.h"
#include "rules/Field.h"
#include "solver/DeadEnds.h"
#include "solver/StagePieces.h"
#include "stage/StageCode.h"
#include "stage/StageFile.h"

const char* const StageToolUsage =
    "usage: orb-stage solve [--stats] [--limit N] [--from X,Z] FILE\n"
    "                                                    the fewest shots and one way to play them; --from:\n"
    "                                                    from a position met in play, the player in (X, 0, Z)\n"
    "       orb-stage check [--stats] [--limit N] DIR    every Stage*.txt under DIR read and solved\n"
    "       orb-stage keys [--limit N] FILE              a shortest solution as a harness key script\n"
    "       orb-stage traps [--keys] [--limit N] FILE    first shots after which the stage can no longer be\n"
    "                                                    cleared; --keys: the first of them as a key script\n"
    "       orb-stage generate [--seed N] [--tries N] [--black N] [--hard N] [--white N] [--limit N]\n"
    "                                                    the random stage that needs the most shots\n"
    "       orb-stage code FILE                          the stage as a short code to share (ORB-...)\n"
    "       orb-stage decode CODE                        the stage file of a code, on the standard output\n";

namespace {

enum Status { Good = 0, NotGood = 1, Unusable = 2 };

// The command's options, in any order before or after its one operand.
struct Command {
    std::string name;
    std::string operand;
    bool stats = false;
    bool keys = false;
    // --from: the player's cell of a position met in play.
    std::optional<MapPosition> from;
    std::size_t limit = StageSolver::DefaultStateLimit;
    GeneratorOptions generator;
};

bool Number(const std::string& text, long long& value)
{
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    return failure == std::errc() && stop == end && value >= 0;
}

bool ParseCommand(const std::vector<std::string>& arguments, Command& command, std::string& error)
{
    if (arguments.empty()) {
        error = "no command";
        return false;
    }
    command.name = arguments[0];
    static const std::set<std::string> Commands = {"solve", "keys", "check", "traps", "generate", "code", "decode"};
    if (!Commands.contains(command.name)) {
        error = "unknown command " + command.name;
        return false;
    }
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--stats" || argument == "--keys") {
            (argument == "--stats" ? command.stats : command.keys) = true;
            continue;
        }
        if (argument == "--from") {
            const std::string cell = i + 1 < arguments.size() ? arguments[++i] : "";
            const std::size_t comma = cell.find(',');
            long long x = 0;
            long long z = 0;
            if (comma == std::string::npos || !Number(cell.substr(0, comma), x) || !Number(cell.substr(comma + 1), z) ||
                x >= Field::Cells || z >= Field::Cells) {
                error = "--from needs a cell X,Z of the field";
                return false;
            }
            command.from = MapPosition{static_cast<int>(x), 0, static_cast<int>(z)};
            continue;
        }
        if (!argument.starts_with("--")) {
            if (!command.operand.empty()) {
                error = "one file or folder only";
                return false;
            }
            command.operand = argument;
            continue;
        }
        long long value = 0;
        if (i + 1 == arguments.size() || !Number(arguments[i + 1], value)) {
            error = argument + " needs a whole number";
            return false;
        }
        ++i;
        if (argument == "--limit")
            command.limit = static_cast<std::size_t>(value);
        else if (argument == "--seed")
            command.generator.seed = static_cast<unsigned>(value);
        else if (argument == "--tries")
            command.generator.tries = static_cast<int>(value);
        else if (argument == "--black")
            command.generator.blacks = static_cast<int>(value);
        else if (argument == "--hard")
            command.generator.hardBlacks = static_cast<int>(value);
        else if (argument == "--white")
            command.generator.whites = static_cast<int>(value);
        else {
            error = "unknown option " + argument;
            return false;
        }
    }
    const bool wantsOperand = command.name != "generate";
    if (wantsOperand && command.operand.empty()) {
        error = command.name + " needs a " + (command.name == "check" ? "folder" : "file");
        return false;
    }
    return true;
}

// The verdict line: the number of shots alone, or why there is none.
std::string Verdict(const Solution& solution)
{
    switch (solution.verdict) {
    case Solution::Verdict::Solved:
        return std::to_string(solution.shots.size());
    case Solution::Verdict::LostAtStart:
        return "lost at start: " + solution.reason;
    case Solution::Verdict::GaveUp:
        return "undecided: " + solution.reason;
    default:
        return "unsolvable: " + solution.reason;
    }
}

// The file's blocks; each line that gives none is reported on err.
std::optional<std::vector<BlockRecord>> ReadRecords(const Command& command, std::ostream& err,
                                                    std::vector<StageProblem>& problems)
{
    const std::optional<std::vector<BlockRecord>> records = StageFile::Read(command.operand, &problems);
    if (!records) {
        err << "orb-stage: cannot read " << command.operand << "\n";
        return std::nullopt;
    }
    for (const StageProblem& problem : problems)
        err << command.operand << ":" << problem.line << ": " << problem.reason << " (left out)\n";
    return records;
}

std::optional<std::vector<Piece>> ReadPieces(const Command& command, std::ostream& err)
{
    std::vector<StageProblem> problems;
    const std::optional<std::vector<BlockRecord>> records = ReadRecords(command, err, problems);
    if (!records)
        return std::nullopt;
    return PiecesOf(*records);
}

std::optional<Solution> SolveFile(const Command& command, std::ostream& err)
{
    const auto pieces = ReadPieces(command, err);
    if (!pieces)
        return std::nullopt;
    if (command.from)
        return StageSolver::SolveFrom(*pieces, *command.from, command.limit);
    return StageSolver::Solve(*pieces, command.limit);
}

void WriteShot(const SolutionShot& shot, std::ostream& out)
{
    out << "fire from " << CellText(shot.from) << " toward " << DirectionName(shot.direction) << ": lands on "
        << CellText(shot.landing) << ", turns " << shot.turned << " over";
}

void WriteStats(const Solution& solution, std::ostream& out)
{
    out << "states visited: " << solution.statesVisited << "\n";
    out << "time: " << solution.seconds * 1000.0 << " ms\n";
}

int Solve(const Command& command, std::ostream& out, std::ostream& err)
{
    const auto solution = SolveFile(command, err);
    if (!solution)
        return Unusable;
    out << Verdict(*solution) << "\n";
    for (const SolutionShot& shot : solution->shots) {
        WriteShot(shot, out);
        out << "\n";
    }
    if (command.stats)
        WriteStats(*solution, out);
    return solution->verdict == Solution::Verdict::Solved ? Good : NotGood;
}

int Keys(const Command& command, std::ostream& out, std::ostream& err)
{
    const auto solution = SolveFile(command, err);
    if (!solution)
        return Unusable;
    if (solution->verdict != Solution::Verdict::Solved) {
        err << command.operand << ": " << Verdict(*solution) << "\n";
        return NotGood;
    }
    const KeyPlan plan = PlanKeys(*solution);
    out << "# " << command.operand << ": " << solution->shots.size() << " shots; the last turning over ends by frame "
        << plan.doneFrame << "\n"
        << plan.script;
    return Good;
}

int Traps(const Command& command, std::ostream& out, std::ostream& err)
{
    const auto pieces = ReadPieces(command, err);
    if (!pieces)
        return Unusable;
    const std::vector<SolutionShot> traps = DeadEndFirstShots(*pieces, command.limit);
    if (command.keys) {
        if (traps.empty()) {
            err << command.operand << ": no first shot leaves it uncleared\n";
            return NotGood;
        }
        Solution first;
        first.shots.push_back(traps.front());
        const KeyPlan plan = PlanKeys(first);
        out << "# " << command.operand << ": a first shot after which it cannot be cleared; its turning over ends by frame "
            << plan.doneFrame << "\n"
            << plan.script;
        return Good;
    }
    out << traps.size() << "\n";
    for (const SolutionShot& shot : traps) {
        WriteShot(shot, out);
        out << ": no way to clear from there\n";
    }
    return Good;
}

int Check(const Command& command, std::ostream& out)
{
    const std::vector<std::filesystem::path> files = StageFilesUnder(command.operand);
    int problems = 0;
    double seconds = 0;
    for (const auto& file : files) {
        const StageReport report = CheckStage(file, command.limit);
        for (const std::string& problem : report.problems)
            out << problem << "\n";
        problems += static_cast<int>(report.problems.size());
        seconds += report.solution.seconds;
        if (report.problems.empty()) {
            const std::size_t shots = report.solution.shots.size();
            out << file.string() << ": " << shots << (shots == 1 ? " shot" : " shots");
            if (command.stats) {
                out << " (blacks " << report.blacks << ", armoured " << report.armoured << ", saving "
                    << Saving(report) << "; " << report.solution.statesVisited << " states, "
                    << report.solution.seconds * 1000.0 << " ms)";
            }
            out << "\n";
        }
    }
    out << files.size() << " stages, " << problems << " problems";
    if (command.stats)
        out << ", solved in " << seconds * 1000.0 << " ms";
    out << "\n";
    return problems == 0 && !files.empty() ? Good : NotGood;
}

// A code stands for the whole file or for nothing: a file with a line left
// out gets none.
int Code(const Command& command, std::ostream& out, std::ostream& err)
{
    std::vector<StageProblem> problems;
    const std::optional<std::vector<BlockRecord>> records = ReadRecords(command, err, problems);
    if (!records || !problems.empty())
        return Unusable;
    std::string error;
    const std::optional<std::string> code = StageCode::Encode(*records, error);
    if (!code) {
        err << command.operand << ": " << error << "\n";
        return Unusable;
    }
    out << *code << "\n";
    return Good;
}

int Decode(const Command& command, std::ostream& out, std::ostream& err)
{
    std::string error;
    const std::optional<std::vector<BlockRecord>> records = StageCode::Decode(command.operand, error);
    if (!records) {
        err << "orb-stage: " << command.operand << ": " << error << "\n";
        return Unusable;
    }
    out << StageFile::Format(*records);
    return Good;
}

int Generate(const Command& command, std::ostream& out, std::ostream& err)
{
    GeneratorOptions options = command.generator;
    if (command.limit != StageSolver::DefaultStateLimit)
        options.stateLimit = command.limit;
    const GeneratedStage stage = GenerateStage(options);
    if (stage.records.empty()) {
        err << "orb-stage: none of " << options.tries << " boards was solvable\n";
        return NotGood;
    }
    for (const BlockRecord& r : stage.records)
        out << "x:" << r.x << ",y:" << r.y << ",z:" << r.z << ",sf:" << r.kind << ",af:0,pf:0\n";
    err << stage.solution.shots.size() << " shots, " << stage.solution.statesVisited << " positions\n";
    return Good;
}

}  // namespace

int RunStageTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help")) {
        out << StageToolUsage;
        return Good;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        out << "orb-stage " << ORB_VERSION << "\n";
        return Good;
    }
    Command command;
    std::string error;
    if (!ParseCommand(arguments, command, error)) {
        err << StageToolUsage << "orb-stage: " << error << "\n";
        return Unusable;
    }
    if (command.name == "solve")
        return Solve(command, out, err);
    if (command.name == "keys")
        return Keys(command, out, err);
    if (command.name == "check")
        return Check(command, out);
    if (command.name == "traps")
        return Traps(command, out, err);
    if (command.name == "generate")
        return Generate(command, out, err);
    if (command.name == "code")
        return Code(command, out, err);
    return Decode(command, out, err);
}
