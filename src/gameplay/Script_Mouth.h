// Script_Mouth: the level script of "mouth", the last level. At the start it
// locks the five jail doors, the tunnel door and the two blue doors, gives
// the red key's lift its speed and locks the door beside it. Then: entering
// the jail opens its doors, the tunnel opens its door and the blue key's
// area opens the two blue doors, on every entry; entering the red key's
// area raises its lift and opens the door at the top, once; a switch sends
// the lift back down.
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

class Script_Mouth : public MapScript
{
public:
    using MapScript::MapScript;

    static std::unique_ptr<MapScript> Make(MapObjectIndex* objects, IMapScriptToolbox* toolbox);
    // The ids and area names the script uses.
    static const LevelScriptNeeds& Needs();

    void Start() override;
    void OnTriggerEnter(const AreaTrigger& trigger) override;
    void OnSwitchToggled(ISwitch* toggled) override;
};

} // namespace mirefell
