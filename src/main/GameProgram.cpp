#include "main/GameProgram.h"

#include "game/GameRehearsal.h"
#include "main/FrameLoop.h"
#include "main/PlayerSettings.h"
#include "platform/AudioDevice.h"
#include "main/SceneTable.h"

bool GameProgram::Start(const Options& startOptions, std::string& error)
{
    options = startOptions;
    Application& application = context.application;
    application.SetLanguage(LanguageFromEnvironment());
    if (options.fullScreen)
        application.AnswerFullScreen(*options.fullScreen);
    context.settings = options.settings;
    application.escapeQuits = !options.settings.assists;
    application.Audio().SetLevels(options.settings.musicLevel, options.settings.effectsLevel);
    if (!context.Start(!options.headless, error))
        return false;
    if (!options.fullScreen && options.settings.assists)
        KeepDisplayAnswer(options.program, context.settings, application.fullScreen);
    application.ShowWindow();
    context.scenes.SetFactory([this](SceneId id) { return MakeScene(id, context.ForScenes()); });
    return true;
}

void GameProgram::Run(FrameObserver* observer, bool paced)
{
    SceneManager& scenes = context.scenes;
    scenes.stage.custom.files = options.stageFiles;
    scenes.stage.custom.boardText = options.stageText;
    scenes.RequestChange(scenes.stage.custom.Active() ? SceneId::Game : options.firstScene);
    scenes.ChangeScene(scenes.nextSceneId);
    scenes.changePending = false;

    FrameLoop loop(context, clock, observer, paced);
    // Without a window nothing compiles, and the rehearsal would only cost time.
    if (!options.headless)
        loop.afterFirstFrame = [this] { RehearseGameFrames(context.Render(), context.scenes.stage.group); };
    loop.Run();
}
