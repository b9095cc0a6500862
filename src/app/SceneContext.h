#pragma once

#include "render/RenderContext.h"

class Application;
class SceneManager;

// What a scene works with, handed to it when it is built: the application
// (keys, message boxes, sound output), what drawing takes, and the scene
// manager that carries the chosen stage from scene to scene.
struct SceneContext {
    Application& application;
    RenderContext render;
    SceneManager& scenes;
};
