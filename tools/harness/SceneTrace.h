#pragma once

#include "app/SceneId.h"

class BaseScene;
class JsonWriter;
class SceneManager;

// The trace name of a scene: "title", "select", "game" or "edit".
const char* SceneName(SceneId id);

// Writes the scene's own state under the key of its name, for the scenes that
// report one.
void WriteSceneTrace(const BaseScene& scene, const SceneManager& scenes, JsonWriter& json);
