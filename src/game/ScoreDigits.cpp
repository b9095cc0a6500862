#include "game/ScoreDigits.h"

#include <cmath>

std::vector<int> ScoreDigits(int score)
{
    std::vector<int> digits;
    if (score < 1)
        return digits;
    int count = 1;
    while (static_cast<float>(score) / std::pow(10.0f, static_cast<float>(count)) >= 1.0f)
        ++count;
    long long rest = score;
    for (int i = 0; i < count; ++i) {
        long long place = 1;
        for (int j = 0; j < count - 1 - i; ++j)
            place *= 10;
        digits.push_back(static_cast<int>(rest / place));
        rest %= place;
    }
    return digits;
}
