// Automap: the zoom and texts of each update, and the map, header and legend
// of each frame the inventory is open.
#include "ui/Automap.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <iterator>

#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/gpu/Context.h"
#include "render/GraphicsDevice.h"
#include "render/LineBatch.h"
#include "render/Painter.h"
#include "shell/Input.h"
#include "shell/Levels.h"
#include "ui/HudState.h"
#include "world/AIRegionGraph.h"
#include "world/EntityGridObject.h"
#include "world/GridObject.h"
#include "world/SectorGraph.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

constexpr int32_t TopLeft = 1;
constexpr int32_t TextFont = 0;
constexpr int32_t AlignStart = 1;
constexpr int32_t AlignMiddle = 2;
constexpr int32_t AlignEnd = 3;
constexpr size_t TextCapacity = 256;
constexpr float DegreesToRadians = 0.017453292f;
constexpr float ArrowScale = 3.0f;
constexpr float LegendIconSize = 24.0f;
constexpr const char* PowerupIcon = "random_powerup";
constexpr const char* RandomPowerupName = "powerup";
constexpr const wchar_t* NoticeText = L"Not available on this difficulty";
constexpr const wchar_t* LegendText = L"Random powerup - Weapon, Artifact or Consumable";

constexpr Color Background{0.0f, 0.0f, 0.0f, 0.75f};
constexpr Color SectorColour{0.531049f, 0.531049f, 0.531049f, 1.0f}; // display 0.75
constexpr Color OpenedDoorColour{0.531049f, 0.531049f, 0.0f, 1.0f};  // display (0.75, 0.75, 0)
constexpr Color ArrowColour{1.0f, 1.0f, 0.0f, 1.0f};
constexpr Color IconTint{1.0f, 1.0f, 0.0f, 1.0f};
constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};

const GameSave& CurrentSave()
{
    return GameSaveManager::GetInstance().current;
}

bool OnHardestDifficulty()
{
    return CurrentSave().difficulty == GameDifficulty::Masochistic;
}

// A closed outline through the vertices, in order.
void AddOutline(LineBatch& lines, Automap& map, const std::vector<Vector2>& vertices, const Color& colour)
{
    const size_t n = vertices.size();
    for (size_t i = 0; i < n; ++i) {
        const Vector2& from = vertices[i];
        const Vector2& to = vertices[(i + 1) % n];
        lines.AddLine(map.MapPoint(from.x, from.y), map.MapPoint(to.x, to.y), colour);
    }
}

} // namespace

Automap::Automap(Painter* painter_) : BaseUIComponent(painter_), lineBatch(painter_->lineBatch.get())
{
    titleText.reserve(TextCapacity);
    modeText.reserve(TextCapacity);
}

Automap::~Automap() = default;

Vector2 Automap::GetPosition()
{
    return painter->GetAnchorPoint(TopLeft, 2.0f * painter->margin, 3.0f * painter->margin + painter->unitSize.x);
}

Vector2 Automap::GetSize()
{
    const float unit = painter->unitSize.x;
    // Below about 414 pixels of screen width the formula leaves no room; the
    // inset viewport keeps one pixel, and so does the map.
    const float width = std::max(1.0f, static_cast<float>(ScreenWidth) - 10.0f * unit - 6.0f * painter->margin);
    return {width, 10.0f * unit};
}

Vector2 Automap::MapPoint(float x, float z)
{
    const Vector2 size = GetSize();
    return {(x - centre.x) * zoom + size.x / 2.0f, (z - centre.y) * zoom + size.y / 2.0f};
}

Vector2 Automap::IconCentre(float x, float z)
{
    const Vector2 half = GetSize() * 0.5f;
    const Vector2 point = MapPoint(x, z);
    return half + Vector2(std::clamp(point.x - half.x, -half.x, half.x), std::clamp(point.y - half.y, -half.y, half.y));
}

void Automap::Update()
{
    const Player* player = PlayerOf(context);
    if (!player)
        return;
    if (!OnHardestDifficulty()) {
        centre = {player->position.x, player->position.z};
        const int32_t notch = Input::GetInstance().wheel;
        if (notch != 0)
            zoom = std::clamp(zoom + (notch > 0 ? ZoomStep : -ZoomStep), MinZoom, MaxZoom);
    }
    RefreshTitleText();
    RefreshModeText();
}

