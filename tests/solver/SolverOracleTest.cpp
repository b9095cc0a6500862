#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "rules/BlockKind.h"
#include "rules/BoardPosition.h"
#include "rules/Field.h"
#include "rules/RulePrinters.h"
#include "rules/Shots.h"
#include "rules/StageGrid.h"
#include "rules/Targets.h"
#include "solver/PlayField.h"
#include "solver/StageSolver.h"

// The solver checked two ways: against answers worked out by hand, and
// against a second search that shares nothing with it but the rules
// themselves. That search is as plain as it can be: a position is every
// cell's kind and the player's exact cell, and a move is one step or one
// shot. The solver's regions, its shots grouped by landing and its keys are
// exactly what it leaves out.
namespace {

using namespace BlockKind;
using Verdict = Solution::Verdict;

}  // namespace

// Readable failure messages for a verdict.
inline void PrintTo(Solution::Verdict verdict, std::ostream* out)
{
    constexpr const char* Names[] = {"Solved", "Unsolvable", "LostAtStart", "GaveUp"};
    *out << Names[static_cast<int>(verdict)];
}

namespace {

constexpr int Cells = Field::Cells * Field::Cells;

// The bottom layer, cell x * 10 + z; shots that stayed are White like any other block.
using Kinds = std::array<std::int8_t, Cells>;

int IndexOf(const MapPosition& cell)
{
    return cell.x * Field::Cells + cell.z;
}

MapPosition CellAt(int index)
{
    return {index / Field::Cells, 0, index % Field::Cells};
}

std::vector<Piece> PiecesOf(const Kinds& kinds)
{
    std::vector<Piece> pieces;
    for (int i = 0; i < Cells; ++i) {
        if (kinds[static_cast<std::size_t>(i)] != Empty)
            pieces.push_back({CellAt(i), kinds[static_cast<std::size_t>(i)], false});
    }
    return pieces;
}

bool AllWhite(const Kinds& kinds)
{
    for (const std::int8_t kind : kinds) {
        if (kind == Black || kind == HardBlack)
            return false;
    }
    return true;
}

// What the game asks after a turning over: walled in, or no useful target.
bool Lost(const Kinds& kinds, int player)
{
    StageGrid grid;
    const std::vector<Piece> pieces = PiecesOf(kinds);
    grid.Rebuild(pieces, CellAt(player));
    return !HasMove(grid, CellAt(player), RebuildTargets(pieces, grid));
}

// The game's own start: a black boxed in by white, then its first frame's test.
bool LostAtStart(const Kinds& kinds)
{
    StageGrid grid;
    const std::vector<Piece> pieces = PiecesOf(kinds);
    grid.Rebuild(pieces, CellAt(0));
    bool unwinnable = false;
    InitialTargets(pieces, grid, unwinnable);
    return unwinnable || Lost(kinds, 0);
}

// One shot fired from player toward direction: the board after it, or
// nothing when it cannot be fired or turns nothing over (it dissolves, and
// the board is as it was).
struct Shot {
    Kinds after;
    MapPosition landing;
    int turned = 0;
};

std::optional<Shot> Fire(const Kinds& kinds, int player, int direction)
{
    StageGrid grid;
    grid.Rebuild(PiecesOf(kinds), CellAt(player));
    const MapPosition launch = LaunchCell(Field::Centre(CellAt(player)), direction);
    if (!CanLaunch(grid, launch))
        return std::nullopt;
    Shot shot{kinds, LandingCell(grid, launch, direction)};
    const std::vector<MapPosition> run = ClosedRuns(grid, shot.landing);
    if (run.empty())
        return std::nullopt;
    shot.after[static_cast<std::size_t>(IndexOf(shot.landing))] = White;
    for (const MapPosition& cell : run) {
        std::int8_t& kind = shot.after[static_cast<std::size_t>(IndexOf(cell))];
        if (kind == Black || kind == HardBlack) {
            kind = static_cast<std::int8_t>(TurnedOver(kind));
            ++shot.turned;
        }
    }
    return shot;
}

bool Free(const Kinds& kinds, const MapPosition& cell)
{
    return Field::Inside(cell.x, cell.y, cell.z) && kinds[static_cast<std::size_t>(IndexOf(cell))] == Empty;
}

// The cells the player can walk to from cell, the lowest first.
std::vector<int> RegionOf(const Kinds& kinds, int cell)
{
    std::vector<bool> seen(Cells, false);
    std::vector<int> open{cell};
    seen[static_cast<std::size_t>(cell)] = true;
    while (!open.empty()) {
        const MapPosition at = CellAt(open.back());
        open.pop_back();
        for (int direction = 0; direction < 4; ++direction) {
            const MapPosition next = NextCell(at, direction);
            if (Free(kinds, next) && !seen[static_cast<std::size_t>(IndexOf(next))]) {
                seen[static_cast<std::size_t>(IndexOf(next))] = true;
                open.push_back(IndexOf(next));
            }
        }
    }
    std::vector<int> region;
    for (int i = 0; i < Cells; ++i) {
        if (seen[static_cast<std::size_t>(i)])
            region.push_back(i);
    }
    return region;
}

// The fewest shots that clear the board from the player's cell, breadth
// first with steps free and shots costing one; nothing when no sequence does.
std::optional<int> FewestShots(const Kinds& start, int player)
{
    if (AllWhite(start))
        return 0;
    struct State {
        Kinds kinds;
        int player;
        int shots;
    };
    const auto key = [](const Kinds& kinds, int cell) {
        std::string text(kinds.begin(), kinds.end());
        text.push_back(static_cast<char>(cell));
        return text;
    };
    std::unordered_map<std::string, int> best;
    std::deque<State> open{{start, player, 0}};
    best[key(start, player)] = 0;
    while (!open.empty()) {
        const State state = open.front();
        open.pop_front();
        if (best[key(state.kinds, state.player)] < state.shots)
            continue;
        for (int direction = 0; direction < 4; ++direction) {
            const MapPosition next = NextCell(CellAt(state.player), direction);
            if (!Free(state.kinds, next))
                continue;
            const auto [at, added] = best.try_emplace(key(state.kinds, IndexOf(next)), state.shots);
            if (!added && at->second <= state.shots)
                continue;
            at->second = state.shots;
            open.push_front({state.kinds, IndexOf(next), state.shots});
        }
        for (int direction = 0; direction < 4; ++direction) {
            const std::optional<Shot> shot = Fire(state.kinds, state.player, direction);
            if (!shot)
                continue;
            // States leave the queue in order of their shots, so the first
            // clear found is a shortest one.
            if (AllWhite(shot->after))
                return state.shots + 1;
            if (Lost(shot->after, state.player))
                continue;
            const auto [at, added] = best.try_emplace(key(shot->after, state.player), state.shots + 1);
            if (!added)
                continue;
            open.push_back({shot->after, state.player, state.shots + 1});
        }
    }
    return std::nullopt;
}

Kinds KindsOf(const std::vector<Piece>& pieces)
{
    Kinds kinds{};
    for (const Piece& piece : pieces)
        kinds[static_cast<std::size_t>(IndexOf(piece.cell))] = static_cast<std::int8_t>(piece.kind);
    return kinds;
}

// The board of a solver's position: the stage's blocks in their kinds, then its shots that stayed.
Kinds KindsOf(const std::vector<Piece>& pieces, const PlayField::Position& position)
{
    Kinds kinds{};
    for (std::size_t i = 0; i < pieces.size(); ++i)
        kinds[static_cast<std::size_t>(IndexOf(pieces[i].cell))] = static_cast<std::int8_t>(position.kinds[i]);
    for (int cell = 0; cell < Cells; ++cell) {
        if (position.shots[static_cast<std::size_t>(cell)])
            kinds[static_cast<std::size_t>(cell)] = White;
    }
    return kinds;
}

std::string Text(const Kinds& kinds)
{
    return {kinds.begin(), kinds.end()};
}

// A bottom-layer stage from (x, z, kind) triples.
std::vector<Piece> Stage(const std::vector<std::array<int, 3>>& blocks)
{
    std::vector<Piece> pieces;
    for (const auto& [x, z, kind] : blocks)
        pieces.push_back({{x, 0, z}, kind, false});
    return pieces;
}

std::string Describe(const std::vector<Piece>& pieces, int player)
{
    std::ostringstream text;
    text << "player (" << CellAt(player).x << ", " << CellAt(player).z << "), blocks";
    for (const Piece& piece : pieces)
        text << " (" << piece.cell.x << ", " << piece.cell.z << ")" << "?WBA"[piece.kind];
    return text.str();
}

// The solution's shots played by the rules alone: each walk crosses free
// cells to where the shot is fired from, each shot lands and turns as the
// solution says, no shot but the last loses, and the last clears.
void ExpectPlaysOut(const std::vector<Piece>& pieces, int player, const Solution& solution, const std::string& what)
{
    Kinds kinds = KindsOf(pieces);
    for (std::size_t i = 0; i < solution.shots.size(); ++i) {
        const SolutionShot& step = solution.shots[i];
        MapPosition at = CellAt(player);
        for (const int direction : step.walk) {
            at = NextCell(at, direction);
            ASSERT_TRUE(Free(kinds, at)) << what << ": shot " << i << " walks through " << testing::PrintToString(at);
        }
        ASSERT_EQ(at, step.from) << what << ": shot " << i;
        player = IndexOf(at);
        const std::optional<Shot> shot = Fire(kinds, player, step.direction);
        ASSERT_TRUE(shot) << what << ": shot " << i << " turns nothing";
        EXPECT_EQ(shot->landing, step.landing) << what << ": shot " << i;
        EXPECT_EQ(shot->turned, step.turned) << what << ": shot " << i;
        kinds = shot->after;
        if (i + 1 < solution.shots.size()) {
            ASSERT_FALSE(AllWhite(kinds) || Lost(kinds, player)) << what << ": shot " << i << " ends the stage";
        }
    }
    EXPECT_TRUE(AllWhite(kinds)) << what;
}

// The two searches agree on a stage from its start: lost at the start, the
// fewest shots, or no way to clear it at all. Gives the fewest shots.
std::optional<int> ExpectAgrees(const std::vector<Piece>& pieces)
{
    const std::string what = Describe(pieces, 0);
    const Kinds kinds = KindsOf(pieces);
    const Solution solution = StageSolver::Solve(pieces);
    EXPECT_NE(solution.verdict, Verdict::GaveUp) << what;
    if (!AllWhite(kinds) && LostAtStart(kinds)) {
        EXPECT_EQ(solution.verdict, Verdict::LostAtStart) << what;
        return std::nullopt;
    }
    const std::optional<int> fewest = FewestShots(kinds, 0);
    if (!fewest) {
        EXPECT_EQ(solution.verdict, Verdict::Unsolvable) << what;
        return fewest;
    }
    EXPECT_EQ(solution.verdict, Verdict::Solved) << what;
    EXPECT_EQ(solution.shots.size(), static_cast<std::size_t>(*fewest)) << what;
    if (solution.verdict == Verdict::Solved)
        ExpectPlaysOut(pieces, 0, solution, what);
    return fewest;
}

// The same from a position met in play, the player anywhere free.
void ExpectAgreesFrom(const std::vector<Piece>& pieces, int player)
{
    const std::string what = Describe(pieces, player);
    const Kinds kinds = KindsOf(pieces);
    const Solution solution = StageSolver::SolveFrom(pieces, CellAt(player));
    ASSERT_NE(solution.verdict, Verdict::GaveUp) << what;
    const std::optional<int> fewest =
        !AllWhite(kinds) && Lost(kinds, player) ? std::nullopt : FewestShots(kinds, player);
    if (!fewest) {
        EXPECT_EQ(solution.verdict, Verdict::Unsolvable) << what;
        return;
    }
    ASSERT_EQ(solution.verdict, Verdict::Solved) << what;
    EXPECT_EQ(solution.shots.size(), static_cast<std::size_t>(*fewest)) << what;
    ExpectPlaysOut(pieces, player, solution, what);
}

// Whites along z = 6 from x = 0 to 4 and blacks at (5, 4) and (6, 5): the
// shot that turns (5, 4) lands in (5, 5), the one gap between the floor below
// row 6 and the floor above it. Fired down column 5 from above, it leaves the
// player above, where (7, 5) closes (6, 5) against it: two shots. Fired along
// row 5 from below, it shuts the player below, and (7, 5) is out of reach.
const std::vector<std::array<int, 3>> SplitFloor = {
    {0, 6, White}, {1, 6, White}, {2, 6, White}, {3, 6, White}, {4, 6, White}, {5, 3, White},
    {7, 4, White}, {8, 4, White}, {9, 4, White}, {5, 4, Black}, {6, 5, Black}};

std::vector<std::array<int, 3>> With(std::vector<std::array<int, 3>> blocks,
                                     const std::vector<std::array<int, 3>>& more)
{
    blocks.insert(blocks.end(), more.begin(), more.end());
    return blocks;
}

TEST(SolverAnswers, StagesWorkedOutByHand)
{
    struct Case {
        const char* what;
        std::vector<std::array<int, 3>> blocks;
        Verdict verdict;
        std::size_t shots = 0;
    };
    const Case cases[] = {
        {"a landing that splits the floor, fired from the side that goes on", SplitFloor, Verdict::Solved, 2},
        {"the same with column 5 shut above: only the shot from below is left", With(SplitFloor, {{5, 6, White}}),
         Verdict::Unsolvable},
        // (1, 0) is reached from (0, 0), which it walls in, and down column 1,
        // which it does not; (2, 1) can only be turned after it, against (2, 0).
        {"one landing from two cells, only one of them walled in by it",
         {{0, 1, White}, {2, 0, Black}, {3, 0, White}, {2, 1, Black}},
         Verdict::Solved,
         2},
        // The corner first, from column 1; then the gap from above, then (7, 5).
        {"the split floor and the walled-in corner together",
         With(SplitFloor, {{0, 1, White}, {2, 0, Black}, {3, 0, White}}),
         Verdict::Solved,
         3},
        {"nothing left to turn: the only white is diagonal to the black", {{5, 5, Black}, {4, 4, White}},
         Verdict::LostAtStart},
        // Turned once from (4, 3), it needs a white on the far side of a
        // second landing: (3, 4) against (5, 4).
        {"an armoured block turned from two sides", {{4, 4, HardBlack}, {4, 5, White}, {5, 4, White}},
         Verdict::Solved,
         2},
        // The first shot's block stays at (1, 0) and closes (1, 1) from (1, 2).
        {"a shot's block closes the next run", {{2, 0, Black}, {3, 0, White}, {1, 1, Black}}, Verdict::Solved, 2},
    };
    for (const Case& c : cases) {
        const std::vector<Piece> pieces = Stage(c.blocks);
        const Solution solution = StageSolver::Solve(pieces);
        EXPECT_EQ(solution.verdict, c.verdict) << c.what << ": " << solution.reason;
        if (c.verdict == Verdict::Solved) {
            EXPECT_EQ(solution.shots.size(), c.shots) << c.what;
            ExpectPlaysOut(pieces, 0, solution, c.what);
        }
        // The hand's answer is the plain search's too.
        ExpectAgrees(pieces);
    }
}

// Random stages of four sorts, so that the cases that matter come often: a
// small room walled in white (and some black, and a gap or two) with blocks
// inside, where nearly every shot that stays splits the floor or walls the
// player in; a dense corner; a pocket by a landing; and lines of black closed
// by white spread wider, where runs end at the field's edges.
std::vector<Piece> RandomStage(std::mt19937& random)
{
    const auto roll = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Kinds kinds{};
    std::vector<Piece> pieces;
    const auto place = [&](const MapPosition& cell, int kind) {
        if (!Field::Inside(cell.x, cell.y, cell.z) || IndexOf(cell) == 0 ||
            kinds[static_cast<std::size_t>(IndexOf(cell))] != Empty)
            return;
        kinds[static_cast<std::size_t>(IndexOf(cell))] = static_cast<std::int8_t>(kind);
        pieces.push_back({cell, kind, false});
    };
    const auto anyKind = [&roll]() {
        const int k = roll(0, 19);
        return k < 8 ? White : k < 17 ? Black : HardBlack;
    };
    const int sort = roll(0, 3);
    if (sort == 0) {
        const int width = roll(3, 5);
        const int depth = roll(3, 5);
        for (int i = 0; i <= width + depth; ++i) {
            const MapPosition wall = i <= depth ? MapPosition{width, 0, i} : MapPosition{i - depth - 1, 0, depth};
            const int k = roll(0, 19);
            if (k >= 2)
                place(wall, k < 16 ? White : Black);
        }
        for (int n = roll(2, 6); n > 0; --n)
            place({roll(0, width - 1), 0, roll(0, depth - 1)}, anyKind());
    } else if (sort == 1) {
        for (int n = roll(4, 9); n > 0; --n)
            place({roll(0, 3), 0, roll(0, 3)}, anyKind());
    } else if (sort == 2) {
        // A pocket with one way out, where its shot stops against a black
        // closed by white, and where a shot along the cross line stops too:
        // one landing, fired from a cell it walls in and from one it does not.
        const MapPosition way{roll(1, 6), 0, roll(1, 6)};
        const int out = roll(0, 3);
        const int across = out < 2 ? roll(2, 3) : roll(0, 1);
        const MapPosition pocket = NextCell(way, out ^ 1);
        place(NextCell(way, out), roll(0, 3) == 0 ? HardBlack : Black);
        place(NextCell(NextCell(way, out), out), White);
        place(NextCell(way, across), White);
        place(NextCell(pocket, out ^ 1), White);
        place(NextCell(pocket, across), White);
        place(NextCell(pocket, across ^ 1), White);
        for (int n = roll(1, 4); n > 0; --n)
            place({roll(0, 7), 0, roll(0, 7)}, anyKind());
    } else {
        for (int lines = roll(1, 3); lines > 0; --lines) {
            MapPosition cell{roll(0, 7), 0, roll(0, 7)};
            const int direction = roll(0, 3);
            for (int blacks = roll(1, 2); blacks > 0; --blacks) {
                place(cell, roll(0, 4) == 0 ? HardBlack : Black);
                cell = NextCell(cell, direction);
            }
            place(cell, White);
        }
        for (int whites = roll(0, 4); whites > 0; --whites)
            place({roll(0, 7), 0, roll(0, 7)}, White);
    }
    return pieces;
}

TEST(SolverAnswers, AgreeWithAPlainSearchOverEveryCellOnRandomStages)
{
    std::mt19937 random(20240611);
    int solved = 0;
    int longest = 0;
    for (int round = 0; round < 300; ++round) {
        const std::vector<Piece> pieces = RandomStage(random);
        const std::optional<int> fewest = ExpectAgrees(pieces);
        solved += fewest.has_value();
        longest = std::max(longest, fewest.value_or(0));

        // And from a free cell chosen at random, as a hint asks in play.
        const Kinds kinds = KindsOf(pieces);
        int player = std::uniform_int_distribution<int>(0, Cells - 1)(random);
        while (kinds[static_cast<std::size_t>(player)] != Empty)
            player = (player + 1) % Cells;
        ExpectAgreesFrom(pieces, player);
        if (HasFailure())
            return;
    }
    // The boards must reach the cases that matter, not only lost starts.
    EXPECT_GE(solved, 40);
    EXPECT_GE(longest, 3);
}

// One shot on, the solver's positions are the plain rules' own: the board
// after every useful shot from anywhere the player can walk that neither
// loses nor clears... or clears, and the floor the player then stands on.
// Its regions, its shots grouped by landing and its walled-in test per shot
// are checked here directly, whether or not they change an answer.
TEST(SolverAnswers, EveryPositionOneShotLeadsToIsThePlainRulesOwnOnRandomStages)
{
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        const std::vector<Piece> pieces = RandomStage(random);
        const Kinds kinds = KindsOf(pieces);
        // Near the blocks, where the floor splits.
        std::uniform_int_distribution<int> near(0, 5);
        int player = IndexOf({near(random), 0, near(random)});
        while (kinds[static_cast<std::size_t>(player)] != Empty)
            player = (player + 1) % Cells;
        const std::string what = Describe(pieces, player);

        // Each board after a shot, with the lowest cell of the floor the player is left on.
        std::set<std::pair<std::string, int>> expected;
        for (const int cell : RegionOf(kinds, player)) {
            for (int direction = 0; direction < 4; ++direction) {
                const std::optional<Shot> shot = Fire(kinds, cell, direction);
                if (shot && (AllWhite(shot->after) || !Lost(shot->after, cell)))
                    expected.insert({Text(shot->after), RegionOf(shot->after, cell)[0]});
            }
        }

        PlayField field(pieces);
        const PlayField::Position start = field.Start(player);
        std::set<std::pair<std::string, int>> found;
        std::map<std::pair<std::string, int>, int> standsFor;
        for (const PlayField::Successor& successor : field.Successors(start)) {
            const Kinds after = KindsOf(pieces, successor.next);
            const std::optional<Shot> shot = Fire(kinds, successor.from, successor.direction);
            ASSERT_TRUE(shot && shot->after == after)
                << what << ": the shot from " << testing::PrintToString(CellAt(successor.from)) << " toward "
                << successor.direction << " does not lead there";
            EXPECT_EQ(successor.cleared, AllWhite(after)) << what;
            const std::vector<int> region = RegionOf(after, successor.from);
            EXPECT_TRUE(std::binary_search(region.begin(), region.end(), successor.next.player))
                << what << ": after the shot from " << testing::PrintToString(CellAt(successor.from))
                << " the player is put in " << testing::PrintToString(CellAt(successor.next.player));
            const std::pair<std::string, int> key{Text(after), region[0]};
            found.insert(key);
            // One floor, one position: the search must not see it twice.
            const auto at = standsFor.try_emplace(key, successor.next.player).first;
            EXPECT_EQ(at->second, successor.next.player) << what << ": one floor stood for by two cells";
        }
        EXPECT_EQ(found, expected) << what;
        if (HasFailure())
            return;
    }
}

