#pragma once

// The game's own stages: three groups (Easy, Normal, Hard) of six, each a
// stage file and a result file in its group's folder (see StageFile::Path
// and ResultFile::Path).
namespace StageCatalogue {

constexpr int Groups = 3;
constexpr int StagesPerGroup = 6;

// The stage after number, the last wrapping round to the first.
constexpr int NextStage(int number)
{
    return number >= StagesPerGroup ? 1 : number + 1;
}
// The stage before number, the first wrapping round to the last.
constexpr int PreviousStage(int number)
{
    return number <= 1 ? StagesPerGroup : number - 1;
}
// value, counted 1 to count, moved by step and wrapped round.
constexpr int Cycle(int value, int step, int count)
{
    return (value - 1 + step + count) % count + 1;
}

}  // namespace StageCatalogue
