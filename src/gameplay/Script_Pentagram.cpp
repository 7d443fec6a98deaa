// Script_Pentagram: the map ids it drives and what each trigger does.
#include "gameplay/Script_Pentagram.h"

#include <cstdint>
#include <vector>

#include "world/AreaTrigger.h"
#include "world/IDoor.h"
#include "world/IElevator.h"
#include "world/IMonster.h"
#include "world/IPowerup.h"
#include "world/ISwitch.h"
#include "world/MapObjectIndex.h"

namespace mirefell
{

namespace
{

// Elevators.
constexpr uint32_t SpaceElevator = 155;
constexpr uint32_t BridgeElevator = 440;
constexpr float SpaceElevatorSpeed = 0.5f;
constexpr float BridgeElevatorSpeed = 10.0f;
// The pentagram's pillars: they start at their top and drop to the new bottom.
const std::vector<uint32_t> PillarIds = {44, 50, 51, 52, 53, 54, 41, 42, 40, 43, 29, 34, 33, 30, 28,
                                         31, 25, 26, 32, 27, 48, 39, 49, 38, 46, 36, 45, 35, 47, 37};
constexpr float PillarSpeed = 1.0f;
constexpr float PillarBottom = -58.0f;
// Switches.
constexpr uint32_t SpaceElevatorDownSwitch = 551;
constexpr uint32_t SpaceElevatorUpSwitch = 550;
constexpr uint32_t BridgeSwitch = 1973;
// Doors.
constexpr uint32_t Gate = 460;
constexpr uint32_t SlowCrusher = 457;
constexpr uint32_t FastCrusher = 456;
constexpr uint32_t MiddleCrusher = 296;
constexpr float SlowCrusherSpeed = 0.5f;
constexpr float FastCrusherSpeed = 1.0f;
constexpr float MiddleCrusherSpeed = 0.75f;
constexpr uint32_t TunnelDoor = 453;
constexpr uint32_t LeftCloset = 333;
constexpr uint32_t RightCloset = 335;
// The red key whose taking opens the closets.
constexpr uint32_t ClosetKey = 118;
// The monsters held in the cage until the pillars drop.
const std::vector<uint32_t> CagedMonsterIds = {23, 24, 25, 26, 27, 115};
constexpr uint32_t HeldState = 1;
// Areas.
constexpr const char* PentagramLeft = "pentagram_left";
constexpr const char* PentagramRight = "pentagram_right";
constexpr const char* PentagramTunnel = "pentagram_tunnel";
constexpr const char* SpaceElevatorDownArea = "space_elevator_down";
constexpr const char* SpaceElevatorRightArea = "space_elevator_right";

// The script's program-wide storage.
struct PentagramState
{
    IElevator* spaceElevator = nullptr;
    ISwitch* downSwitch = nullptr;
    ISwitch* upSwitch = nullptr;
    IElevator* bridge = nullptr;
    ISwitch* bridgeSwitch = nullptr;
    IDoor* gate = nullptr;
    IDoor* tunnelDoor = nullptr;
    IDoor* leftCloset = nullptr;
    IDoor* rightCloset = nullptr;
    IPowerup* closetKey = nullptr;
    std::vector<IElevator*> pillars;
    std::vector<IMonster*> cagedMonsters;
    bool pentagramEntered = false; // shared by both entrances
};

PentagramState state;

} // namespace

std::unique_ptr<MapScript> Script_Pentagram::Make(MapObjectIndex* objects, IMapScriptToolbox* toolbox)
{
    return std::make_unique<Script_Pentagram>(objects, toolbox);
}

const LevelScriptNeeds& Script_Pentagram::Needs()
{
    static const LevelScriptNeeds needs = [] {
        LevelScriptNeeds made;
        made.doors = {Gate, SlowCrusher, FastCrusher, MiddleCrusher, TunnelDoor, LeftCloset, RightCloset};
        made.elevators = {SpaceElevator, BridgeElevator};
        made.elevators.insert(made.elevators.end(), PillarIds.begin(), PillarIds.end());
        made.switches = {SpaceElevatorDownSwitch, SpaceElevatorUpSwitch, BridgeSwitch};
        made.pickups = {ClosetKey};
        made.monsters = CagedMonsterIds;
        made.areas = {PentagramLeft, PentagramRight, PentagramTunnel, SpaceElevatorDownArea, SpaceElevatorRightArea};
        return made;
    }();
    return needs;
}

void Script_Pentagram::Start()
{
    state.spaceElevator = GetElevator(SpaceElevator);
    state.spaceElevator->SetSpeed(SpaceElevatorSpeed);
    state.downSwitch = GetSwitch(SpaceElevatorDownSwitch);
    state.upSwitch = GetSwitch(SpaceElevatorUpSwitch);

    state.bridge = GetElevator(BridgeElevator);
    state.bridge->SetSpeed(BridgeElevatorSpeed);
    state.bridgeSwitch = GetSwitch(BridgeSwitch);

    state.gate = GetDoor(Gate);
    state.gate->SetUsable(false);

    IDoor* crusher = GetDoor(SlowCrusher);
    crusher->SetCycling(true);
    crusher->SetSpeed(SlowCrusherSpeed);
    crusher = GetDoor(FastCrusher);
    crusher->SetCycling(true);
    crusher->SetSpeed(FastCrusherSpeed);
    crusher = GetDoor(MiddleCrusher);
    crusher->SetCycling(true);
    crusher->SetSpeed(MiddleCrusherSpeed);

    state.pillars = GetElevators(PillarIds);
    for (IElevator* pillar : state.pillars) {
        pillar->SetSpeed(PillarSpeed);
        pillar->SetBottom(PillarBottom);
        pillar->SnapToTop();
    }

    state.cagedMonsters = GetMonsters(CagedMonsterIds);
    for (IMonster* monster : state.cagedMonsters)
        monster->SetState(HeldState);

    state.pentagramEntered = false;

    state.tunnelDoor = GetDoor(TunnelDoor);
    state.tunnelDoor->SetUsable(false);
    state.leftCloset = GetDoor(LeftCloset);
    state.leftCloset->SetUsable(false);
    state.rightCloset = GetDoor(RightCloset);
    state.rightCloset->SetUsable(false);
    state.closetKey = GetPickup(ClosetKey);
}

void Script_Pentagram::OnTriggerEnter(const AreaTrigger& trigger)
{
    if (trigger.name == PentagramLeft || trigger.name == PentagramRight) {
        if (state.pentagramEntered)
            return;
        state.pentagramEntered = true;
        for (IElevator* pillar : state.pillars)
            pillar->MoveDown();
        for (IMonster* monster : state.cagedMonsters)
            monster->Roar(true);
    } else if (trigger.name == PentagramTunnel) {
        state.tunnelDoor->Open();
    } else if (trigger.name == SpaceElevatorDownArea) {
        state.spaceElevator->MoveUp();
    } else if (trigger.name == SpaceElevatorRightArea) {
        state.spaceElevator->MoveDown();
    }
}

void Script_Pentagram::OnPowerupPickedUp(IPowerup* powerup)
{
    if (powerup != state.closetKey)
        return;
    state.leftCloset->Open();
    state.rightCloset->Open();
}

void Script_Pentagram::OnSwitchToggled(ISwitch* toggled)
{
    if (toggled == state.downSwitch) {
        state.spaceElevator->MoveDown();
    } else if (toggled == state.upSwitch) {
        state.spaceElevator->MoveUp();
    } else if (toggled == state.bridgeSwitch) {
        state.bridge->MoveUp();
        state.gate->Open();
        toggled->TurnOn();
    }
}

} // namespace mirefell
