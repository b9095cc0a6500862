#include "app/SceneManager.h"

namespace {

std::unique_ptr<SceneManager>& Holder()
{
    static std::unique_ptr<SceneManager> instance;
    return instance;
}

}  // namespace

SceneManager& SceneManager::Instance()
{
    auto& holder = Holder();
    if (!holder)
        holder.reset(new SceneManager());
    return *holder;
}

void SceneManager::Reset()
{
    Holder().reset();
}

SceneManager::~SceneManager()
{
    changePending = false;
    DestroyScene();
}

void SceneManager::ChangeScene(int id)
{
    if (!IsSceneId(id))
        return;
    // The old scene releases everything it alone held before the new one loads.
    DestroyScene();
    changePending = false;
    currentId = static_cast<SceneId>(id);
    if (makeScene)
        current = makeScene(currentId);
}

void SceneManager::DestroyScene()
{
    current.reset();
}
