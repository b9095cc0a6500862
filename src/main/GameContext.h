#pragma once

#include <memory>
#include <string>

#include "app/SceneContext.h"
#include "app/SceneManager.h"
#include "app/Settings.h"
#include "platform/Application.h"
#include "render/GraphicsDevice.h"
#include "render/MeshCache.h"
#include "render/ShaderManager.h"
#include "render/TextureCache.h"

// Everything one run of the game shares, made in the order of its members and
// released in the reverse, in this one destructor: the scene (with its sounds
// and blocks) first, then the settings, the effects and targets, the models and images while
// the GL context still exists, the device, and last the application with its
// window, context and sound output. The game, the editor, the harness, the
// benches and the tests all build one; nothing reaches for a global.
class GameContext {
public:
    GameContext();
    ~GameContext();
    GameContext(const GameContext&) = delete;
    GameContext& operator=(const GameContext&) = delete;

    // Opens the window (none when withWindow is false), asks the full-screen
    // question or takes its answer, and starts the device. False with the
    // reason in error; a device that cannot start says so in its boxes first.
    bool Start(bool withWindow, std::string& error);
    // The effects and full-screen targets, built on first use, as the first
    // scene that draws a model asks for them (a compile error shows then).
    ShaderManager& Shaders();
    RenderContext Render() { return {device, textures, meshes, Shaders()}; }
    // What a scene is built with.
    SceneContext ForScenes() { return {application, Render(), scenes, settings}; }

    Application application;
    GraphicsDevice device;
    TextureCache textures;
    MeshCache meshes;
    Settings settings;

private:
    std::unique_ptr<ShaderManager> shaders;

public:
    // Last, so the scene goes first.
    SceneManager scenes;
};
