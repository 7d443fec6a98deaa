// Helpers shared by the mesh, camera and animator tests: approximate vector
// comparisons and a box of six floats.
#pragma once

#include <gtest/gtest.h>

#include <array>

#include "platform/math/Math.h"

namespace mirefell::testing
{

inline void ExpectVectorNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectVectorNear(const Vector4& actual, const Vector4& expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
    EXPECT_NEAR(actual.w, expected.w, tolerance);
}

// Min x, y, z, then max x, y, z: the layout culling reads.
using Box = std::array<float, 6>;

inline Box BoxAround(const Vector3& centre, float halfSize)
{
    return {centre.x - halfSize, centre.y - halfSize, centre.z - halfSize,
            centre.x + halfSize, centre.y + halfSize, centre.z + halfSize};
}

} // namespace mirefell::testing
