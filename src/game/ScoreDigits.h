#pragma once

#include <vector>

// The digits a score shows, most significant first; none for a score below 1.
// They are counted by dividing the score, as a float, by 10, 100, ... until the
// quotient falls below 1, as the HUD and the select panel always did.
std::vector<int> ScoreDigits(int score);
