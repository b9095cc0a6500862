#include "game/StageBlocks.h"

#include <sstream>

#include "files/AtomicFile.h"

bool LoadStage(BlockList& blocks, const std::string& path)
{
    std::optional<std::vector<BlockRecord>> records = StageFile::Read(path);
    if (!records)
        return false;
    for (auto& block : BlocksOf(std::move(*records)))
        blocks.push_back(std::move(block));
    return true;
}

BlockList BlocksOf(std::vector<BlockRecord> records)
{
    BlockList blocks;
    blocks.reserve(records.size());
    for (BlockRecord& record : records) {
        auto block = std::make_shared<Block>(MapPosition{record.x, record.y, record.z}, record.kind);
        block->launched = record.launched;
        block->state = record.state;
        block->moves = std::move(record.moves);
        block->frames = std::move(record.frames);
        blocks.push_back(std::move(block));
    }
    return blocks;
}

BlockList BlocksOfText(const std::string& text)
{
    std::istringstream in(text);
    return BlocksOf(StageFile::Parse(in));
}

std::vector<BlockRecord> RecordsOf(const BlockList& blocks)
{
    std::vector<BlockRecord> records;
    records.reserve(blocks.size());
    for (const auto& block : blocks) {
        const MapPosition& cell = block->mapCell;
        records.push_back({cell.x, cell.y, cell.z, block->kind, block->launched, block->state, block->moves,
                           block->frames});
    }
    return records;
}

bool SaveStage(const BlockList& blocks, std::string* writtenName)
{
    return StageFile::WriteNew(RecordsOf(blocks), writtenName);
}

bool KeepBlocks(const BlockList& blocks, const std::string& path)
{
    return AtomicFile::Replace(path, StageFile::Format(RecordsOf(blocks)));
}
