#include "support/ScriptStandIns.h"

#include <stdexcept>

#include "world/AIRegionGraph.h"
#include "world/MapScript.h"
#include "world/MapScriptToolbox.h"

namespace mirefell::testing
{

void ScriptStandIns::Start(World& world)
{
    AIRegionGraph& graph = *world.aiRegions;
    for (const MapSegment& segment : world.map.segments) {
        const auto id = static_cast<uint32_t>(segment.id);
        if (segment.type == SegmentTypeSwitch && !graph.objects.switches.contains(id))
            graph.objects.switches[id] = &switches[id];
    }
    for (const MapEntity& entity : world.map.entities) {
        const auto id = static_cast<uint32_t>(entity.id);
        if (entity.entityType.kind == MapEntityKind::Monster && !graph.objects.monsters.contains(id))
            graph.objects.monsters[id] = &monsters[id];
    }
    graph.toolbox = std::make_unique<MapScriptToolbox>(&world);
    graph.script = MapScript::Create(world.map.name, &graph.objects, graph.toolbox.get());
    graph.script->Start();
}

const AreaTrigger& ScriptStandIns::Trigger(World& world, const std::string& name) const
{
    for (const AreaTrigger& trigger : world.aiRegions->areaTriggers)
        if (trigger.name == name)
            return trigger;
    throw std::runtime_error("the map has no area " + name);
}

} // namespace mirefell::testing
