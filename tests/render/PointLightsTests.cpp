// The point-light list: ranges from attenuation, removal on update, the
// light phase.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "render/PointLights.h"

namespace mirefell
{
namespace
{

float RangeOf(float c, float l, float q)
{
    PointLight light;
    light.attenuationConstant = c;
    light.attenuationLinear = l;
    light.attenuationQuadratic = q;
    light.ComputeRange();
    return light.range;
}

TEST(PointLight, RangeIsWhereTheAttenuationReachesOneHundred)
{
    EXPECT_FLOAT_EQ(RangeOf(0, 10, 0), 10.0f);
    EXPECT_NEAR(RangeOf(0, 0, 0.005f), 141.42f, 0.01f);
    // Both terms: the positive root of q d^2 + l d + c = 100.
    const float d = RangeOf(1, 2, 0.5f);
    EXPECT_NEAR(1 + 2 * d + 0.5f * d * d, 100.0f, 1e-3f);

    PointLight fixed;
    fixed.attenuationLinear = -5.0f; // ignored with a fixed radius
    fixed.useFixedRadius = 1;
    fixed.fixedRadius = 256.0f;
    fixed.ComputeRange();
    EXPECT_EQ(fixed.range, 256.0f);

    // A constant term past the cutoff reaches nothing: range 0, never NaN
    // or negative, in every branch.
    EXPECT_EQ(RangeOf(150, 0, 0.005f), 0.0f);
    EXPECT_EQ(RangeOf(150, 10, 0), 0.0f);
    EXPECT_EQ(RangeOf(400, 1, 0.5f), 0.0f);

    EXPECT_THROW(RangeOf(1, 0, 0), std::exception);
    EXPECT_THROW(RangeOf(0, -1, 0.5f), std::exception);
    EXPECT_THROW(RangeOf(0, 1, -0.5f), std::exception);
}

TEST(PointLights, UpdateDropsLightsFlaggedForRemovalAndAdvancesThePhase)
{
    PointLights& lights = PointLights::GetInstance();
    lights.Clear();
    PointLight& first = lights.Add();
    PointLight& second = lights.Add();
    PointLight& third = lights.Add();
    EXPECT_EQ(first.colour, Color(0, 0, 0, 1));
    EXPECT_EQ(first.attenuationConstant, 1.0f);
    EXPECT_EQ(first.intensity, 1.0f);
    EXPECT_EQ(first.enabled, 0);

    second.remove = 1; // disabled lights go too
    third.enabled = 1;
    const float phase = lights.lightPhase;
    lights.Update();
    ASSERT_EQ(lights.lights.size(), 2u);
    EXPECT_EQ(&lights.lights.front(), &first); // the others keep their addresses
    EXPECT_EQ(&lights.lights.back(), &third);
    EXPECT_FLOAT_EQ(lights.lightPhase, phase + PointLights::PhaseStep);

    // The erased record is the next one added, as new, at the end.
    second.colour = Color(1, 0, 0, 1);
    const size_t spare = lights.SpareCount();
    PointLight& fourth = lights.Add();
    EXPECT_EQ(&fourth, &second);
    EXPECT_EQ(&lights.lights.back(), &fourth);
    EXPECT_EQ(fourth.colour, Color(0, 0, 0, 1));
    EXPECT_EQ(fourth.remove, 0);
    EXPECT_EQ(lights.SpareCount(), spare - 1);

    lights.Clear();
    lights.Update();
    EXPECT_TRUE(lights.lights.empty());
    EXPECT_EQ(lights.SpareCount(), spare + 2);
    EXPECT_FLOAT_EQ(lights.lightPhase, phase + 2 * PointLights::PhaseStep);
}

TEST(PointLights, TheLightPhaseWrapsWithinOneTurnAndKeepsAdvancing)
{
    // Unwrapped, the phase would pass 4194 after about 16.8 million updates
    // and stop moving (the step falls under half a float spacing). Wrapped it
    // stays in [0, 2 pi) and keeps time: 100,000 steps of 0.00025 make 25,
    // which is 25 - 3 x 2 pi = 6.15044 into the fourth turn.
    PointLights& lights = PointLights::GetInstance();
    lights.lightPhase = 0.0f;
    float highest = 0.0f;
    for (int i = 0; i < 100'000; ++i) {
        lights.Update();
        highest = std::max(highest, lights.lightPhase);
    }
    EXPECT_LT(highest, 6.2831854f);
    EXPECT_NEAR(lights.lightPhase, 6.15044f, 0.01f);
    lights.lightPhase = 0.0f;
}

} // namespace
} // namespace mirefell
