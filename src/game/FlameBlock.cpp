#include "game/FlameBlock.h"

#include "assets/AssetFiles.h"
#include "game/Player.h"
#include "render/MeshCache.h"
#include "render/RenderContext.h"
#include "render/ShaderManager.h"
#include "rules/Field.h"
#include "rules/Shots.h"
#include "rules/StageGrid.h"

std::shared_ptr<Block> FlameBlock::Update(const StageGrid& grid, Player& player)
{
    visible = player.state == PlayerState::Charging || player.state == PlayerState::Firing;

    const MapPosition cell = LaunchCell(player.transform.position, player.facing);
    if (!CanLaunch(grid, cell)) {
        visible = false;
    } else {
        launchCell = cell;
        transform.position = Field::Centre(cell);
    }

    std::shared_ptr<Block> shot;
    if (visible && player.state == PlayerState::Firing) {
        ++player.score;
        visible = false;
        shot = std::make_shared<Block>(launchCell, BlockKind::White);
        shot->launched = 1;
        shot->state = BlockState::Moving;
        player.state = PlayerState::Idle;
    }
    transform.UpdateWorld();
    return shot;
}

void FlameBlock::Draw(const RenderContext& render) const
{
    if (!visible)
        return;
    ModelShader& shader = render.shaders.modelShader;
    shader.SetWorld(transform.world);
    shader.DrawGlow(render.meshes.Get(ModelFile::LaunchMarker), 1.0f);
}
