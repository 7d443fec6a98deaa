// The game's sound effects, synthesised: weapons, impacts, monsters, doors
// and lifts, pickups and interface clicks. Each maker builds one mono 44.1 kHz
// sound from its own seeded noise, so the files never change between builds.
#include <algorithm>
#include <cmath>

#include "SoundsSynth.h"

namespace mirefell::assetgen
{

namespace
{

constexpr float Rate = static_cast<float>(EffectRate);

// Runs `sample(t)` for every frame of a sound `seconds` long.
template <class Sample> Signal Render(double seconds, Sample sample)
{
    Signal signal(Frames(seconds, EffectRate));
    for (size_t i = 0; i < signal.size(); ++i)
        signal[i] = sample(static_cast<float>(i) / Rate);
    return signal;
}

// A short broadband tick, the attack of clicks and mechanisms.
struct Click
{
    Noise noise;
    OnePole highPass;
    float at, tau, cutoff;

    float operator()(float t)
    {
        const float white = noise.Next();
        const float bright = highPass.HighPass(white, cutoff, Rate);
        return t < at ? 0.0f : bright * std::exp(-(t - at) / tau);
    }
};

// A pitched body that drops in frequency: kicks, thumps, booms.
struct Thump
{
    Oscillator oscillator;
    float at, from, to, drop, tau;

    float operator()(float t)
    {
        if (t < at)
            return 0.0f;
        const float local = t - at;
        const float frequency = to + (from - to) * std::exp(-local / drop);
        return oscillator.Sine(frequency, Rate) * Decay(local, 0.002f, tau);
    }
};

// Inharmonic partials of struck metal.
struct Ring
{
    struct Partial
    {
        float frequency, gain, tau;
    };
    std::vector<Partial> partials;
    std::vector<Oscillator> oscillators;
    float at;

    Ring(std::vector<Partial> partials_, float at_)
        : partials(std::move(partials_)), oscillators(partials.size()), at(at_)
    {}

