#include "formats/MsZip.h"

#include <algorithm>

#include <zlib.h>

#include "files/LittleEndian.h"
#include "formats/XFileFormat.h"

namespace {

constexpr std::size_t SizeFieldBytes = 4;
constexpr std::size_t BlockHeaderBytes = 4;
constexpr std::size_t SignatureBytes = 2;

// Inflates one block into out, primed with the output that came before it.
bool InflateBlock(std::span<const std::uint8_t> data, std::size_t expected, std::vector<std::uint8_t>& out)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    bool good = true;
    if (!out.empty()) {
        const std::size_t dictionary = std::min(out.size(), XFileFormat::CompressedBlockBytes);
        good = inflateSetDictionary(&stream, out.data() + out.size() - dictionary, static_cast<uInt>(dictionary)) == Z_OK;
    }
    const std::size_t start = out.size();
    out.resize(start + expected);
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data() + start;
    stream.avail_out = static_cast<uInt>(expected);
    if (good) {
        // Some writers end a block's deflate stream, others only flush it.
        const int result = inflate(&stream, Z_FINISH);
        good = (result == Z_STREAM_END || result == Z_OK || result == Z_BUF_ERROR) && stream.avail_out == 0;
    }
    inflateEnd(&stream);
    return good;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> InflateMsZip(std::span<const std::uint8_t> compressed, std::size_t limit,
                                                      std::string& error)
{
    if (compressed.size() < SizeFieldBytes) {
        error = "the compressed file has no size";
        return std::nullopt;
    }
    std::vector<std::uint8_t> out;
    std::size_t at = SizeFieldBytes;
    int block = 0;
    while (at < compressed.size()) {
        ++block;
        const std::string where = "compressed block " + std::to_string(block);
        if (compressed.size() - at < BlockHeaderBytes + SignatureBytes) {
            error = where + " is cut short";
            return std::nullopt;
        }
        const std::size_t size = ReadLittle16(&compressed[at]);
        const std::size_t packed = ReadLittle16(&compressed[at + 2]);
        at += BlockHeaderBytes;
        if (packed < SignatureBytes || packed > compressed.size() - at) {
            error = where + " claims more bytes than the file has";
            return std::nullopt;
        }
        if (compressed[at] != 'C' || compressed[at + 1] != 'K') {
            error = where + " has no \"CK\" signature";
            return std::nullopt;
        }
        if (size > XFileFormat::CompressedBlockBytes || out.size() + size > limit) {
            error = where + " inflates to more than a model may hold";
            return std::nullopt;
        }
        if (!InflateBlock(compressed.subspan(at + SignatureBytes, packed - SignatureBytes), size, out)) {
            error = where + " does not inflate to its " + std::to_string(size) + " bytes";
            return std::nullopt;
        }
        at += packed;
    }
    return out;
}
