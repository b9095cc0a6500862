#include "sound/SoundPlayer.h"

#include <AL/al.h>
#include <AL/alext.h>

#include <cmath>
#include <optional>
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

struct Sound {
    ALuint buffer = 0;
    ALuint source = 0;
    unsigned fileRate = 0;
    unsigned frequency = 0;
    std::uint32_t bytes = 0;
    // Hundredths of a decibel, as last set.
    int volume = 0;
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

ALenum FormatOf(const WavFile& wav)
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
    sound.source = 0;
    sound.buffer = 0;
}

// A file that cannot be read gives a silent entry: sounds are decoration, and
// the scenes go on without them.
Sound Load(const std::string& path, bool deviceOpen)
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
    alGenSources(1, &sound.source);
    alSourcei(sound.source, AL_BUFFER, static_cast<ALint>(sound.buffer));
    // Plain playback at the listener: no distance, no panning of mono files,
    // stereo channels straight to the left and right outputs.
    alSourcei(sound.source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(sound.source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcei(sound.source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    if (alGetError() != AL_NO_ERROR)
        Release(sound);
    return sound;
}

ALint SourceState(const Sound& sound)
{
    ALint state = AL_INITIAL;
    alGetSourcei(sound.source, AL_SOURCE_STATE, &state);
    return state;
}

}  // namespace

struct SoundPlayer::Impl {
    explicit Impl(Application& owner) : application(owner) {}

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

    std::uint32_t Position(const std::vector<Sound>& list, int position) const
    {
        const Sound* sound = Playable(list, position);
        if (!sound)
            return 0;
        ALint offset = 0;
        alGetSourcei(sound->source, AL_BYTE_OFFSET, &offset);
        return static_cast<std::uint32_t>(offset);
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
    for (std::vector<Sound>* list : {&impl->effects, &impl->music}) {
        for (Sound& sound : *list)
            Release(sound);
    }
}

void SoundPlayer::AddEffect(const std::string& path)
{
    impl->effects.push_back(Load(path, !impl->session.expired()));
    if (impl->effects.back().source)
        Impl::Apply(impl->effects.back(), impl->Device().EffectsLevel());
}

void SoundPlayer::AddMusic(const std::string& path)
{
    impl->music.push_back(Load(path, !impl->session.expired()));
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
    const Sound* sound = impl->Playable(impl->music, position);
    // Playing a source that already plays would start it over.
    if (!sound || SourceState(*sound) == AL_PLAYING)
        return;
    alSourcei(sound->source, AL_LOOPING, AL_TRUE);
    alSourcePlay(sound->source);
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
    if (const Sound* sound = impl->Playable(impl->music, position); sound && SourceState(*sound) == AL_PLAYING)
        alSourcePause(sound->source);
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