    float operator()(float t)
    {
        if (t < at)
            return 0.0f;
        float sum = 0.0f;
        for (size_t i = 0; i < partials.size(); ++i)
            sum += oscillators[i].Sine(partials[i].frequency, Rate) * partials[i].gain *
                   Decay(t - at, 0.001f, partials[i].tau);
        return sum;
    }
};

WaveData ShotgunFire()
{
    Noise noise(101);
    OnePole crackFilter, tailFilter;
    Svf body;
    Thump boom{Oscillator(), 0.0f, 110.0f, 42.0f, 0.035f, 0.16f};
    return MonoWave(Render(0.8, [&](float t) {
        const float white = noise.Next();
        const float crack = crackFilter.HighPass(white, 2500.0f, Rate) * std::exp(-t / 0.005f) * 1.5f;
        const float cutoff = 250.0f + 5500.0f * std::exp(-t / 0.045f);
        const float blast = body.Process(white, cutoff, 0.9f, Rate).low * Decay(t, 0.001f, 0.1f) * 2.2f;
        const float rumble = tailFilter.LowPass(white, 350.0f, Rate) * Decay(t, 0.02f, 0.28f) * 3.5f;
        return std::tanh(1.8f * (crack + blast + boom(t) * 1.1f + rumble));
    }));
}

WaveData HyperBlasterFire()
{
    Oscillator square, modulator, sub;
    Noise noise(202);
    Svf fizz;
    return MonoWave(Render(0.32, [&](float t) {
        const float sweep = 300.0f + 1500.0f * std::exp(-t / 0.05f);
        const float wobble = modulator.Sine(sweep * 1.5f, Rate) * 0.6f;
        const float zap = square.Square(sweep * (1.0f + 0.25f * wobble), Rate) * 0.5f;
        const float body = sub.Sine(sweep * 0.5f, Rate) * 0.6f;
        const float hiss = fizz.Process(noise.Next(), 4000.0f, 1.5f, Rate).band * std::exp(-t / 0.03f) * 1.2f;
        return (zap + body + hiss) * Decay(t, 0.002f, 0.09f);
    }));
}

// An energy impact that is also the rocket's blast: a deep boom under a
// collapsing roar of noise and a few crackles.
WaveData HyperBlasterHit()
{
    Noise noise(303), sparks(304);
    Svf roar;
    OnePole rumbleFilter, crackleFilter;
    Thump boom{Oscillator(), 0.0f, 75.0f, 32.0f, 0.08f, 0.35f};
    return MonoWave(Render(1.1, [&](float t) {
        const float white = noise.Next();
        const float cutoff = 150.0f + 3000.0f * std::exp(-t / 0.09f);
        const float blast = roar.Process(white, cutoff, 0.8f, Rate).low * Decay(t, 0.004f, 0.22f) * 2.5f;
        const float rumble = rumbleFilter.LowPass(white, 120.0f, Rate) * Decay(t, 0.05f, 0.4f) * 8.0f;
        // Sparse crackle: rare full-scale impulses, brightened, early on.
        const float spark = sparks.Next();
        const float impulse = spark > 0.996f ? 1.0f : (spark < -0.996f ? -1.0f : 0.0f);
        const float crackle = crackleFilter.HighPass(impulse, 1500.0f, Rate) * std::exp(-t / 0.25f) * 0.8f;
        return std::tanh(1.5f * (blast + rumble + boom(t) * 1.2f + crackle));
    }));
}

WaveData RocketLauncherFire()
{
    Noise noise(404);
    Svf whoosh;
    Thump thump{Oscillator(), 0.0f, 95.0f, 45.0f, 0.03f, 0.12f};
    Click click{Noise(405), OnePole(), 0.0f, 0.004f, 2000.0f};
    return MonoWave(Render(0.85, [&](float t) {
        const float centre = 500.0f + 2200.0f * std::min(t / 0.6f, 1.0f);
        const float air = whoosh.Process(noise.Next(), centre, 1.2f, Rate).band * Window(t, 0.85f, 0.12f, 0.45f) * 2.0f;
        return thump(t) * 1.2f + click(t) * 0.6f + air;
    }));
}

WaveData HammerSwing()
{
    Noise noise(505);
    Svf air;
    return MonoWave(Render(0.38, [&](float t) {
        // The pitch of the rushing air rises to the fastest point of the swing and falls.
        const float speed = std::sin(Pi * std::min(t / 0.34f, 1.0f));
        const float centre = 350.0f + 1300.0f * speed;
        return air.Process(noise.Next(), centre, 2.5f, Rate).band * speed * speed;
    }));
}

WaveData HammerHit()
{
    Noise noise(606);
    Svf crunch;
    Thump thud{Oscillator(), 0.0f, 140.0f, 60.0f, 0.02f, 0.07f};
    Ring ring({{410.0f, 0.25f, 0.18f}, {1130.0f, 0.15f, 0.1f}, {2270.0f, 0.08f, 0.05f}}, 0.0f);
    return MonoWave(Render(0.45, [&](float t) {
        const float grit = crunch.Process(noise.Next(), 1600.0f, 0.7f, Rate).low * std::exp(-t / 0.06f) * 2.5f;
        return std::tanh(1.4f * (thud(t) * 1.3f + grit + ring(t)));
    }));
}

WaveData HammerHitFlesh()
{
    Noise noise(707);
    Svf squelch;
    Oscillator wobble;
    Thump thud{Oscillator(), 0.0f, 100.0f, 48.0f, 0.025f, 0.08f};
    return MonoWave(Render(0.35, [&](float t) {
        // A wet, wobbling band of noise: the centre quivers as the flesh gives.
        const float centre = 450.0f + 250.0f * wobble.Sine(23.0f, Rate) - 200.0f * std::min(t / 0.3f, 1.0f);
        const float wet = squelch.Process(noise.Next(), centre, 3.0f, Rate).band * Decay(t, 0.008f, 0.09f) * 3.0f;
        return std::tanh(1.5f * (thud(t) * 1.2f + wet));
    }));
}

WaveData ShieldHit()
{
    Ring clang({{523.0f, 0.5f, 0.35f},
                {1347.0f, 0.35f, 0.25f},
                {2211.0f, 0.25f, 0.15f},
                {3089.0f, 0.15f, 0.08f},
                {4410.0f, 0.1f, 0.05f}},
               0.0f);
    Click strike{Noise(808), OnePole(), 0.0f, 0.006f, 1200.0f};
    Thump knock{Oscillator(), 0.0f, 180.0f, 90.0f, 0.02f, 0.05f};
    return MonoWave(Render(0.6, [&](float t) { return clang(t) + strike(t) * 0.7f + knock(t) * 0.5f; }));
}

// Stone dragged over stone: a low rumble whose grit comes and goes, over the
// hum of the mechanism. A closing door ends on a heavy landing.
WaveData DoorGrind(uint32_t seed, bool closing)
{
    Noise noise(seed), jitter(seed + 1);
    Svf grind;
    OnePole scrapeFilter, jitterFilter;
    Oscillator motor, motorHarmonic;
    const float length = 1.4f;
    Thump landing{Oscillator(), 1.18f, 90.0f, 40.0f, 0.03f, 0.12f};
    Click bang{Noise(seed + 2), OnePole(), 1.18f, 0.01f, 600.0f};
    return MonoWave(Render(length, [&](float t) {
        const float white = noise.Next();
        const float roughness =
            0.55f + 0.45f * std::tanh(4.0f * jitterFilter.LowPass(jitter.Next(), 9.0f, Rate) * 12.0f);
        const float rumble = grind.Process(white, 320.0f, 1.4f, Rate).low * roughness * 3.0f;
        const float scrape = scrapeFilter.HighPass(white, 1800.0f, Rate) * roughness * roughness * 0.2f;
        const float hum = motor.Saw(55.0f, Rate) * 0.12f + motorHarmonic.Sine(110.0f, Rate) * 0.1f;
        const float motion = closing ? Window(t, 1.2f, 0.1f, 0.04f) : Window(t, length, 0.12f, 0.3f);
        float sample = (rumble + scrape + hum) * motion;
        if (closing)
            sample += landing(t) * 1.4f + bang(t) * 0.5f;
        return std::tanh(1.3f * sample);
    }));
}

WaveData ElevatorMove()
{
    Oscillator hum, harmonic, clatterPhase;
    Noise noise(909);
    Svf gears;
    OnePole humFilter;
    return MonoWave(Render(1.6, [&](float t) {
        const float drone = humFilter.LowPass(hum.Saw(65.0f, Rate) + harmonic.Saw(131.0f, Rate) * 0.5f, 500.0f, Rate);
        // Gear teeth: a ticking band of noise eight times a second.
        const float tick = std::pow(0.5f + 0.5f * clatterPhase.Sine(8.0f, Rate), 12.0f);
        const float teeth = gears.Process(noise.Next(), 2200.0f, 2.0f, Rate).band * tick * 1.5f;
        return (drone * 0.8f + teeth) * Window(t, 1.6f, 0.15f, 0.25f);
    }));
}

WaveData ElevatorStop()
{
    Thump clunk{Oscillator(), 0.0f, 120.0f, 50.0f, 0.02f, 0.1f};
    Click latch{Noise(1010), OnePole(), 0.0f, 0.008f, 900.0f};
    Ring rattle({{690.0f, 0.12f, 0.12f}, {1540.0f, 0.08f, 0.07f}}, 0.01f);
    Thump settle{Oscillator(), 0.12f, 90.0f, 55.0f, 0.02f, 0.06f};
    return MonoWave(
        Render(0.5, [&](float t) { return clunk(t) * 1.2f + latch(t) * 0.7f + rattle(t) + settle(t) * 0.4f; }));
}

// A floating eye gathering its charge: a whine that climbs and throbs faster.
WaveData EyeCharging()
{
    Oscillator carrier, modulator, tremolo;
    Noise noise(1111);
    Svf hiss;
    const float length = 0.6f;
    return MonoWave(Render(length, [&](float t) {
        const float progress = t / length;
        const float pitch = 280.0f * std::exp2(2.2f * progress);
        const float fm = modulator.Sine(pitch * 2.01f, Rate) * (1.0f + 2.0f * progress);
        const float tone = carrier.Sine(pitch * (1.0f + 0.05f * fm), Rate);
        const float throb = 0.6f + 0.4f * tremolo.Sine(10.0f + 30.0f * progress, Rate);
        const float air = hiss.Process(noise.Next(), pitch * 3.0f, 3.0f, Rate).band * 0.5f;
        return (tone + air) * throb * Window(t, length, 0.2f, 0.05f) * (0.4f + 0.6f * progress);
    }));
}

WaveData MonsterBite()
{
    Click snap{Noise(1212), OnePole(), 0.0f, 0.006f, 1500.0f};
    Click shut{Noise(1213), OnePole(), 0.07f, 0.01f, 800.0f};
    Noise noise(1214);
    Svf crunch;
    Thump jaw{Oscillator(), 0.07f, 160.0f, 80.0f, 0.015f, 0.04f};
    return MonoWave(Render(0.3, [&](float t) {
        const float bone =
            t < 0.07f ? 0.0f
                      : crunch.Process(noise.Next(), 1200.0f, 1.5f, Rate).band * std::exp(-(t - 0.07f) / 0.05f) * 3.0f;
        return std::tanh(1.5f * (snap(t) * 0.5f + shut(t) + bone + jaw(t) * 0.8f));
    }));
}

// A vowel-like growl: a buzzing throat tone through two formant filters, with
// rasp riding on the pitch.
Signal Growl(uint32_t seed, float length, float basePitch, float glide, float vowelOpen)
{
    Oscillator throat, vibrato, chest;
    Noise noise(seed), drift(seed + 1);
    OnePole driftFilter;
    Svf formant1, formant2, rasp, muffle;
    return Render(length, [&](float t) {
        const float progress = t / length;
        const float wander = driftFilter.LowPass(drift.Next(), 5.0f, Rate) * 40.0f;
        const float contour = std::sin(Pi * std::min(progress * 1.3f, 1.0f));
        const float pitch = basePitch * (1.0f + glide * contour + 0.04f * vibrato.Sine(6.0f, Rate) + 0.05f * wander);
        const float buzz = throat.Saw(pitch, Rate);
        const float breath = rasp.Process(noise.Next(), 1100.0f, 0.8f, Rate).band * (0.6f + 0.4f * buzz);
        const float source = buzz + breath * 1.2f;
        const float f1 = 500.0f + 250.0f * vowelOpen * contour;
        const float f2 = 1000.0f + 200.0f * vowelOpen * contour;
        const float voiced =
            formant1.Process(source, f1, 5.0f, Rate).band + formant2.Process(source, f2, 6.0f, Rate).band * 0.6f;
        // The chest resonance under the throat, and a big body muffling the top.
        const float growl = std::tanh(2.0f * voiced) + 0.6f * chest.Sine(pitch, Rate);
        return muffle.Process(growl, 1800.0f, 0.7f, Rate).low * Window(t, length, 0.08f, length * 0.45f);
    });
}

WaveData MonsterRoar()
{
    Signal low = Growl(1313, 1.3f, 85.0f, 0.35f, 1.0f);
    const Signal high = Growl(1315, 1.3f, 127.0f, 0.3f, 0.8f);
    for (size_t i = 0; i < low.size(); ++i)
        low[i] += high[i] * 0.5f;
    return MonoWave(std::move(low));
}

WaveData PlayerDeath()
{
    Oscillator throat, vibrato;
    Noise noise(1414);
    Svf formant1, formant2, breath;
    Thump fall{Oscillator(), 1.05f, 110.0f, 50.0f, 0.03f, 0.12f};
    const float length = 1.4f;
    return MonoWave(Render(length, [&](float t) {
        // A groan that sinks an octave and a half as the voice gives out.
        const float progress = std::min(t / 1.1f, 1.0f);
        const float pitch = 210.0f * std::exp2(-1.5f * progress) * (1.0f + 0.03f * vibrato.Sine(5.0f, Rate));
        const float buzz = throat.Saw(pitch, Rate) + breath.Process(noise.Next(), 1200.0f, 0.7f, Rate).band * 0.8f;
        const float voiced = formant1.Process(buzz, 550.0f - 150.0f * progress, 5.0f, Rate).band +
                             formant2.Process(buzz, 900.0f - 200.0f * progress, 6.0f, Rate).band * 0.5f;
        return std::tanh(2.0f * voiced) * Window(t, 1.1f, 0.05f, 0.6f) + fall(t) * 0.9f;
    }));
}

WaveData PickupAmmo()
{
    Click first{Noise(1515), OnePole(), 0.0f, 0.004f, 3000.0f};
    Click second{Noise(1516), OnePole(), 0.075f, 0.005f, 2500.0f};
    Ring metal({{2480.0f, 0.2f, 0.04f}, {3710.0f, 0.12f, 0.03f}}, 0.0f);
    Ring metal2({{2150.0f, 0.22f, 0.05f}, {3300.0f, 0.12f, 0.03f}}, 0.075f);
    return MonoWave(Render(0.22, [&](float t) { return first(t) + second(t) + metal(t) + metal2(t); }));
}

// A two-note chime with a touch of FM shimmer.
Signal Chime(float firstHz, float secondHz, float gap, float length)
{
    Oscillator a, am, b, bm;
    return Render(length, [&](float t) {
        const float noteA =
            a.Sine(firstHz * (1.0f + 0.002f * am.Sine(firstHz * 3.0f, Rate)), Rate) * Decay(t, 0.003f, 0.12f);
        float noteB = 0.0f;
        const float tb = t - gap;
        if (tb > 0.0f)
            noteB =
                b.Sine(secondHz * (1.0f + 0.002f * bm.Sine(secondHz * 3.0f, Rate)), Rate) * Decay(tb, 0.003f, 0.16f);
        return noteA + noteB;
    });
}

WaveData PickupItem()
{
    return MonoWave(Chime(880.0f, 1318.5f, 0.08f, 0.45f));
}

WaveData PickupWeapon()
{
    // The weapon is racked (slide back, slide home), then a low chime.
    Click back{Noise(1717), OnePole(), 0.0f, 0.012f, 900.0f};
    Click home{Noise(1718), OnePole(), 0.13f, 0.008f, 1400.0f};
    Thump body{Oscillator(), 0.13f, 200.0f, 110.0f, 0.01f, 0.04f};
    const Signal chime = Chime(440.0f, 659.3f, 0.07f, 0.5f);
    Signal sound = Render(0.65, [&](float t) { return back(t) * 0.8f + home(t) + body(t) * 0.6f; });
    const size_t chimeStart = Frames(0.15, EffectRate);
    for (size_t i = 0; i < chime.size() && chimeStart + i < sound.size(); ++i)
        sound[chimeStart + i] += chime[i] * 0.5f;
    return MonoWave(std::move(sound));
}

WaveData SwitchOn()
{
    Click click{Noise(1919), OnePole(), 0.0f, 0.003f, 2500.0f};
    Thump knock{Oscillator(), 0.0f, 300.0f, 150.0f, 0.005f, 0.02f};
    Oscillator buzz;
    OnePole buzzFilter;
    return MonoWave(Render(0.3, [&](float t) {
        // Power comes on: a mains buzz that swells briefly and settles.
        const float mains = buzzFilter.LowPass(buzz.Square(120.0f, Rate), 900.0f, Rate);
        const float power = t < 0.02f ? 0.0f : Decay(t - 0.02f, 0.03f, 0.08f) * 0.35f;
        return click(t) + knock(t) * 0.5f + mains * power;
    }));
}

// The effort of a jump: a short breathy "hup", no footfall.
WaveData Jump()
{
    Oscillator throat;
    Noise noise(2020);
    Svf formant1, formant2, air;
    const float length = 0.22f;
    return MonoWave(Render(length, [&](float t) {
        const float pitch = 170.0f + 60.0f * std::min(t / 0.08f, 1.0f);
        const float source =
            throat.Saw(pitch, Rate) * 0.5f + air.Process(noise.Next(), 1500.0f, 0.6f, Rate).band * 1.5f;
        const float voiced = formant1.Process(source, 650.0f, 4.0f, Rate).band +
                             formant2.Process(source, 1100.0f, 5.0f, Rate).band * 0.6f;
        return voiced * Window(t, length, 0.015f, 0.15f);
    }));
}

WaveData Teleport()
{
    constexpr int Voices = 5;
    Oscillator voices[Voices], tremolo;
    Noise noise(2121);
    OnePole sparkleFilter;
    const float length = 1.0f;
    return MonoWave(Render(length, [&](float t) {
        const float progress = t / length;
        const float base = 200.0f * std::exp2(3.0f * progress);
        float shimmer = 0.0f;
        for (int v = 0; v < Voices; ++v) {
            // Detuned harmonics beat against each other.
            const float ratio = static_cast<float>(v + 1) * (1.0f + 0.007f * static_cast<float>(v - 2));
            shimmer += voices[v].Sine(base * ratio, Rate) / static_cast<float>(v + 1);
        }
        const float sparkle = sparkleFilter.HighPass(noise.Next(), 6000.0f, Rate) * 0.3f;
        const float trem = 0.65f + 0.35f * tremolo.Sine(12.0f, Rate);
        return (shimmer + sparkle) * trem * Window(t, length, 0.1f, 0.4f);
    }));
}

WaveData InventoryClick()
{
    Click tick{Noise(2222), OnePole(), 0.0f, 0.002f, 3000.0f};
    Oscillator tone;
    return MonoWave(
        Render(0.05, [&](float t) { return tick(t) + tone.Sine(1800.0f, Rate) * Decay(t, 0.001f, 0.008f) * 0.5f; }));
}

} // namespace

void AddEffectMakers(SoundMakers& makers)
{
    makers["shotgun_fire.wav"] = ShotgunFire;
    makers["hyper_blaster_fire.wav"] = HyperBlasterFire;
    makers["hyper_blaster_hit.wav"] = HyperBlasterHit;
    makers["rocket_launcher_fire.wav"] = RocketLauncherFire;
    makers["hammer_swing.wav"] = HammerSwing;
    makers["hammer_hit.wav"] = HammerHit;
    makers["hammer_hit_flesh.wav"] = HammerHitFlesh;
    makers["shield_hit.wav"] = ShieldHit;
    makers["door_open.wav"] = [] { return DoorGrind(3030, false); };
    makers["door_close.wav"] = [] { return DoorGrind(3131, true); };
    makers["elevator_move.wav"] = ElevatorMove;
    makers["elevator_stop.wav"] = ElevatorStop;
    makers["eye_charging.wav"] = EyeCharging;
    makers["monster_bite.wav"] = MonsterBite;
    makers["monster_roar.wav"] = MonsterRoar;
    makers["player_death.wav"] = PlayerDeath;
    makers["pickup_ammo.wav"] = PickupAmmo;
    makers["pickup_item.wav"] = PickupItem;
    makers["pickup_weapon.wav"] = PickupWeapon;
    makers["switch_on.wav"] = SwitchOn;
    makers["jump.wav"] = Jump;
    makers["teleport.wav"] = Teleport;
    makers["inventory_click.wav"] = InventoryClick;
}

} // namespace mirefell::assetgen
