// PointLight: the light volume's range from its attenuation.
#include "render/PointLight.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace mirefell
{

void PointLight::ComputeRange()
{
    if (useFixedRadius) {
        range = fixedRadius;
        return;
    }
    const float c = attenuationConstant;
    const float l = attenuationLinear;
    const float q = attenuationQuadratic;
    // A constant term at or above the cutoff means the light never reaches
    // anything: the square roots would see negative values and the linear
    // case a negative distance, so every branch is clamped at 0.
    if (l == 0.0f && q > 0.0f)
        range = std::sqrt(std::max((CutoffAttenuation - c) / q, 0.0f));
    else if (l > 0.0f && q == 0.0f)
        range = std::max((CutoffAttenuation - c) / l, 0.0f);
    else if (l > 0.0f && q > 0.0f)
        range = std::max(
            (std::sqrt(std::max(l * l - 4.0f * c * q + 4.0f * CutoffAttenuation * q, 0.0f)) - l) / (2.0f * q), 0.0f);
    else
        throw std::exception();
}

} // namespace mirefell
