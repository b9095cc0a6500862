#pragma once

// The scene numbers scenes use to ask for the next one.
enum class SceneId : int {
    Title = 0,
    Game = 1,
    Edit = 2,
    Select = 3,
};

inline bool IsSceneId(int value)
{
    return value >= static_cast<int>(SceneId::Title) && value <= static_cast<int>(SceneId::Select);
}
