#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "solver/PlayField.h"

// The positions a search has met, in the order it met them, each with the
// shot that led to it; every position once. It never holds more than its
// budget of bytes: a search that would need more is told so instead, before
// anything is allocated, and what is held goes back in a few large blocks.
class PositionTable {
public:
    struct Node {
        PlayField::Packed position;
        // -1 for the first position.
        std::int32_t parent = -1;
        std::uint8_t from = 0;
        std::uint8_t direction = 0;
    };

    enum class Added { New, Seen, Full };

    explicit PositionTable(std::size_t byteBudget);

    Added Add(const Node& node);
    const Node& operator[](std::size_t index) const { return chunks[index / ChunkNodes][index % ChunkNodes]; }
    std::size_t Size() const { return size; }
    // What the table holds now, in bytes.
    std::size_t Bytes() const;
    // The most it ever held, counting the old slots and the new together while it grew.
    std::size_t PeakBytes() const { return peak; }

private:
    static constexpr std::size_t ChunkNodes = 1 << 10;
    static constexpr std::uint32_t EmptySlot = 0;

    std::size_t SlotOf(const PlayField::Packed& position) const;
    bool Grow();

    std::size_t budget;
    std::size_t peak = 0;
    std::size_t size = 0;
    // Nodes in fixed blocks, so that growing never copies them or holds two copies.
    std::vector<std::unique_ptr<Node[]>> chunks;
    // Open addressing: a node's index + 1, or EmptySlot; never more than half full.
    std::vector<std::uint32_t> slots;
};
