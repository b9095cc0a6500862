// Stage files are written by hand: any text must parse without a fault, give
// only blocks that fit the field, and settle after one write and read.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "stage/StageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<StageProblem> problems;
    const std::vector<BlockRecord> records = StageFile::Parse(in, &problems);
    if (records.size() > StageFile::MaxBlocks)
        std::abort();
    for (const BlockRecord& r : records)
        if (r.x < 0 || r.x >= StageFile::FieldCells || r.y < 0 || r.y >= StageFile::FieldCells || r.z < 0 ||
            r.z >= StageFile::FieldCells || r.kind < StageFile::MinKind || r.kind > StageFile::MaxKind)
            std::abort();

    const std::string written = StageFile::Format(records);
    std::istringstream again(written);
    const std::string rewritten = StageFile::Format(StageFile::Parse(again));
    std::istringstream third(rewritten);
    if (StageFile::Format(StageFile::Parse(third)) != rewritten)
        std::abort();
    return 0;
}
