#pragma once

#include <cstdint>
#include <memory>
#include <string>

// One scene's sound player: a list of sound effects and a list of music
// tracks, each a whole WAV file decoded into memory, addressed by the position
// at which it was added (from 0). Calls on a position a list does not have do
// nothing. Volumes are hundredths of a decibel: 0 is full volume, -10000 silence.
class DXSound {
public:
    static std::unique_ptr<DXSound> Create();
    ~DXSound();

    // Appends the file to its list. A file that cannot be read still takes its
    // position, silent, so every later position stays where it belongs.
    void AddEffect(const std::string& path);
    void AddMusic(const std::string& path);
    int EffectCount() const;
    int MusicCount() const;

    // Rewinds and plays once, or looping. A sound never overlaps itself.
    void PlayEffect(int position, bool looping);
    // Plays looping from where the music stopped; music already playing goes on.
    void PlayMusic(int position);
    // Stops; the play position stays where it was.
    void StopEffect(int position);
    void StopMusic(int position);

    // Values above 0 are refused (false) and the volume stays as it was.
    bool SetEffectVolume(int position, int hundredthsOfDecibel);
    bool SetMusicVolume(int position, int hundredthsOfDecibel);

    // Playback rate in samples per second; at load, the file's own rate.
    unsigned GetMusicFrequency(int position) const;
    void SetMusicFrequency(int position, unsigned samplesPerSecond);

    // Bytes of the sound's own data played since it was last rewound; 0 before
    // the first play and again once a one-shot has ended.
    std::uint32_t GetEffectPosition(int position) const;
    bool IsEffectPlaying(int position) const;

private:
    DXSound();
    struct Impl;
    std::unique_ptr<Impl> impl;
};
