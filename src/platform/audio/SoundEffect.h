// SoundEffect: one sound loaded from a WAV file into the audio engine. It
// plays fire-and-forget one-shots (the engine frees their voices) and makes
// instances for sounds that are controlled while they play, such as music.
// The samples stay in memory so the engine can rebuild the device buffer
// after a device reset.
#pragma once

#include <memory>
#include <string>

#include "platform/audio/IAudioDevice.h"
#include "platform/audio/WaveFile.h"

namespace mirefell
{

class AudioEngine;
class SoundEffectInstance;

class SoundEffect
{
public:
    // Loads a WAV file; throws GameError naming the file when it is missing
    // or malformed.
    SoundEffect(AudioEngine& engine_, const std::string& path);
    SoundEffect(AudioEngine& engine_, WaveData wave_);
    // Stops its one-shots. Its instances must already be gone.
    ~SoundEffect();
    SoundEffect(const SoundEffect&) = delete;
    SoundEffect& operator=(const SoundEffect&) = delete;

    // One-shot at full volume, normal pitch, centred.
    void Play();
    // volume: linear factor; pitch: octaves, -1..1; pan: -1 left .. +1 right.
    // When no voice is free the sound is dropped.
    void Play(float volume, float pitch, float pan);
    // True while a one-shot or an instance of this effect is playing.
    bool IsInUse() const;
    std::unique_ptr<SoundEffectInstance> CreateInstance();

    const WaveData& GetWave() const { return wave; }

private:
    friend class AudioEngine;
    friend class SoundEffectInstance;

    void CreateBuffer();

    AudioEngine& engine;
    WaveData wave;
    AudioBufferId buffer = NoAudioBuffer;
};

} // namespace mirefell
