// MonsterHealthBar: reads the targeted monster each step and draws its row.
#include "ui/MonsterHealthBar.h"

#include <algorithm>
#include <cmath>

#include "gameplay/Player.h"
#include "render/Painter.h"
#include "shell/InventoryWindowFlag.h"
#include "ui/HudState.h"
#include "world/IMonster.h"

namespace mirefell
{

namespace
{

constexpr int32_t TopCentre = 2;
constexpr float HalfRowWidth = 138.0f;
constexpr float SegmentWidth = 10.0f;
constexpr float SegmentPitch = 14.0f;
constexpr float ShadowOffset = 4.0f;
constexpr Color SegmentShadow{0.0f, 0.0f, 0.0f, 0.75f};
constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};

} // namespace

MonsterHealthBar::MonsterHealthBar(Painter* painter_) : BaseUIComponent(painter_) {}

MonsterHealthBar::~MonsterHealthBar() = default;

int32_t MonsterHealthBar::ValueOf(float health, float maxHealth)
{
    // A maximum of 0 would divide into NaN or infinity, whose conversion to
    // an integer is undefined.
    if (!(maxHealth > 0.0f))
        return 0;
    const float share = health / maxHealth * static_cast<float>(Segments);
    if (std::isnan(share))
        return 0;
    return static_cast<int32_t>(std::clamp(share, -1.0f, static_cast<float>(Segments)));
}

void MonsterHealthBar::Update()
{
    const Player* player = PlayerOf(context);
    if (!player || IsMasochistic())
        return;
    // Every object the aiming query reports as a monster is an IMonster.
    auto* monster = dynamic_cast<IMonster*>(player->crosshairMonster);
    if (!monster) {
        visible = false;
        return;
    }
    visible = true;
    value = ValueOf(monster->GetHealth(), monster->GetMaxHealth());
}

namespace
{
float SegmentHeight(const Painter& painter)
{
    return static_cast<float>(static_cast<int32_t>(painter.unitSize.y * 0.25f));
}
Vector2 RowOrigin(const Painter& painter)
{
    return painter.GetAnchorPoint(TopCentre, -HalfRowWidth, 2.0f * painter.margin);
}
} // namespace

float MonsterHealthBar::RowLeft(const Painter& painter)
{
    return RowOrigin(painter).x;
}

float MonsterHealthBar::RowBottom(const Painter& painter)
{
    return RowOrigin(painter).y + SegmentHeight(painter) + ShadowOffset;
}

bool MonsterHealthBar::IsShown() const
{
    return !inventoryWindowOpen && visible && !IsMasochistic() && IsHudShown();
}

void MonsterHealthBar::Draw()
{
    if (!IsShown())
        return;
    const float height = SegmentHeight(*painter);
    const Vector2 origin = RowOrigin(*painter);
    for (int32_t i = 0; i < Segments; ++i) {
        const float x = origin.x + SegmentPitch * static_cast<float>(i);
        painter->FillRectangle(Vector2(x + ShadowOffset, origin.y + ShadowOffset), Vector2(SegmentWidth, height),
                               SegmentShadow);
        if (i <= value)
            painter->FillRectangle(Vector2(x, origin.y), Vector2(SegmentWidth, height), White);
    }
}

} // namespace mirefell
