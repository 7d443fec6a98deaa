// Script_Pentagram: the level script of "pentagram". At the start it slows
// the space elevator, speeds up the bridge elevator, locks the gate and the
// tunnel and closet doors, sets the three crushers cycling, raises the
// thirty pillars of the pentagram's cage and holds the monsters inside it.
// Then: either entrance of the pentagram drops the pillars and lets the
// caged monsters loose (once); the tunnel opens its door; two areas and two
// switches drive the space elevator; the bridge switch raises the bridge and
// opens the gate; taking the red key opens the two closets beside it.
//
// As every level script does, it keeps the objects it looked up and its
// once-only flag in program-wide storage that Start fills afresh, so a
// restarted level behaves like a new one.
#pragma once

#include <memory>

#include "gameplay/LevelScriptNeeds.h"
#include "world/MapScript.h"

namespace mirefell
{

class Script_Pentagram : public MapScript
{
public:
    using MapScript::MapScript;

    static std::unique_ptr<MapScript> Make(MapObjectIndex* objects, IMapScriptToolbox* toolbox);
    // The ids and area names the script uses.
    static const LevelScriptNeeds& Needs();

    void Start() override;
    void OnTriggerEnter(const AreaTrigger& trigger) override;
    void OnPowerupPickedUp(IPowerup* powerup) override;
    void OnSwitchToggled(ISwitch* toggled) override;
};

} // namespace mirefell
