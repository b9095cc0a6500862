#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "HarnessOptions.h"
#include "HintPilot.h"
#include "KeyScript.h"
#include "RandomKeys.h"
#include "main/FrameLoop.h"
#include "platform/FrameRecord.h"
#include "render/DrawRecord.h"
#include "render/GraphicsDevice.h"

class GameContext;

// Drives the real frame loop without a person: applies the key script before
// each frame, writes one trace line and any screenshot after it, and stops
// after the requested number of frames.
class Harness final : public FrameObserver {
public:
    // Drives the game of context. trace, drawLog and memoryLog may be null (not wanted).
    Harness(GameContext& context, const HarnessOptions& options, std::vector<KeyChange> keys, std::ostream* trace,
            std::ostream* drawLog, std::ostream* memoryLog = nullptr);

    bool BeforeFrame(int frame) override;
    bool AfterFrame(int frame) override;

    // Sound calls and messages land here; hand it to the Application.
    FrameRecord& Record() { return record; }
    // Draws land here; hand it to the GraphicsDevice when a draw log is wanted.
    std::vector<DrawRecord>& Draws() { return draws; }
    // Why the run failed (a screenshot could not be taken or written, or its
    // frame never ran); empty when it did not. Ask after the run.
    std::string Error() const;

private:
    void WriteTraceLine(int frame);
    bool TakeScreenshot(int frame);

    GameContext& context;
    HarnessOptions options;
    std::vector<KeyChange> keys;
    std::size_t nextKey = 0;
    std::ostream* trace;
    std::ostream* drawLog;
    std::ostream* memoryLog;
    std::optional<RandomKeys> randomKeys;
    std::optional<HintPilot> pilot;
    FrameRecord record;
    std::vector<DrawRecord> draws;
    std::vector<std::uint8_t> pixels;
    WindowPicture windowPicture;
    std::size_t screenshotsTaken = 0;
    std::string error;
};
