// PointLight: one dynamic light of the PointLights list. Gameplay objects
// take a light from PointLights::Add, keep the pointer, and change colour,
// position, flags and attenuation at will; after changing attenuation or the
// fixed radius they call ComputeRange. The light pass draws each enabled
// light as a sphere of `range`.
#pragma once

#include <cstdint>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

struct PointLight
{
    // The distance at which the attenuation c + l d + q d^2 reaches this.
    static constexpr float CutoffAttenuation = 100.0f;

    // Sets `range`: the fixed radius when useFixedRadius is set, else the
    // distance at which the attenuation reaches 100 (0 when the constant term
    // alone already reaches it). Attenuation terms that
    // never reach it (l < 0, q < 0, or l = 0 with q = 0) throw a standard
    // exception without message.
    void ComputeRange();

    Color colour{0.0f, 0.0f, 0.0f, 1.0f}; // linear light; alpha handed on
    Vector3 position;
    uint8_t enabled = 0;    // drawn only when set
    uint8_t drawFirst = 0;  // drawn in the first sweep
    uint8_t remove = 0;     // erased by the next PointLights::Update
    uint8_t shaderFlag = 0; // handed to the light shader
    float attenuationConstant = 1.0f;
    float attenuationLinear = 0.0f;
    float attenuationQuadratic = 0.0f;
    uint8_t useFixedRadius = 0;
    float fixedRadius = 0.0f;
    float intensity = 1.0f;
    float range = 0.0f;
};

} // namespace mirefell
