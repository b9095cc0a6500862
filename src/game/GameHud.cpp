#include "game/GameHud.h"
#include "math/Angles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assets/AssetFiles.h"
#include "game/ScoreDigits.h"
#include "game/VolumeKeys.h"
#include "render/GraphicsDevice.h"
#include "render/RenderContext.h"
#include "render/Sprites.h"
#include "render/Texture.h"
#include "rules/Field.h"

namespace {

// The play aids' lines: the key line along the bottom, the dead-end notice
// above the middle, and under either banner once it has come to rest the
// reason of a loss, or the stage's par and whether hints were shown.
constexpr float KeyLineX = 750.0f;
constexpr float KeyLineY = 140.0f;
// Above the board, clear of the blocks that made the dead end.
constexpr float DeadEndY = 100.0f;
constexpr float UnderBannerY = 290.0f;
constexpr float WithHintsY = 350.0f;
constexpr float ParBesideScoreX = 300.0f;
constexpr float HintsBesideScoreX = 490.0f;
constexpr float NextStageLineY = 692.0f;
constexpr float ResumeQuestionY = 360.0f;
constexpr float ParWordGap = 12.0f;
// A volume just changed, in the top right-hand corner.

// The menu panel stands two thirds of the way down; its cursor icons flank
// the chosen row, one either side of the centre.
constexpr float MenuHeightRatio = 1.5f;
constexpr int CursorOffsets[2] = {0, 380};
constexpr int CursorShift = 200;
constexpr int CursorFirstRow = 363;
constexpr int CursorRowHeight = 80;

constexpr float ScoreBoardX = 65.0f;
constexpr float ScoreY = 65.0f;
constexpr float DigitsX = 115.0f;
constexpr float DigitScale = 1.5f;
constexpr float DigitSpacing = 1.7f;

constexpr double BannerFrames = 30.0;
// Banners rest this far below their own height from the top.
constexpr int BannerGap = 30;
// 1073° of spin in all: the clear banner comes to rest tilted by -7°.
constexpr float ClearBannerSpin = 1073.0f;
constexpr int GameOverBannerFrame = 140;

int Width(const Texture& texture)
{
    return static_cast<int>(texture.imageInfo.width);
}

int Height(const Texture& texture)
{
    return static_cast<int>(texture.imageInfo.height);
}

// Every digit takes digit 0's rectangle and centre, and steps along by its own width.
void DrawScore(const RenderContext& render, int score)
{
    const auto zero = Sprites::Image(render, ImageFile::Digit(0));
    const Rect source{0, 0, Width(*zero), Height(*zero)};
    const Vector3 centre(static_cast<float>(Width(*zero) / 2), static_cast<float>(Height(*zero) / 2), 0.0f);
    const Matrix scale = Matrix::Scaling(DigitScale, DigitScale, DigitScale);
    GraphicsDevice& device = render.device;
    if (score == 0) {
        const Matrix transform = scale * Matrix::Translation(DigitsX, ScoreY, 0.0f);
        device.DrawSprite(zero, &source, &transform, &centre, Sprites::OpaqueWhite);
        return;
    }
    const std::vector<int> digits = ScoreDigits(score);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const auto image = Sprites::Image(render, ImageFile::Digit(digits[i]));
        const float step = static_cast<float>(Width(*image)) * DigitSpacing * static_cast<float>(i);
        const Matrix transform = scale * Matrix::Translation(step + DigitsX, ScoreY, 0.0f);
        device.DrawSprite(image, &source, &transform, &centre, Sprites::OpaqueWhite);
    }
}

void DrawMenu(const RenderContext& render, int menuCursor, float menuIconAngle, int screenWidth, int screenHeight)
{
    Sprites::DrawCentred(render, Sprites::Image(render, ImageFile::GameMenu),
                Matrix::Translation(static_cast<float>(screenWidth / 2),
                                    static_cast<float>(screenHeight) / MenuHeightRatio, 0.0f));
    const auto icon = Sprites::Image(render, ImageFile::GameMenuCursor);
    for (const int offset : CursorOffsets) {
        const int x = screenWidth / 2 + offset - CursorShift;
        const int y = CursorRowHeight * menuCursor + CursorFirstRow;
        Sprites::DrawCentred(render, icon, Matrix::RotationZ(menuIconAngle * DegreesToRadians) *
                              Matrix::Translation(static_cast<float>(x), static_cast<float>(y), 0.0f));
    }
}

// Grows from nothing while it spins, easing out over 30 frames.
void DrawClearBanner(const RenderContext& render, int clearFrame, int screenWidth)
{
    const auto banner = Sprites::Image(render, ImageFile::GameClear);
    const double t = std::min(1.0, clearFrame / BannerFrames);
    const auto s = static_cast<float>(-(t * (t - 2.0)));
    const float y = static_cast<float>(Height(*banner) + BannerGap);
    Sprites::DrawCentred(render, banner, Matrix::Scaling(s, s, s) * Matrix::RotationZ(s * ClearBannerSpin * DegreesToRadians) *
                            Matrix::Translation(static_cast<float>(screenWidth / 2), y, 0.0f));
}

