// Test entry shared by every suite: seeds the game's generator to a known value
// so a test that draws random numbers without seeding still repeats.
#include <gtest/gtest.h>

#include "platform/Random.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    mirefell::SeedRand(1);
    return RUN_ALL_TESTS();
}
