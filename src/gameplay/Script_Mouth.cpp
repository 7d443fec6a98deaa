// Script_Mouth: the map ids it drives and what each trigger does.
#include "gameplay/Script_Mouth.h"

#include <cstdint>
#include <vector>

#include "world/AreaTrigger.h"
#include "world/IDoor.h"
#include "world/IElevator.h"
#include "world/ISwitch.h"
#include "world/MapObjectIndex.h"

namespace mirefell
{

namespace
{

// The jail's cell doors.
const std::vector<uint32_t> JailDoorIds = {8, 9, 10, 11, 12};
// The red key's lift, the door at its top and the switch that lowers it.
constexpr uint32_t RedKeyLift = 62;
constexpr float RedKeyLiftSpeed = 1.0f;
constexpr uint32_t RedKeyDoor = 63;
constexpr uint32_t RedKeyLiftSwitch = 3030;
// The tunnel's door.
constexpr uint32_t TunnelDoor = 267;
// The doors the blue key opens.
const std::vector<uint32_t> BlueDoorIds = {203, 205};
// Areas.
constexpr const char* JailArea = "jail";
constexpr const char* RedKeyArea = "redkey";
constexpr const char* TunnelArea = "tunnel";
constexpr const char* BlueKeyArea = "bluekey";

// The script's program-wide storage.
struct MouthState
{
    std::vector<IDoor*> jailDoors;
    IElevator* redKeyLift = nullptr;
    IDoor* redKeyDoor = nullptr;
    ISwitch* redKeyLiftSwitch = nullptr;
    IDoor* tunnelDoor = nullptr;
    std::vector<IDoor*> blueDoors;
    bool redKeyEntered = false;
};

MouthState state;

} // namespace

std::unique_ptr<MapScript> Script_Mouth::Make(MapObjectIndex* objects, IMapScriptToolbox* toolbox)
{
    return std::make_unique<Script_Mouth>(objects, toolbox);
}

const LevelScriptNeeds& Script_Mouth::Needs()
{
    static const LevelScriptNeeds needs = [] {
        LevelScriptNeeds made;
        made.doors = JailDoorIds;
        made.doors.insert(made.doors.end(), {RedKeyDoor, TunnelDoor});
        made.doors.insert(made.doors.end(), BlueDoorIds.begin(), BlueDoorIds.end());
        made.elevators = {RedKeyLift};
        made.switches = {RedKeyLiftSwitch};
        made.areas = {JailArea, RedKeyArea, TunnelArea, BlueKeyArea};
        return made;
    }();
    return needs;
}

void Script_Mouth::Start()
{
    state.jailDoors = GetDoors(JailDoorIds);
    for (IDoor* door : state.jailDoors)
        door->SetUsable(false);

    state.redKeyLift = GetElevator(RedKeyLift);
    state.redKeyLift->SetSpeed(RedKeyLiftSpeed);
    state.redKeyDoor = GetDoor(RedKeyDoor);
    state.redKeyDoor->SetUsable(false);
    state.redKeyLiftSwitch = GetSwitch(RedKeyLiftSwitch);

    state.redKeyEntered = false;

    state.tunnelDoor = GetDoor(TunnelDoor);
    state.tunnelDoor->SetUsable(false);

    state.blueDoors = GetDoors(BlueDoorIds);
    for (IDoor* door : state.blueDoors)
        door->SetUsable(false);
}

void Script_Mouth::OnTriggerEnter(const AreaTrigger& trigger)
{
    if (trigger.name == JailArea) {
        for (IDoor* door : state.jailDoors)
            door->Open();
    } else if (trigger.name == RedKeyArea) {
        if (state.redKeyEntered)
            return;
        state.redKeyEntered = true;
        state.redKeyLift->MoveUp();
        state.redKeyDoor->Open();
    } else if (trigger.name == TunnelArea) {
        state.tunnelDoor->Open();
    } else if (trigger.name == BlueKeyArea) {
        for (IDoor* door : state.blueDoors)
            door->Open();
    }
}

void Script_Mouth::OnSwitchToggled(ISwitch* toggled)
{
    if (toggled != state.redKeyLiftSwitch)
        return;
    state.redKeyLift->MoveDown();
    toggled->TurnOn();
}

} // namespace mirefell
