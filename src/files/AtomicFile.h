#pragma once

#include <string>

// Writes files that a player cares about so that, whatever happens during
// the write (the process killed, the disk full, the folder read-only, another
// copy of the game saving the same file), the file afterwards holds the old
// text or the new, never a mix and never nothing. Each save writes a
// temporary file of its own beside the target (a name no other save uses, and
// a link planted in the folder is never followed), flushes it to the disk,
// only then gives it the target's name, and flushes the folder too, so the
// new name survives a power cut. The temporary file is named after the
// target: ".Stage001.txt.a1B2c3".
namespace AtomicFile {

// Puts text in place of path's content (path is created when missing); the
// file keeps its permissions.
bool Replace(const std::string& path, const std::string& text);
// Creates path holding text; fails, changing nothing, when path exists (errno
// is then EEXIST). On file systems without hard links (FAT, exFAT, some FUSE
// mounts) the new file still never replaces one that appeared meanwhile.
bool Create(const std::string& path, const std::string& text);
// Renames from to to unless to exists; false, changing nothing, when it does.
bool RenameNoReplace(const std::string& from, const std::string& to);

// Removes, in folder, the temporary files of saves killed before they got
// their name: regular files named as above and untouched for a minute, so a
// save another copy of the game is making is never disturbed.
void RemoveLeftovers(const std::string& folder);

}  // namespace AtomicFile
