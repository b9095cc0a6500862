#include "sound/SoundPlayer.h"

#include <AL/al.h>
#include <AL/alext.h>

#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <vector>

#include "formats/WavFile.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/FrameRecord.h"

namespace {

constexpr int MinVolume = -10000;
constexpr int MaxVolume = 0;
constexpr double HundredthsOfDecibelPerDecade = 2000.0;
constexpr unsigned OriginalFrequency = 0;
constexpr unsigned MinFrequency = 100;
constexpr unsigned MaxFrequency = 200000;

// Music plays from a queue of buffers refilled from its file as they are
// played; held whole, the game's track took 10.5 MiB. Four buffers of a
// quarter second at the game's 44.1 kHz queue a second, so on the hardware,
// where the game refills them once a frame, a stall of most of a second
// still never runs the music dry, and the file is read four times a second.
// Counted in frames, so that a track holds the same at any rate: 215 KiB in
// 16-bit stereo, the four buffers and the piece read for the next.
constexpr int QueuedBuffers = 4;
constexpr int BufferFrames = 11025;
// The furthest OpenAL Soft's resamplers read past the sample they play (24
// frames for bsinc24), with room to spare: what they read must be queued.
constexpr int ResamplerReach = 64;
static_assert((QueuedBuffers - 1) * BufferFrames - ResamplerReach >=
                  static_cast<std::int64_t>(AudioDevice::MaxMixFrames) * MaxFrequency / AudioDevice::SampleRate,
              "between two refills the fastest music must not play past its queue");

// A music track's queue, filled from the file round and round so that the
// track loops without a seam.
struct Stream {
    std::unique_ptr<WavStream> file;
    std::array<ALuint, QueuedBuffers> buffers{};
    ALenum format = AL_NONE;
    // Where in the data the oldest queued buffer starts, and where the next one filled will.
    std::uint32_t queuedFrom = 0;
    std::uint32_t readFrom = 0;
    // One buffer's bytes on their way from the file.
    std::vector<std::uint8_t> piece;
    // Asked to play and not stopped since.
    bool playing = false;
};

struct Sound {
    ALuint buffer = 0;
    ALuint source = 0;
    unsigned fileRate = 0;
    unsigned frequency = 0;
    std::uint32_t bytes = 0;
    // Hundredths of a decibel, as last set.
    int volume = 0;
    // Music only, while its file can be read.
    std::unique_ptr<Stream> stream;
};

void Report(Application& application, const char* list, int position, const std::string& what)
{
    if (FrameRecord* record = application.Record())
        record->sounds.push_back(std::string(list) + ' ' + std::to_string(position) + ' ' + what);
}

void ReportLevels(Application& application)
{
    const AudioDevice& device = application.Audio();
    if (FrameRecord* record = application.Record()) {
        record->sounds.push_back("levels music " + std::to_string(device.MusicLevel()) + " effects " +
                                 std::to_string(device.EffectsLevel()));
    }
}

ALenum FormatOf(const WavFormat& wav)
{
    if (wav.channels == 1)
        return wav.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    return wav.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

void Release(Sound& sound)
{
    if (sound.source)
        alDeleteSources(1, &sound.source);
    if (sound.buffer)
        alDeleteBuffers(1, &sound.buffer);
    if (sound.stream)
        alDeleteBuffers(QueuedBuffers, sound.stream->buffers.data());
    sound.source = 0;
    sound.buffer = 0;
    sound.stream.reset();
}

// Plain playback at the listener: no distance, no panning of mono files,
// stereo channels straight to the left and right outputs.
ALuint NewSource()
{
    ALuint source = 0;
    alGenSources(1, &source);
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    return source;
}

// A file that cannot be read gives a silent entry: sounds are decoration, and
// the scenes go on without them.
Sound LoadEffect(const std::string& path, bool deviceOpen)
{
    Sound sound;
    std::string error;
    const std::optional<WavFile> wav = ReadWavFile(path, error);
    if (!wav)
        return sound;
    sound.fileRate = sound.frequency = static_cast<unsigned>(wav->sampleRate);
    sound.bytes = static_cast<std::uint32_t>(wav->data.size());
    if (!deviceOpen)
        return sound;

    alGetError();
    alGenBuffers(1, &sound.buffer);
    alBufferData(sound.buffer, FormatOf(*wav), wav->data.data(), static_cast<ALsizei>(wav->data.size()),
                 wav->sampleRate);
    sound.source = NewSource();
    alSourcei(sound.source, AL_BUFFER, static_cast<ALint>(sound.buffer));
    if (alGetError() != AL_NO_ERROR)
        Release(sound);
    return sound;
}

// Fills buffer with the track's next BufferFrames, from its end on round to its start.
bool Fill(Sound& music, ALuint buffer)
{
    Stream& stream = *music.stream;
    for (std::span<std::uint8_t> left(stream.piece); !left.empty();) {
        const std::size_t count = std::min<std::size_t>(left.size(), music.bytes - stream.readFrom);
        if (!stream.file->Read(stream.readFrom, left.first(count)))
            return false;
        left = left.subspan(count);
        stream.readFrom = static_cast<std::uint32_t>((stream.readFrom + count) % music.bytes);
    }
    alBufferData(buffer, stream.format, stream.piece.data(), static_cast<ALsizei>(stream.piece.size()),
                 static_cast<ALsizei>(music.fileRate));
    return true;
}

Sound LoadMusic(const std::string& path, bool deviceOpen)
{
    Sound music;
    std::string error;
    std::unique_ptr<WavStream> file = WavStream::Open(path, error);
    if (!file)
        return music;
    music.fileRate = music.frequency = static_cast<unsigned>(file->Layout().sampleRate);
    music.bytes = file->Bytes();
    if (!deviceOpen)
        return music;

    alGetError();
    music.source = NewSource();
    bool filled = true;
    // A file without samples keeps a source that plays nothing.
    if (music.bytes > 0) {
        music.stream = std::make_unique<Stream>();
        Stream& stream = *music.stream;
        stream.format = FormatOf(file->Layout());
        stream.piece.resize(static_cast<std::size_t>(BufferFrames * file->Layout().BytesPerFrame()));
        stream.file = std::move(file);
        alGenBuffers(QueuedBuffers, stream.buffers.data());
        for (ALuint buffer : stream.buffers)
            filled = filled && Fill(music, buffer);
        alSourceQueueBuffers(music.source, QueuedBuffers, stream.buffers.data());
    }
    if (!filled || alGetError() != AL_NO_ERROR)
        Release(music);
    return music;
}

ALint SourceState(const Sound& sound)
{
    ALint state = AL_INITIAL;
    alGetSourcei(sound.source, AL_SOURCE_STATE, &state);
    return state;
}

// Tops the music's queue up with what has been played of it. A file that
// fails meanwhile (cut short) leaves the track silent.
void RefillQueue(Sound& music)
{
    Stream& stream = *music.stream;
    ALint processed = 0;
    alGetSourcei(music.source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(music.source, 1, &buffer);
        stream.queuedFrom = static_cast<std::uint32_t>((stream.queuedFrom + stream.piece.size()) % music.bytes);
        if (!Fill(music, buffer)) {
            alSourceStop(music.source);
            alSourcei(music.source, AL_BUFFER, 0);
            alDeleteBuffers(QueuedBuffers, stream.buffers.data());
            music.stream.reset();
            return;
        }
        alSourceQueueBuffers(music.source, 1, &buffer);
    }
    // On the hardware a stall longer than the queue lets it run dry, and the source stops.
    if (SourceState(music) == AL_STOPPED)
        alSourcePlay(music.source);
}

}  // namespace

struct SoundPlayer::Impl final : AudioDevice::Streams {
    explicit Impl(Application& owner) : application(owner) {}

