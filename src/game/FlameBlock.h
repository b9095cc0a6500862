#pragma once

#include "game/Block.h"
#include "render/Transform.h"

class Player;
class StageGrid;
struct RenderContext;

// The launch marker: the free cell in front of the player where a shot will
// appear, shown while the player charges. It also fires the shot.
class FlameBlock {
public:
    // Finds the launch cell; when the player is Firing and the cell is free,
    // fires: counts the shot and returns the new white block, to be set flying.
    std::shared_ptr<Block> Update(const StageGrid& grid, Player& player);
    // The marker, glowing at full strength, while visible.
    void Draw(const RenderContext& render) const;

    // The position is the launch cell's centre.
    Transform transform;
    // While a shot can be fired from here.
    bool visible = false;

private:
    // The last free cell found in front of the player.
    MapPosition launchCell;
};
