// AudioEngine: the game's audio engine over one IAudioDevice. It owns the
// device, keeps track of the sound effects and instances made on it (so that
// a device reset can rebuild their buffers and silence their voices) and of
// the fire-and-forget one-shots, whose voices it frees once they finish.
//
// Contract: every SoundEffect and SoundEffectInstance made on an engine is
// destroyed before the engine. All calls come from the game thread.
#pragma once

#include <memory>
#include <vector>

#include "platform/audio/IAudioDevice.h"

namespace mirefell
{

class SoundEffect;
class SoundEffectInstance;

class AudioEngine
{
public:
    // The game's engine: 16-bit stereo at 44100 Hz with the output limiter
    // on the default device, falling back to OpenAL's silent mixer and then
    // to no audio at all. Never throws for want of a sound device.
    static std::unique_ptr<AudioEngine> CreateDefault();

    explicit AudioEngine(std::unique_ptr<IAudioDevice> device_);
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Once per game step: frees finished one-shots and services the device.
    // False when no sound device is playing (silent fallback or a lost
    // device); IsCriticalError then tells whether the device was lost.
    bool Update();
    bool IsCriticalError() const { return criticalError; }
    // Drops every voice, reopens the default output and rebuilds the buffers
    // of every effect. Instances are left stopped; their owners play them
    // again. True when a sound device is open afterwards.
    bool Reset();
    // Pauses and continues all sound.
    void Suspend();
    void Resume();
    bool IsAudioDevicePresent() const { return device->HasOutput(); }

    IAudioDevice& GetDevice() { return *device; }

private:
    friend class SoundEffect;
    friend class SoundEffectInstance;

    struct OneShot
    {
        AudioVoiceId voice;
        const SoundEffect* effect;
    };

    void Register(SoundEffect* effect);
    void Unregister(SoundEffect* effect);
    void Register(SoundEffectInstance* instance);
    void Unregister(SoundEffectInstance* instance);
    void PlayOneShot(const SoundEffect& effect, AudioBufferId buffer, const VoiceSettings& settings);
    bool IsOneShotPlaying(const SoundEffect& effect) const;
    bool IsInstancePlaying(const SoundEffect& effect) const;
    bool HasInstanceOf(const SoundEffect& effect) const;
    void StopOneShots(const SoundEffect& effect);
    void ReleaseFinishedOneShots();

    std::unique_ptr<IAudioDevice> device;
    std::vector<SoundEffect*> effects;
    std::vector<SoundEffectInstance*> instances;
    std::vector<OneShot> oneShots; // reserved to the device's voice count
    bool criticalError = false;
};

} // namespace mirefell
