// Map lights: placement on their sector and the point light each makes.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/GameError.h"
#include "render/PointLights.h"
#include "support/WorldFixture.h"
#include "world/LightSource.h"

namespace mirefell
{
namespace
{

struct MapLights : ::testing::Test
{
    MapLights() : fixture(testing::LoadTestMap())
    {
        fixture.AddStaticGeometry();
        PointLights::GetInstance().Clear();
    }
    ~MapLights() override { PointLights::GetInstance().Clear(); }

    World& world() { return *fixture.world; }
    testing::WorldFixture fixture;
};

TEST_F(MapLights, ALightStandsOnItsSectorAndShinesAboveItsMiddle)
{
    MapLight& record = world().map.lights.at(0);
    record.pos = {400, 100}; // on the ledge, sector 5
    record.yOffset = 6.0f;
    record.lightColor = 0xFF8000;
    LightSource* source = LightSource::Create(world(), record);
    EXPECT_EQ(source->position, Vector3(400, 0, 100));
    EXPECT_EQ(source->typeMask, GridObjectType::LightSource);
    EXPECT_EQ(source->name, LightLayerKey);
    ASSERT_NE(source->startSector, nullptr);
    EXPECT_EQ(source->startSector->id, 5);
    EXPECT_EQ(world().objects.back().get(), source);

    source->SetUp();
    ASSERT_NE(source->light, nullptr);
    const PointLight& light = *source->light;
    const MapSector& ledge = *source->startSector;
    EXPECT_FLOAT_EQ(light.position.y, (ledge.floorBottomY + ledge.ceilBottomY) * 0.5f + 6.0f);
    EXPECT_EQ(light.position.x, 400.0f);
    EXPECT_EQ(light.position.z, 100.0f);
    EXPECT_EQ(light.colour, Color(1.0f, std::pow(128.0f / 255.0f, 2.2f), 0.0f, 1.0f));
    EXPECT_NEAR(light.range, 141.42f, 0.01f);
    EXPECT_TRUE(light.enabled && light.drawFirst && light.shaderFlag);
    EXPECT_EQ(light.intensity, 5.0f);
}

TEST_F(MapLights, ALightOffEverySectorFailsTheLoadAndLeavesNothingBehind)
{
    MapLight& record = world().map.lights.at(0);
    record.pos = {200, 200};
    const size_t objects = world().objects.size();
    try {
        LightSource::Create(world(), record);
        FAIL() << "the light lies outside the map";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "light doesn't have starting sector");
    }
    EXPECT_EQ(world().objects.size(), objects);

    record.pos = {136, 20}; // inside the map's box but in no sector: a wall's thickness
    EXPECT_THROW(LightSource::Create(world(), record), GameError);
    for (const auto& row : world().cells)
        for (const GridCell& cell : row)
            for (const GridObject* object : cell.objects)
                EXPECT_NE(object->typeMask, GridObjectType::LightSource);
}

TEST_F(MapLights, BlackoutLevelsHaveNoMapLights)
{
    world().settings.blackout = true;
    LightSource::Create(world(), world().map.lights.at(0))->SetUp();
    EXPECT_TRUE(PointLights::GetInstance().lights.empty());
}

} // namespace
} // namespace mirefell
