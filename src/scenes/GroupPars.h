#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "solver/BackgroundSolve.h"
#include "stage/ParFile.h"


// The par of each stage of a group, for the select panel: read from the
// group's par file where the entry still matches the stage file, otherwise
// found by the solver beside the frames, one stage after another, and
// written back once every stage has its answer.
class GroupPars {
public:
    GroupPars(int group, int stages, BackgroundSolve::Pace pace);
    ~GroupPars();
    GroupPars(const GroupPars&) = delete;
    GroupPars& operator=(const GroupPars&) = delete;

    // Once a frame: takes an answer when it is there (a scripted run waits
    // for each), starts the next search, and saves when all are known.
    void Update(bool wait);
    // The fewest shots of stage; nothing while it is searched, or when the
    // stage has no par (missing, or it cannot be cleared).
    std::optional<int> Par(int stage) const;

private:
    void StartNext();

    int group;
    BackgroundSolve::Pace pace;
    std::map<int, ParFile::Entry> entries;
    // Stages still to search, with their files' checksums.
    std::vector<std::pair<int, std::int32_t>> queue;
    std::unique_ptr<BackgroundSolve> search;
    std::pair<int, std::int32_t> searching{0, 0};
    bool changed = false;
};
