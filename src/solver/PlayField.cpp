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

std::optional<PlayField::Outcome> PlayField::Fire(const Position& position, int cell, int direction)
{
    const Vector3 player = Centre(cell);
    grid.PlacePlayer(player);
    const MapPosition launch = LaunchCell(player, direction);
    if (!CanLaunch(grid, launch))
        return std::nullopt;

    Outcome outcome;
    outcome.landing = LandingCell(grid, launch, direction);
    outcome.next = position;
    outcome.next.player = cell;
    const bool found = FindReversals(grid, blocks, outcome.landing, reverse);
    FlightState::Instance().reversalFound = false;
    // Nothing turned over: the shot dissolves and the field stays as it was.
    if (!found)
        return outcome;
    for (const ReverseEntry& entry : reverse.entries) {
        const std::shared_ptr<Block> block = entry.block.lock();
        const int index = grid.IndexAt(block->mapCell.x, block->mapCell.y, block->mapCell.z);
        auto& kind = outcome.next.kinds[static_cast<std::size_t>(index)];
        kind = static_cast<std::uint8_t>(BlockKind::TurnedOver(kind));
        ++outcome.turned;
    }
    reverse.Clear();
    outcome.next.shots.set(static_cast<std::size_t>(IndexOf(outcome.landing)));

    // The end of the turning over, as the Game sees it.
    Load(outcome.next, cell);
    const std::vector<MapPosition> targets = RebuildTargets(blocks, grid);
    outcome.cleared = std::all_of(blocks.begin(), blocks.end(),
                                  [](const std::shared_ptr<Block>& block) { return block->kind == BlockKind::White; });
    outcome.lost = !HasMove(grid, player, targets);
    if (!outcome.lost)
        outcome.next.player = Region(cell).front();
    Load(position, cell);
    return outcome;
}
