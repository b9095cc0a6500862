#include "render/DrawQuadXZ.h"

#include <algorithm>
#include <cstdint>

#include "render/GraphicsDevice.h"

void DrawQuadXZ(GraphicsDevice& device, const QuadArea& area, const Matrix& world, const TextureArea& texture,
                float alpha)
{
    const int opacity = std::clamp(static_cast<int>(alpha), 0, 255);
    const std::uint32_t argb = (static_cast<std::uint32_t>(opacity) << 24) | 0x00FFFFFFu;
    const float x0 = static_cast<float>(area.x);
    const float z0 = static_cast<float>(area.z);
    const float x1 = static_cast<float>(area.x + area.width);
    const float z1 = static_cast<float>(area.z + area.depth);
    const ColorVertex vertices[4] = {
        {{x0, 0.0f, z0}, argb, texture.left, texture.top},
        {{x1, 0.0f, z0}, argb, texture.right, texture.top},
        {{x1, 0.0f, z1}, argb, texture.right, texture.bottom},
        {{x0, 0.0f, z1}, argb, texture.left, texture.bottom},
    };
    device.SetTransform(TransformState::World, world);
    device.DrawFan(vertices, 4, "quadXZ");
}
