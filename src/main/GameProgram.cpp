#include "main/GameProgram.h"

#include "app/SceneManager.h"
#include "main/FrameLoop.h"
#include "main/SceneTable.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "render/GraphicsDevice.h"
#include "render/MeshCache.h"
#include "render/ShaderManager.h"
#include "render/TextureCache.h"

namespace {
const char* const DeviceFailedText = "DirectX初期化失敗";
}

GameProgram::~GameProgram()
{
    Shutdown();
}

bool GameProgram::Start(const Options& startOptions, std::string& error)
{
    options = startOptions;
    Application& application = Application::Instance();
    application.SetLanguage(LanguageFromEnvironment());
    if (options.fullScreen)
        application.AnswerFullScreen(*options.fullScreen);
    if (!application.Create(!options.headless, error))
        return false;
    started = true;

    GraphicsDevice& device = GraphicsDevice::Instance();
    if (!device.Initialize(application.GetWindow(), application.fullScreen, error)) {
        application.ShowMessage({DeviceFailedText, "", MessageButtons::Ok, MessageIcon::None});
        return false;
    }
    device.SetDefaultStates();
    application.ShowWindow();
    SceneManager::Instance().SetFactory(MakeScene);
    return true;
}

void GameProgram::Run(FrameObserver* observer, bool paced)
{
    SceneManager& scenes = SceneManager::Instance();
    scenes.customStage = options.stageFile;
    scenes.nextSceneId = static_cast<int>(options.stageFile.empty() ? options.firstScene : SceneId::Game);
    scenes.changePending = true;
    scenes.ChangeScene(scenes.nextSceneId);
    scenes.changePending = false;

    FrameLoop loop(clock, observer, paced);
    loop.Run();
}

void GameProgram::Shutdown()
{
    if (!started)
        return;
    started = false;
    // Everything that holds GL objects goes while the context still exists, and
    // the scene's sounds before the device they play on.
    SceneManager::Instance().DestroyScene();
    Application::Instance().Audio().Close();
    ShaderManager::Reset();
    MeshCache::Reset();
    TextureCache::Reset();
    GraphicsDevice::Instance().Shutdown();
    Application::Instance().DestroyWindow();
}
