// ScriptProbe: the recording stand-ins and the probing of each cause.
#include "ScriptProbe.h"

#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <stdexcept>

#include "platform/GameError.h"
#include "world/AreaTrigger.h"
#include "world/IDoor.h"
#include "world/IElevator.h"
#include "world/IMapScriptToolbox.h"
#include "world/IMonster.h"
#include "world/IPowerup.h"
#include "world/ISwitch.h"
#include "world/MapObjectIndex.h"

namespace mirefell::maptool
{

namespace
{

class ProbeDoor : public IDoor
{
public:
    uint32_t GetState() override { return DoorStateClosed; }
    void SetUsable(bool usable_) override { usable = usable_; }
    void SetSpeed(float) override {}
    void Open() override { opened = true; }
    void ForceOpen() override { Open(); }
    void Close() override {}
    void SetCycling(bool cycling_) override
    {
        cycling = cycling_;
        usable = !cycling_;
    }

    bool usable = true;
    bool cycling = false;
    bool opened = false;
};

// Keeps heights as the Elevator does: y is the middle of the block, and the
// platform's top lies half the block's height above it.
class ProbeElevator : public IElevator
{
public:
    explicit ProbeElevator(const MapSector& sector)
        : half(sector.elevatorMaxHeight * 0.5), y(sector.floorTopY - half), bottom(y), top(y + 2.0 * half)
    {}
    float GetBottom() override { return static_cast<float>(bottom); }
    void SetBottom(float bottom_) override { bottom = bottom_; }
    float GetTop() override { return static_cast<float>(top); }
    void SetTop(float top_) override { top = top_; }
    void SetAutoCycle(bool) override {}
    void SetSpeed(float) override {}
    void SnapToTop() override { y = top; }
    void SnapToBottom() override { y = bottom; }
    void MoveUp() override { target = top; }
    void MoveDown() override { target = bottom; }

    double Surface(double middle) const { return middle + half; }

    double half;
    double y;
    double bottom;
    double top;
    double target = std::numeric_limits<double>::quiet_NaN();
};

class ProbeSwitch : public ISwitch
{
public:
    bool IsOn() override { return on; }
    void TurnOn() override { on = true; }
    bool on = false;
};

class ProbePowerup : public IPowerup
{
public:
    bool RidesElevator(int32_t) const override { return false; }
};

class ProbeMonster : public IMonster
{
public:
    void Roar(bool) override {}
    void SetState(uint32_t) override {}
    void Awaken() override {}
    float GetMaxHealth() override { return 0.0f; }
    float GetHealth() override { return 0.0f; }
};

class ProbeToolbox : public IMapScriptToolbox
{
public:
    void LightsOut() override {}
    void LightsOn() override {}
};

// One stand-in per map record, indexed as the AI region graph indexes the
// real objects.
struct Stage
{
    explicit Stage(const MapData& map)
    {
        for (const MapSector& sector : map.sectors) {
            const auto id = static_cast<uint32_t>(sector.id);
            if (sector.door)
                index.doors[id] = &doors.emplace(id, ProbeDoor()).first->second;
            else if (sector.elevator)
                index.elevators[id] = &elevators.emplace(id, ProbeElevator(sector)).first->second;
        }
        for (const MapSegment& segment : map.segments)
            if (segment.type == SegmentTypeSwitch) {
                const auto id = static_cast<uint32_t>(segment.id);
                index.switches[id] = &switches[id];
            }
        for (const MapEntity& entity : map.entities) {
            const auto id = static_cast<uint32_t>(entity.id);
            if (entity.entityType.kind == MapEntityKind::Powerup)
                index.pickups[id] = &pickups[id];
            else if (entity.entityType.kind == MapEntityKind::Monster)
                index.monsters[id] = &monsters[id];
        }
    }

    std::map<uint32_t, ProbeDoor> doors;
    std::map<uint32_t, ProbeElevator> elevators;
    std::map<uint32_t, ProbeSwitch> switches;
    std::map<uint32_t, ProbePowerup> pickups;
    std::map<uint32_t, ProbeMonster> monsters;
    ProbeToolbox toolbox;
    MapObjectIndex index;
};

void Fire(MapScript& script, Stage& stage, const ScriptCause& cause)
{
    switch (cause.kind) {
    case ScriptCause::Kind::Area: {
        AreaTrigger trigger;
        trigger.name = cause.area;
        script.OnTriggerEnter(trigger);
        break;
    }
    case ScriptCause::Kind::Switch:
        script.OnSwitchToggled(&stage.switches.at(cause.id));
        break;
    case ScriptCause::Kind::Pickup:
        script.OnPowerupPickedUp(&stage.pickups.at(cause.id));
        break;
    }
}

std::vector<ScriptCause> Causes(const MapData& map)
{
    std::vector<ScriptCause> causes;
    std::set<std::string> names;
    for (const MapArea& area : map.areas)
        if (names.insert(area.name).second)
            causes.push_back({ScriptCause::Kind::Area, area.name, 0});
    for (const MapSegment& segment : map.segments)
        if (segment.type == SegmentTypeSwitch)
            causes.push_back({ScriptCause::Kind::Switch, {}, static_cast<uint32_t>(segment.id)});
    for (const MapEntity& entity : map.entities)
        if (entity.entityType.kind == MapEntityKind::Powerup)
            causes.push_back({ScriptCause::Kind::Pickup, {}, static_cast<uint32_t>(entity.id)});
    return causes;
}

} // namespace

std::string ScriptCause::Describe() const
{
    switch (kind) {
    case Kind::Area:
        return "entering area \"" + area + "\"";
    case Kind::Switch:
        return "throwing switch " + std::to_string(id);
    case Kind::Pickup:
        return "taking pickup " + std::to_string(id);
    }
    return {};
}

ScriptModel ScriptProbe::Run(const MapData& map, MapScript::Maker make)
{
    ScriptModel model;
    const auto started = [&](Stage& stage) -> std::unique_ptr<MapScript> {
        if (!make)
            return nullptr;
        std::unique_ptr<MapScript> script = make(&stage.index, &stage.toolbox);
        script->Start();
        return script;
    };

    Stage initial(map);
    try {
        started(initial);
    } catch (const GameError& error) {
        model.startFailure = error.Describe();
    } catch (const std::exception& error) {
        model.startFailure = error.what();
    }
    for (const auto& [id, door] : initial.doors)
        model.doors[id] = {door.usable, door.cycling, {}};
    for (const auto& [id, elevator] : initial.elevators)
        model.elevators[id].restingSurface = elevator.Surface(elevator.y);
    if (!make || !model.startFailure.empty())
        return model;

    for (const ScriptCause& cause : Causes(map)) {
        Stage stage(map);
        std::unique_ptr<MapScript> script = started(stage);
        Fire(*script, stage, cause);
        for (const auto& [id, door] : stage.doors)
            if (door.opened)
                model.doors[id].openedBy.push_back(cause);
        for (const auto& [id, elevator] : stage.elevators)
            if (!std::isnan(elevator.target))
                model.elevators[id].moves.push_back({cause, elevator.Surface(elevator.target)});
    }
    return model;
}

} // namespace mirefell::maptool
