#include "main/ProgramMain.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/SettingsFile.h"
#include "main/CommandLine.h"
#include "main/GameProgram.h"
#include "main/PlayerSettings.h"
#include "main/UserData.h"
#include "platform/Application.h"
#include "platform/Messages.h"

int ProgramMain(const char* name, int argc, char** argv, SceneId firstScene)
{
    const bool playable = firstScene == SceneId::Title;
    const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), playable);
    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(Usage(name, playable).c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::puts(VersionLine(name).c_str());
        return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "%s: %s\n%s", name, line.error.c_str(), Usage(name, playable).c_str());
        return 2;
    case CommandLine::Action::Start:
        break;
    }

    Settings settings = PlayerSettings(name);
    settings.assists = !line.classic;
    settings.keepUnfinished = settings.assists;
    std::optional<bool> fullScreen = line.fullScreen;
    if (!fullScreen && !line.ask)
        fullScreen = DisplayAnswer(settings.display);
    GameProgram::Options options{
        .firstScene = firstScene, .fullScreen = fullScreen, .settings = settings, .program = name};
    std::string error;
    if (!line.stageFile.empty()) {
        // The program runs elsewhere than it was started from.
        std::optional<StagesToPlay> stages = ReadPlayOption(line.stageFile, error);
        if (!stages) {
            std::fprintf(stderr, "%s: --play %s\n", name, error.c_str());
            return 2;
        }
        options.stageFiles = std::move(stages->files);
        options.stageText = std::move(stages->text);
    }
    GameProgram program;
    if (!EnterDataDirectory("/proc/self/exe", error)) {
        std::fprintf(stderr, "%s: %s\n", name, error.c_str());
        MessageRequest box = Message(MessageId::DataFolderFailed, error);
        box.caption = name;
        program.Context().application.ShowMessage(box);
        return 1;
    }
    RemoveSaveLeftovers(SettingsFile::DefaultPath());
    if (!program.Start(options, error)) {
        std::fprintf(stderr, "%s: cannot start: %s\n", name, error.c_str());
        return 1;
    }
    program.Run(nullptr, true);
    return 0;
}
