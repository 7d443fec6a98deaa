#include "gameplay/Item.h"

#include <algorithm>
#include <cmath>

#include "gameplay/AmmoType.h"
#include "gameplay/Artifact.h"
#include "gameplay/Consumable.h"
#include "gameplay/Weapon.h"
#include "render/Painter.h"

namespace mirefell
{

namespace
{

constexpr Color Cyan{0.0f, 1.0f, 1.0f, 1.0f};
constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};

void AddWeaponLines(const WeaponData& data, std::vector<TooltipLine>& lines)
{
    // lround rounds halves away from zero: 12.5 shows as 13, 3.5 as 4.
    std::wstring damage = L"Damage: " + std::to_wstring(std::lround(data.damage));
    if (data.weaponClass == WeaponClass::Ranged && data.fireMode == FireMode::Hitscan && data.hitscan.pellets > 1)
        damage += L" (x" + std::to_wstring(data.hitscan.pellets) + L")";
    lines.push_back({White, damage});
    if (data.weaponClass == WeaponClass::Ranged)
        lines.push_back({White, L"Ammo type: " + GetAmmoTypeName(data.ammoType)});
}

void AddEquipLines(bool equipped, std::vector<TooltipLine>& lines)
{
    lines.push_back({White, L""});
    lines.push_back({Cyan, equipped ? L"Right-click to unequip" : L"Right-click to equip"});
}

// The text as the tooltip draws it: on one line. A name or description read
// from a save may hold line breaks and other control characters, which the
// font would follow down out of the box; each shows as a space.
std::wstring OnOneLine(const std::wstring& text)
{
    std::wstring shown = text;
    for (wchar_t& c : shown) {
        const auto code = static_cast<uint32_t>(c);
        if (code < 0x20 || (code >= 0x7F && code < 0xA0) || code == 0x2028 || code == 0x2029)
            c = L' ';
    }
    return shown;
}

} // namespace

Item::Item() : id(NewGuid()) {}

std::vector<TooltipLine> Item::GetTooltipLines(const Item& item, bool equipped)
{
    std::vector<TooltipLine> lines;
    lines.push_back({Cyan, item.name});
    lines.push_back({White, GetItemCategoryName(item.category)});
    lines.push_back({White, L""});
    // The kind's own lines follow what the object is; a save file cannot make
    // a consumable pose as a weapon here.
    if (const auto* weapon = dynamic_cast<const Weapon*>(&item)) {
        AddWeaponLines(weapon->data, lines);
        AddEquipLines(equipped, lines);
    } else if (const auto* artifact = dynamic_cast<const Artifact*>(&item)) {
        lines.push_back({White, artifact->line1});
        if (!artifact->line2.empty())
            lines.push_back({White, artifact->line2});
        AddEquipLines(equipped, lines);
    } else if (const auto* consumable = dynamic_cast<const Consumable*>(&item)) {
        lines.push_back({White, consumable->description});
        lines.push_back({White, L""});
        lines.push_back({Cyan, L"Right-click to use"});
    }
    return lines;
}

void Item::DrawTooltip(Painter* painter, const Item& item, bool equipped, Vector2 anchor)
{
    constexpr float Padding = 10.0f;
    std::vector<TooltipLine> lines = GetTooltipLines(item, equipped);
    for (TooltipLine& line : lines)
        line.text = OnOneLine(line.text);
    const float lineHeight = painter->GetLineHeight(0);
    float widest = 0.0f;
    for (const TooltipLine& line : lines)
        widest = std::max(widest, painter->fonts.at(0)->MeasureString(line.text.c_str()).x);

    const Vector2 size(widest + 2 * Padding, static_cast<float>(lines.size()) * lineHeight + 2 * Padding);
    const Vector2 position(anchor.x - Padding - size.x, std::max(anchor.y - size.y * 0.5f, 2 * painter->margin));
    painter->FillRectangle(position, size, Color(0.0f, 0.0f, 0.0f, 1.0f));
    Vector2 linePosition(position.x + size.x * 0.5f, position.y + Padding);
    for (const TooltipLine& line : lines) {
        painter->DrawText(0, false, linePosition, line.text.c_str(), line.color, 2, 1, true);
        linePosition.y += lineHeight;
    }
}

} // namespace mirefell
