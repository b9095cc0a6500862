#pragma once

class BaseScene;
class JsonWriter;
class SceneManager;

// Writes the scene's own state under the key of its name (app/SceneId.h), for
// the scenes that report one.
void WriteSceneTrace(const BaseScene& scene, const SceneManager& scenes, JsonWriter& json);
