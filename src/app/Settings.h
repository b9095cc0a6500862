#pragma once

#include <optional>

// How the player wants the game, for the whole run.
struct Settings {
    // The play aids: par, hints, undo, the "no way to clear" notice, the
    // reason of a game over, the aiming ghost, a refused shot's own sound and
    // mark, and the key line. Off (orb --classic, the harness unless asked,
    // and anything else that does not turn them on), the game plays, draws
    // and sounds as first designed.
    bool assists = false;
    // The key line in the game: shown in each group's first stage, unless
    // F1 has said otherwise for the rest of the run.
    std::optional<bool> keyLine;
    // The editor's key list: shown until F1 hides it, for the rest of the run.
    bool editorKeys = true;
};
