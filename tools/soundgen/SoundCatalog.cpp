#include "SoundCatalog.h"

#include "Music.h"
#include "SoundEffects.h"
#include "WavWriter.h"

const std::vector<SoundRecipe>& SoundCatalog()
{
    static const std::vector<SoundRecipe> catalog = {
        {"Player_Trans.wav", WalkStep, false},
        {"Block_接着音.wav", BlockLanding, false},
        {"Block_Reverse.wav", FlipBatchStart, false},
        {"GameClear.wav", ClearFanfare, false},
        {"Cursor2.wav", MenuCursor, false},
        {"決定音1.wav", Decide, false},
        {"発射準備.wav", ChargeLoop, true},
        {"発射音2.wav", Shot, false},
        {"Load_End.wav", FlipDone, false},
        {"GameOver.wav", GameOverSting, false},
        {"GameClearString_Swing.wav", ClearSwing, false},
        {"GameClearString_END.wav", ClearStrum, false},
        {"GameClear2.wav", ClearJingle, false},
        {"ClearBlock.wav", BlockBurst, false},
        {"GameBGM.wav", GameMusic, true},
        {"Cursor1.wav", TitleCursor, false},
        {"TitleBGM.wav", TitleMusic, true},
        {"Select_Finish.wav", CubeTurn, false},
        {"SelectBGM2.wav", SelectMusic, true},
        {"Refused.wav", Refused, false},
    };
    return catalog;
}

bool WriteSoundCatalog(const std::string& folder, std::string& error)
{
    for (const SoundRecipe& recipe : SoundCatalog()) {
        if (!WriteWav(folder + "/" + recipe.fileName, recipe.make(), error))
            return false;
    }
    return true;
}
