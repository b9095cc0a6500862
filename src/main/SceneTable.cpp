#include "main/SceneTable.h"

#include "game/Game.h"
#include "scenes/Edit.h"
#include "scenes/Select.h"
#include "scenes/Title.h"

std::unique_ptr<BaseScene> MakeScene(SceneId id, const SceneContext& context)
{
    switch (id) {
    case SceneId::Title:
        return std::make_unique<Title>(context);
    case SceneId::Game:
        return std::make_unique<Game>(context);
    case SceneId::Edit:
        return std::make_unique<Edit>(context);
    case SceneId::Select:
        return std::make_unique<Select>(context);
    }
    return nullptr;
}
