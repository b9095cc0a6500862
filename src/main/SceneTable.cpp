#include "main/SceneTable.h"

#include <algorithm>
#include <iterator>

#include "scenes/Game.h"
#include "scenes/Edit.h"
#include "scenes/Select.h"
#include "scenes/Title.h"

namespace {

template <class Scene>
std::unique_ptr<BaseScene> Make(const SceneContext& context)
{
    return std::make_unique<Scene>(context);
}

struct SceneMaker {
    SceneId id;
    std::unique_ptr<BaseScene> (*make)(const SceneContext&);
};

// The class of each line of the scene list (app/SceneId.h), in its order:
// the list cannot name the classes, which stand above it.
constexpr SceneMaker Makers[] = {
    {SceneId::Title, Make<Title>},
    {SceneId::Select, Make<Select>},
    {SceneId::Game, Make<Game>},
    {SceneId::Edit, Make<Edit>},
};

constexpr bool EverySceneHasItsMaker()
{
    return std::equal(std::begin(Makers), std::end(Makers), std::begin(SceneList), std::end(SceneList),
                      [](const SceneMaker& maker, const SceneEntry& scene) { return maker.id == scene.id; });
}
static_assert(EverySceneHasItsMaker(), "the makers and the scene list in app/SceneId.h disagree");

}  // namespace

std::unique_ptr<BaseScene> MakeScene(SceneId id, const SceneContext& context)
{
    const auto* maker =
        std::find_if(std::begin(Makers), std::end(Makers), [id](const SceneMaker& entry) { return entry.id == id; });
    return maker == std::end(Makers) ? nullptr : maker->make(context);
}
