#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/BaseScene.h"
#include "app/SceneId.h"

// Owns the one running scene and carries a requested change, and the chosen
// stage, from scene to scene. It knows no concrete scene: the program hands it
// the function that builds one.
//
// A scene asks for a change with RequestChange (nextSceneId and
// changePending); only the frame loop calls ChangeScene, after that frame's
// fade-out.
class SceneManager {
public:
    using SceneFactory = std::function<std::unique_ptr<BaseScene>(SceneId)>;

    SceneManager() = default;
    // Clears a pending change and destroys the current scene.
    ~SceneManager();
    SceneManager(const SceneManager&) = delete;
    SceneManager& operator=(const SceneManager&) = delete;

    void SetFactory(SceneFactory factory) { makeScene = std::move(factory); }

    // Destroys the current scene, then builds the scene id names. An id with
    // no line in the scene list (app/SceneId.h) changes nothing.
    void ChangeScene(SceneId id);
    // Destroys the current scene without building another (at shut-down).
    void DestroyScene();
    // The scene's request: next is built after this frame's fade-out.
    void RequestChange(SceneId next)
    {
        nextSceneId = next;
        changePending = true;
    }

    BaseScene* Current() const { return current.get(); }
    // The id of the scene last built; also when the factory had no such scene yet.
    SceneId CurrentId() const { return currentId; }

    bool changePending = false;
    SceneId nextSceneId = SceneId::Title;
    // The chosen stage group, 1 to 3, and stage, 1 to 6.
    int stageGroup = 1;
    int stageNumber = 1;
    // Stages played on their own instead of the chosen stage, with no score
    // kept: the game's --play (one file, or a folder's stages in order) and
    // the editor's test play.
    struct CustomPlay {
        std::vector<std::string> files;
        std::size_t current = 0;
        // Where the menu's choices lead but Retry and Next stage: the title;
        // from the editor, every choice and a clear lead back to it.
        SceneId returnTo = SceneId::Title;
        // The editor's board as a stage file's text: it goes to the Game and
        // back in memory, so that no file is left anywhere on any way out.
        std::string editorBoard;

        bool Active() const { return FromEditor() || current < files.size(); }
        const std::string& File() const { return files[current]; }
        bool FromEditor() const { return returnTo == SceneId::Edit; }
    };
    CustomPlay customPlay;

private:
    std::unique_ptr<BaseScene> current;
    SceneId currentId = SceneId::Title;
    SceneFactory makeScene;
};
