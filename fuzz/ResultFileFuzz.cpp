// Result files may be edited by hand: any text gives a score, and the score
// written back reads as the same score.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "stage/ResultFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    const int last = ResultFile::ParseLast(in);
    std::istringstream inAgain(text);
    const int score = ResultFile::Parse(inAgain);
    if (score < 0 || (last >= 0 && score != last))
        std::abort();
    std::istringstream written("score:" + std::to_string(last));
    if (ResultFile::ParseLast(written) != last)
        std::abort();
    return 0;
}
