// The real OpenAL path, rendered through a loopback device so every sample is
// known: volume scales the level, pan moves it to one side, pitch changes the
// length, loops keep going, stereo music reaches the speakers unchanged, a
// reset keeps everything playable, and the silent fallback keeps time.
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/OpenAlAudioDevice.h"
#include "platform/audio/SoundEffect.h"
#include "platform/audio/SoundEffectInstance.h"

namespace mirefell
{
namespace
{

constexpr uint32_t OutputRate = 44100;

// A sine tone; with `leftOnly` a stereo tone whose right channel is silent.
WaveData Tone(double hz, double seconds, uint16_t channels, float amplitude, bool leftOnly = false)
{
    WaveData wave;
    wave.format = {channels, OutputRate, 16};
    const auto frames = static_cast<size_t>(seconds * OutputRate);
    wave.samples.reserve(frames * channels * 2);
    for (size_t i = 0; i < frames; ++i) {
        const double value = amplitude * std::sin(2.0 * 3.14159265358979 * hz * static_cast<double>(i) / OutputRate);
        const auto sample = static_cast<int16_t>(std::lround(value * 32767.0));
        for (uint16_t c = 0; c < channels; ++c) {
            const int16_t out = (leftOnly && c == 1) ? int16_t{0} : sample;
            wave.samples.push_back(static_cast<uint8_t>(out & 0xFF));
            wave.samples.push_back(static_cast<uint8_t>((out >> 8) & 0xFF));
        }
    }
    wave.source = "tone";
    return wave;
}

double Rms(const std::vector<int16_t>& interleaved, int channel, size_t firstFrame, size_t endFrame)
{
    double sum = 0.0;
    for (size_t frame = firstFrame; frame < endFrame; ++frame) {
        const double value = interleaved[frame * 2 + channel];
        sum += value * value;
    }
    return std::sqrt(sum / static_cast<double>(endFrame - firstFrame));
}

// One past the last frame louder than `threshold` on either channel.
size_t AudibleFrames(const std::vector<int16_t>& interleaved, int threshold)
{
    for (size_t i = interleaved.size(); i > 0; --i)
        if (std::abs(interleaved[i - 1]) > threshold)
            return (i - 1) / 2 + 1;
    return 0;
}

class OpenAlLoopbackTest : public ::testing::Test
{
protected:
    void SetUp() override { Open(64); }

    void Open(uint32_t voices)
    {
        OpenAlDeviceOptions options;
        options.limiter = false; // levels must stay exactly proportional
        options.voices = voices;
        auto loopback = OpenAlAudioDevice::OpenLoopback(options);
        ASSERT_EQ(loopback->GetMode(), OpenAlAudioDevice::Mode::Loopback);
        device = loopback.get();
        engine = std::make_unique<AudioEngine>(std::move(loopback));
    }

    std::vector<int16_t> Render(double seconds)
    {
        const auto frames = static_cast<uint32_t>(seconds * OutputRate);
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
        device->Render(out.data(), frames);
        return out;
    }

    // Level of the left channel over 50..250 ms of a fresh render, past
    // OpenAL's start-up gain ramp.
    double SteadyLevel(int channel = 0)
    {
        const std::vector<int16_t> out = Render(0.25);
        return Rms(out, channel, OutputRate / 20, out.size() / 2);
    }

