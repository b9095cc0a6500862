#include "game/GameFixture.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/SceneManager.h"
#include "assets/AssetFiles.h"
#include "scenes/Game.h"
#include "main/FrameLoop.h"
#include "main/SceneTable.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/VirtualKey.h"
#include "render/XFiles.h"
#include "stage/ResultFile.h"
#include "stage/StageFile.h"

void GameFixture::SetUp()
{
    StartGame(false);
    // A missing model ends the program, so every model a group 1 stage draws is there.
    const std::string models[] = {ModelFile::WhiteBlock, ModelFile::BlackBlock, ModelFile::HardBlock,
                                  ModelFile::HardBlockInverted, ModelFile::Player, ModelFile::LaunchMarker,
                                  ModelFile::StageBoard(1), ModelFile::Sky(1)};
    for (const std::string& model : models)
        directory.Write(model, XFiles::Cube(25.0f, {1, 1, 1, 1, ""}));
}

void GameFixture::StartGame(bool withGl)
{
    StartDevice(withGl);
    Application& application = App();
    application.Audio().OpenLoopback();
    application.SetFrameRecord(&record);
    SceneManager& scenes = Scenes();
    scenes.SetFactory([this](SceneId id) { return MakeScene(id, Context().ForScenes()); });
    scenes.stage.group = 1;
    scenes.stage.number = 1;
}

void GameFixture::TearDown()
{
    DeviceFixture::TearDown();
}

void GameFixture::WriteStage(const std::vector<TestBlock>& blocks, int stage)
{
    std::ostringstream text;
    for (const TestBlock& b : blocks)
        text << "x:" << b.x << ",y:" << b.y << ",z:" << b.z << ",sf:" << b.kind << ",af:0,pf:0\n";
    directory.Write(StageFile::Path(1, stage), text.str());
    directory.Write(ResultFile::Path(1, stage), "score:0");
}

Game& GameFixture::Start()
{
    Scenes().ChangeScene(SceneId::Game);
    return Current();
}

Game& GameFixture::Current()
{
    auto* game = dynamic_cast<Game*>(Scenes().Current());
    EXPECT_NE(game, nullptr) << "the current scene is not a Game";
    return *game;
}

void GameFixture::RunFrames(int count)
{
    for (int i = 0; i < count; ++i)
        RunFrame(Context());
}

void GameFixture::Hold(int virtualKey)
{
    App().KeyEvent(virtualKey, true);
}

void GameFixture::Release(int virtualKey)
{
    App().KeyEvent(virtualKey, false);
}

void GameFixture::Tap(int virtualKey)
{
    Hold(virtualKey);
    RunFrames(1);
    Release(virtualKey);
    RunFrames(1);
}

void GameFixture::Leave()
{
    const SceneManager& scenes = Scenes();
    for (int i = 0; i < 90 && scenes.Current() && scenes.Current()->leaving; ++i)
        RunFrames(1);
}

void GameFixture::WalkOne(int virtualKey)
{
    Hold(virtualKey);
    RunFrames(1);
    Release(virtualKey);
    RunFrames(11);
}

void GameFixture::FireToward(int arrowKey)
{
    Hold(VirtualKey::Space);
    RunFrames(1);
    Hold(arrowKey);
    RunFrames(1);
    Release(arrowKey);
    RunFrames(10);
    Release(VirtualKey::Space);
    RunFrames(1);
}

int GameFixture::SoundCalls(const std::string& call) const
{
    return static_cast<int>(std::count(record.sounds.begin(), record.sounds.end(), call));
}

std::string GameFixture::ResultText() const
{
    std::ifstream in(directory.Path() / ResultFile::Path(1, 1), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::shared_ptr<Block> GameFixture::BlockAt(int x, int y, int z)
{
    for (const auto& block : Current().Blocks()) {
        if (block->mapCell == MapPosition{x, y, z})
            return block;
    }
    return nullptr;
}
