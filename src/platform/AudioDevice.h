#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

// The process-wide OpenAL device and context that every SoundPlayer plays through,
// owned by the Application. It opens the sound hardware; where there is none it
// opens OpenAL Soft's loopback device instead and mixes into memory, so sounds
// still start, advance and end in time, silently. Tests and the harness open the
// loopback device on purpose and advance it by hand, which makes sound timing
// deterministic. Mixing is 44.1 kHz, 16-bit stereo.
class AudioDevice {
public:
    static constexpr int SampleRate = 44100;
    static constexpr int Channels = 2;
    static constexpr int BytesPerSample = 2;
    // The most the loopback device mixes at once, refilling the streams before each piece.
    static constexpr int MaxMixFrames = 4096;

    // Lives as long as one opening of the device. Sounds keep a weak link to it
    // so that none touches the buffers of a device that has since closed.
    struct Session {};

    // Sounds played from queues of buffers that their owner keeps topped up
    // from their files (the music), rather than held whole. Each queue must
    // outlast MaxMixFrames of mixing from one refill to the next.
    class Streams {
    public:
        // Tops every queue up with what the mixer has played of it.
        virtual void Refill() = 0;

    protected:
        ~Streams() = default;
    };

    AudioDevice();
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // The hardware, or without it the loopback device mixed in step with the
    // wall clock (see CatchUp). False only if neither could be opened.
    bool Open();
    // The loopback device, mixed only by Advance.
    bool OpenLoopback();
    // Ends the context and the device; sounds still holding buffers go silent.
    void Close();
    bool IsOpen() const;
    bool IsLoopback() const;
    std::weak_ptr<const Session> CurrentSession() const { return session; }

    // Mixes and discards the samples of the given time on the loopback device.
    // Fractions of a sample are carried to the next call so time never drifts.
    void Advance(std::chrono::microseconds elapsed);
    // Mixes the given number of sample frames on the loopback device and hands
    // them out, interleaved left and right: what a listener would hear.
    std::vector<std::int16_t> Mix(int frames);
    // On a loopback device opened by Open: mixes the time that passed on the
    // wall clock since the last call. Called before every sound operation, so
    // play positions are current whenever the game reads or changes them.
    void CatchUp();

    // Streams are refilled until removed, or until the device closes.
    void AddStreams(Streams& streams);
    void RemoveStreams(Streams& streams);
    // The loopback device refills the streams itself as it mixes; the hardware
    // mixes on a thread of its own, so the game refills them once a frame.
    void RefillStreams();

    // The output volume (listener gain, 1 is full volume).
    float OutputGain() const;
    void SetOutputGain(float gain);

    // The player's levels, 0 to 100 (full): music, and every other sound.
    // The sound players scale their sounds by them.
    void SetLevels(int music, int effects);
    int MusicLevel() const { return musicLevel; }
    int EffectsLevel() const { return effectsLevel; }
    static constexpr int FullLevel = 100;

private:
    bool OpenDevice(bool hardware);
    // Mixes into out, or into scratch to discard the samples when it is null.
    void Render(std::int16_t* out, std::int64_t frames);

    struct Handles;
    std::unique_ptr<Handles> handles;
    std::shared_ptr<const Session> session;
    int musicLevel = FullLevel;
    int effectsLevel = FullLevel;
    bool pacedByClock = false;
    // Owed time in millionths of a sample frame: exact for any whole number of microseconds.
    std::int64_t owedMicroFrames = 0;
    std::chrono::steady_clock::time_point lastCatchUp;
    std::vector<std::int16_t> scratch;
    std::vector<Streams*> streams;
};
