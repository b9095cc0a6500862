#include "Harness.h"

#include <fstream>

#include <stb_image_write.h>
#include <unistd.h>

#include "DrawLogWriter.h"
#include "JsonWriter.h"
#include "SceneTrace.h"
#include "app/SceneManager.h"
#include "main/GameContext.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/Window.h"
#include "render/GraphicsDevice.h"

namespace {

// The process's resident memory, from the kernel's own count of its pages.
long ResidentKilobytes()
{
    long pages = 0;
    long resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

constexpr auto FramePeriod =
    std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::nanoseconds(FramePacer::FramePeriodNanoseconds));
}

Harness::Harness(GameContext& gameContext, const HarnessOptions& harnessOptions, std::vector<KeyChange> keyChanges,
                 std::ostream* traceStream, std::ostream* drawLogStream, std::ostream* memoryLogStream)
    : context(gameContext),
      options(harnessOptions),
      keys(std::move(keyChanges)),
      trace(traceStream),
      drawLog(drawLogStream),
      memoryLog(memoryLogStream)
{
    if (options.randomKeys)
        randomKeys.emplace(*options.randomKeys, options.assists);
    if (options.followHints)
        pilot.emplace();
}

bool Harness::BeforeFrame(int frame)
{
    if (options.frames && frame >= *options.frames)
        return false;
    Application& application = context.application;
    for (; nextKey < keys.size() && keys[nextKey].frame <= frame; ++nextKey)
        application.KeyEvent(keys[nextKey].virtualKey, keys[nextKey].down);
    if (randomKeys) {
        if (const std::optional<KeyChange> change = randomKeys->Next(frame))
            application.KeyEvent(change->virtualKey, change->down);
    }
    if (pilot) {
        for (const KeyChange& change : pilot->Next(frame, context.scenes.Current()))
            application.KeyEvent(change.virtualKey, change.down);
    }

    for (const ResizeRequest& resize : options.resizes) {
        if (resize.frame == frame && application.GetWindow())
            application.GetWindow()->SetSize(resize.width, resize.height);
    }

    pixels.clear();
    windowPicture = {};
    for (const ScreenshotRequest& shot : options.screenshots) {
        if (shot.frame != frame)
            continue;
        if (shot.window)
            context.device.CaptureNextWindow(&windowPicture);
        else
            context.device.CaptureNextPresent(&pixels);
    }
    return true;
}

bool Harness::AfterFrame(int frame)
{
    context.application.Audio().Advance(FramePeriod);
    if (trace)
        WriteTraceLine(frame);
    record.Clear();
    if (drawLog) {
        *drawLog << DrawLogLine(frame, draws) << '\n';
        drawLog->flush();
    }
    draws.clear();
    if (memoryLog && frame % MemoryLogPeriod == 0) {
        *memoryLog << frame << ' ' << ResidentKilobytes() << '\n';
        memoryLog->flush();
    }
    if (!TakeScreenshot(frame))
        return false;
    return !options.frames || frame + 1 < *options.frames;
}

void Harness::WriteTraceLine(int frame)
{
    const SceneManager& scenes = context.scenes;
    const BaseScene* scene = scenes.Current();

    JsonWriter json;
    json.BeginObject();
    json.Key("frame");
    json.Int(frame);
    json.Key("scene");
    json.String(SceneName(scenes.CurrentId()));
    json.Key("leaving");
    json.Bool(scene && scene->leaving);
    json.Key("stageGroup");
    json.Int(scenes.stage.group);
    json.Key("stageNumber");
    json.Int(scenes.stage.number);
    json.Key("sounds");
    json.BeginArray();
    for (const std::string& sound : record.sounds)
        json.String(sound);
    json.EndArray();
    json.Key("messages");
    json.BeginArray();
    // The game's own words, whatever the locale; what the player read goes
    // to the standard error as the box is shown.
    for (const MessageRequest& message : record.messages) {
        json.BeginObject();
        json.Key("text");
        json.String(message.text);
        json.Key("caption");
        json.String(message.caption);
        json.EndObject();
    }
    json.EndArray();
    if (scene)
        WriteSceneTrace(*scene, context.scenes, json);
    json.EndObject();
    *trace << json.Text() << '\n';
    trace->flush();
}

bool Harness::TakeScreenshot(int frame)
{
    for (const ScreenshotRequest& shot : options.screenshots) {
        if (shot.frame != frame)
            continue;
        const GraphicsDevice& device = context.device;
        const int width = shot.window ? windowPicture.width : device.BackBufferWidth();
        const int height = shot.window ? windowPicture.height : device.BackBufferHeight();
        const std::vector<std::uint8_t>& picture = shot.window ? windowPicture.pixels : pixels;
        if (width <= 0 || picture.size() != static_cast<std::size_t>(width) * height * 4) {
            error = "frame " + std::to_string(frame) + " presented no picture for " + shot.file;
            return false;
        }
        if (!stbi_write_png(shot.file.c_str(), width, height, 4, picture.data(), width * 4)) {
            error = "cannot write the screenshot " + shot.file;
            return false;
        }
        ++screenshotsTaken;
    }
    return true;
}

std::string Harness::Error() const
{
    if (!error.empty() || screenshotsTaken == options.screenshots.size())
        return error;
    for (const ScreenshotRequest& shot : options.screenshots) {
        if (!options.frames || shot.frame >= *options.frames)
            return "the run ended before frame " + std::to_string(shot.frame) + ", so " + shot.file + " was not taken";
    }
    return "a requested screenshot was not taken";
}
