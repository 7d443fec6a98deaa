#include "platform/audio/AudioEngine.h"

#include <algorithm>
#include <cassert>

#include "platform/audio/NullAudioDevice.h"
#include "platform/audio/OpenAlAudioDevice.h"
#include "platform/audio/SoundEffect.h"
#include "platform/audio/SoundEffectInstance.h"

namespace mirefell
{

std::unique_ptr<AudioEngine> AudioEngine::CreateDefault()
{
    OpenAlDeviceOptions options;
    options.sampleRate = 44100;
    options.limiter = true;
    std::unique_ptr<OpenAlAudioDevice> openAl = OpenAlAudioDevice::OpenDefault(options);
    if (openAl->GetMode() == OpenAlAudioDevice::Mode::Closed)
        return std::make_unique<AudioEngine>(std::make_unique<NullAudioDevice>());
    return std::make_unique<AudioEngine>(std::move(openAl));
}

AudioEngine::AudioEngine(std::unique_ptr<IAudioDevice> device_) : device(std::move(device_))
{
    assert(device && "an engine needs a device");
    oneShots.reserve(device->VoiceCapacity());
}

AudioEngine::~AudioEngine()
{
    assert(effects.empty() && instances.empty() && "sound effects and instances must go before their engine");
    for (const OneShot& shot : oneShots)
        device->DestroyVoice(shot.voice);
}

bool AudioEngine::Update()
{
    ReleaseFinishedOneShots();
    switch (device->Update()) {
    case AudioDeviceStatus::Output:
        return true;
    case AudioDeviceStatus::Lost:
        criticalError = true;
        return false;
    case AudioDeviceStatus::Silent:
        break;
    }
    return false;
}

bool AudioEngine::Reset()
{
    // The device forgets every voice and buffer; so must we.
    oneShots.clear();
    for (SoundEffectInstance* instance : instances)
        instance->ForgetVoice();
    for (SoundEffect* effect : effects)
        effect->buffer = NoAudioBuffer;

    const bool output = device->Reset();
    criticalError = false;
    oneShots.reserve(device->VoiceCapacity());
    for (SoundEffect* effect : effects)
        effect->CreateBuffer();
    return output;
}

void AudioEngine::Suspend()
{
    device->Suspend();
}

void AudioEngine::Resume()
{
    device->Resume();
}

void AudioEngine::Register(SoundEffect* effect)
{
    effects.push_back(effect);
}

void AudioEngine::Unregister(SoundEffect* effect)
{
    std::erase(effects, effect);
}

void AudioEngine::Register(SoundEffectInstance* instance)
{
    instances.push_back(instance);
}

void AudioEngine::Unregister(SoundEffectInstance* instance)
{
    std::erase(instances, instance);
}

void AudioEngine::PlayOneShot(const SoundEffect& effect, AudioBufferId buffer, const VoiceSettings& settings)
{
    if (buffer == NoAudioBuffer)
        return;
    AudioVoiceId voice = device->StartVoice(buffer, settings);
    if (voice == NoAudioVoice) {
        // Voices that finished since the last step may still hold the pool.
        ReleaseFinishedOneShots();
        voice = device->StartVoice(buffer, settings);
    }
    if (voice != NoAudioVoice)
        oneShots.push_back({voice, &effect});
}

bool AudioEngine::IsOneShotPlaying(const SoundEffect& effect) const
{
    return std::any_of(oneShots.begin(), oneShots.end(), [&](const OneShot& shot) {
        return shot.effect == &effect && device->IsVoicePlaying(shot.voice);
    });
}

bool AudioEngine::IsInstancePlaying(const SoundEffect& effect) const
{
    return std::any_of(instances.begin(), instances.end(), [&](const SoundEffectInstance* instance) {
        return &instance->effect == &effect && instance->GetState() == SoundState::Playing;
    });
}

bool AudioEngine::HasInstanceOf(const SoundEffect& effect) const
{
    return std::any_of(instances.begin(), instances.end(),
                       [&](const SoundEffectInstance* instance) { return &instance->effect == &effect; });
}

void AudioEngine::StopOneShots(const SoundEffect& effect)
{
    std::erase_if(oneShots, [&](const OneShot& shot) {
        if (shot.effect != &effect)
            return false;
        device->DestroyVoice(shot.voice);
        return true;
    });
}

void AudioEngine::ReleaseFinishedOneShots()
{
    std::erase_if(oneShots, [&](const OneShot& shot) {
        if (device->IsVoicePlaying(shot.voice))
            return false;
        device->DestroyVoice(shot.voice);
        return true;
    });
}

} // namespace mirefell
