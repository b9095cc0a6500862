// Stage codes are typed and pasted by hand: any text must decode without a
// fault to nothing or to blocks that fit the field, one to a cell, whose own
// code decodes to the same blocks.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "stage/StageCode.h"

namespace {

int Cell(const BlockRecord& r)
{
    return (r.y * StageFile::FieldCells + r.z) * StageFile::FieldCells + r.x;
}

bool Same(const std::vector<BlockRecord>& a, const std::vector<BlockRecord>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Cell(a[i]) != Cell(b[i]) || a[i].kind != b[i].kind)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    const auto blocks = StageCode::Decode(std::string_view(reinterpret_cast<const char*>(data), size), error);
    if (!blocks) {
        if (error.empty())
            std::abort();
        return 0;
    }
    int previous = -1;
    for (const BlockRecord& r : *blocks) {
        if (r.x < 0 || r.x >= StageFile::FieldCells || r.y < 0 || r.y >= StageFile::FieldCells || r.z < 0 ||
            r.z >= StageFile::FieldCells || r.kind < StageFile::MinKind || r.kind > StageFile::MaxKind ||
            Cell(r) <= previous)
            std::abort();
        previous = Cell(r);
    }
    const auto code = StageCode::Encode(*blocks, error);
    if (!code)
        std::abort();
    const auto again = StageCode::Decode(*code, error);
    if (!again || !Same(*again, *blocks))
        std::abort();
    return 0;
}
