// MapScriptToolbox: the toolbox a level script gets, working on its World:
// the map's LightSource lights and the first-person view's light and ambient
// colour (World::viewLighting). Under the Blackout modifier (the World's
// LevelSettings) the map has no lights and the view light stays on, so both
// operations change nothing.
#pragma once

#include "world/IMapScriptToolbox.h"

namespace mirefell
{

class World;

class MapScriptToolbox : public IMapScriptToolbox
{
public:
    explicit MapScriptToolbox(World* world_) : world(world_) {}

    void LightsOut() override;
    void LightsOn() override;

    World* world;

private:
    void Switch(bool mapLightsOn);
};

} // namespace mirefell
