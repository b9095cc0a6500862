// Models come from other exporters in text, binary and compressed forms: any
// bytes read or fail with a reason, what reads indexes only what it has, and
// no model holds more materials than the limit.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "formats/XModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    const std::optional<XModel> model = ParseXModel(std::span(data, size), error);
    if (model.has_value() == !error.empty())
        std::abort();
    if (!model)
        return 0;
    if (model->triangles.size() != model->materials.size() || model->materials.size() > MaxXModelMaterials)
        std::abort();
    for (const auto& triangles : model->triangles) {
        if (triangles.size() % 3 != 0)
            std::abort();
        for (const std::uint32_t index : triangles)
            if (index >= model->vertices.size())
                std::abort();
    }
    return 0;
}
