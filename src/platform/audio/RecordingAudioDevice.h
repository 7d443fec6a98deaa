// RecordingAudioDevice: an audio device with no sound at all that keeps a log
// of what was asked of it, for tests of the code that decides what to play.
// Time only moves by Advance: a voice ends when its buffer's length, shortened
// or stretched by its pitch, has passed; looping voices never end. Device loss
// and failing resets can be staged.
#pragma once

#include <string>
#include <vector>

#include "platform/audio/IAudioDevice.h"

namespace mirefell
{

class RecordingAudioDevice final : public IAudioDevice
{
public:
    struct VoiceRecord
    {
        AudioVoiceId id = NoAudioVoice;
        std::string source;     // the WaveData source of its buffer
        VoiceSettings settings; // volume follows SetVoiceVolume
        double startTime = 0.0; // seconds of device time
        double endTime = 0.0;   // when a non-looping voice finishes
        bool playing = true;
        bool destroyed = false;
    };

    explicit RecordingAudioDevice(uint32_t voiceCapacity_ = 64) : voiceCapacity(voiceCapacity_) {}

    // Every voice ever started, oldest first.
    const std::vector<VoiceRecord>& Voices() const { return voices; }
    // Voices playing now whose source ends with `suffix` (all when empty).
    std::vector<const VoiceRecord*> PlayingVoices(const std::string& suffix = {}) const;
    // Voices ever started whose source ends with `suffix`.
    size_t CountStarted(const std::string& suffix) const;
    // Buffers that exist now.
    size_t LiveBufferCount() const;

    // Moves device time on; voices that reach their end stop.
    void Advance(double seconds);
    double Now() const { return now; }
    // From now on Update reports the device lost, until a Reset.
    void LoseDevice();
    // The next `count` resets find no device and fall back to silence.
    void FailNextResets(int count) { failingResets = count; }
    int ResetCount() const { return resets; }
    int UpdateCount() const { return updates; }
    bool IsSuspended() const { return suspended; }

    AudioBufferId CreateBuffer(const WaveData& wave) override;
    void DestroyBuffer(AudioBufferId buffer) override;
    AudioVoiceId StartVoice(AudioBufferId buffer, const VoiceSettings& settings) override;
    void SetVoiceVolume(AudioVoiceId voice, float volume) override;
    bool IsVoicePlaying(AudioVoiceId voice) const override;
    void DestroyVoice(AudioVoiceId voice) override;
    uint32_t VoiceCapacity() const override { return voiceCapacity; }
    AudioDeviceStatus Update() override;
    bool Reset() override;
    void Suspend() override { suspended = true; }
    void Resume() override { suspended = false; }
    bool HasOutput() const override { return output; }

private:
    struct Buffer
    {
        std::string source;
        double duration = 0.0;
        bool live = false;
    };

    VoiceRecord* Find(AudioVoiceId id);
    const VoiceRecord* Find(AudioVoiceId id) const;
    size_t LiveVoiceCount() const;

    uint32_t voiceCapacity;
    std::vector<Buffer> buffers; // handle = index + 1
    std::vector<VoiceRecord> voices;
    double now = 0.0;
    bool output = true;
    bool lost = false;
    bool suspended = false;
    int failingResets = 0;
    int resets = 0;
    int updates = 0;
};

} // namespace mirefell
