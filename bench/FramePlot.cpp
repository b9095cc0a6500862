// Draws frame times as a picture: one bar per frame, coloured by what the
// frame shows, against the 16 ms budget and the 60 % goal.
//   frame_plot TIMES.tsv OUT.png ["TITLE"]
// TIMES.tsv holds one frame a line: FRAME<TAB>MS<TAB>WHAT (play_frames writes it).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Figures.h"
#include "FontFace.h"
#include "Shapes.h"

namespace {

constexpr int Width = 1400;
constexpr int Height = 560;
constexpr float Left = 90.0f;
constexpr float Right = 1180.0f;
constexpr float Top = 70.0f;
constexpr float Bottom = 490.0f;
constexpr double GoalShare = 0.6;
constexpr const char* FontDir = "/usr/share/fonts/truetype/dejavu/";

const Color Ink = Hex(0x2B2D42);
const Color Grid = Hex(0xD9DCE3);
const Color Budget = Hex(0xE76F51);
const Color Goal = Hex(0x2A9D8F);

struct Frame {
    int number = 0;
    double ms = 0.0;
    std::string what;
};

Color ColourOf(const std::string& what)
{
    static const std::map<std::string, Color> colours = {
        {"fade-in", Hex(0x9DB4C0)},      {"playing", Hex(0x5C6B9C)},        {"shards", Hex(0x8E7DBE)},
        {"turning over", Hex(0xF4A261)}, {"clear sequence", Hex(0xE9C46A)}, {"menu", Hex(0x6D9F71)},
        {"fade-out", Hex(0xB5B8C4)}};
    const auto found = colours.find(what);
    return found != colours.end() ? found->second : Hex(0x888888);
}

void Text(Canvas& canvas, const FontFace& font, const std::string& text, float size, glm::vec2 left, Color colour)
{
    const TextImage image = font.Render(text, size, 2.0f);
    canvas.Draw(image.At(image.LeftAlignedOn(left)), colour);
}

void HorizontalLine(Canvas& canvas, float y, float width, Color colour)
{
    canvas.Draw(shapes::Rect({Left, y - width / 2}, {Right, y + width / 2}, 0.0f), colour);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: frame_plot TIMES.tsv OUT.png [TITLE]\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    std::vector<Frame> frames;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        Frame frame;
        fields >> frame.number >> frame.ms;
        fields.ignore(1);
        std::getline(fields, frame.what);
        if (fields || !frame.what.empty())
            frames.push_back(frame);
    }
    FontFace regular;
    FontFace bold;
    if (frames.empty() || !regular.Load(std::string(FontDir) + "DejaVuSans.ttf") ||
        !bold.Load(std::string(FontDir) + "DejaVuSans-Bold.ttf")) {
        std::fprintf(stderr, "frame_plot: no frames in %s, or no DejaVu fonts\n", argv[1]);
        return 1;
    }

    // The scale ends a little above the 99th percentile: a rare long frame
    // (the first one builds the scene's shaders) is cut at the top and named.
    std::vector<double> times;
    for (const Frame& frame : frames)
        times.push_back(frame.ms);
    const double p99 = Percentile(times, 0.99);
    double top = std::max(FrameBudgetMs * 1.25, p99 * 1.15);
    const double step = top > 64 ? 16.0 : top > 32 ? 8.0 : 4.0;
    top = std::ceil(top / step) * step;
    const auto yOf = [top](double ms) { return Bottom - static_cast<float>(std::min(ms, top) / top) * (Bottom - Top); };

    Canvas canvas(Width, Height);
    canvas.Draw(shapes::Rect({0.0f, 0.0f}, {float(Width), float(Height)}, 0.0f), Hex(0xFAFAF7));
    for (double ms = 0.0; ms <= top + 0.01; ms += step) {
        HorizontalLine(canvas, yOf(ms), 1.0f, Grid);
        char label[16];
        std::snprintf(label, sizeof label, "%.0f ms", ms);
        Text(canvas, regular, label, 16.0f, {18.0f, yOf(ms) + 6.0f}, Ink);
    }

    const float barWidth = (Right - Left) / static_cast<float>(frames.size());
    std::vector<std::string> kinds;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const float x = Left + barWidth * static_cast<float>(i);
        canvas.Draw(shapes::Rect({x, yOf(frames[i].ms)}, {x + std::max(barWidth, 1.0f), Bottom}, 0.0f),
                    ColourOf(frames[i].what), 0.5f, Bounds{{x - 2, Top - 2}, {x + barWidth + 2, Bottom + 2}});
        if (std::find(kinds.begin(), kinds.end(), frames[i].what) == kinds.end())
            kinds.push_back(frames[i].what);
    }
    HorizontalLine(canvas, yOf(FrameBudgetMs), 2.5f, Budget);
    HorizontalLine(canvas, yOf(FrameBudgetMs * GoalShare), 2.0f, Goal);
    Text(canvas, bold, "16 ms budget", 16.0f, {Right + 12.0f, yOf(FrameBudgetMs) + 6.0f}, Budget);
    Text(canvas, bold, "60 % goal", 16.0f, {Right + 12.0f, yOf(FrameBudgetMs * GoalShare) + 6.0f}, Goal);

    Text(canvas, bold, argc > 3 ? argv[3] : "Frame times", 22.0f, {Left, 40.0f}, Ink);
    const auto longest = std::max_element(frames.begin(), frames.end(),
                                          [](const Frame& a, const Frame& b) { return a.ms < b.ms; });
    if (longest->ms > top) {
        char note[64];
        std::snprintf(note, sizeof note, "frame %d: %.0f ms, cut at the top", longest->number, longest->ms);
        Text(canvas, regular, note, 13.0f, {Right - 230.0f, Top - 8.0f}, Ink);
    }
    float legend = Left;
    for (const std::string& kind : kinds) {
        canvas.Draw(shapes::Rect({legend, Bottom + 30.0f}, {legend + 14.0f, Bottom + 44.0f}, 2.0f), ColourOf(kind));
        Text(canvas, regular, kind, 15.0f, {legend + 20.0f, Bottom + 43.0f}, Ink);
        legend += 40.0f + 9.0f * static_cast<float>(kind.size());
    }
    Text(canvas, regular, "frame " + std::to_string(frames.front().number) + " to " +
                              std::to_string(frames.back().number),
         15.0f, {Right - 150.0f, Bottom + 43.0f}, Ink);

    const std::vector<unsigned char> png = canvas.EncodePng();
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return out ? 0 : 1;
}
