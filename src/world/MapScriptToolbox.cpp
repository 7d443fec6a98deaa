// MapScriptToolbox: switching the level's lights.
#include "world/MapScriptToolbox.h"

#include "render/PointLights.h"
#include "world/GridObject.h"
#include "world/LightSource.h"
#include "world/World.h"

namespace mirefell
{

namespace
{
// The view's ambient colour while the map's lights are on.
constexpr Vector4 LitAmbient{0.05f, 0.05f, 0.05f, 0.0f};
} // namespace

void MapScriptToolbox::LightsOut()
{
    Switch(false);
}

void MapScriptToolbox::LightsOn()
{
    Switch(true);
}

void MapScriptToolbox::Switch(bool mapLightsOn)
{
    if (world->settings.blackout)
        return;
    const ViewLighting& view = world->viewLighting;
    if (view.light)
        view.light->enabled = mapLightsOn ? 0 : 1;
    if (view.ambient)
        *view.ambient = mapLightsOn ? LitAmbient : Vector4(0.0f, 0.0f, 0.0f, 0.0f);
    world->ForEachObject(GridObjectType::LightSource, [&](GridObject* object) {
        PointLight* light = static_cast<LightSource*>(object)->light;
        if (light)
            light->enabled = mapLightsOn ? 1 : 0;
    });
}

} // namespace mirefell
