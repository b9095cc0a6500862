#include "solver/PlayField.h"

#include <algorithm>
#include <queue>

#include "game/FieldGeometry.h"
#include "game/FlameBlock.h"
#include "game/MoveSearch.h"

namespace {

constexpr int Directions = 4;

bool Walkable(const StageGrid& grid, const MapPosition& cell)
{
    // What the player's step asks of the cell ahead: no block (empty, or its own mark).
    return Field::Inside(cell.x, cell.y, cell.z) && grid.CellAt(cell) <= BlockKind::Empty;
}

}  // namespace

std::string PlayField::Position::Key() const
{
    // One byte a kind, a bit a shot cell, a byte for the player.
    constexpr std::size_t ShotBytes = (Cells + 7) / 8;
    std::string key(kinds.size() + ShotBytes + 1, '\0');
    std::copy(kinds.begin(), kinds.end(), key.begin());
    const std::bitset<Cells> mask(0xFF);
    for (std::size_t byte = 0; byte < ShotBytes; ++byte)
        key[kinds.size() + byte] = static_cast<char>(((shots >> (8 * byte)) & mask).to_ulong());
    key.back() = static_cast<char>(player);
    return key;
}

PlayField::PlayField(const BlockList& stageBlocks)
{
    stage.reserve(stageBlocks.size());
    for (const auto& block : stageBlocks) {
        auto copy = std::make_shared<Block>(block->mapCell, block->kind);
        copy->launched = block->launched;
        copy->state = block->state;
        startKinds.push_back(static_cast<std::uint8_t>(copy->kind));
        stage.push_back(std::move(copy));
    }
    for (int cell = 0; cell < Cells; ++cell)
        shotBlocks[static_cast<std::size_t>(cell)] = std::make_shared<Block>(CellAt(cell), BlockKind::White);
}

Vector3 PlayField::Centre(int cell)
{
    const MapPosition at = CellAt(cell);
    return {Field::Centre(at.x), Field::Centre(at.y), Field::Centre(at.z)};
}

PlayField::Position PlayField::Start()
{
    Position start;
    start.kinds = startKinds;
    Load(start, 0);
    start.player = Region(0).front();
    return start;
}

void PlayField::Arrange(const Position& position)
{
    blocks = stage;
    for (std::size_t i = 0; i < stage.size(); ++i)
        stage[i]->kind = position.kinds[i];
    for (int cell = 0; cell < Cells; ++cell) {
        if (position.shots[static_cast<std::size_t>(cell)])
            blocks.push_back(shotBlocks[static_cast<std::size_t>(cell)]);
    }
}

void PlayField::Load(const Position& position, int cell)
{
    Arrange(position);
    grid.Rebuild(blocks, Centre(cell));
}

std::bitset<PlayField::Cells> PlayField::Flood(int cell) const
{
    std::bitset<Cells> seen;
    std::array<int, Cells> open;
    int count = 0;
    open[static_cast<std::size_t>(count++)] = cell;
    seen.set(static_cast<std::size_t>(cell));
    const auto visit = [&](int x, int z) {
        const int at = x * 10 + z;
        if (x < 0 || x >= 10 || z < 0 || z >= 10 || seen[static_cast<std::size_t>(at)] ||
            grid.CellAt(x, 0, z) > BlockKind::Empty)
            return;
        seen.set(static_cast<std::size_t>(at));
        open[static_cast<std::size_t>(count++)] = at;
    };
    while (count > 0) {
        const int at = open[static_cast<std::size_t>(--count)];
        const int x = at / 10;
        const int z = at % 10;
        visit(x, z + 1);
        visit(x, z - 1);
        visit(x - 1, z);
        visit(x + 1, z);
    }
    return seen;
}

std::vector<int> PlayField::Region(int cell) const
{
    const std::bitset<Cells> seen = Flood(cell);
    std::vector<int> region;
    region.reserve(seen.count());
    for (int at = 0; at < Cells; ++at) {
        if (seen[static_cast<std::size_t>(at)])
            region.push_back(at);
    }
    return region;
}

std::vector<int> PlayField::Walk(int cell, int target) const
{
    std::array<int, Cells> cameBy;
    cameBy.fill(-1);
    std::queue<int> open;
    open.push(cell);
    cameBy[static_cast<std::size_t>(cell)] = Directions;
    while (!open.empty() && cameBy[static_cast<std::size_t>(target)] < 0) {
        const int at = open.front();
        open.pop();
        for (int direction = 0; direction < Directions; ++direction) {
            const MapPosition next = NextCell(CellAt(at), direction);
            if (!Walkable(grid, next) || cameBy[static_cast<std::size_t>(IndexOf(next))] >= 0)
                continue;
            cameBy[static_cast<std::size_t>(IndexOf(next))] = direction;
            open.push(IndexOf(next));
        }
    }
    std::vector<int> walk;
    if (cameBy[static_cast<std::size_t>(target)] < 0)
        return walk;
    // Back from the target: each step undone by the opposite direction.
    constexpr int Opposite[Directions] = {Direction::MinusZ, Direction::PlusZ, Direction::PlusX, Direction::MinusX};
    for (int at = target; at != cell;) {
        const int direction = cameBy[static_cast<std::size_t>(at)];
        walk.push_back(direction);
        at = IndexOf(NextCell(CellAt(at), Opposite[direction]));
    }
    std::reverse(walk.begin(), walk.end());
    return walk;
}

