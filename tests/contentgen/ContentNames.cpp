#include "ContentNames.h"

std::vector<std::string> ModelNames()
{
    std::vector<std::string> names = {
        "Resource/Data/WhiteBlock/Model.x",   "Resource/Data/BlackBlock/Model.x",
        "Resource/Data/BlackBlock/HardBlack.x", "Resource/Data/BlackBlock/HardBlack2.x",
        "Resource/Data/Player/Model.x",       "Resource/Data/FlameBlock/Model.x",
        "Resource/Data/Title/Model1.x",
    };
    for (int group = 1; group <= 3; ++group) {
        const std::string g = std::to_string(group);
        names.push_back("Resource/Data/Stage/Stage" + g + ".x");
        names.push_back("Resource/Data/SkySphere/Model" + g + ".x");
        names.push_back("Resource/Data/Title/Stage" + g + ".x");
    }
    return names;
}

std::vector<std::string> ImageNames()
{
    std::vector<std::string> names = {
        "Resource/Data/WhiteBlock/Block_W_Cell.png",
        "Resource/Data/Title/Title.png",
        "Resource/Texture/White.png",
        "Resource/Texture/ToonTex2.png",
        "Resource/Texture/Game_Select.png",
        "Resource/Texture/RotIcon.png",
        "Resource/Texture/ScoreBoard.png",
        "Resource/Texture/GameClear.png",
        "Resource/Texture/GameOver.png",
        "Resource/Texture/PressEnter.png",
        "Resource/Texture/PressEnter_W.png",
        "Resource/Texture/GameStart.png",
        "Resource/Texture/ScoreReset.png",
        "Resource/Texture/CompletedSR.png",
        "Resource/Texture/Easy.png",
        "Resource/Texture/Normal.png",
        "Resource/Texture/Hard.png",
        "Resource/Texture/ArrowSH_U.png",
        "Resource/Texture/ArrowSH_D.png",
        "Resource/Texture/ArrowSH_L.png",
        "Resource/Texture/ArrowSH_R.png",
        "Resource/Texture/Select_String3.png",
        "Resource/Texture/Shot.png",
        "Resource/Texture/NotCleared.png",
        "Resource/Texture/StageGrid_2.png",
        "Resource/Texture/Target.png",
        "Resource/Texture/KeyLine.png",
        "Resource/Texture/DeadEnd.png",
        "Resource/Texture/TooLarge.png",
        "Resource/Texture/ReasonWalledIn.png",
        "Resource/Texture/ReasonNoShot.png",
        "Resource/Texture/ParWord.png",
        "Resource/Texture/ShotWord1.png",
        "Resource/Texture/ParMet.png",
        "Resource/Texture/WithHints.png",
        "Resource/Texture/HintCell.png",
        "Resource/Texture/HintArrow.png",
        "Resource/Texture/RefusedCell.png",
        "Resource/Texture/EditorKeys.png",
        "Resource/Texture/StartCell.png",
    };
    for (int group = 1; group <= 3; ++group) {
        names.push_back("Resource/Texture/Select_Back" + std::to_string(group) + "_A.png");
        for (int stage = 1; stage <= 6; ++stage) {
            names.push_back("Resource/Texture/StageIdea" + std::to_string(group) + "_" + std::to_string(stage) + ".png");
        }
    }
    for (int d = 0; d <= 9; ++d) {
        names.push_back("Resource/Texture/Number_Symbol/" + std::to_string(d) + "_W.png");
        names.push_back("Resource/Texture/Number_Symbol/" + std::to_string(d) + "_W2.png");
    }
    return names;
}

std::string ContentDir() { return ORB_CONTENT_DIR; }
