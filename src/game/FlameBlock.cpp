#include "game/FlameBlock.h"

#include "game/FlightState.h"
#include "game/Player.h"
#include "render/MeshCache.h"
#include "render/RenderContext.h"
#include "render/ShaderManager.h"
#include "rules/Field.h"
#include "rules/Shots.h"
#include "rules/StageGrid.h"

namespace {

const char* const Model = "Resource/Data/FlameBlock/Model.x";

}  // namespace

void FlameBlock::Update(const StageGrid& grid, FlightState& flight, Player& player, BlockList& blocks)
{
    visible = player.state == PlayerState::Charging || player.state == PlayerState::Firing;

    const MapPosition cell = LaunchCell(player.transform.position, player.facing);
    if (!CanLaunch(grid, cell)) {
        visible = false;
    } else {
        flight.launchCell = cell;
        transform.position = Field::Centre(cell);
    }

    if (visible && player.state == PlayerState::Firing) {
        ++player.score;
        visible = false;
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

void FlameBlock::Draw(const RenderContext& render) const
{
    if (!visible)
        return;
    ModelShader& shader = render.shaders.modelShader;
    shader.SetWorld(transform.world);
    shader.DrawGlow(render.meshes.Get(Model), 1.0f);
}
