#include "main/FrameLoop.h"

#include "main/GameContext.h"
#include "platform/AudioDevice.h"

namespace {
constexpr std::uint32_t OpaqueWhite = 0xFFFFFFFF;
}

void RunFrame(GameContext& context)
{
    SceneManager& scenes = context.scenes;
    GraphicsDevice& device = context.device;
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
    if (scene)
        scene->Draw();
    device.Present();
}

FrameLoop::FrameLoop(GameContext& gameContext, Clock& clock, FrameObserver* frameObserver, bool pacedFrames)
    : context(gameContext), pacer(clock), observer(frameObserver), paced(pacedFrames)
{
}

void FrameLoop::Run()
{
    Application& application = context.application;
    pacer.Start();
    for (int frame = 0;; ++frame) {
        if (observer && !observer->BeforeFrame(frame))
            return;
        if (!application.PumpEvents())
            return;
        RunFrame(context);
        // The sound hardware mixes on a thread of its own, from music queues only the game refills.
        application.Audio().RefillStreams();
        if (observer && !observer->AfterFrame(frame))
            return;
        if (frame == 0 && afterFirstFrame)
            afterFirstFrame();
        if (paced)
            pacer.EndFrame();
    }
}
