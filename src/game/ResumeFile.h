#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rules/BoardPosition.h"

// A stage left in the middle, kept beside its result so that the next visit
// can go on from where the player was. One record a line:
// "check:C" (the stage file's checksum when it was kept), "shots:N",
// "player:X,Z,F" (cell and facing), then one "x:X,y:Y,z:Z,sf:K" for each block
// in list order: the stage's own, then every shot that stayed.
namespace ResumeFile {

// "./Resource/BData/STAGE" + group + "/Resume" + stage + ".txt".
std::string Path(int group, int stage);

// Replaces the file whole (see AtomicFile); false when it cannot be written.
bool Write(const std::string& path, std::int32_t stageCheck, const BoardPosition& position);
// The position kept for the stage that starts as start and whose file has
// checksum stageCheck; nothing when none is kept, or when what is kept is
// damaged, from another version of the stage, or not a position of it.
std::optional<BoardPosition> Read(const std::string& path, std::int32_t stageCheck, const BoardPosition& start);
// Forgets the kept position, if any.
void Remove(const std::string& path);

}  // namespace ResumeFile
