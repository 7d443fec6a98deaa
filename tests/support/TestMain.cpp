// Test entry shared by every suite. Tests run headless whoever starts them:
// SDL's offscreen driver gives a GL context on Mesa's llvmpipe and OpenAL's
// null backend a silent device (a variable already set by the caller wins).
// The game's generator is seeded to a known value so a test that draws random
// numbers without seeding still repeats.
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/Random.h"

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    ::testing::InitGoogleTest(&argc, argv);
    mirefell::SeedRand(1);
    return RUN_ALL_TESTS();
}
