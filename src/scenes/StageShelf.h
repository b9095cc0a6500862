#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "stage/OwnStages.h"

class GraphicsDevice;

// The editor's stage list with the aids: the player's own stages, by name
// and par, and apart from them the shipped ones, one row chosen. It shows
// the rows about the chosen one that fit beside the board.
class StageShelf {
public:
    struct Row {
        std::string path;
        std::string label;
        // The player's own stage, by its file in the own stages' folder; empty for a shipped one.
        std::string ownFile;
        std::string ownName;
    };

    // The own stages first, then groups 1 to 3's; the first row chosen.
    explicit StageShelf(const std::vector<OwnStages::Entry>& own);

    // Up (-1) or Down (+1), wrapping around.
    void Move(int by);
    const Row& Chosen() const { return rows[chosen]; }
    std::size_t ChosenIndex() const { return chosen; }
    std::size_t OwnCount() const { return ownCount; }

    // The list at the top left, its headings and the chosen row in coral.
    void Draw(GraphicsDevice& device) const;

private:
    std::vector<Row> rows;
    std::size_t ownCount = 0;
    std::size_t chosen = 0;
};
