#include "platform/AudioDevice.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>

namespace {

// A stall longer than this (a suspended process) would otherwise cost seconds of
// mixing at once; every one-shot the game waits on is far shorter.
constexpr std::chrono::seconds MaxCatchUp{10};
constexpr std::int64_t MicroFramesPerFrame = 1'000'000;

}  // namespace

struct AudioDevice::Handles {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples = nullptr;
};

AudioDevice::AudioDevice() : handles(std::make_unique<Handles>()) {}

AudioDevice::~AudioDevice()
{
    Close();
}

bool AudioDevice::Open()
{
    Close();
    if (OpenDevice(true))
        return true;
    if (!OpenDevice(false))
        return false;
    pacedByClock = true;
    lastCatchUp = std::chrono::steady_clock::now();
    return true;
}

bool AudioDevice::OpenLoopback()
{
    Close();
    return OpenDevice(false);
}

bool AudioDevice::OpenDevice(bool hardware)
{
    Handles& h = *handles;
    std::vector<ALCint> attributes = {ALC_FREQUENCY, SampleRate, ALC_HRTF_SOFT, ALC_FALSE};
    if (hardware) {
        h.device = alcOpenDevice(nullptr);
    } else {
        if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
            return false;
        auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
            alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        auto renderSamples =
            reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
        if (!openLoopback || !renderSamples)
            return false;
        h.device = openLoopback(nullptr);
        h.renderSamples = renderSamples;
        attributes.insert(attributes.end(),
                          {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT});
    }
    attributes.push_back(0);
    if (!h.device)
        return false;
    h.context = alcCreateContext(h.device, attributes.data());
    if (!h.context || !alcMakeContextCurrent(h.context)) {
        Close();
        return false;
    }
    if (!hardware)
        scratch.assign(MaxMixFrames * Channels, 0);
    session = std::make_shared<const Session>();
    return true;
}

void AudioDevice::Close()
{
    Handles& h = *handles;
    session.reset();
    if (h.context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(h.context);
    }
    if (h.device)
        alcCloseDevice(h.device);
    h = Handles{};
    pacedByClock = false;
    owedMicroFrames = 0;
    scratch.clear();
    streams.clear();
}

bool AudioDevice::IsOpen() const
{
    return handles->context != nullptr;
}

bool AudioDevice::IsLoopback() const
{
    return handles->renderSamples != nullptr;
}

void AudioDevice::Advance(std::chrono::microseconds elapsed)
{
    if (!IsOpen() || !IsLoopback() || elapsed.count() <= 0)
        return;
    owedMicroFrames += elapsed.count() * SampleRate;
    const std::int64_t frames = owedMicroFrames / MicroFramesPerFrame;
    owedMicroFrames %= MicroFramesPerFrame;
    Render(nullptr, frames);
}

std::vector<std::int16_t> AudioDevice::Mix(int frames)
{
    if (!IsOpen() || !IsLoopback() || frames <= 0)
        return {};
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * Channels);
    Render(samples.data(), frames);
    return samples;
}

void AudioDevice::CatchUp()
{
    if (!pacedByClock)
        return;
    const auto now = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(now - lastCatchUp);
    lastCatchUp = now;
    Advance(std::min<std::chrono::microseconds>(elapsed, MaxCatchUp));
}

void AudioDevice::Render(std::int16_t* out, std::int64_t frames)
{
    while (frames > 0) {
        const std::int64_t chunk = std::min<std::int64_t>(frames, MaxMixFrames);
        RefillStreams();
        handles->renderSamples(handles->device, out ? out : scratch.data(), static_cast<ALCsizei>(chunk));
        if (out)
            out += chunk * Channels;
        frames -= chunk;
    }
}

void AudioDevice::AddStreams(Streams& added)
{
    streams.push_back(&added);
}

void AudioDevice::RemoveStreams(Streams& removed)
{
    std::erase(streams, &removed);
}

void AudioDevice::RefillStreams()
{
    for (Streams* each : streams)
        each->Refill();
}

float AudioDevice::OutputGain() const
{
    if (!IsOpen())
        return 1.0f;
    ALfloat gain = 1.0f;
    alGetListenerf(AL_GAIN, &gain);
    return gain;
}

void AudioDevice::SetOutputGain(float gain)
{
    if (IsOpen())
        alListenerf(AL_GAIN, gain);
}

void AudioDevice::SetLevels(int music, int effects)
{
    musicLevel = std::clamp(music, 0, FullLevel);
    effectsLevel = std::clamp(effects, 0, FullLevel);
}
