#include "main/SceneTable.h"

#include "game/Game.h"
#include "scenes/Edit.h"
#include "scenes/Select.h"
#include "scenes/Title.h"

std::unique_ptr<BaseScene> MakeScene(SceneId id)
{
    switch (id) {
    case SceneId::Title:
        return std::make_unique<Title>();
    case SceneId::Game:
        return std::make_unique<Game>();
    case SceneId::Edit:
        return std::make_unique<Edit>();
    case SceneId::Select:
        return std::make_unique<Select>();
    }
    return nullptr;
}
