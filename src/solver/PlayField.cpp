#include "solver/PlayField.h"

#include <algorithm>
#include <queue>

#include "game/FieldGeometry.h"
#include "game/FlameBlock.h"
#include "game/FlightState.h"
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
    std::string key(kinds.size() + (Cells + 7) / 8 + 1, '\0');
    std::copy(kinds.begin(), kinds.end(), key.begin());
    for (int cell = 0; cell < Cells; ++cell) {
        if (shots[static_cast<std::size_t>(cell)])
            key[kinds.size() + static_cast<std::size_t>(cell / 8)] |= static_cast<char>(1 << (cell % 8));
    }
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

std::vector<int> PlayField::Region(int cell) const
{
    std::vector<int> region;
    std::bitset<Cells> seen;
    std::vector<int> open = {cell};
    seen.set(static_cast<std::size_t>(cell));
    while (!open.empty()) {
        const int at = open.back();
        open.pop_back();
        region.push_back(at);
        for (int direction = 0; direction < Directions; ++direction) {
            const MapPosition next = NextCell(CellAt(at), direction);
            if (!Walkable(grid, next) || seen[static_cast<std::size_t>(IndexOf(next))])
                continue;
            seen.set(static_cast<std::size_t>(IndexOf(next)));
            open.push_back(IndexOf(next));
        }
    }
    std::sort(region.begin(), region.end());
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
    const bool found = FindReversals(grid, blocks, landing, reverse);
    FlightState::Instance().reversalFound = false;
    for (const ReverseEntry& entry : reverse.entries) {
        const std::shared_ptr<Block> block = entry.block.lock();
        const int index = grid.IndexAt(block->mapCell.x, block->mapCell.y, block->mapCell.z);
        auto& kind = next.kinds[static_cast<std::size_t>(index)];
        kind = static_cast<std::uint8_t>(BlockKind::TurnedOver(kind));
        ++turned;
    }
    reverse.Clear();
    if (found)
        next.shots.set(static_cast<std::size_t>(IndexOf(landing)));
    return found;
}

bool PlayField::AllWhite() const
{
    return std::all_of(blocks.begin(), blocks.end(),
                       [](const std::shared_ptr<Block>& block) { return block->kind == BlockKind::White; });
}

std::array<int, PlayField::Cells> PlayField::RegionLabels() const
{
    std::array<int, Cells> labels;
    labels.fill(-1);
    std::vector<int> open;
    for (int first = 0; first < Cells; ++first) {
        if (labels[static_cast<std::size_t>(first)] >= 0 || !Walkable(grid, CellAt(first)))
            continue;
        labels[static_cast<std::size_t>(first)] = first;
        open.assign(1, first);
        while (!open.empty()) {
            const int at = open.back();
            open.pop_back();
            for (int direction = 0; direction < Directions; ++direction) {
                const MapPosition next = NextCell(CellAt(at), direction);
                if (!Walkable(grid, next) || labels[static_cast<std::size_t>(IndexOf(next))] >= 0)
                    continue;
                labels[static_cast<std::size_t>(IndexOf(next))] = first;
                open.push_back(IndexOf(next));
            }
        }
    }
    return labels;
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
    outcome.next.player = RegionLabels()[static_cast<std::size_t>(cell)];
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
    std::vector<Shot> shots;
    for (const int cell : Region(position.player)) {
        const Vector3 player = Centre(cell);
        grid.PlacePlayer(player);
        for (int direction = 0; direction < Directions; ++direction) {
            const MapPosition launch = LaunchCell(player, direction);
            if (CanLaunch(grid, launch))
                shots.push_back({IndexOf(LandingCell(grid, launch, direction)), cell, direction});
        }
    }
    std::stable_sort(shots.begin(), shots.end(), [](const Shot& a, const Shot& b) { return a.landing < b.landing; });

    std::vector<Successor> successors;
    for (std::size_t first = 0; first < shots.size();) {
        std::size_t end = first;
        while (end < shots.size() && shots[end].landing == shots[first].landing)
            ++end;
        Position next;
        int turned = 0;
        grid.PlacePlayer(Centre(shots[first].from));
        if (Resolve(position, CellAt(shots[first].landing), next, turned)) {
            // The end of the turning over: the same board whichever cell the
            // shot came from; only whether the player is walled in differs.
            Load(next, shots[first].from);
            const bool useful = AnyUsefulTarget(grid, RebuildTargets(blocks, grid));
            const bool cleared = AllWhite();
            const std::array<int, Cells> labels = RegionLabels();
            for (std::size_t i = first; i < end; ++i) {
                const Vector3 player = Centre(shots[i].from);
                grid.PlacePlayer(player);
                if (!cleared && (!useful || IsWalledIn(grid, player)))
                    continue;
                next.player = labels[static_cast<std::size_t>(shots[i].from)];
                successors.push_back({next, shots[i].from, shots[i].direction, cleared});
            }
            Load(position, position.player);
        }
        first = end;
    }
    return successors;
}
