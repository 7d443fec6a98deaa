// The game's music: four short stereo loops, one for the title and one per
// level. Each is a little score played by synthesised instruments into a
// circular mix (LoopMix), so every loop is exactly a whole number of bars and
// repeats without a click.
//
// title:  slow and brooding, A minor pads, a bell melody, a distant pulse
// track1: driving and mechanical, E phrygian bass and chugging guitars
// track2: eerie, a plucked arpeggio sinking a semitone a bar, heartbeat, wind
// track3: fast and savage, D minor double kick, tritone riff, screaming lead
#include <algorithm>
#include <cmath>

#include "SoundsSynth.h"

namespace mirefell::assetgen
{

namespace
{

constexpr float Rate = static_cast<float>(MusicRate);

template <class Sample> Signal Render(float seconds, Sample sample)
{
    Signal signal(Frames(seconds, MusicRate));
    for (size_t i = 0; i < signal.size(); ++i)
        signal[i] = sample(static_cast<float>(i) / Rate);
    return signal;
}

// ---- Instruments -------------------------------------------------------

// Three detuned saws through a low-pass: slow-breathing chords.
Signal Pad(float hz, float seconds, float brightness, uint32_t seed)
{
    Noise phases(seed);
    Oscillator saws[3] = {Oscillator(0.5f + 0.5f * phases.Next()), Oscillator(0.5f + 0.5f * phases.Next()),
                          Oscillator(0.5f + 0.5f * phases.Next())};
    Oscillator sweep(0.5f + 0.5f * phases.Next());
    Svf filter;
    const float rise = std::min(0.6f, seconds / 3.0f);
    const float fall = std::min(1.0f, seconds / 2.0f);
    return Render(seconds, [&](float t) {
        const float raw = saws[0].Saw(hz * 0.994f, Rate) + saws[1].Saw(hz, Rate) + saws[2].Saw(hz * 1.006f, Rate);
        const float cutoff = hz * brightness * (1.0f + 0.3f * sweep.Sine(0.2f, Rate));
        return filter.Process(raw / 3.0f, cutoff, 0.9f, Rate).low * Window(t, seconds, rise, fall);
    });
}

// A saw with a sub-octave square, a plucked filter envelope and some drive.
Signal Bass(float hz, float seconds, float drive)
{
    Oscillator saw, sub;
    Svf filter;
    return Render(seconds, [&](float t) {
        const float raw = saw.Saw(hz, Rate) + 0.5f * sub.Square(hz * 0.5f, Rate);
        const float cutoff = hz * (2.0f + 12.0f * std::exp(-t / 0.07f));
        const float low = filter.Process(raw, cutoff, 1.4f, Rate).low;
        return std::tanh(drive * low) * Window(t, seconds, 0.003f, 0.03f);
    });
}

// FM bell: a bright strike that mellows as the modulation dies away.
Signal Bell(float hz, float seconds)
{
    Oscillator carrier, modulator;
    return Render(seconds, [&](float t) {
        const float index = 2.5f * std::exp(-t / 0.4f);
        const float phaseShift = index * modulator.Sine(hz * 3.5f, Rate);
        const float tone = carrier.Sine(hz * (1.0f + 0.02f * phaseShift), Rate) + 0.3f * std::sin(phaseShift);
        return tone * Decay(t, 0.002f, seconds / 3.0f) * Window(t, seconds, 0.001f, 0.1f);
    });
}

// Karplus-Strong plucked string.
Signal Pluck(float hz, float seconds, uint32_t seed, float damping)
{
    Noise noise(seed);
    const auto period = std::max<size_t>(2, static_cast<size_t>(Rate / hz + 0.5f));
    Signal line(period);
    OnePole soften;
    for (float& value : line)
        value = soften.LowPass(noise.Next(), hz * 8.0f, Rate);
    size_t index = 0;
    return Render(seconds, [&](float t) {
        const size_t next = (index + 1) % period;
        const float out = line[index];
        line[index] = damping * 0.5f * (line[index] + line[next]);
        index = next;
        return out * Window(t, seconds, 0.002f, 0.2f);
    });
}

// Two detuned saws with delayed vibrato and drive: a singing lead.
Signal Lead(float hz, float seconds, float drive)
{
    Oscillator a, b, vibrato;
    Svf filter;
    return Render(seconds, [&](float t) {
        const float depth = 0.012f * std::min(t / 0.35f, 1.0f);
        const float bend = 1.0f + depth * vibrato.Sine(5.5f, Rate);
        const float raw = a.Saw(hz * bend, Rate) + b.Saw(hz * bend * 1.004f, Rate);
        const float shaped = std::tanh(drive * filter.Process(raw * 0.5f, 2600.0f, 0.8f, Rate).low);
        return shaped * Window(t, seconds, 0.015f, std::min(0.1f, seconds / 3.0f));
    });
}

// A distorted root-fifth-octave chord; short notes are palm-muted chugs.
Signal PowerChord(float hz, float seconds, uint32_t seed)
{
    Noise phases(seed);
    Oscillator root(0.5f + 0.5f * phases.Next()), fifth(0.5f + 0.5f * phases.Next()),
        octave(0.5f + 0.5f * phases.Next());
    Svf cabinet;
    const float muted = seconds < 0.3f ? 1.0f : 0.0f;
    return Render(seconds, [&](float t) {
        const float raw = root.Saw(hz, Rate) + fifth.Saw(hz * 1.4983f, Rate) + 0.5f * octave.Saw(hz * 2.0f, Rate);
        const float dirty = std::tanh(4.0f * raw);
        const float cutoff = 1800.0f - muted * 1000.0f * (1.0f - std::exp(-t / 0.03f));
        return cabinet.Process(dirty, cutoff, 0.8f, Rate).low * Window(t, seconds, 0.004f, 0.04f);
    });
}

Signal Kick(float weight)
{
    Oscillator body;
    Noise noise(7);
    return Render(0.4f, [&](float t) {
        const float hz = 45.0f + 110.0f * std::exp(-t / 0.03f);
        const float click = noise.Next() * std::exp(-t / 0.002f) * 0.3f;
        return (body.Sine(hz, Rate) * Decay(t, 0.001f, 0.12f * weight) + click) * Window(t, 0.4f, 0.0005f, 0.05f);
    });
}

Signal Snare(uint32_t seed)
{
    Noise noise(seed);
    Svf filter;
    Oscillator tone;
    return Render(0.3f, [&](float t) {
        const float rattle = filter.Process(noise.Next(), 1900.0f, 0.7f, Rate).band * Decay(t, 0.001f, 0.1f) * 2.0f;
        const float skin = tone.Sine(185.0f, Rate) * Decay(t, 0.001f, 0.04f) * 0.8f;
        return (rattle + skin) * Window(t, 0.3f, 0.0005f, 0.05f);
    });
}

Signal Hat(bool open, uint32_t seed)
{
    Noise noise(seed);
    OnePole first, second;
    const float length = open ? 0.35f : 0.07f;
    return Render(length, [&](float t) {
        const float hiss = second.HighPass(first.HighPass(noise.Next(), 6000.0f, Rate), 6000.0f, Rate);
        return hiss * Decay(t, 0.0005f, open ? 0.12f : 0.02f) * Window(t, length, 0.0005f, 0.02f);
    });
}

Signal Crash(uint32_t seed)
{
    Noise noise(seed);
    OnePole filter;
    return Render(2.0f, [&](float t) {
        return filter.HighPass(noise.Next(), 3500.0f, Rate) * Decay(t, 0.002f, 0.6f) * Window(t, 2.0f, 0.001f, 0.3f);
    });
}

Signal Tom(float hz)
{
    Oscillator body;
    return Render(0.4f, [&](float t) {
        const float pitch = hz * (1.0f + 0.5f * std::exp(-t / 0.03f));
        return body.Sine(pitch, Rate) * Decay(t, 0.001f, 0.12f) * Window(t, 0.4f, 0.0005f, 0.05f);
    });
}

// A muffled double beat.
Signal Heartbeat()
{
    Oscillator first, second;
    OnePole filter;
    return Render(0.7f, [&](float t) {
        const float lub = first.Sine(52.0f, Rate) * Decay(t, 0.01f, 0.08f);
        const float dub = t < 0.28f ? 0.0f : second.Sine(46.0f, Rate) * Decay(t - 0.28f, 0.01f, 0.1f) * 0.7f;
        return filter.LowPass(lub + dub, 200.0f, Rate) * Window(t, 0.7f, 0.005f, 0.1f);
    });
}

// Noise through a slowly wandering resonant band: wind in a shaft.
Signal Wind(float seconds, uint32_t seed)
{
    Noise noise(seed);
    Svf band;
    Oscillator wander(0.25f);
    return Render(seconds, [&](float t) {
        const float centre = 500.0f + 350.0f * wander.Sine(1.0f / seconds * 1.5f, Rate);
        return band.Process(noise.Next(), centre, 4.0f, Rate).band *
               Window(t, seconds, seconds * 0.35f, seconds * 0.35f);
    });
}

// A root, fifth and octave of sines with a slow beat.
Signal Drone(float hz, float seconds)
{
    Oscillator root, fifth, octave, beat;
    return Render(seconds, [&](float t) {
        const float swell = 0.8f + 0.2f * beat.Sine(0.3f, Rate);
        const float tone =
            root.Sine(hz, Rate) + 0.4f * fifth.Sine(hz * 1.5f, Rate) + 0.25f * octave.Sine(hz * 2.003f, Rate);
        return tone * swell * Window(t, seconds, std::min(1.0f, seconds / 3.0f), std::min(1.2f, seconds / 3.0f));
    });
}

// ---- Scores ------------------------------------------------------------

// Beats on a loop of a whole number of beats.
class Score
{
public:
    Score(float bpm, int beats) : secondsPerBeat(60.0f / bpm), mix(Frames(beats * 60.0 / bpm, MusicRate), MusicRate) {}

