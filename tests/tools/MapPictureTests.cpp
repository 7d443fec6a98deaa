// The top-down picture: what lies where on the map is drawn there, in the
// colour the legend gives it.
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "LevelSource.h"
#include "MapCompiler.h"
#include "MapPicture.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"

namespace mirefell::maptool
{
namespace
{

struct Pixel
{
    int r, g, b;
};

Pixel At(const Image& image, const MapData& map, Vector2 point)
{
    const Vector2 p = MapPicture::ToPixel(map, point);
    const size_t at = (static_cast<size_t>(p.y) * image.width + static_cast<size_t>(p.x)) * 4;
    return {image.rgba[at], image.rgba[at + 1], image.rgba[at + 2]};
}

TEST(MapPicture, DrawsFloorsDoorsMonstersAndTheStartWhereTheyAre)
{
    MapEntityTypes::Initialize();
    const LevelSource source = LevelSource::Parse(R"(
level picture
start 32,96
wallids 100
room 1 floor=0 ceil=128 colour=FFFFFF : rect 0,0 128,128
door 2 floor=0 ceil=96 open=88 : rect 128,48 144,80
room 3 floor=48 ceil=160 colour=FFFFFF : rect 144,0 272,128
thing 4 N 200,64
route walk 64,64
)",
                                                  "picture.lvl");
    const MapData map = MapLoader::Parse(MapCompiler::CompileToJson(source));
    const Image image = MapPicture::Draw(map, source.route);
    ASSERT_EQ(image.width, 720u); // at least the legend's width
    ASSERT_EQ(image.height, 128u + 2 * MapPicture::Margin + MapPicture::LegendHeight);

    // Amber door, red monster, white start marker.
    const Pixel door = At(image, map, {131, 52});
    EXPECT_GT(door.r, 200);
    EXPECT_NEAR(door.g, 140, 10);
    EXPECT_LT(door.b, 60);
    const Pixel monster = At(image, map, {200, 64});
    EXPECT_GT(monster.r, 200);
    EXPECT_LT(monster.g, 40);
    const Pixel start = At(image, map, {32, 96});
    EXPECT_GT(start.r + start.g + start.b, 3 * 240);
    // The higher floor is drawn lighter than the lower one.
    const Pixel low = At(image, map, {20, 20});
    const Pixel high = At(image, map, {250, 20});
    EXPECT_GT(high.r, low.r + 60);
    // Outside the map: the dark background.
    const Pixel outside = At(image, map, {-20, -20});
    EXPECT_LT(outside.r + outside.g + outside.b, 60);
}

} // namespace
} // namespace mirefell::maptool
