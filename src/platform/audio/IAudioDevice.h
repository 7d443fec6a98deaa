// IAudioDevice: the mixer behind the AudioEngine. A device holds sample
// buffers and plays voices (one buffer each, with volume, pitch, pan and
// looping). Three implementations: OpenAL Soft (a real output, or OpenAL's
// mixer running silently when no output opens), the null device (no audio at
// all) and the recording device that tests inspect.
//
// Handles are small integers; 0 is never a valid handle. A device never frees
// a voice on its own: a voice that finishes stays allocated (and reports not
// playing) until DestroyVoice. Reset drops every buffer and voice, so every
// handle handed out before it is dead afterwards.
#pragma once

#include <cstdint>

namespace mirefell
{

struct WaveData;

using AudioBufferId = uint32_t;
using AudioVoiceId = uint32_t;
inline constexpr AudioBufferId NoAudioBuffer = 0;
inline constexpr AudioVoiceId NoAudioVoice = 0;

struct VoiceSettings
{
    float volume = 1.0f; // linear amplitude factor; 0 is silent
    float pitch = 0.0f;  // octaves, -1..1: +1 plays twice as fast and an octave higher
    float pan = 0.0f;    // -1 full left, 0 centre, +1 full right
    bool loop = false;
};

// What Update found.
enum class AudioDeviceStatus
{
    Output, // mixing to a sound device
    Silent, // running without an output (nothing could be opened)
    Lost,   // the output device went away; only Reset helps
};

class IAudioDevice
{
public:
    virtual ~IAudioDevice() = default;

    // Copies the samples into the device; NoAudioBuffer when it cannot.
    virtual AudioBufferId CreateBuffer(const WaveData& wave) = 0;
    // The buffer must have no voice left.
    virtual void DestroyBuffer(AudioBufferId buffer) = 0;

    // Starts a voice at once; NoAudioVoice when every voice is taken or the
    // buffer is unknown (the sound is then simply not heard).
    virtual AudioVoiceId StartVoice(AudioBufferId buffer, const VoiceSettings& settings) = 0;
    virtual void SetVoiceVolume(AudioVoiceId voice, float volume) = 0;
    // False for a finished, stopped or unknown voice.
    virtual bool IsVoicePlaying(AudioVoiceId voice) const = 0;
    // Stops the voice and frees its handle; unknown handles are ignored.
    virtual void DestroyVoice(AudioVoiceId voice) = 0;
    // How many voices can play at once.
    virtual uint32_t VoiceCapacity() const = 0;

    // Once per game step.
    virtual AudioDeviceStatus Update() = 0;
    // Closes everything and opens the default output again. True when a
    // sound device is open afterwards; false when the device fell back to
    // silence.
    virtual bool Reset() = 0;
    // Pause and continue all mixing (power suspend, minimised window).
    virtual void Suspend() = 0;
    virtual void Resume() = 0;
    // Whether a sound device (not the silent fallback) is open.
    virtual bool HasOutput() const = 0;
};

} // namespace mirefell
