#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/SceneId.h"

// Stages played on their own instead of one of the game's, with no score
// kept: the game's --play (one file, a folder's stages in order, or a stage
// code) and the editor's test play.
struct CustomPlay {
    std::vector<std::string> files;
    std::size_t current = 0;
    // Where the menu's choices lead but Retry and Next stage: the title;
    // from the editor, every choice and a clear lead back to it.
    SceneId returnTo = SceneId::Title;
    // A board as a stage file's text, the editor's or a code's: it goes to
    // the Game (and back to the editor) in memory, so that no file is left
    // anywhere on any way out.
    std::string boardText;
    // What the editor had besides its board, for it to carry on as it was.
    struct EditorState {
        int cursorX = 0;
        int cursorZ = 0;
        bool unsaved = false;
        // The player's own stage being edited, by file and name; empty for none.
        std::string ownFile;
        std::string ownName;
        // The boards to undo and redo, as stage files' text.
        std::vector<std::string> undo;
        std::vector<std::string> redo;
    };
    EditorState editor;

    bool Active() const { return FromText() || current < files.size(); }
    bool FromText() const { return FromEditor() || !boardText.empty(); }
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
