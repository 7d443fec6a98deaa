// Script_Descent: the map ids it drives and what each trigger does.
#include "gameplay/Script_Descent.h"

#include <cstdint>
#include <vector>

#include "world/AreaTrigger.h"
#include "world/IDoor.h"
#include "world/IElevator.h"
#include "world/IMapScriptToolbox.h"
#include "world/IPowerup.h"
#include "world/ISwitch.h"
#include "world/MapObjectIndex.h"

namespace mirefell
{

namespace
{

// The great shaft and its switch: it drops deeper than its map bottom.
constexpr uint32_t ShaftLift = 3;
constexpr float ShaftLiftBottom = -60.0f;
constexpr uint32_t ShaftSwitch = 1299;
// The two drops and their switches.
constexpr uint32_t WestDrop = 73;
constexpr uint32_t WestDropSwitch = 1301;
constexpr uint32_t EastDrop = 74;
constexpr uint32_t EastDropSwitch = 1300;
// The chapel's pillars, the key that drops them and the switch that puts the
// lights back on.
const std::vector<uint32_t> PillarIds = {126, 118, 122, 121, 110, 114, 112, 392};
constexpr float PillarBottom = -20.0f;
constexpr uint32_t ChapelKey = 127;
constexpr uint32_t LightSwitch = 3859;
// The pit: its closet door, its lift and the lift's switch.
constexpr uint32_t PitCloset = 372;
constexpr uint32_t PitLift = 216;
constexpr float PitLiftSpeed = 1.0f;
constexpr uint32_t PitLiftSwitch = 2575;
// The secret passage: its door and the plug that sinks out of the way.
constexpr uint32_t SecretDoor = 198;
constexpr uint32_t SecretPlug = 197;
// The final room's two lifts.
constexpr uint32_t FinalTopLift = 247;
constexpr uint32_t FinalBottomLift = 248;
constexpr float FinalLiftSpeed = 1.0f;
// Areas.
constexpr const char* BlueKeyArea = "bluekey";
constexpr const char* SecretPassageArea = "secret_passage";
constexpr const char* FinalRoomTopArea = "final_room_top";
constexpr const char* FinalRoomBottomArea = "final_room_bottom";

// The script's program-wide storage.
struct DescentState
{
    IElevator* shaftLift = nullptr;
    ISwitch* shaftSwitch = nullptr;
    IElevator* westDrop = nullptr;
    ISwitch* westDropSwitch = nullptr;
    IElevator* eastDrop = nullptr;
    ISwitch* eastDropSwitch = nullptr;
    ISwitch* lightSwitch = nullptr;
    std::vector<IElevator*> pillars;
    IPowerup* chapelKey = nullptr;
    IDoor* pitCloset = nullptr;
    IElevator* pitLift = nullptr;
    ISwitch* pitLiftSwitch = nullptr;
    IDoor* secretDoor = nullptr;
    IElevator* secretPlug = nullptr;
    IElevator* finalTopLift = nullptr;
    IElevator* finalBottomLift = nullptr;
    bool blueKeyEntered = false;
    bool secretPassageEntered = false;
    bool finalRoomTopEntered = false;
    bool finalRoomBottomEntered = false;
};

DescentState state;

} // namespace

std::unique_ptr<MapScript> Script_Descent::Make(MapObjectIndex* objects, IMapScriptToolbox* toolbox)
{
    return std::make_unique<Script_Descent>(objects, toolbox);
}

const LevelScriptNeeds& Script_Descent::Needs()
{
    static const LevelScriptNeeds needs = [] {
        LevelScriptNeeds made;
        made.doors = {PitCloset, SecretDoor};
        made.elevators = {ShaftLift, WestDrop, EastDrop, PitLift, SecretPlug, FinalTopLift, FinalBottomLift};
        made.elevators.insert(made.elevators.end(), PillarIds.begin(), PillarIds.end());
        made.switches = {ShaftSwitch, WestDropSwitch, EastDropSwitch, LightSwitch, PitLiftSwitch};
        made.pickups = {ChapelKey};
        made.areas = {BlueKeyArea, SecretPassageArea, FinalRoomTopArea, FinalRoomBottomArea};
        return made;
    }();
    return needs;
}

void Script_Descent::Start()
{
    state.shaftLift = GetElevator(ShaftLift);
    state.shaftLift->SnapToTop();
    state.shaftLift->SetBottom(ShaftLiftBottom);
    state.shaftSwitch = GetSwitch(ShaftSwitch);

    state.westDrop = GetElevator(WestDrop);
    state.westDrop->SnapToTop();
    state.westDropSwitch = GetSwitch(WestDropSwitch);
    state.eastDrop = GetElevator(EastDrop);
    state.eastDrop->SnapToTop();
    state.eastDropSwitch = GetSwitch(EastDropSwitch);
    state.lightSwitch = GetSwitch(LightSwitch);

    state.pillars = GetElevators(PillarIds);
    for (IElevator* pillar : state.pillars) {
        pillar->SnapToTop();
        pillar->SetBottom(PillarBottom);
    }

    state.chapelKey = GetPickup(ChapelKey);

    state.pitCloset = GetDoor(PitCloset);
    state.pitCloset->SetUsable(false);
    state.pitLift = GetElevator(PitLift);
    state.pitLift->SetSpeed(PitLiftSpeed);
    state.pitLift->SnapToTop();
    state.pitLiftSwitch = GetSwitch(PitLiftSwitch);
    state.blueKeyEntered = false;

    state.secretDoor = GetDoor(SecretDoor);
    state.secretDoor->SetUsable(false);
    state.secretPlug = GetElevator(SecretPlug);
    state.secretPlug->SnapToTop();
    state.secretPassageEntered = false;

    state.finalTopLift = GetElevator(FinalTopLift);
    state.finalTopLift->SetSpeed(FinalLiftSpeed);
    state.finalTopLift->SnapToTop();
    state.finalRoomTopEntered = false;

    state.finalBottomLift = GetElevator(FinalBottomLift);
    state.finalBottomLift->SetSpeed(FinalLiftSpeed);
    state.finalBottomLift->SnapToTop();
    state.finalRoomBottomEntered = false;
}

void Script_Descent::OnTriggerEnter(const AreaTrigger& trigger)
{
    if (trigger.name == BlueKeyArea) {
        if (state.blueKeyEntered)
            return;
        state.blueKeyEntered = true;
        state.pitCloset->Open();
        state.pitLift->MoveDown();
    } else if (trigger.name == SecretPassageArea) {
        if (state.secretPassageEntered)
            return;
        state.secretPassageEntered = true;
        state.secretDoor->Open();
        state.secretPlug->MoveDown();
    } else if (trigger.name == FinalRoomTopArea) {
        if (state.finalRoomTopEntered)
            return;
        state.finalRoomTopEntered = true;
        state.finalTopLift->MoveDown();
    } else if (trigger.name == FinalRoomBottomArea) {
        if (state.finalRoomBottomEntered)
            return;
        state.finalRoomBottomEntered = true;
        state.finalBottomLift->MoveDown();
    }
}

void Script_Descent::OnPowerupPickedUp(IPowerup* powerup)
{
    if (powerup != state.chapelKey)
        return;
    for (IElevator* pillar : state.pillars)
        pillar->MoveDown();
    toolbox->LightsOut();
}

void Script_Descent::OnSwitchToggled(ISwitch* toggled)
{
    if (toggled == state.shaftSwitch)
        state.shaftLift->MoveDown();
    else if (toggled == state.westDropSwitch)
        state.westDrop->MoveDown();
    else if (toggled == state.eastDropSwitch)
        state.eastDrop->MoveDown();
    else if (toggled == state.pitLiftSwitch)
        state.pitLift->MoveUp();
    else if (toggled == state.lightSwitch)
        toolbox->LightsOn();
    else
        return;
    toggled->TurnOn();
}

} // namespace mirefell