    float Seconds(float beats) const { return beats * secondsPerBeat; }
    void Play(float beat, const Signal& note, float gain, float pan = 0.0f)
    {
        mix.Add(static_cast<size_t>(std::lround(beat * secondsPerBeat * Rate)), note, gain, pan);
    }
    LoopMix& Mix() { return mix; }

private:
    float secondsPerBeat;
    LoopMix mix;
};

WaveData TitleMusic()
{
    Score score(70.0f, 16);
    const float chords[4][4] = {{45, 48, 52, 0}, {41, 45, 48, 52}, {38, 41, 45, 50}, {40, 44, 47, 0}};
    uint32_t seed = 1;
    for (int bar = 0; bar < 4; ++bar) {
        const float start = bar * 4.0f;
        for (int voice = 0; voice < 4; ++voice)
            if (chords[bar][voice] > 0.0f)
                score.Play(start, Pad(MidiToHz(chords[bar][voice]), score.Seconds(5.2f), 3.0f, seed++), 0.5f,
                           -0.45f + 0.3f * voice);
        score.Play(start, Drone(MidiToHz(bar == 3 ? 28.0f : 33.0f), score.Seconds(5.0f)), 0.35f);
        score.Play(start, Kick(2.5f), 0.6f);
        score.Play(start + 2.0f, Heartbeat(), 0.35f);
    }
    const float melody[][2] = {{0, 69}, {1.5f, 76}, {3, 72},  {4, 69},  {5.5f, 77},  {7, 76},
                               {8, 74}, {9.5f, 69}, {11, 65}, {12, 64}, {13.5f, 68}, {15, 71}};
    int n = 0;
    for (const auto& [beat, note] : melody)
        score.Play(beat, Bell(MidiToHz(note), 3.0f), 0.22f, (n++ % 2) ? 0.35f : -0.35f);
    LoopMix& mix = score.Mix();
    mix.Echo(static_cast<size_t>(score.Seconds(0.75f) * Rate), 0.42f, 3);
    return mix.ToWave(1.2f, 0.8f);
}

WaveData Track1Music()
{
    Score score(120.0f, 32);
    const float patternA[8] = {28, 28, 40, 28, 28, 29, 28, 31};
    const float patternB[8] = {28, 28, 40, 28, 34, 33, 31, 29};
    const float roots[8] = {40, 40, 41, 40, 40, 40, 43, 41};
    uint32_t seed = 100;
    for (int bar = 0; bar < 8; ++bar) {
        const float start = bar * 4.0f;
        const float* bass = (bar % 4 == 3) ? patternB : patternA;
        for (int step = 0; step < 8; ++step) {
            const float beat = start + step * 0.5f;
            score.Play(beat, Bass(MidiToHz(bass[step]), score.Seconds(0.45f), 2.5f), 0.55f);
            score.Play(beat, Hat(false, seed++), 0.18f, 0.3f);
            if (step != 0) {
                // Palm-muted chugs on the off-beats, doubled left and right.
                const Signal chug = PowerChord(MidiToHz(roots[bar]), score.Seconds(0.22f), seed++);
                score.Play(beat, chug, 0.16f, -0.6f);
                score.Play(beat + 0.01f, PowerChord(MidiToHz(roots[bar]), score.Seconds(0.22f), seed++), 0.16f, 0.6f);
            }
        }
        // A ringing chord on the one of every bar.
        score.Play(start, PowerChord(MidiToHz(roots[bar]), score.Seconds(1.6f), seed++), 0.2f, -0.6f);
        score.Play(start + 0.01f, PowerChord(MidiToHz(roots[bar]), score.Seconds(1.6f), seed++), 0.2f, 0.6f);
        for (int beat = 0; beat < 4; ++beat)
            score.Play(start + beat, Kick(1.0f), 0.9f);
        if (bar % 2 == 1)
            score.Play(start + 2.5f, Kick(1.0f), 0.7f);
        score.Play(start + 1.0f, Snare(seed++), 0.55f);
        score.Play(start + 3.0f, Snare(seed++), 0.55f);
        score.Play(start + 3.5f, Hat(true, seed++), 0.15f, -0.3f);
        if (bar % 4 == 0)
            score.Play(start, Crash(seed++), 0.25f, 0.4f);
    }
    const float lead[][3] = {{16, 71, 2}, {18, 72, 2}, {20, 71, 1}, {21, 67, 1},
                             {22, 69, 2}, {24, 67, 2}, {26, 65, 2}, {28, 64, 4}};
    for (const auto& [beat, note, length] : lead)
        score.Play(beat, Lead(MidiToHz(note), score.Seconds(length * 0.95f), 2.0f), 0.22f, 0.1f);
    return score.Mix().ToWave(1.6f, 0.85f);
}

WaveData Track2Music()
{
    Score score(105.0f, 24);
    const float shape[8] = {0, -3, -7, -12, -7, -3, -12, -15};
    const float pads[6][3] = {{48, 51, 55}, {48, 51, 55}, {44, 48, 51}, {41, 44, 48}, {43, 47, 50}, {43, 47, 50}};
    uint32_t seed = 200;
    for (int bar = 0; bar < 6; ++bar) {
        const float start = bar * 4.0f;
        // The line sinks a semitone each bar and lands on G, which leads home to C.
        const float top = 72.0f - bar;
        for (int step = 0; step < 8; ++step)
            score.Play(start + step * 0.5f, Pluck(MidiToHz(top + shape[step]), 1.6f, seed++, 0.996f), 0.35f,
                       step % 2 ? 0.5f : -0.5f);
        for (int voice = 0; voice < 3; ++voice)
            score.Play(start, Pad(MidiToHz(pads[bar][voice]), score.Seconds(5.0f), 2.0f, seed++), 0.35f,
                       -0.3f + 0.3f * voice);
        score.Play(start, Heartbeat(), 0.6f);
        score.Play(start + 2.0f, Heartbeat(), 0.5f);
        if (bar % 2 == 0)
            score.Play(start, Drone(MidiToHz(bar < 4 ? 24.0f : 31.0f), score.Seconds(8.6f)), 0.3f);
    }
    score.Play(0.0f, Wind(score.Seconds(14.0f), seed++), 0.35f, -0.4f);
    score.Play(12.0f, Wind(score.Seconds(14.0f), seed++), 0.35f, 0.4f);
    LoopMix& mix = score.Mix();
    mix.Echo(static_cast<size_t>(score.Seconds(0.75f) * Rate), 0.5f, 4);
    return mix.ToWave(1.1f, 0.8f);
}

WaveData Track3Music()
{
    Score score(140.0f, 32);
    const float riff[16] = {26, 26, 26, 26, 26, 26, 27, 26, 26, 26, 26, 26, 32, 31, 27, 26};
    const float roots[8] = {38, 38, 39, 38, 38, 38, 44, 43};
    const float stabs[4][2] = {{0.0f, 1.2f}, {1.5f, 0.4f}, {2.5f, 0.4f}, {3.0f, 0.8f}};
    uint32_t seed = 300;
    for (int bar = 0; bar < 8; ++bar) {
        const float start = bar * 4.0f;
        for (int step = 0; step < 16; ++step)
            score.Play(start + step * 0.25f, Bass(MidiToHz(riff[step]), score.Seconds(0.22f), 3.5f), 0.5f);
        for (const auto& [beat, length] : stabs) {
            score.Play(start + beat, PowerChord(MidiToHz(roots[bar]), score.Seconds(length), seed++), 0.22f, -0.65f);
            score.Play(start + beat + 0.01f, PowerChord(MidiToHz(roots[bar]), score.Seconds(length), seed++), 0.22f,
                       0.65f);
        }
        // Double kick: sixteenths on one and three, eighths elsewhere.
        for (int step = 0; step < 16; ++step) {
            const bool strong = step < 4 || (step >= 8 && step < 12);
            if (strong || step % 2 == 0)
                score.Play(start + step * 0.25f, Kick(0.7f), strong ? 0.7f : 0.8f);
        }
        for (int step = 0; step < 8; ++step)
            score.Play(start + step * 0.5f, Hat(false, seed++), 0.16f, -0.25f);
        score.Play(start + 1.0f, Snare(seed++), 0.6f);
        score.Play(start + 3.0f, Snare(seed++), 0.6f);
        if (bar % 2 == 0)
            score.Play(start, Crash(seed++), 0.25f, bar % 4 == 0 ? 0.4f : -0.4f);
    }
    // A tom fill at the end of the loop falls back into the first bar.
    for (int step = 0; step < 8; ++step)
        score.Play(30.0f + step * 0.25f, Tom(180.0f - 12.0f * step), 0.5f, 0.6f - 0.15f * step);
    const float lead[][3] = {{16, 74, 2}, {18, 73, 1}, {19, 74, 1}, {20, 77, 2}, {22, 76, 1},
                             {23, 73, 1}, {24, 74, 2}, {26, 69, 2}, {28, 68, 2}, {30, 69, 2}};
    for (const auto& [beat, note, length] : lead)
        score.Play(beat, Lead(MidiToHz(note), score.Seconds(length * 0.95f), 3.0f), 0.2f, -0.1f);
    return score.Mix().ToWave(2.0f, 0.85f);
}

} // namespace

void AddMusicMakers(SoundMakers& makers)
{
    makers["music/title.wav"] = TitleMusic;
    makers["music/track1.wav"] = Track1Music;
    makers["music/track2.wav"] = Track2Music;
    makers["music/track3.wav"] = Track3Music;
}

} // namespace mirefell::assetgen