bool PlayField::Resolve(const Position& position, const MapPosition& landing, Position& next, int& turned)
{
    next = position;
    turned = 0;
    const std::vector<MapPosition> cells = ClosedRuns(grid, landing);
    for (const MapPosition& cell : cells) {
        // Shots that stayed are White and never in a run: every index is the stage's.
        const int index = grid.IndexAt(cell.x, cell.y, cell.z);
        auto& kind = next.kinds[static_cast<std::size_t>(index)];
        if (kind != BlockKind::Black && kind != BlockKind::HardBlack)
            continue;
        kind = static_cast<std::uint8_t>(BlockKind::TurnedOver(kind));
        ++turned;
    }
    if (!cells.empty())
        next.shots.set(static_cast<std::size_t>(IndexOf(landing)));
    return !cells.empty();
}

bool PlayField::AllWhite() const
{
    return std::all_of(blocks.begin(), blocks.end(),
                       [](const std::shared_ptr<Block>& block) { return block->kind == BlockKind::White; });
}

int PlayField::LowestOfRegion(int cell, std::array<int, Cells>& labels) const
{
    if (labels[static_cast<std::size_t>(cell)] >= 0)
        return labels[static_cast<std::size_t>(cell)];
    const std::bitset<Cells> region = Flood(cell);
    int lowest = -1;
    for (int at = 0; at < Cells; ++at) {
        if (!region[static_cast<std::size_t>(at)])
            continue;
        if (lowest < 0)
            lowest = at;
        labels[static_cast<std::size_t>(at)] = lowest;
    }
    return lowest;
}

std::optional<PlayField::Outcome> PlayField::Fire(const Position& position, int cell, int direction)
{
    const Vector3 player = Centre(cell);
    grid.PlacePlayer(player);
    const MapPosition launch = LaunchCell(player, direction);
    if (!CanLaunch(grid, launch))
        return std::nullopt;

    Outcome outcome;
    outcome.landing = LandingCell(grid, launch, direction);
    // Nothing turned over: the shot dissolves and the field stays as it was.
    if (!Resolve(position, outcome.landing, outcome.next, outcome.turned)) {
        outcome.next.player = position.player;
        return outcome;
    }
    // The end of the turning over, as the Game sees it.
    Load(outcome.next, cell);
    const std::vector<MapPosition> targets = RebuildTargets(blocks, grid);
    outcome.cleared = AllWhite();
    outcome.lost = !HasMove(grid, player, targets);
    outcome.next.player = Region(cell).front();
    Load(position, cell);
    return outcome;
}

std::vector<PlayField::Successor> PlayField::Successors(const Position& position)
{
    struct Shot {
        int landing;
        int from;
        int direction;
    };
    // The shots by the cell they land in.
    std::array<std::vector<Shot>, Cells> byLanding;
    for (const int cell : Region(position.player)) {
        const Vector3 player = Centre(cell);
        grid.PlacePlayer(player);
        for (int direction = 0; direction < Directions; ++direction) {
            const MapPosition launch = LaunchCell(player, direction);
            if (!CanLaunch(grid, launch))
                continue;
            const int landing = IndexOf(LandingCell(grid, launch, direction));
            byLanding[static_cast<std::size_t>(landing)].push_back({landing, cell, direction});
        }
    }

    std::vector<Successor> successors;
    for (const std::vector<Shot>& shots : byLanding) {
        if (shots.empty())
            continue;
        Position next;
        int turned = 0;
        grid.PlacePlayer(Centre(shots.front().from));
        if (!Resolve(position, CellAt(shots.front().landing), next, turned))
            continue;
        // The end of the turning over: the same board whichever cell the shot
        // came from; only whether the player is walled in differs.
        Load(next, shots.front().from);
        const bool useful = AnyUsefulTarget(grid, RebuildTargets(blocks, grid));
        const bool cleared = AllWhite();
        std::array<int, Cells> labels;
        labels.fill(-1);
        for (const Shot& shot : shots) {
            const Vector3 player = Centre(shot.from);
            grid.PlacePlayer(player);
            if (!cleared && (!useful || IsWalledIn(grid, player)))
                continue;
            next.player = LowestOfRegion(shot.from, labels);
            successors.push_back({next, shot.from, shot.direction, cleared});
        }
        Load(position, position.player);
    }
    return successors;
}
