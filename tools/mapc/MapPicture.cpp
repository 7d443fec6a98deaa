// MapPicture: painting the map with the asset generator's canvas.
#include "MapPicture.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "EntityBodies.h"
#include "assetgen/TextureCanvas.h"
#include "gameplay/Powerup.h"

namespace mirefell::maptool
{

namespace
{

using assetgen::Canvas;
using assetgen::Rgba;

const Rgba Background{0.06f, 0.06f, 0.07f, 1};
const Rgba WallColour{0.92f, 0.9f, 0.85f, 1};
const Rgba StepColour{0.55f, 0.53f, 0.5f, 1};
const Rgba DoorColour{0.85f, 0.55f, 0.15f, 1};
const Rgba RedKeyColour{0.95f, 0.12f, 0.1f, 1};
const Rgba BlueKeyColour{0.2f, 0.4f, 1.0f, 1};
const Rgba ElevatorColour{0.1f, 0.55f, 0.55f, 1};
const Rgba SwitchColour{1.0f, 0.9f, 0.1f, 1};
const Rgba ScreenColour{0.3f, 0.9f, 1.0f, 1};
const Rgba AreaColour{0.75f, 0.45f, 1.0f, 1};
const Rgba NomColour{0.9f, 0.1f, 0.1f, 1};
const Rgba EyeColour{0.95f, 0.2f, 0.85f, 1};
const Rgba HealthColour{0.2f, 0.85f, 0.3f, 1};
const Rgba AmmoColour{0.95f, 0.8f, 0.3f, 1};
const Rgba ArmourColour{0.6f, 0.8f, 1.0f, 1};
const Rgba LootColour{1.0f, 0.75f, 0.0f, 1};
const Rgba ExitColour{0.1f, 1.0f, 0.2f, 1};
const Rgba LightColour{1.0f, 1.0f, 0.6f, 1};
const Rgba RouteColour{0.2f, 0.95f, 1.0f, 1};
const Rgba StartColour{1.0f, 1.0f, 1.0f, 1};
const Rgba LabelColour{1.0f, 1.0f, 1.0f, 1};

std::string Label(std::string text)
{
    std::replace(text.begin(), text.end(), '_', '-');
    return text;
}

void Diamond(Canvas& canvas, Vector2 at, float radius, const Rgba& colour)
{
    canvas.FillPolygon({at.x, at.y - radius, at.x + radius, at.y, at.x, at.y + radius, at.x - radius, at.y}, colour);
}

Rgba FloorShade(const MapSector& sector, float low, float high)
{
    const float t = high > low ? (sector.floorTopY - low) / (high - low) : 0.5f;
    const float v = 0.22f + 0.5f * std::clamp(t, 0.0f, 1.0f);
    const float r = ((sector.lightColor >> 16) & 0xFF) / 255.0f;
    const float g = ((sector.lightColor >> 8) & 0xFF) / 255.0f;
    const float b = (sector.lightColor & 0xFF) / 255.0f;
    // Mostly the height, a little of the sector's colour.
    return {v * (0.75f + 0.25f * r), v * (0.75f + 0.25f * g), v * (0.75f + 0.25f * b), 1};
}

void DrawSectors(Canvas& canvas, const MapData& map)
{
    float low = std::numeric_limits<float>::infinity();
    float high = -low;
    for (const MapSector& sector : map.sectors)
        if (!sector.door && !sector.elevator) {
            low = std::min(low, sector.floorTopY);
            high = std::max(high, sector.floorTopY);
        }
    for (const MapSector& sector : map.sectors) {
        std::vector<float> xy;
        for (const Vector2& p : sector.vertices) {
            const Vector2 pixel = MapPicture::ToPixel(map, p);
            xy.push_back(pixel.x);
            xy.push_back(pixel.y);
        }
        Rgba fill = FloorShade(sector, low, high);
        if (sector.door)
            fill = sector.key == 1 ? RedKeyColour : sector.key == 2 ? BlueKeyColour : DoorColour;
        else if (sector.elevator)
            fill = ElevatorColour;
        canvas.FillPolygon(xy, fill);
    }
}

void DrawSegments(Canvas& canvas, const MapData& map)
{
    for (const MapSegment& segment : map.segments) {
        if (segment.type == SegmentTypeSwitch || segment.type == SegmentTypeTVScreen)
            continue;
        const MapSector* sector = nullptr;
        for (const MapSector& candidate : map.sectors)
            if (candidate.id == segment.sectorId)
                sector = &candidate;
        // A wall from floor to ceiling is solid; anything else is a step or
        // a lintel over an opening.
        const bool solid = sector && segment.bottomY <= sector->floorTopY && segment.topY >= sector->ceilBottomY;
        const Vector2 a = MapPicture::ToPixel(map, segment.start);
        const Vector2 b = MapPicture::ToPixel(map, segment.end);
        if (solid)
            canvas.Line(a.x, a.y, b.x, b.y, 2.0f, WallColour);
        else if (segment.bottomY < (sector ? sector->floorTopY + 24.0f : 0.0f))
            canvas.Line(a.x, a.y, b.x, b.y, 1.0f, StepColour);
    }
    for (const MapSegment& segment : map.segments) {
        if (segment.type != SegmentTypeSwitch && segment.type != SegmentTypeTVScreen)
            continue;
        const Vector2 a = MapPicture::ToPixel(map, segment.start);
        const Vector2 b = MapPicture::ToPixel(map, segment.end);
        const bool isSwitch = segment.type == SegmentTypeSwitch;
        canvas.Line(a.x, a.y, b.x, b.y, isSwitch ? 5.0f : 4.0f, isSwitch ? SwitchColour : ScreenColour);
        if (isSwitch)
            canvas.Text((a.x + b.x) / 2 + 4, (a.y + b.y) / 2 + 4, 1, "S" + std::to_string(segment.id), SwitchColour);
    }
}

void DrawLabels(Canvas& canvas, const MapData& map)
{
    for (const MapSector& sector : map.sectors) {
        if (!sector.door && !sector.elevator)
            continue;
        MapRect box;
        for (const Vector2& p : sector.vertices)
            box.Widen(p);
        const Vector2 centre = MapPicture::ToPixel(map, box.Centre());
        const std::string label = (sector.door ? "D" : "E") + std::to_string(sector.id);
        canvas.TextCentred(centre.x, centre.y - 3, 1, label, LabelColour);
    }
}

void DrawAreas(Canvas& canvas, const MapData& map)
{
    for (const MapArea& area : map.areas) {
        const Vector2 a =
            MapPicture::ToPixel(map, {std::min(area.start.x, area.end.x), std::max(area.start.y, area.end.y)});
        const Vector2 b =
            MapPicture::ToPixel(map, {std::max(area.start.x, area.end.x), std::min(area.start.y, area.end.y)});
        // Dashed outline.
        const auto dashed = [&](Vector2 from, Vector2 to) {
            const float length = std::hypot(to.x - from.x, to.y - from.y);
            for (float t = 0; t < length; t += 8.0f) {
                const float u = std::min(t + 4.0f, length);
                canvas.Line(from.x + (to.x - from.x) * t / length, from.y + (to.y - from.y) * t / length,
                            from.x + (to.x - from.x) * u / length, from.y + (to.y - from.y) * u / length, 1.5f,
                            AreaColour);
            }
        };
        dashed(a, {b.x, a.y});
        dashed({b.x, a.y}, b);
        dashed(b, {a.x, b.y});
        dashed({a.x, b.y}, a);
        canvas.Text(a.x + 3, a.y + 3, 1, Label(area.name), AreaColour);
    }
}

void DrawEntities(Canvas& canvas, const MapData& map)
{
    for (const MapLight& light : map.lights) {
        const Vector2 at = MapPicture::ToPixel(map, light.pos);
        canvas.FillCircle(at.x, at.y, 2.5f, LightColour);
    }
    for (const MapEntity& entity : map.entities) {
        const EntityBody body = BodyOf(entity.entityType);
        const Vector2 at =
            MapPicture::ToPixel(map, {entity.pos.x + body.spawnOffset.x, entity.pos.y + body.spawnOffset.z});
        const float radius = std::max(3.0f, body.halfExtents.x * MapPicture::PixelsPerUnit);
        if (entity.entityType.kind == MapEntityKind::Monster) {
            canvas.FillCircle(at.x, at.y, radius, entity.entityType.name == "eye" ? EyeColour : NomColour);
            canvas.Ring(at.x, at.y, radius, 1.0f, Background);
            continue;
        }
        if (entity.entityType.name == "powerup") {
            Diamond(canvas, at, 6.0f, LootColour);
            canvas.Text(at.x + 7, at.y - 3, 1, std::to_string(entity.lootTableId), LootColour);
            continue;
        }
        switch (static_cast<PowerupType>(entity.entityType.powerupType)) {
        case PowerupType::Health:
            canvas.FillRect(at.x - 4, at.y - 1.5f, at.x + 4, at.y + 1.5f, HealthColour);
            canvas.FillRect(at.x - 1.5f, at.y - 4, at.x + 1.5f, at.y + 4, HealthColour);
            break;
        case PowerupType::AmmoPack:
            canvas.FillRect(at.x - 3.5f, at.y - 3.5f, at.x + 3.5f, at.y + 3.5f, AmmoColour);
            break;
        case PowerupType::Armor:
            canvas.FillRect(at.x - 2.5f, at.y - 2.5f, at.x + 2.5f, at.y + 2.5f, ArmourColour);
            break;
        case PowerupType::RedKey:
            Diamond(canvas, at, 8.0f, RedKeyColour);
            break;
        case PowerupType::BlueKey:
            Diamond(canvas, at, 8.0f, BlueKeyColour);
            break;
        case PowerupType::LevelExit:
            canvas.Ring(at.x, at.y, 10.0f, 3.0f, ExitColour);
            canvas.TextCentred(at.x, at.y + 13, 1, "EXIT", ExitColour);
            break;
        default:
            canvas.FillCircle(at.x, at.y, 3.0f, LabelColour);
            break;
        }
    }
}

void DrawRoute(Canvas& canvas, const MapData& map, const std::vector<RouteStep>& route)
{
    Vector2 from = MapPicture::ToPixel(map, map.playerStartPosition);
    int stop = 0;
    for (const RouteStep& step : route) {
        if (step.action != RouteAction::Walk && step.action != RouteAction::Use)
            continue;
        const Vector2 to = MapPicture::ToPixel(map, step.at);
        canvas.Line(from.x, from.y, to.x, to.y, 1.5f, RouteColour.WithAlpha(0.8f));
        canvas.FillCircle(to.x, to.y, 2.5f, RouteColour);
        if (++stop % 5 == 0)
            canvas.Text(to.x + 4, to.y + 3, 1, std::to_string(stop), RouteColour);
        from = to;
    }
}

void DrawStart(Canvas& canvas, const MapData& map)
{
    // The player faces -y: down in the picture.
    const Vector2 at = MapPicture::ToPixel(map, map.playerStartPosition);
    canvas.FillPolygon({at.x - 7, at.y - 6, at.x + 7, at.y - 6, at.x, at.y + 9}, StartColour);
}

void DrawLegend(Canvas& canvas)
{
    const float y = static_cast<float>(canvas.Height() - MapPicture::LegendHeight + 14);
    float x = MapPicture::Margin;
    const auto entry = [&](const Rgba& colour, const std::string& text) {
        canvas.FillRect(x, y, x + 10, y + 10, colour);
        canvas.Text(x + 14, y + 2, 1, text, LabelColour);
        x += 24 + Canvas::TextWidth(text, 1) + 12;
    };
    entry(DoorColour, "DOOR");
    entry(RedKeyColour, "RED KEY");
    entry(ElevatorColour, "ELEVATOR");
    entry(SwitchColour, "SWITCH");
    entry(ScreenColour, "SCREEN");
    entry(NomColour, "NOM");
    entry(EyeColour, "EYE");
    entry(HealthColour, "MEDKIT");
    entry(AmmoColour, "AMMO");
    entry(ArmourColour, "ARMOUR");
    entry(LootColour, "LOOT TABLE");
    entry(ExitColour, "EXIT");
    entry(RouteColour, "ROUTE");
    entry(AreaColour, "AREA");
}

} // namespace

Vector2 MapPicture::ToPixel(const MapData& map, Vector2 point)
{
    return {(point.x - map.boundsMin.x) * PixelsPerUnit + Margin, (map.boundsMax.y - point.y) * PixelsPerUnit + Margin};
}

Image MapPicture::Draw(const MapData& map, const std::vector<RouteStep>& route)
{
    const float width = std::isfinite(map.boundsMax.x - map.boundsMin.x) ? map.boundsMax.x - map.boundsMin.x : 0.0f;
    const float height = std::isfinite(map.boundsMax.y - map.boundsMin.y) ? map.boundsMax.y - map.boundsMin.y : 0.0f;
    const int pixelsWide = std::max(720, static_cast<int>(std::ceil(width * PixelsPerUnit)) + 2 * Margin);
    const int pixelsHigh = static_cast<int>(std::ceil(height * PixelsPerUnit)) + 2 * Margin + LegendHeight;
    Canvas canvas(pixelsWide, pixelsHigh, Background);
    if (width > 0.0f && height > 0.0f) {
        DrawSectors(canvas, map);
        DrawSegments(canvas, map);
        DrawAreas(canvas, map);
        DrawRoute(canvas, map, route);
        DrawEntities(canvas, map);
        DrawLabels(canvas, map);
        DrawStart(canvas, map);
    }
    canvas.Text(MapPicture::Margin, 6, 2, Label(map.name), LabelColour);
    DrawLegend(canvas);
    return canvas.ToImage();
}

} // namespace mirefell::maptool
