#include "SceneTrace.h"

#include "JsonWriter.h"
#include "app/BaseScene.h"

const char* SceneName(SceneId id)
{
    switch (id) {
    case SceneId::Title:
        return "title";
    case SceneId::Game:
        return "game";
    case SceneId::Edit:
        return "edit";
    case SceneId::Select:
        return "select";
    }
    return "unknown";
}

void WriteSceneTrace(const BaseScene&, JsonWriter&)
{
}
