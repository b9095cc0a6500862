// The stage editor's floor tile and its cursor tile (and frame), each drawn
// over one 50-unit cell seen from straight above.
#include "Canvas.h"
#include "Generators.h"
#include "Palette.h"
#include "Shapes.h"

namespace {

constexpr float tileSize = 64.0f;

Canvas Tile(Color fill, Color border, float borderWidth)
{
    Canvas tile(static_cast<int>(tileSize), static_cast<int>(tileSize));
    tile.Draw(shapes::Rect({0, 0}, {tileSize, tileSize}, 0), border);
    tile.Draw(shapes::Rect({borderWidth, borderWidth}, {tileSize - borderWidth, tileSize - borderWidth}, 6.0f),
              paints::Vertical(Mix(fill, Hex(0xFFFFFF), 0.4f), fill, 0.0f, tileSize));
    return tile;
}

// Only the rim of a cell, so the block under it shows through.
Canvas Frame(Color rim, Color edge)
{
    constexpr float width = 7.0f;
    Canvas tile(static_cast<int>(tileSize), static_cast<int>(tileSize));
    const Shape outer = shapes::Rect({5.0f, 5.0f}, {tileSize - 5.0f, tileSize - 5.0f}, 10.0f);
    tile.Draw(shapes::Stroke(outer, width + 3.0f), edge);
    tile.Draw(shapes::Stroke(outer, width), rim);
    return tile;
}

}  // namespace

void WriteEditorTiles(ContentWriter& out)
{
    out.Write(ImageFile::EditorTile, Tile(Hex(0xE6E9F2), Hex(0x9AA1B8), 2.0f));
    out.Write(ImageFile::EditorCursor, Tile(Mix(palette::coral, palette::gold, 0.3f), palette::coralDark, 5.0f));
    // With the aids: the cursor as a frame over whatever stands in its cell.
    out.Write(ImageFile::EditorCursorFrame, Frame(Mix(palette::coral, palette::gold, 0.3f), palette::coralDark));
}
