// orb-harness: runs the real game without a person. See HarnessOptions.h and
// the README for the options, the key script and the trace.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "Harness.h"
#include "app/SceneManager.h"
#include "main/CommandLine.h"
#include "main/GameProgram.h"
#include "main/PlayerSettings.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "render/GraphicsDevice.h"

namespace {

int Fail(const std::string& reason)
{
    std::fprintf(stderr, "orb-harness: %s\n", reason.c_str());
    return 2;
}

// Paths on the command line are relative to where the harness was started,
// not to the data directory it runs the game in.
void MakeAbsolute(std::string& path)
{
    if (!path.empty())
        path = std::filesystem::absolute(path).string();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(HarnessUsage().c_str(), stdout);
        return 0;
    }
    HarnessOptions options;
    std::string error;
    if (!ParseHarnessOptions(arguments, ORB_RUNTIME_DIR, options, error)) {
        std::fputs(HarnessUsage().c_str(), stderr);
        return Fail(error);
    }
    MakeAbsolute(options.keysFile);
    MakeAbsolute(options.traceFile);
    MakeAbsolute(options.drawLogFile);
    MakeAbsolute(options.memoryLogFile);
    for (ScreenshotRequest& shot : options.screenshots)
        MakeAbsolute(shot.file);

    StagesToPlay played;
    if (!options.playFile.empty()) {
        std::optional<StagesToPlay> stages = ReadPlayOption(options.playFile, error);
        if (!stages)
            return Fail("--play " + error);
        played = std::move(*stages);
    }

    std::vector<KeyChange> keys;
    if (!options.keysFile.empty()) {
        std::ifstream script(options.keysFile);
        if (!script)
            return Fail("cannot read the key script " + options.keysFile);
        if (!ParseKeyScript(script, keys, error))
            return Fail(options.keysFile + ": " + error);
    }
    std::unique_ptr<std::ofstream> trace;
    if (!options.traceFile.empty()) {
        trace = std::make_unique<std::ofstream>(options.traceFile, std::ios::trunc);
        if (!*trace)
            return Fail("cannot write the trace " + options.traceFile);
    }
    std::unique_ptr<std::ofstream> drawLog;
    if (!options.drawLogFile.empty()) {
        drawLog = std::make_unique<std::ofstream>(options.drawLogFile, std::ios::trunc);
        if (!*drawLog)
            return Fail("cannot write the draw log " + options.drawLogFile);
    }
    std::unique_ptr<std::ofstream> memoryLog;
    if (!options.memoryLogFile.empty()) {
        memoryLog = std::make_unique<std::ofstream>(options.memoryLogFile, std::ios::trunc);
        if (!*memoryLog)
            return Fail("cannot write the memory log " + options.memoryLogFile);
    }
    std::error_code directoryError;
    std::filesystem::current_path(options.dataDirectory, directoryError);
    if (directoryError)
        return Fail("cannot enter the data directory " + options.dataDirectory + ": " + directoryError.message());

    // With no display to open a window on, render into SDL's off-screen EGL window.
    if (!options.headless && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 0);

    GameProgram program;
    GameContext& context = program.Context();
    Harness harness(context, options, std::move(keys), trace.get(), drawLog.get(), memoryLog.get());
    if (drawLog)
        context.device.SetDrawLog(&harness.Draws());
    Application& application = context.application;
    application.TakeKeysFromScriptOnly();
    // Sound is mixed into memory, one frame's worth per frame, so a run's sound timing never depends on the machine.
    application.Audio().OpenLoopback();
    application.SetFrameRecord(&harness.Record());
    const bool answerYes = options.answerFullScreen;
    application.SetMessageResponder([answerYes](const MessageRequest& request) {
        // Also on stderr: a message shown just before the program ends never reaches the trace.
        std::fprintf(stderr, "orb-harness: message \"%s\": %s\n", request.caption.c_str(), request.text.c_str());
        if (request.buttons == MessageButtons::YesNo)
            return answerYes ? MessageAnswer::Yes : MessageAnswer::No;
        return DefaultAnswer(request);
    });

    SceneManager& scenes = context.scenes;
    if (options.stageGroup)
        scenes.stage.group = *options.stageGroup;
    if (options.stageNumber)
        scenes.stage.number = *options.stageNumber;

    // A settings file only when asked for: a run never depends on the
    // settings of whoever runs it.
    Settings settings = options.settingsFile.empty() ? Settings{} : PlayerSettings("orb-harness", options.settingsFile);
    settings.assists = options.assists;
    settings.keepUnfinished = options.keepUnfinished;
    settings.waitForSearches = true;
    if (!program.Start({.headless = options.headless,
                        .firstScene = options.scene,
                        .fullScreen = DisplayAnswer(settings.display),
                        .stageFiles = played.files,
                        .stageText = played.text,
                        .settings = settings,
                        .program = "orb-harness"},
                       error))
        return Fail("cannot start: " + error);
    program.Run(&harness, options.realtime);
    if (!harness.Error().empty())
        return Fail(harness.Error());
    return 0;
}
