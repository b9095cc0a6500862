// Sound files come from anywhere: any bytes decode or fail with a reason,
// and what decodes is what the sound device takes. Samples made 16-bit may
// grow (eight-bit ones in three channels by a third), never to twice the file.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "formats/WavFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    const std::optional<WavFile> wav = DecodeWav(std::span(data, size), error);
    if (wav.has_value() == !error.empty())
        std::abort();
    if (wav && ((wav->channels != 1 && wav->channels != 2) || (wav->bitsPerSample != 8 && wav->bitsPerSample != 16) ||
                wav->data.size() % static_cast<std::size_t>(wav->BytesPerFrame()) != 0 || wav->data.size() > 2 * size))
        std::abort();
    return 0;
}
