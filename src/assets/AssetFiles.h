#pragma once

#include <cstddef>
#include <string>

// Every file under Resource/ that the game asks for by name, one line each:
// the name the code gives it, and its path from the directory the game runs
// in. The game reads them, the content and sound generators write them, and
// the tests check that the build wrote each one, all by these names, so a
// file missing from the build, or asked for under another spelling, fails
// the build or a test. Textures that a model names (a board's face, a sky)
// are the model's business and are not listed.

#define ORB_MODEL_FILES(FILE)                                  \
    FILE(WhiteBlock, "Resource/Data/WhiteBlock/Model.x")       \
    FILE(BlackBlock, "Resource/Data/BlackBlock/Model.x")       \
    FILE(HardBlock, "Resource/Data/BlackBlock/HardBlack.x")    \
    FILE(HardBlockInverted, "Resource/Data/BlackBlock/HardBlack2.x") \
    FILE(Player, "Resource/Data/Player/Model.x")               \
    FILE(LaunchMarker, "Resource/Data/FlameBlock/Model.x")     \
    FILE(TitleLogo, "Resource/Data/Title/Model1.x")

#define ORB_IMAGE_FILES(FILE)                                  \
    FILE(ShardFace, "Resource/Data/WhiteBlock/Block_W_Cell.png") \
    FILE(TitleLettering, "Resource/Data/Title/Title.png")      \
    FILE(White, "Resource/Texture/White.png")                  \
    FILE(ToonRamp, "Resource/Texture/ToonTex2.png")            \
    FILE(GameMenu, "Resource/Texture/Game_Select.png")         \
    FILE(GameMenuCursor, "Resource/Texture/RotIcon.png")       \
    FILE(ScoreBoard, "Resource/Texture/ScoreBoard.png")        \
    FILE(GameClear, "Resource/Texture/GameClear.png")          \
    FILE(GameOver, "Resource/Texture/GameOver.png")            \
    FILE(PressEnter, "Resource/Texture/PressEnter.png")        \
    FILE(PressEnterInverted, "Resource/Texture/PressEnter_W.png") \
    FILE(GameStart, "Resource/Texture/GameStart.png")          \
    FILE(ScoreReset, "Resource/Texture/ScoreReset.png")        \
    FILE(ScoreResetDone, "Resource/Texture/CompletedSR.png")   \
    FILE(ResetAskedNo, "Resource/Texture/ResetAskedNo.png")    \
    FILE(ResetAskedYes, "Resource/Texture/ResetAskedYes.png")  \
    FILE(Easy, "Resource/Texture/Easy.png")                    \
    FILE(Normal, "Resource/Texture/Normal.png")                \
    FILE(Hard, "Resource/Texture/Hard.png")                    \
    FILE(ArrowUp, "Resource/Texture/ArrowSH_U.png")            \
    FILE(ArrowDown, "Resource/Texture/ArrowSH_D.png")          \
    FILE(ArrowLeft, "Resource/Texture/ArrowSH_L.png")          \
    FILE(ArrowRight, "Resource/Texture/ArrowSH_R.png")         \
    FILE(SelectLabels, "Resource/Texture/Select_String3.png")  \
    FILE(ShotsWord, "Resource/Texture/Shot.png")               \
    FILE(NotCleared, "Resource/Texture/NotCleared.png")        \
    FILE(EditorTile, "Resource/Texture/StageGrid_2.png")       \
    FILE(EditorCursor, "Resource/Texture/Target.png")          \
    FILE(EditorCursorFrame, "Resource/Texture/TargetFrame.png") \
    FILE(KeyLine, "Resource/Texture/KeyLine.png")              \
    FILE(DeadEnd, "Resource/Texture/DeadEnd.png")              \
    FILE(TooLarge, "Resource/Texture/TooLarge.png")            \
    FILE(WalledIn, "Resource/Texture/ReasonWalledIn.png")      \
    FILE(NoUsefulShot, "Resource/Texture/ReasonNoShot.png")    \
    FILE(ParWord, "Resource/Texture/ParWord.png")              \
    FILE(OneShotWord, "Resource/Texture/ShotWord1.png")        \
    FILE(ParMet, "Resource/Texture/ParMet.png")                \
    FILE(WithHints, "Resource/Texture/WithHints.png")          \
    FILE(HintCell, "Resource/Texture/HintCell.png")            \
    FILE(HintArrow, "Resource/Texture/HintArrow.png")          \
    FILE(RefusedCell, "Resource/Texture/RefusedCell.png")      \
    FILE(TurnsWhite, "Resource/Texture/TurnsWhite.png")        \
    FILE(TurnsBlack, "Resource/Texture/TurnsBlack.png")        \
    FILE(ShotDissolves, "Resource/Texture/ShotDissolves.png")  \
    FILE(PlayerFacing, "Resource/Texture/PlayerFacing.png")    \
    FILE(ResumeContinue, "Resource/Texture/ResumeContinue.png") \
    FILE(ResumeStartAgain, "Resource/Texture/ResumeStart.png") \
    FILE(EditorKeys, "Resource/Texture/EditorKeys.png")        \
    FILE(StartCell, "Resource/Texture/StartCell.png")

