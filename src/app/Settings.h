#pragma once

#include <optional>
#include <string>

// How the game starts: with the question of full screen (the game's own
// start), or in a window or full screen without asking.
enum class Display { Ask, Window, FullScreen };

// What the player's settings file keeps (see SettingsFile).
struct KeptSettings {
    // 0 to 100.
    int musicLevel = 100;
    int effectsLevel = 100;
    Display display = Display::Ask;
};

// How the player wants the game, for the whole run.
struct Settings : KeptSettings {
    // The play aids: par, hints, undo, the "no way to clear" notice, the
    // reason of a game over, the aiming ghost, a refused shot's own sound and
    // mark, the key line, the editor's key list, marks and checks, and the
    // full-screen question's answer kept for the next start. Off
    // (orb --classic, the harness unless asked, and anything else that does
    // not turn them on), the game plays, draws and sounds as first designed.
    bool assists = false;
    // The key line in the game: shown in each group's first stage, unless
    // F1 has said otherwise for the rest of the run.
    std::optional<bool> keyLine;
    // The editor's key list: shown until F1 hides it, for the rest of the run.
    bool editorKeys = true;
    // A scripted run (the harness, the tests) waits for every search that
    // runs beside the frames, so that what it records never depends on how
    // fast the machine is. A player's frames never wait.
    bool waitForSearches = false;
    // With the play aids, a stage left in the middle, and the editor's board
    // not saved, are kept in the player's folder and offered again. The game
    // keeps them; a scripted run only when asked, so that no run depends on
    // what an earlier one left.
    bool keepUnfinished = false;

    // Where the volumes go when the player changes them; empty: nowhere.
    std::string file;
    // What the file held when this run last read or wrote it: a save changes
    // only the settings that differ from it, so a change another copy of the
    // game made meanwhile to another setting stays.
    KeptSettings inFile;
};
