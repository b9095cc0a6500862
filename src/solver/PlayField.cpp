#include "solver/PlayField.h"

#include <algorithm>
#include <iterator>
#include <queue>

#include "rules/BlockKind.h"
#include "rules/BoardPosition.h"
#include "rules/Field.h"
#include "rules/Shots.h"
#include "rules/Targets.h"

namespace {

constexpr int Directions = 4;

bool Walkable(const StageGrid& grid, const MapPosition& cell)
{
    // What the player's step asks of the cell ahead: no block (empty, or its own mark).
    return Field::Inside(cell.x, cell.y, cell.z) && !BlockKind::IsBlock(grid.CellAt(cell));
}

}  // namespace

PlayField::PlayField(std::vector<Piece> stagePieces) : stage(std::move(stagePieces))
{
    shown.fill(-1);
    for (std::size_t i = 0; i < stage.size(); ++i) {
        const MapPosition& cell = stage[i].cell;
        if (!stage[i].launched && cell.y == 0 && Field::Inside(cell.x, cell.y, cell.z))
            shown[static_cast<std::size_t>(IndexOf(cell))] = static_cast<int>(i);
    }
}

namespace {

constexpr int BitsPerCell = 2;
constexpr int CellsPerByte = 8 / BitsPerCell;
constexpr std::uint8_t CellMask = (1 << BitsPerCell) - 1;
// A cell's bits hold what stands in it: nothing, or a block of any kind.
static_assert(std::size(BlockKind::Kinds) < (1 << BitsPerCell));

int CellKind(const PlayField::Packed& packed, int cell)
{
    const std::size_t byte = static_cast<std::size_t>(cell / CellsPerByte);
    return (packed[byte] >> (BitsPerCell * (cell % CellsPerByte))) & CellMask;
}

}  // namespace

PlayField::Packed PlayField::Pack(const Position& position) const
{
    Packed packed{};
    for (int cell = 0; cell < Cells; ++cell) {
        const int index = shown[static_cast<std::size_t>(cell)];
        const int kind = index >= 0                                    ? position.kinds[static_cast<std::size_t>(index)]
                         : position.shots[static_cast<std::size_t>(cell)] ? BlockKind::White
                                                                         : BlockKind::Empty;
        packed[static_cast<std::size_t>(cell / CellsPerByte)] |=
            static_cast<std::uint8_t>(kind << (BitsPerCell * (cell % CellsPerByte)));
    }
    packed.back() = static_cast<std::uint8_t>(position.player);
    return packed;
}

PlayField::Position PlayField::Unpack(const Packed& packed) const
{
    Position position;
    position.kinds.reserve(stage.size());
    for (const Piece& piece : stage)
        position.kinds.push_back(static_cast<std::uint8_t>(piece.kind));
    for (int cell = 0; cell < Cells; ++cell) {
        const int kind = CellKind(packed, cell);
        const int index = shown[static_cast<std::size_t>(cell)];
        if (index >= 0)
            position.kinds[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(kind);
        else if (kind != BlockKind::Empty)
            position.shots.set(static_cast<std::size_t>(cell));
    }
    position.player = packed.back();
    return position;
}

int PlayField::KindIn(const Packed& packed, std::size_t index) const
{
    const Piece& piece = stage[index];
    const bool isShown = piece.cell.y == 0 && Field::Inside(piece.cell.x, piece.cell.y, piece.cell.z) &&
                         shown[static_cast<std::size_t>(IndexOf(piece.cell))] == static_cast<int>(index);
    return isShown ? CellKind(packed, IndexOf(piece.cell)) : piece.kind;
}

Vector3 PlayField::Centre(int cell)
{
    return Field::Centre(CellAt(cell));
}

PlayField::Position PlayField::Start(int cell)
{
    Position start;
    for (const Piece& piece : stage)
        start.kinds.push_back(static_cast<std::uint8_t>(piece.kind));
    Load(start, cell);
    start.player = Region(cell).front();
    return start;
}

void PlayField::Arrange(const Position& position)
{
    pieces = stage;
    for (std::size_t i = 0; i < stage.size(); ++i)
        pieces[i].kind = position.kinds[i];
    for (int cell = 0; cell < Cells; ++cell) {
        if (position.shots[static_cast<std::size_t>(cell)])
            pieces.push_back({CellAt(cell), BlockKind::White, false});
    }
}

void PlayField::Load(const Position& position, int cell)
{
    Arrange(position);
    grid.Rebuild(pieces, CellAt(cell));
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
            BlockKind::IsBlock(grid.CellAt(x, 0, z)))
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
    const std::vector<TurnedPiece> turns = TurnOver(grid, landing);
    // Shots that stayed are White and never turn over: every index is the stage's.
    for (const TurnedPiece& piece : turns)
        next.kinds[static_cast<std::size_t>(piece.index)] = static_cast<std::uint8_t>(piece.becomes);
    turned = static_cast<int>(turns.size());
    if (!turns.empty())
        next.shots.set(static_cast<std::size_t>(IndexOf(landing)));
    return !turns.empty();
}

bool PlayField::AllWhite() const
{
    return std::all_of(pieces.begin(), pieces.end(), [](const Piece& piece) { return piece.kind == BlockKind::White; });
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
    Arrange(position);
    const ShotOutcome shot = Shoot({pieces, CellAt(cell), direction, 0});
    Load(position, cell);
    if (!shot.fired)
        return std::nullopt;

    Outcome outcome;
    outcome.landing = shot.landing;
    outcome.turned = static_cast<int>(shot.turned.size());
    outcome.next = position;
    // Nothing turned over: the shot dissolves and the field stays as it was.
    if (shot.turned.empty())
        return outcome;
    for (std::size_t i = 0; i < stage.size(); ++i)
        outcome.next.kinds[i] = static_cast<std::uint8_t>(shot.next.pieces[i].kind);
    outcome.next.shots.set(static_cast<std::size_t>(IndexOf(shot.landing)));
    outcome.cleared = shot.standing.cleared;
    outcome.lost = shot.standing.loss != LossReason::None;
    Load(outcome.next, cell);
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
        grid.PlacePlayer(CellAt(cell));
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
        grid.PlacePlayer(CellAt(shots.front().from));
        if (!Resolve(position, CellAt(shots.front().landing), next, turned))
            continue;
        // The end of the turning over: the same board whichever cell the shot
        // came from; only whether the player is walled in differs.
        Load(next, shots.front().from);
        const bool useful = AnyUsefulTarget(grid, RebuildTargets(pieces, grid));
        const bool cleared = AllWhite();
        std::array<int, Cells> labels;
        labels.fill(-1);
        for (const Shot& shot : shots) {
            grid.PlacePlayer(CellAt(shot.from));
            if (!cleared && (!useful || IsWalledIn(grid, CellAt(shot.from))))
                continue;
            next.player = LowestOfRegion(shot.from, labels);
            successors.push_back({next, shot.from, shot.direction, cleared});
        }
        Load(position, position.player);
    }
    return successors;
}
