// Item: anything the player carries in the inventory. The three kinds are
// Weapon, Artifact and Consumable; an item is owned by the inventory that
// holds it (or, between reading a save and the player taking it over, by the
// save-game service) and is identified everywhere by its GUID.
//
// The tooltip's lines are computed and drawn here; the inventory window says
// where, and gives the painter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gameplay/ItemCategory.h"
#include "gameplay/TooltipLine.h"
#include "platform/Guid.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class Painter;

class Item
{
public:
    // A new item with a fresh random identity; the kinds set the category
    // and default size. A save file overwrites every field it stores.
    Item();
    virtual ~Item() = default;

    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    // The tooltip, top line first. `equipped` means equipped for a weapon
    // and active for an artifact. A category or ammunition type without a
    // display name throws "invalid map<K, T> key".
    static std::vector<TooltipLine> GetTooltipLines(const Item& item, bool equipped);
    // The tooltip in an opaque black box left of the anchor: its right edge
    // 10 pixels left of it, centred on it vertically but never above twice
    // the painter's margin; 10 pixels of padding; each line centred in
    // display font 0 with its black outline, one line height apart, on one
    // line whatever it holds (control characters show as spaces). Inside
    // the painter's batch.
    static void DrawTooltip(Painter* painter, const Item& item, bool equipped, Vector2 anchor);

    GUID id;
    ItemCategory category{};
    std::wstring name;     // display name; also what makes two items "the same"
    std::string textureId; // item identifier and icon texture, e.g. "item_boots"
    int32_t x = 0;         // top-left inventory cell
    int32_t y = 0;
    int32_t width = 1; // size in cells
    int32_t height = 1;
};

} // namespace mirefell
