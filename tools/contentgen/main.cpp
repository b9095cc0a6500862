// contentgen OUTPUT_DIR [FONT_DIR]
// contentgen --icon game|editor SIZE FILE
// Writes every model and image the game reads into OUTPUT_DIR, the runtime
// directory, or one desktop icon, which only an install takes, into FILE.
// The same program always writes the same bytes.
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "Generators.h"
#include "Icons.h"

namespace {

constexpr const char* defaultFontDir = "/usr/share/fonts/truetype/dejavu";
constexpr int smallestIcon = 16;
constexpr int largestIcon = 1024;

int WriteIcon(std::string_view kind, std::string_view sizeText, const std::filesystem::path& file)
{
    int size = 0;
    const auto [end, failure] = std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), size);
    if (failure != std::errc() || end != sizeText.data() + sizeText.size() || size < smallestIcon ||
        size > largestIcon || (kind != "game" && kind != "editor")) {
        std::fprintf(stderr, "contentgen: an icon is game or editor, %d to %d pixels\n", smallestIcon, largestIcon);
        return 2;
    }
    ContentWriter out(file.parent_path());
    out.Write(file.filename().string(), kind == "game" ? GameIcon(size) : EditorIcon(size));
    if (!out.Error().empty()) {
        std::fprintf(stderr, "contentgen: %s\n", out.Error().c_str());
        return 1;
    }
    return 0;
}

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
    if (argc == 5 && std::strcmp(argv[1], "--icon") == 0) {
        return WriteIcon(argv[2], argv[3], argv[4]);
    }
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: contentgen OUTPUT_DIR [FONT_DIR]\n       contentgen --icon game|editor SIZE FILE\n");
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
    WriteAssistHud(out, fonts);
    WriteTitleMenu(out, fonts);
    WriteSelectPanel(out, fonts);
    WriteStageIdeas(out, fonts);
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
