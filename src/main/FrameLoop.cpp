#include "main/FrameLoop.h"

#include "app/SceneManager.h"
#include "platform/Application.h"
#include "render/GraphicsDevice.h"

namespace {
constexpr std::uint32_t OpaqueWhite = 0xFFFFFFFF;
}

void RunFrame()
{
    SceneManager& scenes = SceneManager::Instance();
    GraphicsDevice& device = GraphicsDevice::Instance();
    BaseScene* scene = scenes.Current();

    if (scene && scene->leaving) {
        scene->UpdateFadeOut();
        scene->DrawFadeOut();
        if (scenes.changePending)
            scenes.ChangeScene(scenes.nextSceneId);
        return;
    }
    if (scene)
        scene->Update();
    device.Clear(true, true, OpaqueWhite, 1.0f);
    device.BeginScene();
    if (scene)
        scene->Draw();
    device.EndScene();
    device.Present();
}

FrameLoop::FrameLoop(Clock& clock, FrameObserver* frameObserver, bool pacedFrames)
    : pacer(clock), observer(frameObserver), paced(pacedFrames)
{
}

void FrameLoop::Run()
{
    Application& application = Application::Instance();
    pacer.Start();
    for (int frame = 0;; ++frame) {
        if (observer && !observer->BeforeFrame(frame))
            return;
        if (!application.PumpEvents())
            return;
        RunFrame();
        if (observer && !observer->AfterFrame(frame))
            return;
        if (paced)
            pacer.EndFrame();
    }
}