    OpenAlAudioDevice* device = nullptr;
    std::unique_ptr<AudioEngine> engine;
};

TEST_F(OpenAlLoopbackTest, VolumeScalesTheLevel)
{
    SoundEffect tone(*engine, Tone(440.0, 0.5, 1, 0.5f));
    tone.Play(1.0f, 0.0f, 0.0f);
    const double full = SteadyLevel();
    Render(0.5); // let it finish
    ASSERT_FALSE(tone.IsInUse());

    tone.Play(0.5f, 0.0f, 0.0f);
    const double half = SteadyLevel();
    EXPECT_GT(full, 1000.0);
    EXPECT_NEAR(half / full, 0.5, 0.01);
}

TEST_F(OpenAlLoopbackTest, PanMovesTheSoundToOneSide)
{
    SoundEffect tone(*engine, Tone(440.0, 0.3, 1, 0.5f));
    tone.Play(1.0f, 0.0f, 1.0f);
    std::vector<int16_t> out = Render(0.25);
    const double rightSideLeft = Rms(out, 0, 2205, out.size() / 2);
    const double rightSideRight = Rms(out, 1, 2205, out.size() / 2);
    EXPECT_GT(rightSideRight, 1000.0);
    EXPECT_LT(rightSideLeft, rightSideRight * 0.01);
    Render(0.3);

    tone.Play(1.0f, 0.0f, -1.0f);
    out = Render(0.25);
    EXPECT_LT(Rms(out, 1, 2205, out.size() / 2), Rms(out, 0, 2205, out.size() / 2) * 0.01);
    Render(0.3);

    tone.Play(1.0f, 0.0f, 0.0f);
    out = Render(0.25);
    EXPECT_NEAR(Rms(out, 0, 2205, out.size() / 2), Rms(out, 1, 2205, out.size() / 2), 1.0);
}

TEST_F(OpenAlLoopbackTest, AnOctaveUpHalvesTheLength)
{
    SoundEffect tone(*engine, Tone(300.0, 0.5, 1, 0.5f));
    tone.Play(1.0f, 0.0f, 0.0f);
    const size_t normal = AudibleFrames(Render(1.0), 200);
    tone.Play(1.0f, 1.0f, 0.0f);
    std::vector<int16_t> out = Render(0.3);
    EXPECT_FALSE(tone.IsInUse());
    const size_t octaveUp = AudibleFrames(out, 200);

    EXPECT_NEAR(static_cast<double>(normal), 0.5 * OutputRate, 0.005 * OutputRate);
    EXPECT_NEAR(static_cast<double>(octaveUp), 0.25 * OutputRate, 0.005 * OutputRate);
}

TEST_F(OpenAlLoopbackTest, ALoopingInstancePlaysOnAndFollowsItsVolume)
{
    SoundEffect tone(*engine, Tone(441.0, 0.1, 1, 0.5f));
    auto loop = tone.CreateInstance();
    loop->Play(true);
    std::vector<int16_t> out = Render(1.0); // ten times the sound's length
    const double early = Rms(out, 0, 4410, 8820);
    const double late = Rms(out, 0, 39690, 44100);
    EXPECT_GT(early, 1000.0);
    EXPECT_NEAR(late / early, 1.0, 0.02);
    EXPECT_EQ(loop->GetState(), SoundState::Playing);
    EXPECT_TRUE(tone.IsInUse());

    loop->SetVolume(0.25f);
    EXPECT_NEAR(SteadyLevel() / early, 0.25, 0.01);

    loop->Stop();
    out = Render(0.1);
    EXPECT_LT(Rms(out, 0, 441, out.size() / 2), 1.0);
    EXPECT_EQ(loop->GetState(), SoundState::Stopped);
    EXPECT_FALSE(tone.IsInUse());
}

TEST_F(OpenAlLoopbackTest, CentredStereoReachesTheSpeakersUnchanged)
{
    // Music is stereo: its channels must not be re-panned or attenuated.
    SoundEffect music(*engine, Tone(440.0, 0.5, 2, 0.5f, true));
    auto instance = music.CreateInstance();
    instance->Play(true);
    const std::vector<int16_t> out = Render(0.25);
    const double left = Rms(out, 0, 2205, out.size() / 2);
    const double right = Rms(out, 1, 2205, out.size() / 2);
    EXPECT_NEAR(left, 0.5 * 32767.0 / std::sqrt(2.0), 0.02 * left);
    EXPECT_LT(right, left * 0.01);
}

TEST_F(OpenAlLoopbackTest, ResetKeepsEffectsAndInstancesPlayable)
{
    SoundEffect tone(*engine, Tone(440.0, 0.5, 1, 0.5f));
    auto loop = tone.CreateInstance();
    loop->Play(true);
    tone.Play();
    Render(0.1);

    EXPECT_TRUE(engine->Reset());
    EXPECT_EQ(loop->GetState(), SoundState::Stopped);
    EXPECT_FALSE(tone.IsInUse());
    EXPECT_LT(Rms(Render(0.1), 0, 0, 4410), 1.0);

    tone.Play();
    EXPECT_GT(SteadyLevel(), 1000.0);
    Render(0.5);
    loop->Play(true);
    EXPECT_GT(SteadyLevel(), 1000.0);
    EXPECT_EQ(loop->GetState(), SoundState::Playing);
}

TEST_F(OpenAlLoopbackTest, ExtraOneShotsAreDroppedWhenEveryVoiceIsBusy)
{
    Open(4);
    SoundEffect tone(*engine, Tone(440.0, 0.3, 1, 0.05f));
    tone.Play();
    const double single = SteadyLevel();
    Render(0.3);

    for (int i = 0; i < 6; ++i)
        tone.Play(); // the same tone in phase: the level counts the voices
    EXPECT_NEAR(SteadyLevel() / single, 4.0, 0.05);

    Render(0.3);
    engine->Update();
    tone.Play();
    EXPECT_NEAR(SteadyLevel() / single, 1.0, 0.02);
}

class ManualClockScope
{
public:
    ManualClockScope() { SetClock(&clock); }
    ~ManualClockScope() { SetClock(nullptr); }
    void AdvanceSeconds(double seconds) { clock.Advance(static_cast<uint64_t>(seconds * clock.Frequency())); }

private:
    ManualClock clock;
};

TEST(OpenAlSilentMixer, SoundsKeepTimeWithNoOutputAndPauseWhenSuspended)
{
    ManualClockScope clock;
    OpenAlDeviceOptions options;
    options.openOutput = false;
    AudioEngine engine(OpenAlAudioDevice::OpenDefault(options));
    {
        SoundEffect tone(engine, Tone(440.0, 0.2, 1, 0.5f));
        tone.Play();
        EXPECT_FALSE(engine.Update()); // no sound device, and that is not an error
        EXPECT_FALSE(engine.IsCriticalError());
        EXPECT_FALSE(engine.IsAudioDevicePresent());

        clock.AdvanceSeconds(0.1);
        engine.Update();
        EXPECT_TRUE(tone.IsInUse());

        engine.Suspend();
        clock.AdvanceSeconds(1.0);
        engine.Update();
        engine.Resume();
        engine.Update();
        EXPECT_TRUE(tone.IsInUse()); // the suspended second was not mixed

        clock.AdvanceSeconds(0.15);
        engine.Update();
        EXPECT_FALSE(tone.IsInUse());
    }
}

TEST(OpenAlDefaultDevice, OpensWhateverThereIsWithoutThrowing)
{
    std::unique_ptr<AudioEngine> engine = AudioEngine::CreateDefault();
    ASSERT_TRUE(engine);
    SoundEffect tone(*engine, Tone(440.0, 0.5, 1, 0.2f));
    tone.Play();
    EXPECT_TRUE(tone.IsInUse());
    // With a device (OpenAL's null driver in CI) Update succeeds; without one
    // it reports silence, never a critical error.
    EXPECT_EQ(engine->Update(), engine->IsAudioDevicePresent());
    EXPECT_FALSE(engine->IsCriticalError());
}

} // namespace
} // namespace mirefell
