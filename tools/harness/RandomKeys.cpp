#include "RandomKeys.h"

namespace {

// One frame in this many changes a key: presses a few a second, held for
// a few frames to seconds, like hurried hands.
constexpr unsigned FramesPerChange = 6;

}  // namespace

RandomKeys::RandomKeys(unsigned seed, bool assists)
    : random(seed), keys(PlayKeys(assists)), down(keys.size(), false)
{
}

std::optional<KeyChange> RandomKeys::Next(int frame)
{
    if (random() % FramesPerChange != 0)
        return std::nullopt;
    // Releases come three times as often as presses, so a key or two is held
    // at a time and there are moments with none: scenes that take the first
    // held key in an order and wait for all keys up still see every key.
    const bool release = random() % 4 != 0;
    std::vector<std::size_t> candidates;
    for (std::size_t key = 0; key < keys.size(); ++key) {
        if (down[key] == release)
            candidates.push_back(key);
    }
    if (candidates.empty())
        return std::nullopt;
    const std::size_t key = candidates[random() % candidates.size()];
    down[key] = !release;
    return KeyChange{frame, keys[key], down[key]};
}
