// LightSource: placing a map light and making its point light.
#include "world/LightSource.h"

#include <cmath>
#include <memory>
#include <string>

#include "platform/GameError.h"
#include "render/PointLights.h"
#include "world/World.h"

namespace mirefell
{

LightSource* LightSource::Create(World& world, MapLight& record_)
{
    auto object = std::make_unique<LightSource>(&world, &record_);
    object->position = {record_.pos.x, 0.0f, record_.pos.y};
    object->SetCells(world.GetCellRange({record_.pos}));
    object->startSector = object->FindSector();
    if (!object->startSector) {
        object->RemoveFromCells();
        throw GameError(NoStartingSector, "light " + std::to_string(record_.id));
    }
    return static_cast<LightSource*>(world.AddObject(std::move(object)));
}

LightSource::LightSource(World* world_, MapLight* record_) : GridObject(world_, LightLayerKey, record_), record(record_)
{
    typeMask = GridObjectType::LightSource;
}

void LightSource::SetUp()
{
    if (world->settings.blackout)
        return;
    PointLight& added = PointLights::GetInstance().Add();
    added.position = {record->pos.x, (startSector->floorBottomY + startSector->ceilBottomY) * 0.5f + record->yOffset,
                      record->pos.y};
    added.drawFirst = 1;
    added.enabled = 1;
    added.shaderFlag = 1;
    added.attenuationConstant = 0.0f;
    added.attenuationLinear = 0.0f;
    added.attenuationQuadratic = Quadratic;
    added.intensity = Intensity;
    const uint32_t packed = record->lightColor;
    const auto channel = [](uint32_t value) { return std::pow(static_cast<float>(value) / 255.0f, 2.2f); };
    added.colour = {channel((packed & 0xFF0000u) / 65536u), channel((packed & 0xFF00u) / 256u), channel(packed & 0xFFu),
                    1.0f};
    added.ComputeRange();
    light = &added;
}

} // namespace mirefell
