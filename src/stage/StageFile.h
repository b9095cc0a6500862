#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "math/Vector3.h"

// One block of a stage file as plain values: its cell, kind, launched flag,
// state, and the movement records that a launched block carries.
struct BlockRecord {
    int x = 0;
    int y = 0;
    int z = 0;
    int kind = 0;
    int launched = 0;
    int state = 0;
    std::vector<Vector3> moves;
    std::vector<int> frames;
    // The line of the file it was read from; 0 for a record made in memory.
    int line = 0;
};

// Why a line of a stage file gives no block, for the people who write stages.
struct StageProblem {
    int line = 0;
    std::string reason;
};

// Reads and writes stage files: one line "x:%d,y:%d,z:%d,sf:%d,af:%d,pf:%d"
// per block, and "mx:%f,my:%f,mz:%f,fr:%d" movement records after a block
// that has them. Stage files are untrusted: a record that could not be placed
// on the 10 × 10 × 10 field is dropped and the rest still load.
namespace StageFile {

constexpr int FieldCells = 10;
// The kinds a file may name: white, black and armoured (the rules' BlockKind).
constexpr int MinKind = 1;
constexpr int MaxKind = 3;
// A stage never needs more blocks than the field has cells.
constexpr std::size_t MaxBlocks = 1000;

// "Stage001.txt": the number zero-filled to three digits.
std::string FileName(int number);
// "Resource/BData/STAGE" + group + "/Stage" + zero-filled number + ".txt".
std::string Path(int group, int number);

// The blocks of a stage file's text. A line that supplies some fields takes the
// rest from the line before (zero before the first); a line that supplies none
// is skipped. After a block whose launched flag is 1, every remaining line is
// one of its movement records. With problems, each line that is not blank and
// gives no block is reported there with the reason.
std::vector<BlockRecord> Parse(std::istream& in, std::vector<StageProblem>* problems = nullptr);

// The text of records as the editor writes it: block records, and after a
// block whose state is not 0 its movement records, truncated to integers.
std::string Format(const std::vector<BlockRecord>& records);

// The blocks of a stage file, its lines' problems going to problems as Parse
// puts them; nothing when it cannot be read (the scene then says
// "ファイルがありません" and goes on without blocks).
std::optional<std::vector<BlockRecord>> Read(const std::string& path, std::vector<StageProblem>* problems = nullptr);

// Renumbers the .txt files of StageData::Folder Stage001.txt, Stage002.txt, ... in
// name order, then writes the records as the next number. Nothing there is ever
// replaced: a renaming whose target exists is skipped, and the new stage takes
// the first free number. The new file appears whole or not at all. True when
// it was written; its name ("Stage007.txt") goes to writtenName when one is
// given.
bool WriteNew(const std::vector<BlockRecord>& records, std::string* writtenName = nullptr);

}  // namespace StageFile
