// Script_Descent: the level script of "descent". At the start it parks the
// level's lifts at their tops: the great shaft (given a new, deeper bottom),
// the two switch-driven drops, the eight pillars of the chapel (given a new
// bottom flush with its floor), the pit lift (fast), the secret passage's
// plug and the two lifts of the final room; it locks the pit's closet door
// and the secret door. Then: the three drop switches send their lifts down;
// taking the chapel's key drops the pillars and puts the lights out, and a
// switch puts them back on; entering the blue key's area opens the closet
// and sends the pit lift down (once), and its switch brings it back up; the
// secret passage opens once when entered; each half of the final room sends
// its lift down once.
//
// As every level script does, it keeps the objects it looked up and its
// once-only flags in program-wide storage that Start fills afresh, so a
// restarted level behaves like a new one.
#pragma once

#include <memory>

#include "gameplay/LevelScriptNeeds.h"
#include "world/MapScript.h"

namespace mirefell
{

class Script_Descent : public MapScript
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