// The classic bounce: a fall, then three ever smaller hops.
double BounceOut(double t)
{
    constexpr double k = 7.5625;
    constexpr double d = 2.75;
    if (t < 1.0 / d)
        return k * t * t;
    if (t < 2.0 / d) {
        t -= 1.5 / d;
        return k * t * t + 0.75;
    }
    if (t < 2.5 / d) {
        t -= 2.25 / d;
        return k * t * t + 0.9375;
    }
    t -= 2.625 / d;
    return k * t * t + 0.984375;
}

// Drops from just above the screen and bounces to rest at the clear banner's place.
void DrawGameOverBanner(const RenderContext& render, int gameOverFrame, int screenWidth)
{
    const auto banner = Sprites::Image(render, ImageFile::GameOver);
    const double t = std::min(1.0, (gameOverFrame - GameOverBannerFrame) / BannerFrames);
    const int h = Height(*banner);
    const double y = BounceOut(t) * (2 * h + BannerGap) - h;
    Sprites::DrawCentred(render, banner,
                Matrix::Translation(static_cast<float>(screenWidth / 2), static_cast<float>(y), 0.0f));
}

// "par" and the number, centred on x.
void DrawPar(const RenderContext& render, int par, float x, float y)
{
    const auto word = Sprites::Image(render, ImageFile::ParWord);
    const std::vector<int> digits = ScoreDigits(par);
    const float digitWidth = static_cast<float>(Width(*Sprites::Image(render, ImageFile::Digit(0))));
    const float width = static_cast<float>(Width(*word)) + ParWordGap + digitWidth * static_cast<float>(digits.size());
    float left = x - width / 2.0f;
    Sprites::Draw(render, word, Matrix::Translation(left, y, 0.0f), {0.0f, static_cast<float>(Height(*word) / 2), 0.0f});
    left += static_cast<float>(Width(*word)) + ParWordGap;
    for (const int digit : digits) {
        Sprites::DrawCentred(render, Sprites::Image(render, ImageFile::Digit(digit)),
                             Matrix::Translation(left + digitWidth / 2.0f, y, 0.0f));
        left += digitWidth;
    }
}

void DrawAssistHud(const RenderContext& render, const GameHudState& hud, int screenWidth)
{
    const AssistHudState& aids = hud.assists;
    const float middle = static_cast<float>(screenWidth / 2);
    const auto centred = [&](const char* image, float y) {
        Sprites::DrawCentred(render, Sprites::Image(render, image), Matrix::Translation(middle, y, 0.0f));
    };
    if (aids.keyLine)
        Sprites::DrawCentred(render, Sprites::Image(render, ImageFile::KeyLine), Matrix::Translation(KeyLineX, KeyLineY, 0.0f));
    if (aids.deadEnd)
        centred(ImageFile::DeadEnd, DeadEndY);
    if (aids.tooLarge)
        centred(ImageFile::TooLarge, DeadEndY);
    if (hud.gameOver && hud.gameOverFrame >= GameOverBannerFrame + BannerFrames && aids.loss != LossReason::None)
        centred(aids.loss == LossReason::WalledIn ? ImageFile::WalledIn : ImageFile::NoUsefulShot, UnderBannerY);
    if (hud.cleared && hud.clearFrame >= BannerFrames) {
        // The open menu's panel takes the place under the banner.
        const float parX = hud.menuOpen ? ParBesideScoreX : middle;
        if (aids.par)
            DrawPar(render, *aids.par, parX, hud.menuOpen ? ScoreY : UnderBannerY);
        if (aids.hintsUsed) {
            Sprites::DrawCentred(render, Sprites::Image(render, ImageFile::WithHints),
                                 hud.menuOpen ? Matrix::Translation(HintsBesideScoreX, ScoreY, 0.0f)
                                              : Matrix::Translation(middle, WithHintsY, 0.0f));
        }
    }
    if (aids.resumeStartAgain)
        centred(*aids.resumeStartAgain ? ImageFile::ResumeStartAgain : ImageFile::ResumeContinue, ResumeQuestionY);
    if (hud.menuOpen && hud.menuCursor == 0 && aids.next)
        centred(ImageFile::NextStageLine(aids.next->group, aids.next->number).c_str(), NextStageLineY);
}

}  // namespace

void DrawGameHud(const RenderContext& render, const GameHudState& hud)
{
    GraphicsDevice& device = render.device;
    const int width = device.BackBufferWidth();
    const int height = device.BackBufferHeight();
    device.BeginSprite();
    Sprites::DrawWhiteOverlay(render, hud.fade);
    if (hud.menuOpen)
        DrawMenu(render, hud.menuCursor, hud.menuIconAngle, width, height);
    Sprites::DrawCentred(render, Sprites::Image(render, ImageFile::ScoreBoard), Matrix::Translation(ScoreBoardX, ScoreY, 0.0f));
    DrawScore(render, hud.score);
    if (hud.cleared)
        DrawClearBanner(render, hud.clearFrame, width);
    if (hud.gameOver && hud.gameOverFrame >= GameOverBannerFrame)
        DrawGameOverBanner(render, hud.gameOverFrame, width);
    if (hud.assists.shown)
        DrawAssistHud(render, hud, width);
    DrawVolumeLevel(device, hud.level, hud.assists.shown);
    device.EndSprite();
}
