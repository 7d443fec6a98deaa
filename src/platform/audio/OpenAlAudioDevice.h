// OpenAlAudioDevice: the audio device on OpenAL Soft. It owns one ALC device
// and context, a fixed pool of sources (the voices) and the buffers made on
// it. No AL type crosses this header.
//
// Opening the default output follows a chain, because OpenAL Soft 1.19 does
// not fall back by itself (opening fails outright on a machine with ALSA but
// no card): the default device first; failing that, OpenAL's own mixer on a
// loopback device, paced by the process clock in Update so that sounds start
// and finish on time and nothing is heard. When even that fails the device is
// closed and plays nothing. None of this throws.
//
// A loopback device opened for tests mixes only when Render is called, which
// makes level, pan, pitch and looping checks exact and repeatable.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/IAudioDevice.h"

namespace mirefell
{

struct OpenAlDeviceOptions
{
    uint32_t sampleRate = 44100; // output frames per second; output is 16-bit stereo
    bool limiter = true;         // OpenAL's output limiter, so loud mixes do not clip
    uint32_t voices = 64;        // sources made up front
    bool openOutput = true;      // false: go straight to the silent mixer (servers, tests)
};

class OpenAlAudioDevice final : public IAudioDevice
{
public:
    enum class Mode
    {
        Output,   // a sound device
        Silent,   // loopback mixer paced by the clock: no sound card
        Loopback, // loopback mixer driven by Render
        Closed,   // nothing could be opened
    };

    // The default output, with the fallbacks above.
    static std::unique_ptr<OpenAlAudioDevice> OpenDefault(const OpenAlDeviceOptions& options = {});
    // A loopback device for deterministic rendering; Closed when the
    // loopback extension is missing.
    static std::unique_ptr<OpenAlAudioDevice> OpenLoopback(const OpenAlDeviceOptions& options = {});

    ~OpenAlAudioDevice() override;
    OpenAlAudioDevice(const OpenAlAudioDevice&) = delete;
    OpenAlAudioDevice& operator=(const OpenAlAudioDevice&) = delete;

    Mode GetMode() const;
    // The ALC device's name, empty when closed.
    std::string DeviceName() const;
    // Loopback mode only: mixes the next `frames` frames into `interleaved`
    // (left, right, left, ...; 2 x frames values).
    void Render(int16_t* interleaved, uint32_t frames);

    AudioBufferId CreateBuffer(const WaveData& wave) override;
    void DestroyBuffer(AudioBufferId buffer) override;
    AudioVoiceId StartVoice(AudioBufferId buffer, const VoiceSettings& settings) override;
    void SetVoiceVolume(AudioVoiceId voice, float volume) override;
    bool IsVoicePlaying(AudioVoiceId voice) const override;
    void DestroyVoice(AudioVoiceId voice) override;
    uint32_t VoiceCapacity() const override;
    AudioDeviceStatus Update() override;
    bool Reset() override;
    void Suspend() override;
    void Resume() override;
    bool HasOutput() const override;

private:
    struct Impl;
    explicit OpenAlAudioDevice(std::unique_ptr<Impl> impl_);
    std::unique_ptr<Impl> impl;
};

} // namespace mirefell
