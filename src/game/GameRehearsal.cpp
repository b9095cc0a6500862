#include "game/GameRehearsal.h"

#include <array>
#include <cstdlib>

#include "app/FadeOut.h"
#include "game/FlipBatch.h"
#include "game/GameView.h"
#include "game/PlayBoard.h"
#include "render/GraphicsDevice.h"
#include "render/RenderContext.h"
#include "render/Sprites.h"
#include "rules/BlockKind.h"
#include "rules/Field.h"

namespace {

// The largest state glibc's random keeps: its best generator.
constexpr std::size_t RandomStateBytes = 256;

// Where the rehearsal board's blocks stand: a row across the middle, two cells apart.
constexpr int Row = 5;
constexpr int Spacing = 2;

void Rehearse(const RenderContext& render, int group)
{
    GraphicsDevice& device = render.device;
    PlayBoard board(device);
    int column = 0;
    for (const int kind : BlockKind::Kinds) {
        board.blocks.push_back(std::make_shared<Block>(MapPosition{column, 0, Row}, kind));
        column += Spacing;
    }
    board.RebuildGrid();
    GameView view(device);
    view.LoadTextures(render.textures);
    view.SetCamera(device);

    GameHudState hud;
    hud.fade = FadeOpaque - FadeStep;
    const auto rehearse = [&] {
        device.Rehearse([&] {
            device.Clear(true, true, Sprites::OpaqueWhite, 1.0f);
            view.Draw(render, board, nullptr, group, hud);
        });
    };
    rehearse();

    const auto turning = std::make_shared<Block>(MapPosition{column, 0, Row}, BlockKind::Black);
    turning->state = BlockState::Flipping;
    board.blocks.push_back(turning);
    board.flips->Add(turning, BlockKind::White);
    FlipEntry& entry = board.flips->entries.front();
    entry.frame = FlipBatch::FirstGlowFrame;
    entry.pulse = 1.0f;
    board.flame.visible = true;
    board.flame.transform.position = Field::Centre(MapPosition{column + Spacing, 0, Row});
    board.flame.transform.UpdateWorld();
    board.shards.front().position = board.flame.transform.position;
    board.shards.front().visible = true;
    hud.fade = 0;
    hud.menuOpen = true;
    rehearse();
    // Play's first flips come without the menu over them, and the renderer
    // compiles the glow chain's passes again for that frame.
    hud.menuOpen = false;
    rehearse();

    hud.gameOver = true;
    hud.gameOverFrame = GameView::NegativeLookFrame;
    rehearse();
}

}  // namespace

void RehearseGameFrames(const RenderContext& render, int group)
{
    // The shards' motion comes from std::rand, whose sequence the game's
    // pictures follow: the rehearsal's board draws its numbers from a state of
    // its own (glibc's rand shares random's state), and the game's resumes
    // where it was.
    std::array<char, RandomStateBytes> rehearsalRandom{};
    char* const gameRandom = initstate(1, rehearsalRandom.data(), rehearsalRandom.size());
    Rehearse(render, group);
    setstate(gameRandom);
}
