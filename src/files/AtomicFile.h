#pragma once

#include <string>

// Writes files that a player cares about so that, whatever happens during
// the write (the process killed, the disk full, the folder read-only, another
// copy of the game saving the same file), the file afterwards holds the old
// text or the new, never a mix and never nothing. Each save writes a
// temporary file of its own beside the target (a name no other save uses, and
// a link planted in the folder is never followed), flushes it to the disk,
// only then gives it the target's name, and flushes the folder too, so the
// new name survives a power cut.
namespace AtomicFile {

// Puts text in place of path's content (path is created when missing).
bool Replace(const std::string& path, const std::string& text);
// Creates path holding text; fails, changing nothing, when path exists (errno
// is then EEXIST). On file systems without hard links (FAT, exFAT, some FUSE
// mounts) the new file still never replaces one that appeared meanwhile.
bool Create(const std::string& path, const std::string& text);
// Renames from to to unless to exists; false, changing nothing, when it does.
bool RenameNoReplace(const std::string& from, const std::string& to);

}  // namespace AtomicFile
