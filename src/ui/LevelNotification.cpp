// LevelNotification: the banner's fade and its two lines.
#include "ui/LevelNotification.h"

#include "gameplay/GameSaveManager.h"
#include "render/Painter.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/LevelBannerFlag.h"
#include "shell/Levels.h"

namespace mirefell
{

namespace
{

constexpr int32_t NumberFont = 1;
constexpr int32_t NameFont = 3;
constexpr int32_t BottomLeft = 7;
constexpr int32_t AlignStart = 1;
constexpr float NameShiftLeft = 10.0f;
constexpr float FadeSteps = 150.0f;

} // namespace

LevelNotification::LevelNotification(Painter* painter_) : BaseUIComponent(painter_)
{
    visible = showLevelBanner;
    if (showLevelBanner) {
        const LevelInfo& level = Levels::GetLevel(GameSaveManager::GetInstance().current.levelId);
        line1 = L"Level " + std::to_wstring(level.number);
        line2 = L"'" + level.displayName + L"'";
    }
    showLevelBanner = false;
}

LevelNotification::~LevelNotification() = default;

void LevelNotification::Update()
{
    if (!visible)
        return;
    if (countdown < 1) {
        visible = false;
        return;
    }
    const int32_t c = --countdown;
    if (c > FadeInStart)
        color = Color(0.0f, 0.0f, 0.0f, 0.0f);
    else if (c > FadeInEnd)
        color = Color(1.0f, 1.0f, 1.0f, static_cast<float>(FadeInStart - c) / FadeSteps);
    else if (c > FadeOutStart)
        color = Color(1.0f, 1.0f, 1.0f, 1.0f);
    else
        color = Color(1.0f, 1.0f, 1.0f, static_cast<float>(c) / FadeSteps);
}

void LevelNotification::Draw()
{
    if (!visible || inventoryWindowOpen)
        return;
    const float unit = painter->unitSize.y;
    const Vector2 at = painter->GetAnchorPoint(BottomLeft, 2.0f * painter->margin, -6.0f * unit);
    painter->DrawText(NumberFont, false, at, line1.c_str(), color, AlignStart, AlignStart, true);
    painter->DrawText(NameFont, false, at + Vector2(-NameShiftLeft, unit), line2.c_str(), color, AlignStart, AlignStart,
                      true);
}

} // namespace mirefell
