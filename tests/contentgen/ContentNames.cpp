#include "ContentNames.h"

#include <iterator>

#include "assets/AssetFiles.h"
#include "stage/StageCatalogue.h"

namespace {

constexpr int Digits = 10;

}  // namespace

std::vector<std::string> ModelNames()
{
    std::vector<std::string> names(std::begin(ModelFile::Named), std::end(ModelFile::Named));
    for (int group = 1; group <= StageCatalogue::Groups; ++group) {
        names.push_back(ModelFile::StageBoard(group));
        names.push_back(ModelFile::Sky(group));
        names.push_back(ModelFile::TitleEmblem(group));
    }
    return names;
}

std::vector<std::string> ImageNames()
{
    std::vector<std::string> names(std::begin(ImageFile::Named), std::end(ImageFile::Named));
    for (int group = 1; group <= StageCatalogue::Groups; ++group) {
        names.push_back(ImageFile::GroupPanel(group));
        for (int stage = 1; stage <= StageCatalogue::StagesPerGroup; ++stage) {
            names.push_back(ImageFile::StageIdea(group, stage));
            names.push_back(ImageFile::NextStageLine(group, stage));
        }
    }
    for (std::size_t chosen = 0; chosen < 3; ++chosen)
        names.push_back(ImageFile::EditorLeaving(chosen));
    for (int chosen = 0; chosen < 2; ++chosen)
        names.push_back(ImageFile::EditorRecovery(chosen));
    for (int digit = 0; digit < Digits; ++digit) {
        names.push_back(ImageFile::Digit(digit));
        names.push_back(ImageFile::DarkDigit(digit));
    }
    return names;
}

std::string ContentDir() { return ORB_CONTENT_DIR; }
