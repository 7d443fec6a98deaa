// The sound manager's decisions, over the recording device: which sounds may
// overlap, the volumes of the moment, one music track at a time that survives
// a level restart but not a return to the title, the per-step audio service
// with device loss and arrival, and start-up refusing broken sound files.
#include <memory>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "platform/GameError.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "platform/audio/SoundEffectInstance.h"
#include "platform/audio/WaveFile.h"
#include "shell/Config.h"
#include "shell/SoundManager.h"
#include "support/SoundTestSupport.h"
#include "support/TempDir.h"

namespace mirefell
{
namespace
{

using testing::TempDir;

constexpr double EffectSeconds = 0.5;
constexpr double MusicSeconds = 2.0;

void WriteSoundFolder(const TempDir& folder)
{
    testing::WriteSilentSoundFolder(folder, EffectSeconds, MusicSeconds);
}

class SoundManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Config::GetInstance().Reset();
        WriteSoundFolder(folder);
        auto recording = std::make_unique<RecordingAudioDevice>();
        device = recording.get();
        sounds.Initialize(std::make_unique<AudioEngine>(std::move(recording)), folder.File("sounds/"));
    }
    void TearDown() override { Config::GetInstance().Reset(); }

    Settings& CurrentSettings() { return Config::GetInstance().settings; }
    // The music voices playing now.
    std::vector<const RecordingAudioDevice::VoiceRecord*> Music()
    {
        std::vector<const RecordingAudioDevice::VoiceRecord*> music;
        for (const auto* voice : device->PlayingVoices())
            if (voice->source.find("/music/") != std::string::npos)
                music.push_back(voice);
        return music;
    }

    TempDir folder;
    RecordingAudioDevice* device = nullptr;
    SoundManager sounds;
};

TEST_F(SoundManagerTest, ASoundThatMayNotOverlapWaitsForItsPreviousPlay)
{
    sounds.PlaySound("elevator_move");
    sounds.PlaySound("elevator_move");
    EXPECT_EQ(device->CountStarted("elevator_move.wav"), 1u);

    sounds.PlaySound("door_open");
    sounds.PlaySound("door_open");
    EXPECT_EQ(device->PlayingVoices("door_open.wav").size(), 2u);

    device->Advance(EffectSeconds * 0.9);
    sounds.PlaySound("elevator_move");
    EXPECT_EQ(device->CountStarted("elevator_move.wav"), 1u);
    device->Advance(EffectSeconds * 0.2);
    sounds.PlaySound("elevator_move");
    EXPECT_EQ(device->CountStarted("elevator_move.wav"), 2u);

    // Each non-overlapping sound is judged on its own.
    sounds.PlaySound("monster_roar");
    sounds.PlaySound("eye_charging");
    sounds.PlaySound("elevator_stop");
    sounds.PlaySound("monster_roar");
    sounds.PlaySound("eye_charging");
    sounds.PlaySound("elevator_stop");
    EXPECT_EQ(device->CountStarted("monster_roar.wav"), 1u);
    EXPECT_EQ(device->CountStarted("eye_charging.wav"), 1u);
    EXPECT_EQ(device->CountStarted("elevator_stop.wav"), 1u);
}

TEST_F(SoundManagerTest, EffectsPlayOnceAtTheSoundVolumeOfTheMoment)
{
    CurrentSettings().soundVolume = 0.3f;
    sounds.PlaySound("jump");
    CurrentSettings().soundVolume = 0.8f;
    sounds.PlaySound("jump");

    const auto jumps = device->PlayingVoices("jump.wav");
    ASSERT_EQ(jumps.size(), 2u);
    EXPECT_FLOAT_EQ(jumps[0]->settings.volume, 0.3f); // a playing sound keeps its volume
    EXPECT_FLOAT_EQ(jumps[1]->settings.volume, 0.8f);
    for (const auto* jump : jumps) {
        EXPECT_FALSE(jump->settings.loop);
        EXPECT_EQ(jump->settings.pitch, 0.0f);
        EXPECT_EQ(jump->settings.pan, 0.0f);
    }
}

