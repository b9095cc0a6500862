#include "game/ResumeFile.h"

#include <cstdio>

#include "assets/AssetFiles.h"
#include "files/AtomicFile.h"
#include "rules/BlockKind.h"
#include "rules/Field.h"
#include "stage/RecordScanner.h"
#include "stage/TextLines.h"

namespace ResumeFile {

namespace {

// Every shot that stays adds a block; no stage of ten by ten cells holds more.
constexpr std::size_t MaxPieces = Field::Cells * Field::Cells;

// Whether position can have come from start by play: the stage's own blocks
// in their cells, shots that stayed as white blocks, nothing on top of
// another or of the player, and the player inside the field.
bool Fits(const BoardPosition& position, const BoardPosition& start)
{
    if (position.pieces.size() < start.pieces.size() || position.pieces.size() > MaxPieces || position.shots <= 0 ||
        !Field::Inside(position.player.x, position.player.y, position.player.z) || position.facing < 0 ||
        position.facing > Direction::PlusX)
        return false;
    bool taken[Field::Cells][Field::Cells][Field::Cells] = {};
    taken[position.player.x][position.player.y][position.player.z] = true;
    for (std::size_t i = 0; i < position.pieces.size(); ++i) {
        const Piece& piece = position.pieces[i];
        const bool own = i < start.pieces.size();
        if (own && (piece.cell != start.pieces[i].cell || piece.launched != start.pieces[i].launched))
            return false;
        if (!own && (piece.kind != BlockKind::White || piece.cell.y != 0))
            return false;
        if (!BlockKind::IsBlock(piece.kind) || !Field::Inside(piece.cell.x, piece.cell.y, piece.cell.z))
            return false;
        if (piece.launched)
            continue;
        bool& cell = taken[piece.cell.x][piece.cell.y][piece.cell.z];
        if (cell)
            return false;
        cell = true;
    }
    return true;
}

}  // namespace

std::string Path(int group, int stage)
{
    return "./" + StageData::GroupFolder(group) + "/Resume" + std::to_string(stage) + ".txt";
}

bool Write(const std::string& path, std::int32_t stageCheck, const BoardPosition& position)
{
    std::string text = "check:" + std::to_string(stageCheck) + "\nshots:" + std::to_string(position.shots) +
                       "\nplayer:" + std::to_string(position.player.x) + "," + std::to_string(position.player.z) + "," +
                       std::to_string(position.facing) + "\n";
    for (const Piece& piece : position.pieces) {
        text += "x:" + std::to_string(piece.cell.x) + ",y:" + std::to_string(piece.cell.y) +
                ",z:" + std::to_string(piece.cell.z) + ",sf:" + std::to_string(piece.kind) + "\n";
    }
    return AtomicFile::Replace(path, text);
}

std::optional<BoardPosition> Read(const std::string& path, std::int32_t stageCheck, const BoardPosition& start)
{
    std::optional<std::istringstream> in = ReadTextFile(path);
    if (!in)
        return std::nullopt;
    TextLines lines(*in);
    std::string line;
    int check = 0;
    BoardPosition position;
    if (!lines.Next(line) || !RecordScanner(line).Int("check:", check) || check != stageCheck)
        return std::nullopt;
    if (!lines.Next(line) || !RecordScanner(line).Int("shots:", position.shots))
        return std::nullopt;
    if (!lines.Next(line))
        return std::nullopt;
    RecordScanner player(line);
    if (!player.Int("player:", position.player.x) || !player.Int(",", position.player.z) ||
        !player.Int(",", position.facing))
        return std::nullopt;
    while (lines.Next(line) && position.pieces.size() <= MaxPieces) {
        Piece piece;
        RecordScanner record(line);
        if (!record.Int("x:", piece.cell.x) || !record.Int(",y:", piece.cell.y) || !record.Int(",z:", piece.cell.z) ||
            !record.Int(",sf:", piece.kind))
            return std::nullopt;
        if (position.pieces.size() < start.pieces.size())
            piece.launched = start.pieces[position.pieces.size()].launched;
        position.pieces.push_back(piece);
    }
    if (!Fits(position, start))
        return std::nullopt;
    return position;
}

void Remove(const std::string& path)
{
    std::remove(path.c_str());
}

}  // namespace ResumeFile
