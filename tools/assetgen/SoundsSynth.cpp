// The synthesis kit of the sound generator (see SoundsSynth.h).
#include "SoundsSynth.h"

#include <algorithm>

namespace mirefell::assetgen
{

namespace
{

// The polyBLEP correction around a discontinuity of a naive waveform.
float PolyBlep(float t, float dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

int16_t ToSample(float value)
{
    const float scaled = std::clamp(value, -1.0f, 1.0f) * 32767.0f;
    return static_cast<int16_t>(std::lround(scaled));
}

void PutSample(std::vector<uint8_t>& bytes, float value)
{
    const auto sample = static_cast<uint16_t>(ToSample(value));
    bytes.push_back(static_cast<uint8_t>(sample & 0xFF));
    bytes.push_back(static_cast<uint8_t>(sample >> 8));
}

} // namespace

float Noise::Next()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state) / 2147483648.0f - 1.0f;
}

float Oscillator::Advance(float increment)
{
    const float current = phase;
    phase += increment;
    phase -= std::floor(phase);
    return current;
}

float Oscillator::Sine(float frequency, float rate)
{
    return std::sin(TwoPi * Advance(frequency / rate));
}

float Oscillator::Saw(float frequency, float rate)
{
    const float dt = std::min(frequency / rate, 0.5f);
    const float t = Advance(dt);
    return 2.0f * t - 1.0f - PolyBlep(t, dt);
}

float Oscillator::Square(float frequency, float rate)
{
    const float dt = std::min(frequency / rate, 0.5f);
    const float t = Advance(dt);
    float value = t < 0.5f ? 1.0f : -1.0f;
    value += PolyBlep(t, dt);
    float shifted = t + 0.5f;
    shifted -= std::floor(shifted);
    value -= PolyBlep(shifted, dt);
    return value;
}

float OnePole::LowPass(float input, float cutoff, float rate)
{
    const float a = 1.0f - std::exp(-TwoPi * cutoff / rate);
    state += a * (input - state);
    return state;
}

float OnePole::HighPass(float input, float cutoff, float rate)
{
    return input - LowPass(input, cutoff, rate);
}

Svf::Output Svf::Process(float input, float cutoff, float q, float rate)
{
    const float g = std::tan(Pi * std::min(cutoff, rate * 0.45f) / rate);
    const float k = 1.0f / q;
    const float a1 = 1.0f / (1.0f + g * (g + k));
    const float a2 = g * a1;
    const float a3 = g * a2;
    const float v3 = input - ic2;
    const float v1 = a1 * ic1 + a2 * v3;
    const float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    return {v2, v1, input - k * v1 - v2};
}

float Window(float t, float length, float rise, float fall)
{
    if (t <= 0.0f || t >= length)
        return 0.0f;
    if (t < rise)
        return 0.5f - 0.5f * std::cos(Pi * t / rise);
    if (t > length - fall)
        return 0.5f - 0.5f * std::cos(Pi * (length - t) / fall);
    return 1.0f;
}

WaveData MonoWave(Signal signal, float peak)
{
    const size_t fadeIn = std::min<size_t>(EffectRate / 2000, signal.size() / 2);
    const size_t fadeOut = std::min<size_t>(EffectRate / 200, signal.size() / 2);
    for (size_t i = 0; i < fadeIn; ++i)
        signal[i] *= static_cast<float>(i) / fadeIn;
    for (size_t i = 0; i < fadeOut; ++i)
        signal[signal.size() - 1 - i] *= static_cast<float>(i) / fadeOut;
    float largest = 0.0f;
    for (float value : signal)
        largest = std::max(largest, std::fabs(value));
    const float scale = largest > 0.0f ? peak / largest : 0.0f;

    WaveData wave;
    wave.format = {1, EffectRate, 16};
    wave.samples.reserve(signal.size() * 2);
    for (float value : signal)
        PutSample(wave.samples, value * scale);
    return wave;
}

void LoopMix::Add(size_t start, const Signal& note, float gain, float pan)
{
    // Equal-power pan.
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * Pi / 4.0f;
    const float leftGain = gain * std::cos(angle);
    const float rightGain = gain * std::sin(angle);
    const size_t frames = left.size();
    size_t index = start % frames;
    for (float value : note) {
        left[index] += value * leftGain;
        right[index] += value * rightGain;
        if (++index == frames)
            index = 0;
    }
}

void LoopMix::Echo(size_t delay, float feedback, int taps)
{
    const Signal dryLeft = left;
    const Signal dryRight = right;
    const size_t frames = left.size();
    float gain = 1.0f;
    for (int tap = 1; tap <= taps; ++tap) {
        gain *= feedback;
        const size_t offset = (delay * static_cast<size_t>(tap)) % frames;
        const bool swap = tap % 2 == 1;
        for (size_t i = 0; i < frames; ++i) {
            const size_t from = (i + frames - offset) % frames;
            left[i] += gain * (swap ? dryRight[from] : dryLeft[from]);
            right[i] += gain * (swap ? dryLeft[from] : dryRight[from]);
        }
    }
}

WaveData LoopMix::ToWave(float drive, float peak)
{
    float raw = 0.0f;
    for (size_t i = 0; i < left.size(); ++i)
        raw = std::max({raw, std::fabs(left[i]), std::fabs(right[i])});
    const float unit = raw > 0.0f ? 1.0f / raw : 0.0f;
    float largest = 0.0f;
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = std::tanh(drive * unit * left[i]);
        right[i] = std::tanh(drive * unit * right[i]);
        largest = std::max({largest, std::fabs(left[i]), std::fabs(right[i])});
    }
    const float scale = largest > 0.0f ? peak / largest : 0.0f;
    WaveData wave;
    wave.format = {2, rate, 16};
    wave.samples.reserve(left.size() * 4);
    for (size_t i = 0; i < left.size(); ++i) {
        PutSample(wave.samples, left[i] * scale);
        PutSample(wave.samples, right[i] * scale);
    }
    return wave;
}

} // namespace mirefell::assetgen