TEST_F(SoundManagerTest, NamesOutsideTheTableThrowAndExplosionPlaysTheBlasterImpact)
{
    for (const auto& call :
         {+[](SoundManager& s) { s.PlaySound("footstep"); }, +[](SoundManager& s) { s.PlayMusic("music_track4"); }}) {
        try {
            call(sounds);
            ADD_FAILURE() << "an unknown name was accepted";
        } catch (const std::out_of_range& error) {
            EXPECT_STREQ(error.what(), "invalid map<K, T> key");
        }
    }
    EXPECT_THROW(sounds.PlayLevelMusic("basement"), std::out_of_range);
    EXPECT_TRUE(device->Voices().empty());

    sounds.PlaySound("explosion"); // the one name that plays another's file
    ASSERT_EQ(device->Voices().size(), 1u);
    EXPECT_EQ(device->CountStarted("/hyper_blaster_hit.wav"), 1u);
}

TEST_F(SoundManagerTest, LevelMusicKeepsPlayingThroughARestartOfTheSameLevel)
{
    CurrentSettings().musicVolume = 0.6f;
    sounds.PlayLevelMusic("pentagram");
    ASSERT_EQ(Music().size(), 1u);
    EXPECT_EQ(Music()[0]->source, folder.File("sounds/") + "music/track1.wav");
    EXPECT_TRUE(Music()[0]->settings.loop);
    EXPECT_FLOAT_EQ(Music()[0]->settings.volume, 0.6f);

    device->Advance(MusicSeconds * 3);
    sounds.PlayLevelMusic("pentagram"); // died and restarted
    EXPECT_EQ(device->CountStarted("music/track1.wav"), 1u);
    EXPECT_EQ(Music().size(), 1u);

    sounds.PlayLevelMusic("descent");
    ASSERT_EQ(Music().size(), 1u);
    EXPECT_EQ(device->CountStarted("music/track2.wav"), 1u);
    EXPECT_TRUE(device->PlayingVoices("music/track1.wav").empty());
    EXPECT_EQ(sounds.GetMusicLevelId(), "descent");
}

TEST_F(SoundManagerTest, TheTitleAndACompletedLevelForgetTheLevelMusic)
{
    sounds.PlayTitleMusic();
    device->Advance(1.0);
    sounds.PlayTitleMusic(); // every return to the title starts it over
    EXPECT_EQ(device->CountStarted("music/title.wav"), 2u);
    ASSERT_EQ(Music().size(), 1u);
    EXPECT_EQ(Music()[0]->startTime, 1.0);

    sounds.PlayLevelMusic("mouth");
    sounds.PlayTitleMusic();
    sounds.PlayLevelMusic("mouth"); // from the title the level's track starts again
    EXPECT_EQ(device->CountStarted("music/track3.wav"), 2u);

    sounds.StopMusic(); // level completed
    EXPECT_TRUE(Music().empty());
    EXPECT_EQ(sounds.music, nullptr);
    EXPECT_EQ(sounds.GetMusicLevelId(), "");
    sounds.PlayLevelMusic("mouth");
    EXPECT_EQ(device->CountStarted("music/track3.wav"), 3u);
}

TEST_F(SoundManagerTest, AMusicVolumeChangeReachesThePlayingTrackAtOnce)
{
    sounds.PlayTitleMusic();
    CurrentSettings().musicVolume = 0.1f;
    sounds.ApplyMusicVolume();
    ASSERT_EQ(Music().size(), 1u);
    EXPECT_FLOAT_EQ(Music()[0]->settings.volume, 0.1f);
    EXPECT_EQ(device->CountStarted("music/title.wav"), 1u); // not restarted

    sounds.StopMusic();
    sounds.ApplyMusicVolume(); // no music: nothing to do
    EXPECT_TRUE(Music().empty());
}

