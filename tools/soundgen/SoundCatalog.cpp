#include "SoundCatalog.h"

#include "Music.h"
#include "SoundEffects.h"
#include "WavWriter.h"

const std::vector<SoundRecipe>& SoundCatalog()
{
    static const std::vector<SoundRecipe> catalog = {
        {SoundFile::WalkStep, WalkStep, false},
        {SoundFile::BlockLanding, BlockLanding, false},
        {SoundFile::FlipBatchStart, FlipBatchStart, false},
        {SoundFile::ClearFanfare, ClearFanfare, false},
        {SoundFile::MenuCursor, MenuCursor, false},
        {SoundFile::Decide, Decide, false},
        {SoundFile::ChargeLoop, ChargeLoop, true},
        {SoundFile::Shot, Shot, false},
        {SoundFile::FlipDone, FlipDone, false},
        {SoundFile::GameOverSting, GameOverSting, false},
        {SoundFile::ClearSwing, ClearSwing, false},
        {SoundFile::ClearStrum, ClearStrum, false},
        {SoundFile::ClearJingle, ClearJingle, false},
        {SoundFile::BlockBurst, BlockBurst, false},
        {SoundFile::GameMusic, GameMusic, true},
        {SoundFile::TitleCursor, TitleCursor, false},
        {SoundFile::TitleMusic, TitleMusic, true},
        {SoundFile::CubeTurn, CubeTurn, false},
        {SoundFile::SelectMusic, SelectMusic, true},
        {SoundFile::Refused, Refused, false},
    };
    return catalog;
}

bool WriteSoundCatalog(const std::filesystem::path& runtime, std::string& error)
{
    for (const SoundRecipe& recipe : SoundCatalog()) {
        const std::filesystem::path path = runtime / recipe.file;
        std::error_code folderError;
        std::filesystem::create_directories(path.parent_path(), folderError);
        if (folderError) {
            error = "cannot make " + path.parent_path().string() + ": " + folderError.message();
            return false;
        }
        if (!WriteWav(path.string(), recipe.make(), error))
            return false;
    }
    return true;
}
