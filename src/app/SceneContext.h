#pragma once

#include "render/RenderContext.h"

class Application;
class SceneManager;
struct Settings;

// What a scene works with, handed to it when it is built: the application
// (keys, message boxes, sound output), what drawing takes, the scene manager
// that carries the chosen stage from scene to scene, and the player's settings.
struct SceneContext {
    Application& application;
    RenderContext render;
    SceneManager& scenes;
    Settings& settings;
};