    void Refill() override
    {
        for (Sound& track : music) {
            if (track.stream && track.stream->playing)
                RefillQueue(track);
        }
    }

    AudioDevice& Device() const { return application.Audio(); }

    Application& application;
    std::vector<Sound> effects;
    std::vector<Sound> music;
    std::weak_ptr<const AudioDevice::Session> session;
    float savedOutputGain = 1.0f;

    // The entry at position if it can play, with the device brought up to the
    // present; null for a position the list does not have, a silent entry or
    // a device that has closed since.
    const Sound* Playable(const std::vector<Sound>& list, int position) const
    {
        if (position < 0 || position >= static_cast<int>(list.size()) || !list[position].source || session.expired())
            return nullptr;
        Device().CatchUp();
        return &list[position];
    }

    // A queue's offset counts from its oldest buffer, played or not, as a
    // looping buffer's goes round from the start of its data.
    std::uint32_t Position(const std::vector<Sound>& list, int position) const
    {
        const Sound* sound = Playable(list, position);
        if (!sound)
            return 0;
        ALint offset = 0;
        alGetSourcei(sound->source, AL_BYTE_OFFSET, &offset);
        if (!sound->stream)
            return static_cast<std::uint32_t>(offset);
        const std::uint64_t played = sound->stream->queuedFrom + static_cast<std::uint64_t>(offset);
        return static_cast<std::uint32_t>(played % sound->bytes);
    }

