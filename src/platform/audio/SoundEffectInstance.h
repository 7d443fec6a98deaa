// SoundEffectInstance: one controllable playback of a SoundEffect (the music
// uses one). It owns at most one voice; volume changes reach a playing voice
// at once. Made by SoundEffect::CreateInstance; it must not outlive its
// effect. Destroying it stops it.
#pragma once

#include "platform/audio/IAudioDevice.h"

namespace mirefell
{

class AudioEngine;
class SoundEffect;

enum class SoundState
{
    Stopped,
    Playing,
};

class SoundEffectInstance
{
public:
    ~SoundEffectInstance();
    SoundEffectInstance(const SoundEffectInstance&) = delete;
    SoundEffectInstance& operator=(const SoundEffectInstance&) = delete;

    // Starts from the beginning unless it is already playing. A looping
    // instance plays until stopped.
    void Play(bool loop = false);
    void Stop();
    void SetVolume(float volume_);
    float GetVolume() const { return volume; }
    bool IsLooped() const { return looped; }
    SoundState GetState() const;

private:
    friend class AudioEngine;
    friend class SoundEffect;

    SoundEffectInstance(AudioEngine& engine_, SoundEffect& effect_);
    // The device was reset: the voice is gone.
    void ForgetVoice() { voice = NoAudioVoice; }

    AudioEngine& engine;
    SoundEffect& effect;
    AudioVoiceId voice = NoAudioVoice;
    float volume = 1.0f;
    bool looped = false;
};

} // namespace mirefell
