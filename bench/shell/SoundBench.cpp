// The sound work on the game thread per 1/60 s step, against the 16.7 ms step
// budget: requests through the sound manager plus its audio service, and the
// silent mixer, which (on a machine with no sound device) mixes on the game
// thread inside the service. OpenAL runs its silent mixer paced by a manual
// clock here, so each iteration is exactly one step of audio.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/OpenAlAudioDevice.h"
#include "platform/audio/SoundEffect.h"
#include "platform/audio/SoundEffectInstance.h"
#include "platform/audio/WaveFile.h"
#include "shell/SoundManager.h"

namespace
{

using namespace mirefell;

constexpr uint64_t StepTicks = 166666; // one step in 100 ns ticks

WaveData Noise(double seconds, uint16_t channels)
{
    WaveData wave;
    wave.format = {channels, 44100, 16};
    wave.samples.resize(static_cast<size_t>(seconds * 44100) * channels * 2);
    uint32_t state = 12345;
    for (uint8_t& byte : wave.samples) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    return wave;
}

std::unique_ptr<AudioEngine> SilentEngine()
{
    OpenAlDeviceOptions options;
    options.openOutput = false;
    return std::make_unique<AudioEngine>(OpenAlAudioDevice::OpenDefault(options));
}

// One step of the silent mixer with N looping voices playing.
void BM_SilentMixStep(benchmark::State& state)
{
    ManualClock clock;
    SetClock(&clock);
    {
        std::unique_ptr<AudioEngine> engine = SilentEngine();
        SoundEffect effect(*engine, Noise(1.0, 1));
        std::vector<std::unique_ptr<SoundEffectInstance>> voices;
        for (int64_t i = 0; i < state.range(0); ++i) {
            voices.push_back(effect.CreateInstance());
            voices.back()->Play(true);
        }
        for (auto _ : state) {
            clock.Advance(StepTicks);
            benchmark::DoNotOptimize(engine->Update());
        }
        voices.clear();
    }
    SetClock(nullptr);
}
BENCHMARK(BM_SilentMixStep)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMicrosecond);

// A busy step of play: three effect requests (one of them refused while it
// still plays) and the audio service, with the title music looping.
void BM_SoundManagerStep(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "mirefell-sound-bench";
    for (const auto& [name, entry] : SoundManager::GetSoundTable()) {
        const bool music = entry.file.rfind("music/", 0) == 0;
        const std::vector<uint8_t> bytes = EncodeWave(Noise(music ? 4.0 : 0.3, music ? 2 : 1));
        std::filesystem::create_directories((folder / entry.file).parent_path());
        std::FILE* file = std::fopen((folder / entry.file).c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }

    ManualClock clock;
    SetClock(&clock);
    {
        SoundManager sounds;
        sounds.Initialize(SilentEngine(), folder.string() + "/");
        sounds.PlayTitleMusic();
        for (auto _ : state) {
            sounds.PlaySound("shotgun_fire");
            sounds.PlaySound("hyper_blaster_hit");
            sounds.PlaySound("elevator_move");
            clock.Advance(StepTicks);
            sounds.ServiceAudio();
        }
    }
    SetClock(nullptr);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SoundManagerStep)->Unit(benchmark::kMicrosecond);

} // namespace
