// The game's random generator: one process-wide stream of numbers 0..32767
// from the linear congruential rule seed = seed x 214013 + 2531011, result =
// (seed >> 16) & 0x7FFF. Gameplay writes r = Rand() / 32767 for a value in
// 0..1. It is seeded with the time at start-up and at every level load; tests
// seed it with a constant. Loot tables and item identities never draw from it.
#pragma once

#include <cstdint>

namespace mirefell
{

inline constexpr int RandMax = 32767;

// Next number of the stream, 0..32767.
int Rand();
// Restarts the stream.
void SeedRand(uint32_t seed);
// Rand() / 32767 as a float in 0..1.
inline float RandUnit()
{
    return static_cast<float>(Rand()) / static_cast<float>(RandMax);
}

} // namespace mirefell
