#include "platform/audio/RecordingAudioDevice.h"

#include <algorithm>
#include <cmath>

#include "platform/audio/WaveFile.h"

namespace mirefell
{

namespace
{
bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}
} // namespace

std::vector<const RecordingAudioDevice::VoiceRecord*>
RecordingAudioDevice::PlayingVoices(const std::string& suffix) const
{
    std::vector<const VoiceRecord*> playing;
    for (const VoiceRecord& voice : voices)
        if (voice.playing && EndsWith(voice.source, suffix))
            playing.push_back(&voice);
    return playing;
}

size_t RecordingAudioDevice::CountStarted(const std::string& suffix) const
{
    return static_cast<size_t>(std::count_if(voices.begin(), voices.end(),
                                             [&](const VoiceRecord& voice) { return EndsWith(voice.source, suffix); }));
}

size_t RecordingAudioDevice::LiveBufferCount() const
{
    return static_cast<size_t>(std::count_if(buffers.begin(), buffers.end(), [](const Buffer& b) { return b.live; }));
}

void RecordingAudioDevice::Advance(double seconds)
{
    if (suspended)
        return;
    now += seconds;
    for (VoiceRecord& voice : voices)
        if (voice.playing && !voice.settings.loop && voice.endTime <= now)
            voice.playing = false;
}

void RecordingAudioDevice::LoseDevice()
{
    lost = true;
    for (VoiceRecord& voice : voices)
        voice.playing = false;
}

AudioBufferId RecordingAudioDevice::CreateBuffer(const WaveData& wave)
{
    buffers.push_back({wave.source, wave.Duration(), true});
    return static_cast<AudioBufferId>(buffers.size());
}

void RecordingAudioDevice::DestroyBuffer(AudioBufferId buffer)
{
    if (buffer != NoAudioBuffer && buffer <= buffers.size())
        buffers[buffer - 1].live = false;
}

AudioVoiceId RecordingAudioDevice::StartVoice(AudioBufferId buffer, const VoiceSettings& settings)
{
    if (buffer == NoAudioBuffer || buffer > buffers.size() || !buffers[buffer - 1].live)
        return NoAudioVoice;
    if (LiveVoiceCount() >= voiceCapacity)
        return NoAudioVoice;
    VoiceRecord voice;
    voice.id = static_cast<AudioVoiceId>(voices.size() + 1);
    voice.source = buffers[buffer - 1].source;
    voice.settings = settings;
    voice.startTime = now;
    voice.endTime = now + buffers[buffer - 1].duration / std::exp2(std::clamp(settings.pitch, -1.0f, 1.0f));
    // A lost device takes voices and plays nothing, as OpenAL does.
    voice.playing = !lost;
    voices.push_back(voice);
    return voice.id;
}

void RecordingAudioDevice::SetVoiceVolume(AudioVoiceId id, float volume)
{
    if (VoiceRecord* voice = Find(id))
        voice->settings.volume = volume;
}

bool RecordingAudioDevice::IsVoicePlaying(AudioVoiceId id) const
{
    const VoiceRecord* voice = Find(id);
    return voice && voice->playing;
}

void RecordingAudioDevice::DestroyVoice(AudioVoiceId id)
{
    if (VoiceRecord* voice = Find(id)) {
        voice->playing = false;
        voice->destroyed = true;
    }
}

AudioDeviceStatus RecordingAudioDevice::Update()
{
    ++updates;
    if (lost)
        return AudioDeviceStatus::Lost;
    return output ? AudioDeviceStatus::Output : AudioDeviceStatus::Silent;
}

bool RecordingAudioDevice::Reset()
{
    ++resets;
    for (VoiceRecord& voice : voices) {
        voice.playing = false;
        voice.destroyed = true;
    }
    for (Buffer& buffer : buffers)
        buffer.live = false;
    lost = false;
    output = failingResets <= 0;
    if (failingResets > 0)
        --failingResets;
    return output;
}

RecordingAudioDevice::VoiceRecord* RecordingAudioDevice::Find(AudioVoiceId id)
{
    if (id == NoAudioVoice || id > voices.size() || voices[id - 1].destroyed)
        return nullptr;
    return &voices[id - 1];
}

const RecordingAudioDevice::VoiceRecord* RecordingAudioDevice::Find(AudioVoiceId id) const
{
    if (id == NoAudioVoice || id > voices.size() || voices[id - 1].destroyed)
        return nullptr;
    return &voices[id - 1];
}

size_t RecordingAudioDevice::LiveVoiceCount() const
{
    return static_cast<size_t>(
        std::count_if(voices.begin(), voices.end(), [](const VoiceRecord& voice) { return !voice.destroyed; }));
}

} // namespace mirefell
