#include "solver/PositionTable.h"

#include <algorithm>
#include <new>

namespace {

constexpr std::size_t FirstSlots = 1 << 10;

std::uint64_t Hash(const PlayField::Packed& position)
{
    // FNV-1a, then a final mix so that the low bits, which pick the slot, depend on every byte.
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : position) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    hash ^= hash >> 32;
    hash *= 0xd6e8feb86659fd93ull;
    return hash ^ (hash >> 32);
}

}  // namespace

PositionTable::PositionTable(std::size_t byteBudget) : budget(byteBudget) {}

std::size_t PositionTable::Bytes() const
{
    return chunks.size() * ChunkNodes * sizeof(Node) + slots.capacity() * sizeof(std::uint32_t);
}

std::size_t PositionTable::SlotOf(const PlayField::Packed& position) const
{
    const std::size_t mask = slots.size() - 1;
    for (std::size_t slot = Hash(position) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = slots[slot];
        if (held == EmptySlot || (*this)[held - 1].position == position)
            return slot;
    }
}

// Doubles the slots (or makes the first ones); false, with nothing changed,
// when the old and new slots together would not fit the budget.
bool PositionTable::Grow()
{
    const std::size_t count = slots.empty() ? FirstSlots : slots.size() * 2;
    const std::size_t growing = Bytes() + count * sizeof(std::uint32_t);
    if (growing > budget)
        return false;
    std::vector<std::uint32_t> old;
    try {
        old.swap(slots);
        slots.assign(count, EmptySlot);
    } catch (const std::bad_alloc&) {
        slots.swap(old);
        return false;
    }
    peak = std::max(peak, growing);
    for (const std::uint32_t held : old) {
        if (held != EmptySlot)
            slots[SlotOf((*this)[held - 1].position)] = held;
    }
    return true;
}

PositionTable::Added PositionTable::Add(const Node& node)
{
    if (!slots.empty() && slots[SlotOf(node.position)] != EmptySlot)
        return Added::Seen;
    if ((size + 1) * 2 > slots.size() && !Grow())
        return Added::Full;
    if (size == chunks.size() * ChunkNodes) {
        if (Bytes() + ChunkNodes * sizeof(Node) > budget)
            return Added::Full;
        try {
            chunks.push_back(std::make_unique_for_overwrite<Node[]>(ChunkNodes));
        } catch (const std::bad_alloc&) {
            return Added::Full;
        }
        peak = std::max(peak, Bytes());
    }
    chunks[size / ChunkNodes][size % ChunkNodes] = node;
    slots[SlotOf(node.position)] = static_cast<std::uint32_t>(++size);
    return Added::New;
}
