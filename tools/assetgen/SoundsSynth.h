// The sound generator's synthesis kit: deterministic noise, band-limited
// oscillators, filters, envelopes and a circular stereo mix for music loops.
// Everything is plain float arithmetic on the calling thread, so the same
// build always writes the same bytes.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "platform/audio/WaveFile.h"

namespace mirefell::assetgen
{

inline constexpr float Pi = std::numbers::pi_v<float>;
inline constexpr float TwoPi = 2.0f * Pi;
inline constexpr uint32_t EffectRate = 44100; // sound effects: mono, 44.1 kHz
inline constexpr uint32_t MusicRate = 22050;  // music: stereo, 22.05 kHz keeps the tree small

using Signal = std::vector<float>;

// Makers of the sound files, keyed by file name relative to "assets/sounds/".
using SoundMakers = std::map<std::string, std::function<WaveData()>>;
void AddEffectMakers(SoundMakers& makers);
void AddMusicMakers(SoundMakers& makers);

// White noise in -1..1 from a seeded xorshift generator.
class Noise
{
public:
    explicit Noise(uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    float Next();

private:
    uint32_t state;
};

// A phase accumulator with band-limited saw and square (polyBLEP) and a sine.
class Oscillator
{
public:
    explicit Oscillator(float startPhase = 0.0f) : phase(startPhase) {}
    float Sine(float frequency, float rate);
    float Saw(float frequency, float rate);
    float Square(float frequency, float rate);

private:
    float Advance(float increment);
    float phase; // 0..1
};

// One-pole filters.
class OnePole
{
public:
    float LowPass(float input, float cutoff, float rate);
    float HighPass(float input, float cutoff, float rate);

private:
    float state = 0.0f;
};

// A state-variable filter (trapezoidal, stable for any cutoff below Nyquist).
class Svf
{
public:
    struct Output
    {
        float low, band, high;
    };
    Output Process(float input, float cutoff, float q, float rate);

private:
    float ic1 = 0.0f, ic2 = 0.0f;
};

// Exponential decay with time constant tau, after a linear attack.
inline float Decay(float t, float attack, float tau)
{
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / tau);
}

// Smooth rise and fall: 0 at t = 0, 1 from `rise` to `length - fall`, 0 at `length`.
float Window(float t, float length, float rise, float fall);

inline float MidiToHz(float note)
{
    return 440.0f * std::exp2((note - 69.0f) / 12.0f);
}

inline size_t Frames(double seconds, uint32_t rate)
{
    return static_cast<size_t>(seconds * rate + 0.5);
}

// Scales to the given peak, fades the first and last milliseconds so the
// sound starts and ends on silence, and packs 16-bit mono.
WaveData MonoWave(Signal signal, float peak = 0.9f);

// A seamless stereo loop: notes are mixed in circularly, so a tail that runs
// past the end continues at the start and the last frame leads into the first
// without a step.
class LoopMix
{
public:
    LoopMix(size_t frames_, uint32_t rate_) : left(frames_), right(frames_), rate(rate_) {}
    size_t FrameCount() const { return left.size(); }
    uint32_t Rate() const { return rate; }
    // Mixes a mono note in at `start` frames, with gain and pan (-1..1).
    void Add(size_t start, const Signal& note, float gain, float pan);
    // Circular echo: `taps` repeats every `delay` frames, each `feedback`
    // times the one before, the repeats alternating sides.
    void Echo(size_t delay, float feedback, int taps);
    // Soft saturation (the mix scaled to a peak of 1, times `drive`), then
    // normalisation to `peak`, then 16-bit stereo.
    WaveData ToWave(float drive, float peak);

private:
    Signal left, right;
    uint32_t rate;
};

} // namespace mirefell::assetgen
