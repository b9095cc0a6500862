#pragma once

#include <functional>
#include <memory>

#include "app/BaseScene.h"
#include "app/SceneId.h"
#include "app/StageChoice.h"

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
    // The stage the next Game plays, handed on from scene to scene.
    StageChoice stage;

private:
    std::unique_ptr<BaseScene> current;
    SceneId currentId = SceneId::Title;
    SceneFactory makeScene;
};