#define ORB_SOUND_FILES(FILE)                                  \
    FILE(WalkStep, "Resource/Sound/Player_Trans.wav")          \
    FILE(BlockLanding, "Resource/Sound/Block_接着音.wav")      \
    FILE(FlipBatchStart, "Resource/Sound/Block_Reverse.wav")   \
    FILE(ClearFanfare, "Resource/Sound/GameClear.wav")         \
    FILE(MenuCursor, "Resource/Sound/Cursor2.wav")             \
    FILE(Decide, "Resource/Sound/決定音1.wav")                 \
    FILE(ChargeLoop, "Resource/Sound/発射準備.wav")            \
    FILE(Shot, "Resource/Sound/発射音2.wav")                   \
    FILE(FlipDone, "Resource/Sound/Load_End.wav")              \
    FILE(GameOverSting, "Resource/Sound/GameOver.wav")         \
    FILE(ClearSwing, "Resource/Sound/GameClearString_Swing.wav") \
    FILE(ClearStrum, "Resource/Sound/GameClearString_END.wav") \
    FILE(ClearJingle, "Resource/Sound/GameClear2.wav")         \
    FILE(BlockBurst, "Resource/Sound/ClearBlock.wav")          \
    FILE(GameMusic, "Resource/Sound/GameBGM.wav")              \
    FILE(TitleCursor, "Resource/Sound/Cursor1.wav")            \
    FILE(TitleMusic, "Resource/Sound/TitleBGM.wav")            \
    FILE(CubeTurn, "Resource/Sound/Select_Finish.wav")         \
    FILE(SelectMusic, "Resource/Sound/SelectBGM2.wav")         \
    FILE(Refused, "Resource/Sound/Refused.wav")

#define ORB_FILE_NAME(name, path) inline constexpr const char* name = path;
#define ORB_FILE_PATH(name, path) path,

namespace ModelFile {
ORB_MODEL_FILES(ORB_FILE_NAME)
// Every model above; the numbered ones follow.
inline constexpr const char* Named[] = {ORB_MODEL_FILES(ORB_FILE_PATH)};

// The group's board, also the select screen's cube.
inline std::string StageBoard(int group)
{
    return "Resource/Data/Stage/Stage" + std::to_string(group) + ".x";
}
inline std::string Sky(int group)
{
    return "Resource/Data/SkySphere/Model" + std::to_string(group) + ".x";
}
// The title's emblem of a group (of a difficulty).
inline std::string TitleEmblem(int group)
{
    return "Resource/Data/Title/Stage" + std::to_string(group) + ".x";
}
}  // namespace ModelFile

namespace ImageFile {
ORB_IMAGE_FILES(ORB_FILE_NAME)
// Every image above; the numbered ones follow.
inline constexpr const char* Named[] = {ORB_IMAGE_FILES(ORB_FILE_PATH)};

// The select screen's panel of a group.
inline std::string GroupPanel(int group)
{
    return "Resource/Texture/Select_Back" + std::to_string(group) + "_A.png";
}
// With the play aids, the select screen's line on a stage's idea.
inline std::string StageIdea(int group, int stage)
{
    return "Resource/Texture/StageIdea" + std::to_string(group) + "_" + std::to_string(stage) + ".png";
}
// With the play aids, the line under a game's menu naming the stage "Next
// stage" leads to, and its idea.
inline std::string NextStageLine(int group, int stage)
{
    return "Resource/Texture/NextStage" + std::to_string(group) + "_" + std::to_string(stage) + ".png";
}
// With the play aids, the editor's question before leaving with changes not
// saved, with answer chosen (0 save, 1 discard, 2 stay) in coral.
inline std::string EditorLeaving(std::size_t chosen)
{
    return "Resource/Texture/EditorLeaving" + std::to_string(chosen) + ".png";
}
// With the play aids, the editor's offer of a board left behind: 0 with
// "bring it back" chosen, 1 with "start empty".
inline std::string EditorRecovery(int chosen)
{
    return "Resource/Texture/EditorRecovery" + std::to_string(chosen) + ".png";
}
// A digit 0 to 9 in white, for the scores over the game and the select screen.
inline std::string Digit(int digit)
{
    return "Resource/Texture/Number_Symbol/" + std::to_string(digit) + "_W.png";
}
// A digit 0 to 9 in the select panel's dark ink.
inline std::string DarkDigit(int digit)
{
    return "Resource/Texture/Number_Symbol/" + std::to_string(digit) + "_W2.png";
}
}  // namespace ImageFile

namespace SoundFile {
ORB_SOUND_FILES(ORB_FILE_NAME)
inline constexpr const char* Named[] = {ORB_SOUND_FILES(ORB_FILE_PATH)};
}  // namespace SoundFile

#undef ORB_FILE_PATH
#undef ORB_FILE_NAME
#undef ORB_SOUND_FILES
#undef ORB_IMAGE_FILES
#undef ORB_MODEL_FILES

// The stages and the player's best scores: the one folder the game writes
// into, with a folder of each group's in it, and the editor's stages.
namespace StageData {
inline constexpr const char* Folder = "Resource/BData";

inline std::string GroupFolder(int group)
{
    return std::string(Folder) + "/STAGE" + std::to_string(group);
}
}  // namespace StageData
