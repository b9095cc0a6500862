#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/SceneId.h"

// Stages played on their own instead of one of the game's, with no score
// kept: the game's --play (one file, or a folder's stages in order) and the
// editor's test play.
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

// The stage the next Game plays, which the scene manager hands on from scene
// to scene: one of the game's, by group (1 to 3) and number (1 to 6), unless
// stages are played on their own.
struct StageChoice {
    int group = 1;
    int number = 1;
    CustomPlay custom;
};
