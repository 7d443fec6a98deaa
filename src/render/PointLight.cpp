// PointLight: the light volume's range from its attenuation.
#include "render/PointLight.h"

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
    if (l == 0.0f && q > 0.0f)
        range = std::sqrt((CutoffAttenuation - c) / q);
    else if (l > 0.0f && q == 0.0f)
        range = (CutoffAttenuation - c) / l;
    else if (l > 0.0f && q > 0.0f)
        range = (std::sqrt(l * l - 4.0f * c * q + 4.0f * CutoffAttenuation * q) - l) / (2.0f * q);
    else
        throw std::exception();
}

} // namespace mirefell
