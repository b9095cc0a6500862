#pragma once

#include <string>

// Writes files that a player cares about so that, whatever happens during
// the write (the process killed, the disk full, the folder read-only), the
// file afterwards holds the old text or the new, never a mix and never
// nothing. The text goes to a temporary file beside the target, is flushed to
// the disk, and only then takes the target's name.
namespace AtomicFile {

// Puts text in place of path's content (path is created when missing).
bool Replace(const std::string& path, const std::string& text);
// Creates path holding text; fails, changing nothing, when path exists.
bool Create(const std::string& path, const std::string& text);

}  // namespace AtomicFile
