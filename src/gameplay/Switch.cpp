#include "gameplay/Switch.h"

#include <limits>

#include "gameplay/SegmentPanel.h"
#include "render/Mesh.h"
#include "shell/SoundManager.h"
#include "world/AIRegionGraph.h"
#include "world/MapData.h"
#include "world/MapScript.h"
#include "world/World.h"

namespace mirefell
{

Switch::Switch(World* world_, MapSegment* segment_) : GridObject(world_, std::string(), segment_), segment(segment_)
{
    typeMask = GridObjectType::Switch;
}

GridObject* Switch::Spawn(World& world, MapSegment& segment)
{
    auto made = std::make_unique<Switch>(&world, &segment);
    made->BuildGeometry();
    return PlaceOnSegment(world, segment, std::move(made));
}

void Switch::BuildGeometry()
{
    segment->bottomY += PanelLift;
    segment->topY = segment->bottomY + PanelHeight;
    mesh = BuildSegmentPanelMesh(*segment);
    instanceMesh = mesh.get();
    RefreshTexture();

    box = Box3();
    box.Widen(Vector3(segment->start.x, segment->bottomY, segment->start.y));
    box.Widen(Vector3(segment->end.x, segment->topY, segment->end.y));
}

void Switch::Use()
{
    on = !on;
    RefreshTexture();
    if (world->aiRegions && world->aiRegions->script)
        world->aiRegions->script->OnSwitchToggled(this);
    SoundManager::GetInstance().PlaySound("switch_on");
}

void Switch::TurnOn()
{
    on = true;
    RefreshTexture();
}

void Switch::RefreshTexture()
{
    if (!instanceMesh)
        return;
    instanceMesh->textureName = on ? TextureOn : TextureOff;
    // Before its first device update (and after a lost device) the node has
    // no device data; its next update looks the texture up by name.
    if (instanceMesh->vertexBuffer)
        instanceMesh->RefreshTexture();
}

} // namespace mirefell
