#include "app/SceneManager.h"

SceneManager::~SceneManager()
{
    changePending = false;
    DestroyScene();
}

void SceneManager::ChangeScene(SceneId id)
{
    if (!FindScene(id))
        return;
    // The old scene releases everything it alone held before the new one loads.
    DestroyScene();
    changePending = false;
    currentId = id;
    if (makeScene)
        current = makeScene(currentId);
}

void SceneManager::DestroyScene()
{
    current.reset();
}
