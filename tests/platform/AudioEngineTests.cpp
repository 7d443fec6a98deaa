// The audio engine's bookkeeping over the recording device: one-shots give
// their voices back, instances keep their own voice, and a device reset
// rebuilds every effect's buffer and leaves instances stopped but playable.
#include <memory>

#include <gtest/gtest.h>

#include "platform/audio/AudioEngine.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "platform/audio/SoundEffect.h"
#include "platform/audio/SoundEffectInstance.h"

namespace mirefell
{
namespace
{

// A silent mono sound of the given length, named for the recording.
WaveData Silence(const std::string& name, double seconds)
{
    WaveData wave;
    wave.format = {1, 8000, 16};
    wave.samples.assign(static_cast<size_t>(seconds * 8000) * 2, 0);
    wave.source = name;
    return wave;
}

class AudioEngineTest : public ::testing::Test
{
protected:
    explicit AudioEngineTest(uint32_t voices = 8)
    {
        auto recording = std::make_unique<RecordingAudioDevice>(voices);
        device = recording.get();
        engine = std::make_unique<AudioEngine>(std::move(recording));
    }

    RecordingAudioDevice* device;
    std::unique_ptr<AudioEngine> engine;
};

class AudioEngineSmallPoolTest : public AudioEngineTest
{
protected:
    AudioEngineSmallPoolTest() : AudioEngineTest(2) {}
};

TEST_F(AudioEngineSmallPoolTest, FinishedOneShotsGiveTheirVoicesBack)
{
    SoundEffect shot(*engine, Silence("shot.wav", 0.5));
    shot.Play(0.7f, 0.0f, -0.5f);
    shot.Play();
    shot.Play(); // the pool of two is full: dropped, not queued
    EXPECT_EQ(device->CountStarted("shot.wav"), 2u);
    EXPECT_TRUE(shot.IsInUse());
    EXPECT_FLOAT_EQ(device->Voices()[0].settings.volume, 0.7f);
    EXPECT_FLOAT_EQ(device->Voices()[0].settings.pan, -0.5f);

    device->Advance(0.6);
    EXPECT_FALSE(shot.IsInUse());
    // No Update ran, yet the finished voices are reclaimed on demand.
    shot.Play();
    shot.Play();
    EXPECT_EQ(device->PlayingVoices("shot.wav").size(), 2u);
}

TEST_F(AudioEngineTest, PitchChangesHowLongAOneShotLasts)
{
    SoundEffect sound(*engine, Silence("sound.wav", 1.0));
    sound.Play(1.0f, 1.0f, 0.0f);
    device->Advance(0.45);
    EXPECT_TRUE(sound.IsInUse());
    device->Advance(0.1);
    EXPECT_FALSE(sound.IsInUse());
}

TEST_F(AudioEngineTest, InstancesOwnOneVoiceAndChangeVolumeLive)
{
    SoundEffect music(*engine, Silence("music.wav", 2.0));
    auto instance = music.CreateInstance();
    EXPECT_EQ(instance->GetState(), SoundState::Stopped);
    EXPECT_FALSE(music.IsInUse());

    instance->SetVolume(0.4f);
    instance->Play(true);
    instance->Play(true); // already playing: no second voice
    ASSERT_EQ(device->CountStarted("music.wav"), 1u);
    EXPECT_TRUE(device->Voices()[0].settings.loop);
    EXPECT_FLOAT_EQ(device->Voices()[0].settings.volume, 0.4f);
    EXPECT_TRUE(music.IsInUse());

    instance->SetVolume(0.9f);
    EXPECT_FLOAT_EQ(device->Voices()[0].settings.volume, 0.9f);
    device->Advance(10.0);
    EXPECT_EQ(instance->GetState(), SoundState::Playing);

    instance.reset();
    EXPECT_TRUE(device->PlayingVoices().empty());
    EXPECT_FALSE(music.IsInUse());
}

TEST_F(AudioEngineTest, ALostDeviceIsReportedAndResetRebuildsEverything)
{
    SoundEffect door(*engine, Silence("door.wav", 0.5));
    SoundEffect music(*engine, Silence("music.wav", 2.0));
    auto track = music.CreateInstance();
    track->Play(true);
    door.Play();
    EXPECT_TRUE(engine->Update());
    EXPECT_FALSE(engine->IsCriticalError());

    device->LoseDevice();
    EXPECT_FALSE(engine->Update());
    EXPECT_TRUE(engine->IsCriticalError());

    EXPECT_TRUE(engine->Reset());
    EXPECT_FALSE(engine->IsCriticalError());
    EXPECT_EQ(device->LiveBufferCount(), 2u);
    EXPECT_EQ(track->GetState(), SoundState::Stopped);
    EXPECT_FALSE(door.IsInUse());

    // Both play again on the new device.
    track->Play(true);
    door.Play();
    EXPECT_EQ(device->PlayingVoices("music.wav").size(), 1u);
    EXPECT_EQ(device->PlayingVoices("door.wav").size(), 1u);
}

TEST_F(AudioEngineTest, AResetThatFindsNoDeviceIsNotACriticalError)
{
    SoundEffect door(*engine, Silence("door.wav", 0.5));
    device->LoseDevice();
    engine->Update();
    device->FailNextResets(1);
    EXPECT_FALSE(engine->Reset());
    // Silent now: Update reports no device, but nothing to retry on its own.
    EXPECT_FALSE(engine->Update());
    EXPECT_FALSE(engine->IsCriticalError());
    EXPECT_FALSE(engine->IsAudioDevicePresent());
}

TEST_F(AudioEngineTest, DestroyingAnEffectStopsItsOneShots)
{
    auto roar = std::make_unique<SoundEffect>(*engine, Silence("roar.wav", 1.0));
    roar->Play();
    roar->Play();
    ASSERT_EQ(device->PlayingVoices("roar.wav").size(), 2u);
    roar.reset();
    EXPECT_TRUE(device->PlayingVoices().empty());
    EXPECT_EQ(device->LiveBufferCount(), 0u);
    EXPECT_TRUE(engine->Update()); // no stale one-shot left behind
}

} // namespace
} // namespace mirefell
