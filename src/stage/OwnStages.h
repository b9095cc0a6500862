#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "stage/StageFile.h"

// The player's own stages: numbered stage files in a folder of the player's
// (where the game runs, never the install), so that "orb --play" of the
// folder plays them in order, each with the name the player typed and its
// proven par in the folder's list, "Names.list": one line a stage,
// "file:Stage001.txt,par:P,name:N", P being -1 until a check proves one.
// Files are never renumbered: the list names them.
namespace OwnStages {

inline constexpr const char* Folder = "stages";
inline constexpr const char* ListFile = "Names.list";
inline constexpr std::size_t MaxName = 24;

struct Entry {
    std::string file;
    std::string name;
    int par = -1;
};

// A name takes letters, digits, spaces and dashes.
bool NameCharacter(char c);

// The folder's stage files in name order, each with its line of the list;
// a file the list does not name is named after its file, and a name read
// from the list keeps only what a name may hold.
std::vector<Entry> List(const std::string& folder = Folder);

// Writes records, whole, as the folder's next stage (the folder is made
// when missing) and puts it on the list with its name; the new file's name,
// or nothing when it could not be written.
std::optional<std::string> AddNew(const std::vector<BlockRecord>& records, const std::string& name,
                                  const std::string& folder = Folder);

// Puts records in place of file's stage, whole or not at all; its name stays.
bool Replace(const std::string& file, const std::vector<BlockRecord>& records, const std::string& folder = Folder);

// Sets the par of file on the list; false when the list could not be written.
bool SetPar(const std::string& file, int par, const std::string& folder = Folder);

}  // namespace OwnStages
