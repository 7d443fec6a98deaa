// PointLights: the list of lights.
#include "render/PointLights.h"

namespace mirefell
{

PointLights& PointLights::GetInstance()
{
    static PointLights instance;
    return instance;
}

PointLight& PointLights::Add()
{
    return lights.emplace_back();
}

void PointLights::Clear()
{
    lights.clear();
}

void PointLights::Update()
{
    lights.remove_if([](const PointLight& light) { return light.remove != 0; });
    lightPhase += PhaseStep;
}

} // namespace mirefell
