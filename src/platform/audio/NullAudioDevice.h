// NullAudioDevice: the last fallback when OpenAL cannot open anything, not
// even its silent mixer. It takes buffers and plays nothing; no voice is ever
// playing, so every sound is simply dropped.
#pragma once

#include "platform/audio/IAudioDevice.h"

namespace mirefell
{

class NullAudioDevice final : public IAudioDevice
{
public:
    AudioBufferId CreateBuffer(const WaveData& wave) override;
    void DestroyBuffer(AudioBufferId) override {}
    AudioVoiceId StartVoice(AudioBufferId, const VoiceSettings&) override { return NoAudioVoice; }
    void SetVoiceVolume(AudioVoiceId, float) override {}
    bool IsVoicePlaying(AudioVoiceId) const override { return false; }
    void DestroyVoice(AudioVoiceId) override {}
    uint32_t VoiceCapacity() const override { return 0; }
    AudioDeviceStatus Update() override { return AudioDeviceStatus::Silent; }
    bool Reset() override { return false; }
    void Suspend() override {}
    void Resume() override {}
    bool HasOutput() const override { return false; }

private:
    AudioBufferId nextBuffer = 1;
};

} // namespace mirefell
