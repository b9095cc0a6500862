// contentgen OUTPUT_DIR [FONT_DIR]
// Writes every model and image the game reads into OUTPUT_DIR, the runtime
// directory. The same program always writes the same bytes.
#include <chrono>
#include <cstdio>
#include <string>

#include "Generators.h"

namespace {

constexpr const char* defaultFontDir = "/usr/share/fonts/truetype/dejavu";

bool LoadFont(FontFace& face, const std::string& dir, const char* file)
{
    const std::string path = dir + "/" + file;
    if (face.Load(path)) {
        return true;
    }
    std::fprintf(stderr, "contentgen: cannot read the font %s (Debian package fonts-dejavu-core)\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: contentgen OUTPUT_DIR [FONT_DIR]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::string fontDir = argc == 3 ? argv[2] : defaultFontDir;
    ui::Fonts fonts;
    if (!LoadFont(fonts.bold, fontDir, "DejaVuSans-Bold.ttf") || !LoadFont(fonts.regular, fontDir, "DejaVuSans.ttf") ||
        !LoadFont(fonts.monoBold, fontDir, "DejaVuSansMono-Bold.ttf")) {
        return 1;
    }

    ContentWriter out(argv[1]);
    WriteBlocks(out);
    WritePlayer(out);
    WriteLaunchMarker(out);
    WriteStageBoards(out);
    WriteSkies(out);
    WriteTitleModels(out, fonts);
    WriteGameHud(out, fonts);
    WriteTitleMenu(out, fonts);
    WriteSelectPanel(out, fonts);
    WriteEditorTiles(out);
    if (!out.Error().empty()) {
        std::fprintf(stderr, "contentgen: %s\n", out.Error().c_str());
        return 1;
    }

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("contentgen: %d files, %.1f MB in %.2f s\n", out.Files(), static_cast<double>(out.Bytes()) / 1e6,
                seconds);
    return 0;
}
