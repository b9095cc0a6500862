#pragma once

#include <string>
#include <vector>

#include "game/Block.h"
#include "stage/StageFile.h"

// The stage files as block lists, for the Game, Select and Edit scenes.

// Appends the blocks of a stage file to blocks, each resting at the centre of
// its cell. False, appending nothing, when the file cannot be opened: the
// scene then says "ファイルがありません".
bool LoadStage(BlockList& blocks, const std::string& path);
// The blocks of a stage file's records, in the same way.
BlockList BlocksOf(std::vector<BlockRecord> records);

// The blocks of a stage file's text, in the same way.
BlockList BlocksOfText(const std::string& text);

// The blocks as a stage file's records, in list order.
std::vector<BlockRecord> RecordsOf(const BlockList& blocks);

// Writes blocks as a new numbered stage in the editor's folder, renumbering
// what is there without replacing anything. True when the new file was
// written completely, with its name in writtenName when one is given.
bool SaveStage(const BlockList& blocks, std::string* writtenName = nullptr);

// Puts blocks in place of path's content, as a stage file, whole or not at
// all (see AtomicFile); false when it cannot be written.
bool KeepBlocks(const BlockList& blocks, const std::string& path);
