#include "gameplay/TVScreen.h"

#include "gameplay/SegmentPanel.h"
#include "render/Mesh.h"
#include "world/MapData.h"

namespace mirefell
{

TVScreen::TVScreen(World* world_, MapSegment* segment_) : GridObject(world_, std::string(), segment_), segment(segment_)
{
    typeMask = GridObjectType::TVScreen;
}

TVScreen::~TVScreen() = default;

GridObject* TVScreen::Spawn(World& world, MapSegment& segment)
{
    auto made = std::make_unique<TVScreen>(&world, &segment);
    made->BuildGeometry();
    return PlaceOnSegment(world, segment, std::move(made));
}

void TVScreen::BuildGeometry()
{
    CheckPanelTexture(*segment, segment->texId);
    mesh = BuildSegmentPanelMesh(*segment);
    mesh->textureName = segment->texId;
    instanceMesh = mesh.get();
}

} // namespace mirefell
