#include "platform/audio/SoundEffect.h"

#include <cassert>

#include "platform/audio/AudioEngine.h"
#include "platform/audio/SoundEffectInstance.h"

namespace mirefell
{

SoundEffect::SoundEffect(AudioEngine& engine_, const std::string& path) : SoundEffect(engine_, LoadWaveFile(path)) {}

SoundEffect::SoundEffect(AudioEngine& engine_, WaveData wave_) : engine(engine_), wave(std::move(wave_))
{
    CreateBuffer();
    engine.Register(this);
}

SoundEffect::~SoundEffect()
{
    assert(!engine.HasInstanceOf(*this) && "instances must go before their effect");
    engine.StopOneShots(*this);
    engine.Unregister(this);
    engine.GetDevice().DestroyBuffer(buffer);
}

void SoundEffect::CreateBuffer()
{
    buffer = engine.GetDevice().CreateBuffer(wave);
}

void SoundEffect::Play()
{
    Play(1.0f, 0.0f, 0.0f);
}

void SoundEffect::Play(float volume, float pitch, float pan)
{
    VoiceSettings settings;
    settings.volume = volume;
    settings.pitch = pitch;
    settings.pan = pan;
    engine.PlayOneShot(*this, buffer, settings);
}

bool SoundEffect::IsInUse() const
{
    return engine.IsOneShotPlaying(*this) || engine.IsInstancePlaying(*this);
}

std::unique_ptr<SoundEffectInstance> SoundEffect::CreateInstance()
{
    return std::unique_ptr<SoundEffectInstance>(new SoundEffectInstance(engine, *this));
}

} // namespace mirefell
