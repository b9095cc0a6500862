#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "math/Vector3.h"
#include "rules/MapPosition.h"
#include "rules/Piece.h"
#include "rules/StageGrid.h"

// A stage's pieces and grid, set to any position of a search. Shots are fired
// and resolved with the game's own rules: where a shot is launched and lands,
// which runs it turns over, whether it dissolves, and whether the player is
// then lost.
class PlayField {
public:
    static constexpr int Cells = 100;

    // A position: the stage's blocks' kinds in list order, the bottom-layer
    // cells holding a shot that stayed (always White), and a cell of the
    // player's region. The player walks freely, so any cell of a region stands
    // for all of it.
    struct Position {
        std::vector<std::uint8_t> kinds;
        std::bitset<Cells> shots;
        int player = 0;
    };

    // A position as the search keeps it, whatever the number of blocks: two
    // bits for what stands in each bottom-layer cell (blocks above it never
    // turn over), then the player's cell. Equal for positions the player
    // cannot tell apart once it has walked.
    static constexpr std::size_t PackedBytes = Cells / 4 + 1;
    using Packed = std::array<std::uint8_t, PackedBytes>;
    Packed Pack(const Position& position) const;
    Position Unpack(const Packed& packed) const;
    // The kind the block at index of the stage's list has in packed.
    int KindIn(const Packed& packed, std::size_t index) const;

    // What one shot does.
    struct Outcome {
        MapPosition landing;
        // The blocks turned over; 0 when the shot dissolved.
        int turned = 0;
        bool cleared = false;
        bool lost = false;
        // The position after it, the player where it fired from.
        Position next;
    };

    explicit PlayField(std::vector<Piece> stagePieces);

    // The position the stage starts in, loaded: the player in cell, (0, 0, 0)
    // at a stage's start.
    Position Start(int cell = 0);
    // Sets the blocks and grid to position, the player in cell.
    void Load(const Position& position, int cell);

    // The cells the player can walk to from cell, the lowest first.
    std::vector<int> Region(int cell) const;
    // The shortest walk from cell to target, as Direction codes; empty when they are the same cell.
    std::vector<int> Walk(int cell, int target) const;
    // The shot from cell toward direction, resolved to the end of its turning
    // over; nothing when its launch cell is not free. The field is left as
    // position, loaded, with the player in cell.
    std::optional<Outcome> Fire(const Position& position, int cell, int direction);

    // A position one shot leads to, and the shot.
    struct Successor {
        Position next;
        int from = 0;
        int direction = 0;
        bool cleared = false;
    };
    // Every position one shot that turns something over leads to from
    // position without losing the stage (a clear counts even where the
    // player would be lost). Shots that land in one cell are resolved once.
    // The field is left as position, loaded.
    std::vector<Successor> Successors(const Position& position);

    const std::vector<Piece>& Pieces() const { return pieces; }
    const StageGrid& Grid() const { return grid; }

    static MapPosition CellAt(int cell) { return {cell / 10, 0, cell % 10}; }
    static int IndexOf(const MapPosition& cell) { return cell.x * 10 + cell.z; }
    static Vector3 Centre(int cell);

private:
    // A shot's effect on the board: the kinds it turns and the cell it stays
    // in; false when it turns nothing over and dissolves.
    bool Resolve(const Position& position, const MapPosition& landing, Position& next, int& turned);
    // The cells the player can walk to from cell.
    std::bitset<Cells> Flood(int cell) const;
    // The lowest cell of cell's region, remembered in labels for every cell of it.
    int LowestOfRegion(int cell, std::array<int, Cells>& labels) const;
    bool AllWhite() const;
    void Arrange(const Position& position);

    // The stage as given; a position's kinds replace its pieces' own.
    std::vector<Piece> stage;
    // The stage's block that the grid shows in each bottom-layer cell, or -1.
    // The others (above it, in flight, hidden by a later block in their cell)
    // are never in a run, so they keep their kinds.
    std::array<int, Cells> shown;
    // The stage's pieces at the loaded position, then its shots that stayed.
    std::vector<Piece> pieces;
    StageGrid grid;
};