    bool SetVolume(std::vector<Sound>& list, int position, int volume, int level) const
    {
        const Sound* playable = Playable(list, position);
        if (!playable || volume > MaxVolume || volume < MinVolume)
            return false;
        Sound& sound = list[static_cast<std::size_t>(position)];
        sound.volume = volume;
        Apply(sound, level);
        return true;
    }

    static void Apply(const Sound& sound, int level)
    {
        const double gain = sound.volume == MinVolume ? 0.0 : std::pow(10.0, sound.volume / HundredthsOfDecibelPerDecade);
        alSourcef(sound.source, AL_GAIN, static_cast<float>(gain * level / AudioDevice::FullLevel));
    }

    void ApplyLevels() const
    {
        if (session.expired())
            return;
        for (const Sound& sound : effects) {
            if (sound.source)
                Apply(sound, Device().EffectsLevel());
        }
        for (const Sound& sound : music) {
            if (sound.source)
                Apply(sound, Device().MusicLevel());
        }
    }
};

SoundPlayer::SoundPlayer(Application& application) : impl(std::make_unique<Impl>(application)) {}

std::unique_ptr<SoundPlayer> SoundPlayer::Create(Application& application)
{
    AudioDevice& device = application.Audio();
    if (!device.IsOpen())
        device.Open();
    std::unique_ptr<SoundPlayer> sound(new SoundPlayer(application));
    sound->impl->session = device.CurrentSession();
    if (device.IsOpen())
        device.AddStreams(*sound->impl);
    sound->impl->savedOutputGain = device.OutputGain();
    // A player who keeps the full levels sees nothing of them in the record.
    if (device.MusicLevel() != AudioDevice::FullLevel || device.EffectsLevel() != AudioDevice::FullLevel)
        ReportLevels(application);
    return sound;
}

SoundPlayer::~SoundPlayer()
{
    if (impl->session.expired())
        return;
    impl->Device().SetOutputGain(impl->savedOutputGain);
    impl->Device().RemoveStreams(*impl);
    for (std::vector<Sound>* list : {&impl->effects, &impl->music}) {
        for (Sound& sound : *list)
            Release(sound);
    }
}

void SoundPlayer::AddEffect(const std::string& path)
{
    impl->effects.push_back(LoadEffect(path, !impl->session.expired()));
    if (impl->effects.back().source)
        Impl::Apply(impl->effects.back(), impl->Device().EffectsLevel());
}

void SoundPlayer::AddMusic(const std::string& path)
{
    impl->music.push_back(LoadMusic(path, !impl->session.expired()));
    if (impl->music.back().source)
        Impl::Apply(impl->music.back(), impl->Device().MusicLevel());
}

void SoundPlayer::ApplyLevels()
{
    ReportLevels(impl->application);
    impl->ApplyLevels();
}

int SoundPlayer::EffectCount() const
{
    return static_cast<int>(impl->effects.size());
}

int SoundPlayer::MusicCount() const
{
    return static_cast<int>(impl->music.size());
}

void SoundPlayer::PlayEffect(int position, bool looping)
{
    Report(impl->application, "effect", position, looping ? "loop" : "play");
    if (const Sound* sound = impl->Playable(impl->effects, position)) {
        alSourceRewind(sound->source);
        alSourcei(sound->source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
        alSourcePlay(sound->source);
    }
}

void SoundPlayer::PlayMusic(int position)
{
    Report(impl->application, "music", position, "play");
    if (!impl->Playable(impl->music, position))
        return;
    Sound& music = impl->music[static_cast<std::size_t>(position)];
    // Playing a source that already plays would start it over.
    if (!music.stream || SourceState(music) == AL_PLAYING)
        return;
    music.stream->playing = true;
    // A queue that ran dry is refilled and started here; a paused one resumes.
    RefillQueue(music);
    if (SourceState(music) != AL_PLAYING)
        alSourcePlay(music.source);
}

void SoundPlayer::StopEffect(int position)
{
    Report(impl->application, "effect", position, "stop");
    // Pausing keeps the position, as a stopped buffer does; an OpenAL stop would rewind it.
    if (const Sound* sound = impl->Playable(impl->effects, position); sound && SourceState(*sound) == AL_PLAYING)
        alSourcePause(sound->source);
}

void SoundPlayer::StopMusic(int position)
{
    Report(impl->application, "music", position, "stop");
    if (!impl->Playable(impl->music, position))
        return;
    Sound& music = impl->music[static_cast<std::size_t>(position)];
    if (music.stream)
        music.stream->playing = false;
    if (SourceState(music) == AL_PLAYING)
        alSourcePause(music.source);
}

bool SoundPlayer::SetEffectVolume(int position, int hundredthsOfDecibel)
{
    Report(impl->application, "effect", position, "volume " + std::to_string(hundredthsOfDecibel));
    return impl->SetVolume(impl->effects, position, hundredthsOfDecibel, impl->Device().EffectsLevel());
}

bool SoundPlayer::SetMusicVolume(int position, int hundredthsOfDecibel)
{
    Report(impl->application, "music", position, "volume " + std::to_string(hundredthsOfDecibel));
    return impl->SetVolume(impl->music, position, hundredthsOfDecibel, impl->Device().MusicLevel());
}

unsigned SoundPlayer::GetMusicFrequency(int position) const
{
    if (position < 0 || position >= MusicCount())
        return 0;
    return impl->music[position].frequency;
}

bool SoundPlayer::SetMusicFrequency(int position, unsigned samplesPerSecond)
{
    Report(impl->application, "music", position, "frequency " + std::to_string(samplesPerSecond));
    if (position < 0 || position >= MusicCount() || !impl->music[position].fileRate)
        return false;
    Sound& sound = impl->music[position];
    const unsigned frequency = samplesPerSecond == OriginalFrequency ? sound.fileRate : samplesPerSecond;
    if (frequency < MinFrequency || frequency > MaxFrequency)
        return false;
    sound.frequency = frequency;
    if (impl->Playable(impl->music, position))
        alSourcef(sound.source, AL_PITCH, static_cast<float>(frequency) / static_cast<float>(sound.fileRate));
    return true;
}

std::uint32_t SoundPlayer::GetEffectPosition(int position) const
{
    return impl->Position(impl->effects, position);
}

std::uint32_t SoundPlayer::GetMusicPosition(int position) const
{
    return impl->Position(impl->music, position);
}

bool SoundPlayer::IsEffectPlaying(int position) const
{
    const Sound* sound = impl->Playable(impl->effects, position);
    return sound && SourceState(*sound) == AL_PLAYING;
}

std::uint32_t SoundPlayer::GetEffectLength(int position) const
{
    if (position < 0 || position >= EffectCount())
        return 0;
    return impl->effects[position].bytes;
}
