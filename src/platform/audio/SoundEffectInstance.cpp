#include "platform/audio/SoundEffectInstance.h"

#include "platform/audio/AudioEngine.h"
#include "platform/audio/SoundEffect.h"

namespace mirefell
{

SoundEffectInstance::SoundEffectInstance(AudioEngine& engine_, SoundEffect& effect_) : engine(engine_), effect(effect_)
{
    engine.Register(this);
}

SoundEffectInstance::~SoundEffectInstance()
{
    Stop();
    engine.Unregister(this);
}

void SoundEffectInstance::Play(bool loop)
{
    if (GetState() == SoundState::Playing)
        return;
    // A finished voice still holds its slot.
    Stop();
    looped = loop;
    VoiceSettings settings;
    settings.volume = volume;
    settings.loop = loop;
    voice = engine.GetDevice().StartVoice(effect.buffer, settings);
}

void SoundEffectInstance::Stop()
{
    if (voice != NoAudioVoice) {
        engine.GetDevice().DestroyVoice(voice);
        voice = NoAudioVoice;
    }
}

void SoundEffectInstance::SetVolume(float volume_)
{
    volume = volume_;
    if (voice != NoAudioVoice)
        engine.GetDevice().SetVoiceVolume(voice, volume);
}

SoundState SoundEffectInstance::GetState() const
{
    return voice != NoAudioVoice && engine.GetDevice().IsVoicePlaying(voice) ? SoundState::Playing
                                                                             : SoundState::Stopped;
}

} // namespace mirefell
