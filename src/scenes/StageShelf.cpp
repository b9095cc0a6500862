#include "scenes/StageShelf.h"

#include <algorithm>

#include "render/GraphicsDevice.h"
#include "stage/StageCatalogue.h"

namespace {

constexpr int Left = 50;
constexpr int Top = 40;
constexpr int RowHeight = 34;
constexpr int Indent = 24;
// Rows and headings that fit above the editor's messages.
constexpr int VisibleLines = 15;
constexpr std::uint32_t Ink = 0xFF262833;
constexpr std::uint32_t Coral = 0xFFC2463A;
constexpr std::uint32_t Heading = 0xFF3F5F8F;

std::string ParLabel(int par)
{
    return par < 0 ? "no par yet" : "par " + std::to_string(par);
}

}  // namespace

StageShelf::StageShelf(const std::vector<OwnStages::Entry>& own) : ownCount(own.size())
{
    for (const OwnStages::Entry& stage : own) {
        rows.push_back({std::string(OwnStages::Folder) + "/" + stage.file, stage.name + "   " + ParLabel(stage.par),
                        stage.file, stage.name});
    }
    for (int group = 1; group <= StageCatalogue::Groups; ++group) {
        for (int number = 1; number <= StageCatalogue::StagesPerGroup; ++number)
            rows.push_back({StageFile::Path(group, number), "stage " + std::to_string(group) + "-" + std::to_string(number), {}, {}});
    }
}

void StageShelf::Move(int by)
{
    const auto count = static_cast<int>(rows.size());
    chosen = static_cast<std::size_t>(((static_cast<int>(chosen) + by) % count + count) % count);
}

void StageShelf::Draw(GraphicsDevice& device) const
{
    // Each row's line, the headings taking a line each.
    struct Line {
        std::string text;
        std::uint32_t ink;
        int indent;
    };
    std::vector<Line> lines;
    std::size_t chosenLine = 0;
    lines.push_back({"Load a stage:  Up, Down choose;  Enter takes;  Esc closes", Ink, 0});
    lines.push_back({ownCount == 0 ? "My stages: none yet (P saves the board as one)" : "My stages", Heading, 0});
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i == ownCount)
            lines.push_back({"Shipped stages", Heading, 0});
        if (i == chosen)
            chosenLine = lines.size();
        lines.push_back({(i == chosen ? "> " : "   ") + rows[i].label, i == chosen ? Coral : Ink, Indent});
    }
    // The title stays; the rest scrolls to keep the chosen row in sight.
    const int shown = std::min<int>(VisibleLines - 1, static_cast<int>(lines.size()) - 1);
    const int first = std::clamp(static_cast<int>(chosenLine) - shown / 2, 1, static_cast<int>(lines.size()) - shown);
    device.DrawText(lines[0].text, Left, Top, lines[0].ink, TextFace::Sans);
    for (int i = 0; i < shown; ++i) {
        const Line& line = lines[static_cast<std::size_t>(first + i)];
        device.DrawText(line.text, Left + line.indent, Top + RowHeight * (i + 1), line.ink, TextFace::Sans);
    }
}