void Automap::RefreshTitleText()
{
    const GameSave& save = CurrentSave();
    if (levelLabel.empty() || labelLevelId != save.levelId) {
        levelLabel = GameSaveManager::GetLevelLabel(Levels::GetLevel(save.levelId));
        labelLevelId = save.levelId;
    }
    const int64_t seconds = PlayerOf(context)->levelClock.ElapsedSeconds();
    wchar_t clock[32];
    std::swprintf(clock, std::size(clock), L" - %02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds % 3600 / 60), static_cast<long long>(seconds % 60));
    titleText.assign(levelLabel);
    titleText.append(clock);
}

void Automap::RefreshModeText()
{
    const GameSave& save = CurrentSave();
    const int32_t key = static_cast<int32_t>(save.difficulty) * 16 + (save.cheater ? 8 : 0) + (save.blackout ? 4 : 0) +
                        (save.permadeath ? 2 : 0) + (save.permadead ? 1 : 0);
    if (key == modeKey)
        return;
    modeText.assign(GameSaveManager::GetModeLabel(save));
    modeKey = key;
}

void Automap::DrawMap()
{
    const Vector2 size = GetSize();
    if (!PlayerOf(context) || !context->aiRegions) {
        // No level to map yet.
        DeviceContext->RSSetViewports(1, &FrameViewport);
        return;
    }
    if (OnHardestDifficulty()) {
        DrawNotice(size);
    } else {
        DrawBackground(size);
        lineBatch->lines.clear();
        AddSectorOutlines();
        AddArrow(size);
        lineBatch->Draw();
        DrawPowerupIcons();
    }
    DeviceContext->RSSetViewports(1, &FrameViewport);
    DrawTexts();
}

void Automap::DrawNotice(Vector2 size)
{
    painter->BeginWithShader();
    painter->FillRectangle({0.0f, 0.0f}, size, Background);
    painter->DrawText(TextFont, false, size * 0.5f, NoticeText, White, AlignMiddle, AlignMiddle, true);
    painter->EndBatch();
}

void Automap::DrawBackground(Vector2 size)
{
    painter->BeginWithShader();
    painter->FillRectangle({0.0f, 0.0f}, size, Background);
    painter->EndBatch();
}

void Automap::AddSectorOutlines()
{
    World& world = *context;
    const std::map<int32_t, MapSector*>& sectors = world.map.sectorsById;
    for (const bool doors : {false, true})
        for (const auto& [regionId, region] : world.aiRegions->regions)
            for (const uint32_t sectorId : region.region->sectors) {
                const auto found = sectors.find(static_cast<int32_t>(sectorId));
                if (found == sectors.end())
                    continue; // every region is built from the map's sectors
                const MapSector& sector = *found->second;
                if (!doors && !sector.door)
                    AddOutline(*lineBatch, *this, sector.vertices, SectorColour);
                else if (doors && sector.door && sector.doorOpen)
                    AddOutline(*lineBatch, *this, sector.vertices, OpenedDoorColour);
            }
}

void Automap::AddArrow(Vector2 size)
{
    const Player& player = *PlayerOf(context);
    const float s = ArrowScale * player.halfExtents.x;
    const Vector2 middle = size * 0.5f;
    Vector2 corners[3];
    const float angles[3] = {450.0f - player.yaw, 300.0f - player.yaw, 240.0f - player.yaw};
    for (int i = 0; i < 3; ++i) {
        const float b = angles[i] * DegreesToRadians;
        corners[i] = Vector2(std::sin(b) * s, std::cos(b) * s) + middle;
    }
    lineBatch->AddLine(corners[0], corners[1], ArrowColour);
    lineBatch->AddLine(corners[1], corners[2], ArrowColour);
    lineBatch->AddLine(corners[2], corners[0], ArrowColour);
}

void Automap::DrawPowerupIcons()
{
    const float margin = painter->margin;
    painter->BeginWithShader();
    context->ForEachObject(GridObjectType::Powerup, [&](GridObject* object) {
        const auto* entity = dynamic_cast<const EntityGridObject*>(object);
        if (!entity || !entity->record || entity->record->entityType.name != RandomPowerupName)
            return;
        const Vector2 corner = IconCentre(object->position.x, object->position.z) - Vector2(margin, margin) * 0.5f;
        painter->DrawTexture(corner, {margin, margin}, PowerupIcon, IconTint);
    });
    painter->EndBatch();
}

void Automap::DrawTexts()
{
    const Vector2 p = GetPosition();
    const Vector2 size = GetSize();
    const float headerY = p.y - (painter->GetLineHeight(TextFont) + painter->margin);
    painter->BeginWithShader();
    painter->DrawText(TextFont, false, {p.x, headerY}, titleText.c_str(), White, AlignStart, AlignStart, true);
    // On a narrow screen a long mode (both modifiers) would run into the
    // title; it then goes below the map, right-aligned, and the legend one
    // line further down.
    const SpriteFont& font = *painter->fonts[TextFont];
    const float titleWidth = font.MeasureString(titleText.c_str()).x;
    const bool modeInHeader = titleWidth + painter->margin + font.MeasureString(modeText.c_str()).x <= size.x;
    float y = p.y + size.y + painter->margin;
    if (modeInHeader) {
        painter->DrawText(TextFont, false, {p.x + size.x, headerY}, modeText.c_str(), White, AlignEnd, AlignStart,
                          true);
    } else {
        painter->DrawText(TextFont, false, {p.x + size.x, y}, modeText.c_str(), White, AlignEnd, AlignStart, true);
        y += painter->GetLineHeight(TextFont);
    }
    if (!OnHardestDifficulty()) {
        painter->DrawTexture({p.x + 4.0f, y + 4.0f}, {LegendIconSize, LegendIconSize}, PowerupIcon, IconTint);
        painter->DrawText(TextFont, false, {p.x + 40.0f, y}, LegendText, White, AlignStart, AlignStart, true);
    }
    painter->EndBatch();
}

} // namespace mirefell
