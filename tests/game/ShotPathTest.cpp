#include <gtest/gtest.h>

#include <random>

#include "game/Block.h"
#include "game/FieldGeometry.h"
#include "game/FlightState.h"
#include "game/GamePrinters.h"
#include "game/StageGrid.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "render/XFiles.h"
#include "sound/DXSound.h"
#include "support/DeviceFixture.h"

namespace {

using namespace BlockKind;

// The discrete rules the solver searches with, against the frame-by-frame
// game they stand for, on random boards.
class ShotPath : public DeviceFixture {
protected:
    void SetUp() override
    {
        StartDevice(false);
        Application::Instance().Audio().OpenLoopback();
        FlightState::Reset();
        // Every block makes its burst, and so loads this, on its first update.
        directory.Write("Resource/Data/WhiteBlock/Model.x", XFiles::Cube(25.0f, {1, 1, 1, 1, ""}));
    }
    void TearDown() override
    {
        FlightState::Reset();
        DeviceFixture::TearDown();
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
    const auto sound = DXSound::Create();
    std::mt19937 random(7);
    int flights = 0;
    for (int board = 0; board < 20; ++board) {
        const BlockList blocks = RandomBoard(random, 30);
        StageGrid grid;
        grid.Rebuild(blocks, {-100.0f, 25.0f, -100.0f});
        for (int at = 0; at < 100; ++at) {
            const MapPosition launch{at / 10, 0, at % 10};
            if (grid.CellAt(launch) != Empty)
                continue;
            for (int direction = 0; direction < 4; ++direction) {
                FlightState& flight = FlightState::Instance();
                flight.inFlight = true;
                flight.direction = direction;
                flight.velocity = FlightVelocity(direction);
                Block shot(launch, White);
                shot.launched = 1;
                shot.state = BlockState::Moving;
                for (int frame = 0; frame < 200 && flight.inFlight; ++frame)
                    shot.Update(grid, sound.get());
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

TEST_F(ShotPath, MovingThePlayersMarkGivesTheGridARebuildWouldGive)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> cell(0, 99);
    for (int board = 0; board < 50; ++board) {
        const BlockList blocks = RandomBoard(random, 40);
        const auto centre = [](int at) {
            return Vector3{Field::Centre(at / 10), Field::Centre(0), Field::Centre(at % 10)};
        };
        const int from = cell(random);
        const int to = cell(random);
        StageGrid moved;
        moved.Rebuild(blocks, centre(from));
        moved.PlacePlayer(centre(to));
        StageGrid rebuilt;
        rebuilt.Rebuild(blocks, centre(to));
        for (int x = 0; x < 10; ++x) {
            for (int z = 0; z < 10; ++z) {
                ASSERT_EQ(moved.CellAt(x, 0, z), rebuilt.CellAt(x, 0, z)) << "board " << board;
                ASSERT_EQ(moved.IndexAt(x, 0, z), rebuilt.IndexAt(x, 0, z)) << "board " << board;
            }
        }
    }
}

}  // namespace
