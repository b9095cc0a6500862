#include "main/GameContext.h"

#include "platform/Messages.h"
#include "render/gl/GlBackEnd.h"

GameContext::GameContext() : textures(device), meshes(device, application) {}

GameContext::~GameContext()
{
    // The scene holds meshes, textures and sounds; it goes before all of them.
    scenes.changePending = false;
    scenes.DestroyScene();
}

bool GameContext::Start(bool withWindow, std::string& error)
{
    if (!application.Create(withWindow, error))
        return false;
    bool contextFailed = false;
    // The one place the program names its graphics API: a window draws through OpenGL 3.3.
    if (!device.Initialize(application.GetWindow(), GlBackEnd::Create, error, &contextFailed)) {
        if (contextFailed)
            application.ShowMessage(Message(MessageId::DeviceSetUpFailed));
        application.ShowMessage(Message(MessageId::GraphicsFailed));
        return false;
    }
    device.SetDefaultStates();
    return true;
}

ShaderManager& GameContext::Shaders()
{
    if (!shaders)
        shaders = std::make_unique<ShaderManager>(device, application);
    return *shaders;
}
