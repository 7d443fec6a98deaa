// The generated sound tree as the game finds it in the run folder: every file
// of the sound table is there and readable, the music loops join without a
// click, the tree stays small, and the game's own start-up loads it all on
// the default device.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/audio/AudioEngine.h"
#include "platform/audio/SoundEffectInstance.h"
#include "platform/audio/WaveFile.h"
#include "shell/SoundManager.h"

namespace mirefell
{
namespace
{

const std::string SoundRoot = std::string(MIREFELL_RUN_DIR) + "/" + SoundManager::SoundFolder;

bool IsMusic(const std::string& file)
{
    return file.rfind("music/", 0) == 0;
}

int Sample(const WaveData& wave, size_t frame, int channel)
{
    const size_t at = (frame * wave.format.channels + channel) * 2;
    return static_cast<int16_t>(wave.samples[at] | (wave.samples[at + 1] << 8));
}

TEST(SoundAssets, EveryFileOfTheTableIsThereAndReadable)
{
    std::set<std::string> files;
    for (const auto& [name, entry] : SoundManager::GetSoundTable())
        files.insert(entry.file);
    EXPECT_EQ(files.size(), 27u); // 28 names, "explosion" shares its file

    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const WaveData wave = LoadWaveFile(SoundRoot + file);
        EXPECT_EQ(wave.format.bitsPerSample, 16);
        if (IsMusic(file)) {
            EXPECT_EQ(wave.format.channels, 2);
            EXPECT_GE(wave.Duration(), 8.0);
        } else {
            EXPECT_GE(wave.Duration(), 0.04);
            EXPECT_LE(wave.Duration(), 2.0);
        }
        // Not silent, and not clipped flat against full scale.
        int peak = 0;
        for (size_t frame = 0; frame < wave.FrameCount(); ++frame)
            peak = std::max(peak, std::abs(Sample(wave, frame, 0)));
        EXPECT_GT(peak, 8000);
        EXPECT_LT(peak, 32767);
    }
}

TEST(SoundAssets, MusicLoopsJoinWithoutAClick)
{
    for (const char* file : {"music/title.wav", "music/track1.wav", "music/track2.wav", "music/track3.wav"}) {
        SCOPED_TRACE(file);
        const WaveData wave = LoadWaveFile(SoundRoot + file);
        const size_t last = wave.FrameCount() - 1;
        for (int channel = 0; channel < wave.format.channels; ++channel) {
            // The step from the last frame back to the first must look like
            // any step inside the track, not like an edge.
            std::vector<int> steps;
            steps.reserve(last);
            for (size_t frame = 0; frame < last; ++frame)
                steps.push_back(std::abs(Sample(wave, frame + 1, channel) - Sample(wave, frame, channel)));
            std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
            const int typical = steps[steps.size() * 99 / 100];
            const int seam = std::abs(Sample(wave, 0, channel) - Sample(wave, last, channel));
            EXPECT_LE(seam, typical) << "channel " << channel;
        }
    }
}

TEST(SoundAssets, TheSoundTreeStaysSmall)
{
    uintmax_t total = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(SoundRoot))
        if (entry.is_regular_file())
            total += entry.file_size();
    EXPECT_LT(total, 10u * 1024 * 1024);
}

TEST(SoundAssets, TheGameLoadsAndPlaysEverySoundOnTheDefaultDevice)
{
    SoundManager sounds;
    sounds.Initialize(AudioEngine::CreateDefault(), SoundRoot);
    sounds.PlayTitleMusic();
    for (const auto& [name, entry] : SoundManager::GetSoundTable())
        if (!IsMusic(entry.file))
            sounds.PlaySound(name);
    sounds.ServiceAudio();
    ASSERT_NE(sounds.music, nullptr);
    EXPECT_EQ(sounds.music->GetState(), SoundState::Playing);
    EXPECT_FALSE(sounds.retryAudio);
}

} // namespace
} // namespace mirefell
