#include <gtest/gtest.h>

#include <random>

#include "assets/AssetFiles.h"
#include "game/Block.h"
#include "game/BoardPieces.h"
#include "game/FlightState.h"
#include "game/GamePrinters.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "render/XFiles.h"
#include "rules/Shots.h"
#include "rules/StageGrid.h"
#include "sound/SoundPlayer.h"
#include "support/DeviceFixture.h"

namespace {

using namespace BlockKind;

// The discrete rule the solver searches with, against the frame-by-frame
// flight it stands for, on random boards.
class ShotPath : public DeviceFixture {
protected:
    void SetUp() override
    {
        StartDevice(false);
        App().Audio().OpenLoopback();
        // Every block makes its burst, and so loads this, on its first update.
        directory.Write(ModelFile::WhiteBlock, XFiles::Cube(25.0f, {1, 1, 1, 1, ""}));
    }
    static BlockList RandomBoard(std::mt19937& random, int count)
    {
        BlockList blocks;
        std::uniform_int_distribution<int> cell(0, 99);
        for (int i = 0; i < count; ++i) {
            const int at = cell(random);
            blocks.push_back(std::make_shared<Block>(MapPosition{at / 10, 0, at % 10}, i % 3 + 1));
        }
        return blocks;
    }
};

TEST_F(ShotPath, AFlyingShotComesToRestInTheCellLandingCellNames)
{
    const auto sound = SoundPlayer::Create(App());
    std::mt19937 random(7);
    int flights = 0;
    for (int board = 0; board < 20; ++board) {
        const BlockList blocks = RandomBoard(random, 30);
        StageGrid grid;
        RebuildGrid(grid, blocks, {-100.0f, 25.0f, -100.0f});
        for (int at = 0; at < 100; ++at) {
            const MapPosition launch{at / 10, 0, at % 10};
            if (grid.CellAt(launch) != Empty)
                continue;
            for (int direction = 0; direction < 4; ++direction) {
                FlightState flight;
                flight.Launch(direction);
                Block shot(launch, White);
                shot.launched = 1;
                shot.state = BlockState::Moving;
                for (int frame = 0; frame < 200 && flight.inFlight; ++frame)
                    if (const std::optional<MapPosition> cell = shot.Fly(grid, flight, sound.get()))
                        flight.Land(*cell);
                ASSERT_FALSE(flight.inFlight);
                ASSERT_EQ(flight.landingCell, LandingCell(grid, launch, direction))
                    << "board " << board << ", launched at " << ::testing::PrintToString(launch) << " toward "
                    << direction;
                ++flights;
            }
        }
    }
    EXPECT_GT(flights, 4000);
}

}  // namespace
