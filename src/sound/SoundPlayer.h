#pragma once

#include <cstdint>
#include <memory>
#include <string>

class Application;

// One scene's sound player: a list of sound effects, each a whole WAV file
// decoded into memory, and a list of music tracks, each played from its WAV
// file a piece at a time, addressed by the position at which it was added
// (from 0). Calls on a position a list does not have do nothing. Volumes are
// hundredths of a decibel: 0 is full volume, -10000 silence.
// Plays through the application's AudioDevice, opening it if nobody has; with
// no sound hardware everything behaves the same, silently. In the harness every
// call is reported in the frame's record.
class SoundPlayer {
public:
    static std::unique_ptr<SoundPlayer> Create(Application& application);
    // Puts the output volume back to what it was at Create.
    ~SoundPlayer();

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

    // Values above 0 (or below -10000) are refused (false) and the volume stays as it was.
    // Every sound is also scaled by the player's level of its kind (AudioDevice::SetLevels).
    bool SetEffectVolume(int position, int hundredthsOfDecibel);
    bool SetMusicVolume(int position, int hundredthsOfDecibel);
    // After the player's levels have changed: every sound at its volume under them.
    void ApplyLevels();

    // Playback rate in samples per second; at load, the file's own rate (0 for
    // a file that could not be read). A lower rate plays slower and deeper; 0
    // restores the file's own rate; rates outside 100 to 200000 are refused.
    unsigned GetMusicFrequency(int position) const;
    bool SetMusicFrequency(int position, unsigned samplesPerSecond);

    // Bytes of the sound's own data played since it was last rewound; 0 before
    // the first play and again once a one-shot has ended. Right after a play it
    // may still read 0 until the mixer has run: to wait for a sound to end, ask
    // IsEffectPlaying.
    std::uint32_t GetEffectPosition(int position) const;
    std::uint32_t GetMusicPosition(int position) const;
    bool IsEffectPlaying(int position) const;
    // Bytes of the sound's data; 0 for a file that could not be read.
    std::uint32_t GetEffectLength(int position) const;

private:
    explicit SoundPlayer(Application& application);
    struct Impl;
    std::unique_ptr<Impl> impl;
};
