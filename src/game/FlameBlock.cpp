#include "game/FlameBlock.h"

#include "game/FieldGeometry.h"
#include "game/FlightState.h"
#include "game/Player.h"
#include "game/StageGrid.h"
#include "render/MeshCache.h"
#include "render/ShaderManager.h"

namespace {

const char* const Model = "Resource/Data/FlameBlock/Model.x";

// From the player's centre to the far side of the next cell, less a unit.
constexpr float Reach = 24.0f + 50.0f;

}  // namespace

MapPosition LaunchCell(const Vector3& p, int facing)
{
    MapPosition cell{Field::CellOf(p.x), Field::CellOf(p.y), Field::CellOf(p.z)};
    switch (facing) {
    case Direction::PlusZ:
        cell.z = Field::CellOf(p.z + Reach);
        break;
    case Direction::MinusZ:
        cell.z = Field::FloorCellOf(p.z - Reach);
        break;
    case Direction::MinusX:
        cell.x = Field::FloorCellOf(p.x - Reach);
        break;
    default:
        cell.x = Field::CellOf(p.x + Reach);
        break;
    }
    return cell;
}

bool CanLaunch(const StageGrid& grid, const MapPosition& cell)
{
    return Field::Inside(cell.x, cell.y, cell.z) && grid.CellAt(cell) == BlockKind::Empty;
}

void FlameBlock::Update(const StageGrid& grid, Player& player, BlockList& blocks)
{
    visible = player.state == PlayerState::Charging || player.state == PlayerState::Firing ? 1 : 0;

    FlightState& flight = FlightState::Instance();
    const MapPosition cell = LaunchCell(player.transform.position, player.facing);
    if (!CanLaunch(grid, cell)) {
        visible = 0;
    } else {
        flight.launchCell = cell;
        transform.position = {Field::Centre(cell.x), Field::Centre(cell.y), Field::Centre(cell.z)};
    }

    if (visible == 1 && player.state == PlayerState::Firing) {
        ++player.score;
        visible = 0;
        flight.direction = player.facing;
        flight.velocity = FlightVelocity(player.facing);
        auto shot = std::make_shared<Block>(flight.launchCell, BlockKind::White);
        shot->launched = 1;
        shot->state = BlockState::Moving;
        blocks.push_back(std::move(shot));
        flight.inFlight = true;
        player.state = PlayerState::Idle;
    }
    transform.UpdateWorld();
}

void FlameBlock::Draw() const
{
    if (visible != 1)
        return;
    ModelShader& shader = ShaderManager::Instance().modelShader;
    shader.SetWorld(transform.world);
    shader.DrawGlow(MeshCache::Instance().Get(Model), 1.0f);
}
