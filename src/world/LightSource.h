// LightSource: the map object of a layer-"5" light record. It stands at the
// record's point, keeps the sector under it, and at set-up takes a point
// light from PointLights, halfway between that sector's floor bottom and
// ceiling plus the record's "yOffset". Under the Blackout modifier (the
// World's LevelSettings) a level has no map lights: set-up takes none and
// `light` stays null. The level
// scripts switch these lights off and on (MapScriptToolbox).
#pragma once

#include "world/GridObject.h"

namespace mirefell
{

struct PointLight;

class LightSource : public GridObject
{
public:
    static constexpr const char* NoStartingSector = "light doesn't have starting sector";
    // Attenuation and intensity of every map light.
    static constexpr float Quadratic = 0.005f;
    static constexpr float Intensity = 5.0f;

    // Makes, places and registers the light of `record` (a light of the
    // World's map) and appends it to the World's objects. A light whose point
    // lies on no sector throws "light doesn't have starting sector" and adds
    // nothing.
    static LightSource* Create(World& world, MapLight& record_);

    LightSource(World* world_, MapLight* record_);
    void SetUp() override;

    MapSector* startSector = nullptr;
    MapLight* record;
    PointLight* light = nullptr; // owned by PointLights; null under Blackout
};

} // namespace mirefell
