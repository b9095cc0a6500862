#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/DrawRecord.h"
#include "render/ScreenRect.h"
#include "render/TextFace.h"

class Mesh;
struct ColorVertex;
struct Rect;

// The device's draw log: one record per drawing operation, in the order the
// game asked for them, whether or not a GL context draws them. A mesh drawn
// with an effect pass is logged once per pass, however many subsets it has.
class DrawRecorder {
public:
    // Where to record; null to stop.
    void SetLog(std::vector<DrawRecord>* records) { log = records; }
    bool Recording() const { return log != nullptr; }
    std::vector<DrawRecord>* Log() const { return log; }

    void Add(DrawRecord record);
    void Target(const std::string& surface);
    void Quad(const ScreenRect& rect, const std::string& technique);
    // A mesh subset; pass is the serial of the effect pass drawing it, 0 for
    // the fixed-function path (texture: its stage-0 texture's file).
    void MeshDraw(const Mesh& mesh, unsigned pass, const std::string& technique, const std::string& texture,
                  const Matrix& world, const Matrix& camera);
    void Fan(const ColorVertex* vertices, int count, const std::string& what, const std::string& texture,
             const Matrix& world, const Matrix& camera);
    void Sprite(const std::string& texture, const Rect& source, const Matrix& transform, float centreX, float centreY,
                std::uint32_t argb);
    void Text(const std::string& text, int x, int y, std::uint32_t argb, TextFace face);

private:
    std::vector<DrawRecord>* log = nullptr;
    const Mesh* lastMesh = nullptr;
    unsigned lastPass = 0;
};