TEST_F(SoundManagerTest, ALostDeviceIsResetAtTheNextStepAndTheMusicResumes)
{
    sounds.PlayLevelMusic("pentagram");
    sounds.ServiceAudio();
    EXPECT_FALSE(sounds.retryAudio);
    EXPECT_EQ(device->UpdateCount(), 1);

    device->LoseDevice();
    sounds.ServiceAudio(); // the update notices
    EXPECT_TRUE(sounds.retryAudio);
    EXPECT_EQ(device->ResetCount(), 0);

    sounds.ServiceAudio(); // the next step resets instead of updating
    EXPECT_FALSE(sounds.retryAudio);
    EXPECT_EQ(device->ResetCount(), 1);
    EXPECT_EQ(device->UpdateCount(), 2);
    ASSERT_EQ(Music().size(), 1u);
    EXPECT_TRUE(Music()[0]->settings.loop);
    EXPECT_EQ(device->CountStarted("music/track1.wav"), 2u);

    // Sound effects work on the new device.
    sounds.PlaySound("door_open");
    EXPECT_EQ(device->PlayingVoices("door_open.wav").size(), 1u);
}

TEST_F(SoundManagerTest, WithNoDeviceToResetToItWaitsForADeviceToArrive)
{
    sounds.PlayTitleMusic();
    device->LoseDevice();
    device->FailNextResets(1);
    sounds.ServiceAudio();
    sounds.ServiceAudio(); // the reset finds nothing
    EXPECT_EQ(device->ResetCount(), 1);
    EXPECT_TRUE(Music().empty());
    EXPECT_FALSE(sounds.retryAudio);

    for (int step = 0; step < 5; ++step)
        sounds.ServiceAudio(); // silent, not lost: no reset every step
    EXPECT_EQ(device->ResetCount(), 1);

    sounds.RequestAudioReset(); // a device arrived
    sounds.ServiceAudio();
    EXPECT_EQ(device->ResetCount(), 2);
    EXPECT_EQ(Music().size(), 1u);
}

TEST_F(SoundManagerTest, SuspendResumeAndShutdown)
{
    sounds.PlayTitleMusic();
    sounds.Suspend();
    EXPECT_TRUE(device->IsSuspended());
    sounds.Resume();
    EXPECT_FALSE(device->IsSuspended());

    sounds.Shutdown();
    EXPECT_TRUE(device->IsSuspended());
    EXPECT_EQ(sounds.music, nullptr);
    EXPECT_TRUE(Music().empty());
    EXPECT_NE(sounds.engine, nullptr); // the engine lives on until exit
}

TEST(SoundManagerWithoutEngine, ChecksNamesAndPlaysNothing)
{
    SoundManager sounds;
    sounds.PlaySound("shotgun_fire");
    sounds.PlayTitleMusic();
    sounds.PlayLevelMusic("pentagram");
    sounds.ServiceAudio();
    sounds.Suspend();
    sounds.Shutdown();
    EXPECT_EQ(sounds.music, nullptr);
    EXPECT_THROW(sounds.PlaySound("footstep"), std::out_of_range);
}

TEST(SoundManagerStartUp, ABrokenOrMissingFileStopsItNamingTheFile)
{
    TempDir folder;
    WriteSoundFolder(folder);
    folder.Write("sounds/teleport.wav", "RIFF....WAVEjunk");
    SoundManager sounds;
    try {
        sounds.Initialize(std::make_unique<AudioEngine>(std::make_unique<RecordingAudioDevice>()),
                          folder.File("sounds/"));
        ADD_FAILURE() << "a broken file was loaded";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "invalid wave file");
        EXPECT_NE(error.Detail().find(folder.File("sounds/teleport.wav")), std::string::npos) << error.Detail();
    }
    EXPECT_EQ(sounds.engine, nullptr); // nothing half-loaded is kept

    std::filesystem::remove(folder.Path() / "sounds/music/track2.wav");
    folder.Write("sounds/teleport.wav", folder.Read("sounds/jump.wav"));
    try {
        sounds.Initialize(std::make_unique<AudioEngine>(std::make_unique<RecordingAudioDevice>()),
                          folder.File("sounds/"));
        ADD_FAILURE() << "a missing file was not noticed";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "can't access file");
        EXPECT_EQ(error.Detail(), folder.File("sounds/") + "music/track2.wav");
    }
}

} // namespace
} // namespace mirefell
