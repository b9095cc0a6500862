#pragma once

#include "game/Block.h"

// The stage files as block lists, for the Game, Select and Edit scenes.

// Appends the blocks of stage (group, number) to blocks, each resting at the
// centre of its cell. A missing file shows its message and appends nothing.
void LoadStage(BlockList& blocks, int group, int number);

// Writes blocks as a new numbered stage in the editor's folder, renumbering
// what is there without replacing anything. True when the new file was
// written completely.
bool SaveStage(const BlockList& blocks);
