#include "KeyPlan.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "rules/Field.h"

namespace {

// A walk of one cell takes 11 frames; the next press waits one more.
constexpr int StepFrames = 12;
// The charge is held past the 10 frames of the turn toward the shot.
constexpr int ChargeFrames = 11;
// A shot moves 5 units a frame: 10 frames a cell.
constexpr int FlightFramesPerCell = 10;
// Blocks start turning over 5 frames apart, each for 71 frames.
constexpr int TurnInterval = 5;
constexpr int TurnFrames = 71;
// Slack after every wait, so a replay never presses a key a frame too soon.
constexpr int Slack = 10;

// Key changes, written out in the order of their frames.
class Script {
public:
    void Press(int frame, const char* key, int releaseFrame)
    {
        changes.push_back({frame, std::string(key) + " down"});
        changes.push_back({releaseFrame, std::string(key) + " up"});
    }
    std::string Text()
    {
        std::stable_sort(changes.begin(), changes.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::string text;
        for (const auto& [frame, change] : changes)
            text += std::to_string(frame) + " " + change + "\n";
        return text;
    }

private:
    std::vector<std::pair<int, std::string>> changes;
};

}  // namespace

const char* ArrowKey(int direction)
{
    switch (direction) {
    case Direction::PlusZ:
        return "Up";
    case Direction::MinusZ:
        return "Down";
    case Direction::MinusX:
        return "Left";
    default:
        return "Right";
    }
}

const char* DirectionName(int direction)
{
    switch (direction) {
    case Direction::PlusZ:
        return "+z";
    case Direction::MinusZ:
        return "-z";
    case Direction::MinusX:
        return "-x";
    default:
        return "+x";
    }
}

KeyPlan PlanKeys(const Solution& solution)
{
    Script script;
    int frame = 1;
    for (const SolutionShot& shot : solution.shots) {
        for (const int step : shot.walk) {
            script.Press(frame, ArrowKey(step), frame + 1);
            frame += StepFrames;
        }
        const int fireFrame = frame + ChargeFrames + 1;
        script.Press(frame, "Space", fireFrame);
        script.Press(frame + 1, ArrowKey(shot.direction), frame + 2);
        const int cells = std::abs(shot.landing.x - shot.from.x) + std::abs(shot.landing.z - shot.from.z) - 1;
        frame = fireFrame + cells * FlightFramesPerCell + shot.turned * TurnInterval + TurnFrames + Slack;
    }
    return {script.Text(), frame};
}
