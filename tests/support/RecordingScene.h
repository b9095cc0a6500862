#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/BaseScene.h"

// A scene that writes every call into a shared log ("title Update", "game ~"),
// and can be told to act on a given call.
class RecordingScene final : public BaseScene {
public:
    RecordingScene(std::string sceneName, std::vector<std::string>& sharedLog)
        : name(std::move(sceneName)), log(sharedLog)
    {
        Log("built");
    }
    ~RecordingScene() override { Log("destroyed"); }

    void Update() override { Act("Update", onUpdate); }
    void Draw() override { Act("Draw", onDraw); }
    void UpdateFadeOut() override { Act("UpdateFadeOut", onUpdateFadeOut); }
    void DrawFadeOut() override { Act("DrawFadeOut", onDrawFadeOut); }

    std::function<void(RecordingScene&)> onUpdate, onDraw, onUpdateFadeOut, onDrawFadeOut;
    int calls = 0;

private:
    void Log(const std::string& what) { log.push_back(name + " " + what); }
    void Act(const std::string& what, const std::function<void(RecordingScene&)>& action)
    {
        ++calls;
        Log(what);
        if (action)
            action(*this);
    }

    std::string name;
    std::vector<std::string>& log;
};
