#include "main/SceneTable.h"

#include "game/Game.h"

std::unique_ptr<BaseScene> MakeScene(SceneId id)
{
    switch (id) {
    case SceneId::Game:
        return std::make_unique<Game>();
    default:
        return nullptr;
    }
}
