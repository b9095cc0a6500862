// orb-pictures: the reference pictures' three jobs.
//   orb-pictures shrink PICTURE OUT            a frame at the reference size
//   orb-pictures compare REFERENCE PICTURE     exit 1 when they differ (figures on stdout)
//   orb-pictures sheet OUT NAME OLD NEW ...    old, new and their difference side by side
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <stb_image_write.h>

#include "Canvas.h"
#include "FontFace.h"
#include "ReferencePicture.h"

namespace {

constexpr const char* FontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int Margin = 12;
constexpr int LabelHeight = 28;

bool Read(const std::string& path, Image& image)
{
    std::string error;
    auto read = ReadImageFile(path, error);
    if (!read) {
        std::fprintf(stderr, "orb-pictures: %s\n", error.c_str());
        return false;
    }
    image = std::move(*read);
    return true;
}

bool Write(const std::string& path, const Image& image)
{
    if (stbi_write_png(path.c_str(), image.width, image.height, 4, image.rgba.data(), image.width * 4))
        return true;
    std::fprintf(stderr, "orb-pictures: %s cannot be written\n", path.c_str());
    return false;
}

void Paste(Canvas& canvas, const Image& image, int left, int top)
{
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = &image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4];
            canvas.Set(left + x, top + y, Color(p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, 1.0f));
        }
    }
}

// One row a view: its name and figures, then old, new and difference.
int Sheet(const std::string& out, const std::vector<std::string>& rows)
{
    struct Row {
        std::string name;
        Image old, now;
    };
    std::vector<Row> views;
    for (std::size_t i = 0; i + 2 < rows.size(); i += 3) {
        Row row{rows[i], {}, {}};
        if (!Read(rows[i + 1], row.old) || !Read(rows[i + 2], row.now))
            return 2;
        if (row.now.width > row.old.width && row.old.width > 0)
            row.now = ReferencePicture::Shrunk(row.now, row.now.width / row.old.width);
        views.push_back(std::move(row));
    }
    if (views.empty())
        return 2;
    FontFace font;
    font.Load(FontFile);
    int cell = 0;
    int rowsHeight = Margin;
    for (const Row& row : views) {
        cell = std::max(cell, row.old.width);
        rowsHeight += LabelHeight + row.old.height + Margin;
    }
    Canvas canvas(Margin + 3 * (cell + Margin), rowsHeight);
    canvas.Draw([](glm::vec2) { return -1.0f; }, Hex(0xFFFFFF));
    int top = Margin;
    for (const Row& row : views) {
        const auto difference = ReferencePicture::Compare(row.old, row.now);
        const std::string label = row.name + (difference.Matches() ? "" : "  CHANGED") + ": old, new, difference; " +
                                  ReferencePicture::Describe(difference);
        const TextImage text = font.Render(label, 15.0f, 2.0f);
        canvas.Draw(text.At(text.LeftAlignedOn({static_cast<float>(Margin), top + LabelHeight * 0.6f})),
                    difference.Matches() ? Hex(0x202020) : Hex(0xC02020));
        top += LabelHeight;
        Paste(canvas, row.old, Margin, top);
        Paste(canvas, row.now, Margin + cell + Margin, top);
        Paste(canvas, ReferencePicture::DifferenceImage(row.old, row.now), Margin + 2 * (cell + Margin), top);
        top += row.old.height + Margin;
    }
    const auto png = canvas.EncodePng();
    FILE* file = std::fopen(out.c_str(), "wb");
    if (!file || std::fwrite(png.data(), 1, png.size(), file) != png.size()) {
        std::fprintf(stderr, "orb-pictures: %s cannot be written\n", out.c_str());
        if (file)
            std::fclose(file);
        return 2;
    }
    std::fclose(file);
    return 0;
}

int Usage()
{
    std::fprintf(stderr, "usage: orb-pictures shrink PICTURE OUT\n"
                         "       orb-pictures compare REFERENCE PICTURE\n"
                         "       orb-pictures sheet OUT NAME OLD NEW [NAME OLD NEW...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "shrink") {
        Image picture;
        if (!Read(args[1], picture))
            return 2;
        return Write(args[2], ReferencePicture::Shrunk(picture, ReferencePicture::Shrink)) ? 0 : 2;
    }
    if (args.size() == 3 && args[0] == "compare") {
        Image reference, picture;
        if (!Read(args[1], reference) || !Read(args[2], picture))
            return 2;
        const auto difference = ReferencePicture::Compare(reference, picture);
        std::printf("%s: %s\n", args[2].c_str(), ReferencePicture::Describe(difference).c_str());
        return difference.Matches() ? 0 : 1;
    }
    if (args.size() >= 5 && args[0] == "sheet" && (args.size() - 2) % 3 == 0)
        return Sheet(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    return Usage();
}