// Played on at random, each position the search goes to is the one the
// rules' own Shoot gives for that shot, cleared or not as it says; and every
// shot Shoot says turns something over without losing is among them.
TEST(SolverAnswers, ItsNextPositionsAreTheRulesShotsOverRandomPlay)
{
    std::mt19937 random(31);
    int shots = 0;
    for (int round = 0; round < 300; ++round) {
        const std::vector<Piece> pieces = RandomStage(random);
        PlayField field(pieces);
        PlayField::Position position = field.Start(0);
        for (int depth = 0; depth < 6; ++depth) {
            field.Load(position, position.player);
            const std::vector<Piece> board = field.Pieces();
            std::set<std::string> expected;
            for (const int cell : field.Region(position.player)) {
                for (int direction = 0; direction < 4; ++direction) {
                    const ShotOutcome shot = Shoot({board, CellAt(cell), direction});
                    if (shot.fired && !shot.turned.empty() &&
                        (shot.standing.cleared || shot.standing.loss == LossReason::None))
                        expected.insert(Text(KindsOf(shot.next.pieces)));
                }
            }
            const std::vector<PlayField::Successor> successors = field.Successors(position);
            std::set<std::string> found;
            for (const PlayField::Successor& successor : successors) {
                const ShotOutcome shot = Shoot({board, CellAt(successor.from), successor.direction});
                const Kinds after = KindsOf(pieces, successor.next);
                ASSERT_EQ(Text(after), Text(KindsOf(shot.next.pieces))) << Describe(board, successor.from);
                EXPECT_EQ(successor.cleared, shot.standing.cleared) << Describe(board, successor.from);
                found.insert(Text(after));
                ++shots;
            }
            ASSERT_EQ(found, expected) << Describe(board, position.player);
            if (successors.empty())
                break;
            const auto& chosen = successors[std::uniform_int_distribution<std::size_t>(0, successors.size() - 1)(random)];
            if (chosen.cleared)
                break;
            position = chosen.next;
        }
    }
    EXPECT_GE(shots, 1000) << "the play must reach far enough to matter";
}

}  // namespace
