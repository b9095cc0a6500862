#include "game/PlayBoard.h"

#include <algorithm>

#include "game/BoardPieces.h"
#include "game/FlipBatch.h"
#include "rules/Field.h"
#include "rules/Shots.h"

PlayBoard::PlayBoard(GraphicsDevice& device) : flips(std::make_shared<FlipBatch>(device)) {}

PlayBoard::~PlayBoard() = default;

BoardPosition PlayBoard::Position() const
{
    return {PiecesOf(blocks), Field::CellOf(player.transform.position), player.facing, player.score};
}

bool PlayBoard::AtRest() const
{
    return !flight.inFlight && !flight.landed && flips->IsEmpty();
}

std::optional<AimPreview> PlayBoard::Aim() const
{
    if (player.state != PlayerState::Charging || !AtRest())
        return std::nullopt;
    const MapPosition launch = LaunchCell(player.transform.position, player.facing);
    if (!CanLaunch(grid, launch))
        return std::nullopt;
    const MapPosition landing = LandingCell(grid, launch, player.facing);
    return AimPreview{landing, TurnOver(grid, landing)};
}

void PlayBoard::RebuildGrid()
{
    ::RebuildGrid(grid, blocks, player.transform.position);
}

void PlayBoard::Lay(const BoardPosition& position, const PlayerPose& pose)
{
    blocks.resize(std::min(blocks.size(), position.pieces.size()));
    while (blocks.size() < position.pieces.size()) {
        const Piece& shot = position.pieces[blocks.size()];
        blocks.push_back(std::make_shared<Block>(shot.cell, shot.kind));
    }
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Piece& piece = position.pieces[i];
        // A stage's block that starts launched is never on the rules' board.
        if (piece.launched)
            continue;
        Block& block = *blocks[i];
        block.kind = piece.kind;
        block.launched = 0;
        block.state = BlockState::Resting;
        block.transform.position = Field::Centre(piece.cell);
        const bool turned = i < startKinds.size() && piece.kind != startKinds[i];
        block.transform.rotation = turned ? FlipBatch::TurnedRotation() : Matrix::Identity();
        block.transform.UpdateWorld();
        block.mapCell = piece.cell;
    }
    player.Restore(pose);
    player.score = position.shots;
    flight = FlightState{};
    shardsFlying = false;
    for (CellShard& shard : shards)
        shard.visible = false;
    flame.visible = false;
    RebuildGrid();
}
