#include "render/DrawRecorder.h"

#include <algorithm>
#include <array>
#include <utility>

#include "render/ColorVertex.h"
#include "render/Mesh.h"
#include "render/Texture.h"

void DrawRecorder::Add(DrawRecord record)
{
    if (log)
        log->push_back(std::move(record));
}

void DrawRecorder::Target(const std::string& surface)
{
    if (!log)
        return;
    DrawRecord record;
    record.kind = DrawRecord::Kind::Target;
    record.name = surface;
    Add(std::move(record));
}

void DrawRecorder::Quad(const ScreenRect& rect, const std::string& technique)
{
    if (!log)
        return;
    DrawRecord record;
    record.kind = DrawRecord::Kind::Quad;
    record.technique = technique;
    record.rect[0] = rect.x;
    record.rect[1] = rect.y;
    record.rect[2] = rect.width;
    record.rect[3] = rect.height;
    Add(std::move(record));
}

void DrawRecorder::MeshDraw(const Mesh& mesh, unsigned pass, const std::string& technique, const std::string& texture,
                            const Matrix& world, const Matrix& camera)
{
    if (!log)
        return;
    const bool fixed = pass == 0;
    if (!fixed) {
        if (lastMesh == &mesh && lastPass == pass)
            return;
        lastMesh = &mesh;
        lastPass = pass;
    }
    DrawRecord record;
    record.kind = fixed ? DrawRecord::Kind::Fixed : DrawRecord::Kind::Mesh;
    record.name = mesh.Path();
    record.texture = fixed ? texture : "";
    record.technique = fixed ? "" : technique;
    record.matrix = world;
    record.camera = camera;
    Add(std::move(record));
}

void DrawRecorder::Fan(const ColorVertex* vertices, int count, const std::string& what, const std::string& texture,
                       const Matrix& world, const Matrix& camera)
{
    if (!log)
        return;
    DrawRecord record;
    record.kind = DrawRecord::Kind::Fixed;
    record.name = what;
    record.texture = texture;
    record.matrix = world;
    record.camera = camera;
    if (count > 0) {
        std::array<float, 4> area{vertices[0].u, vertices[0].v, vertices[0].u, vertices[0].v};
        for (int i = 1; i < count; ++i) {
            area = {std::min(area[0], vertices[i].u), std::min(area[1], vertices[i].v),
                    std::max(area[2], vertices[i].u), std::max(area[3], vertices[i].v)};
        }
        record.textureArea = area;
        record.argb = vertices[0].argb;
    }
    Add(std::move(record));
}

void DrawRecorder::Sprite(const std::string& texture, const Rect& source, const Matrix& transform, float centreX,
                          float centreY, std::uint32_t argb)
{
    if (!log)
        return;
    DrawRecord record;
    record.kind = DrawRecord::Kind::Sprite;
    record.name = texture;
    record.matrix = transform;
    record.centre[0] = centreX;
    record.centre[1] = centreY;
    record.source[0] = source.left;
    record.source[1] = source.top;
    record.source[2] = source.right;
    record.source[3] = source.bottom;
    record.argb = argb;
    Add(std::move(record));
}

void DrawRecorder::Text(const std::string& text, int x, int y, std::uint32_t argb, TextFace face)
{
    if (!log)
        return;
    DrawRecord record;
    record.kind = DrawRecord::Kind::Text;
    record.name = text;
    record.face = face;
    record.rect[0] = x;
    record.rect[1] = y;
    record.argb = argb;
    Add(std::move(record));
}
