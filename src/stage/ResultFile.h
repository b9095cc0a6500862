#pragma once

#include <istream>
#include <optional>
#include <string>

// The best score of one stage: a file holding "score:%d", the fewest shots of
// any clear, 0 while the stage has not been cleared.
namespace ResultFile {

// "./Resource/BData/STAGE" + group + "/Result" + stage + ".txt".
std::string Path(int group, int stage);

// The stored score: the last line that reads "score:%d"; 0 when none does, and
// a negative value counts as 0.
int Parse(std::istream& in);
// The last "score:%d" value as the file has it, negative or not; 0 when no
// line reads so. The select panel shows a hand-edited score as it is.
int ParseLast(std::istream& in);
// The stored score of the file, or nothing when it cannot be read.
std::optional<int> Read(const std::string& path);
// The file's last score as ParseLast gives it, or nothing when it cannot be read.
std::optional<int> ReadLast(const std::string& path);

enum class Update {
    Written,   // the new best score replaced the stored one
    Created,   // the file could not be opened; it was missing, and a new file holds the score
    Kept,      // the stored score stands
    Failed,    // the file was read but could not be replaced
    Unopened,  // the file could not be opened and was not made (there but unreadable, or a clear of 0 shots)
};
// The file could not be opened: the player is told "ファイルがありません".
inline bool Unopened(Update update)
{
    return update == Update::Created || update == Update::Unopened;
}

// Stores score in the result file at path if it beats the stored one (any
// clear beats 0, a clear of 0 shots beats nothing). The file
// is replaced whole through a temporary file, so a crash leaves the old score
// or the new one, never a broken file; a lock in its folder keeps two copies of
// the game from deciding at once, so a worse score never replaces a better.
Update Write(const std::string& path, int score);
// Puts the file back to "score:0" through the same safe replacement; false
// when it cannot be written (its folder is missing, say).
bool Reset(const std::string& path);

}  // namespace ResultFile
