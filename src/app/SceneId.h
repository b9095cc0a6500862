#pragma once

#include <algorithm>
#include <iterator>
#include <string_view>

// Every scene, one line each: the id the code asks for it by, its number, and
// its name on the harness's command line and in its traces. A new scene is a
// new line here with the next free number; numbers and names stay as they
// are, since the traces and key scripts of earlier runs name scenes by them.
// The lines run in the order the harness's usage lists the scenes.
#define ORB_SCENES(SCENE)      \
    SCENE(Title, 0, "title")   \
    SCENE(Select, 3, "select") \
    SCENE(Game, 1, "game")     \
    SCENE(Edit, 2, "edit")

enum class SceneId : int {
#define ORB_SCENE_ID(id, number, name) id = number,
    ORB_SCENES(ORB_SCENE_ID)
#undef ORB_SCENE_ID
};

struct SceneEntry {
    SceneId id;
    std::string_view name;
};

inline constexpr SceneEntry SceneList[] = {
#define ORB_SCENE_ENTRY(id, number, name) {SceneId::id, name},
    ORB_SCENES(ORB_SCENE_ENTRY)
#undef ORB_SCENE_ENTRY
};

#undef ORB_SCENES

constexpr bool ScenesAreDistinct()
{
    for (const SceneEntry& a : SceneList) {
        for (const SceneEntry& b : SceneList) {
            if (&a != &b && (a.id == b.id || a.name == b.name))
                return false;
        }
    }
    return true;
}
static_assert(ScenesAreDistinct(), "two scenes share a number or a name");

// The scene's line; null for a number no scene has.
constexpr const SceneEntry* FindScene(SceneId id)
{
    const auto* entry =
        std::find_if(std::begin(SceneList), std::end(SceneList), [id](const SceneEntry& scene) { return scene.id == id; });
    return entry == std::end(SceneList) ? nullptr : entry;
}

// "unknown" for a number no scene has.
constexpr std::string_view SceneName(SceneId id)
{
    const SceneEntry* entry = FindScene(id);
    return entry ? entry->name : "unknown";
}
