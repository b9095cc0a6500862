// Images come from anywhere, also named by foreign models: any bytes decode
// or fail with a reason, and a decoded image is as large as it says.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "formats/ImageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    const std::optional<Image> image = DecodeImage(std::span(data, size), error);
    if (image.has_value() == !error.empty())
        std::abort();
    if (image && (image->width < 1 || image->height < 1 || image->width > MaxImageSide || image->height > MaxImageSide ||
                  image->rgba.size() != static_cast<std::size_t>(image->width) * image->height * 4))
        std::abort();
    return 0;
}
