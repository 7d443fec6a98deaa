#include "platform/Random.h"

namespace mirefell
{

namespace
{
// The seed of a stream nobody seeded is 1, as with the C library.
uint32_t randomState = 1;
} // namespace

int Rand()
{
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

void SeedRand(uint32_t seed)
{
    randomState = seed;
}

} // namespace mirefell
