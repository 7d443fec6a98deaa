// InventoryWindow: the inventory screen of a level in play. It shows the
// player's PlayerInventory as a grid of 10 x 10 cells, one page at a time,
// with a page label and the page buttons "<" and ">" above its left end
// (only when there is more than one page) and the red and blue key slots
// above its right end. The grid's top-right corner stands 2m left of the
// screen's right edge and 3m + u below its top (u the painter's unit, m its
// margin).
//
// Mouse actions, on the player's real inventory (buttons act on the press):
//   - left on an item: lifts it (unequipped first) into the DraggedItem;
//   - left with an item held: drops it on free cells, or onto exactly one
//     other item, which is unequipped and becomes the held one (a swap);
//     anything else (two items in the way, off the grid or the page, outside
//     the window) leaves everything as it was;
//   - right on an item: uses it (weapons equip or put away, artifacts switch
//     on or off, a consumable takes effect and is used up), with a click;
//   - hovering an item shows its tooltip, unless an item is held.
// Closing the window (Hide) hands a held item back to the inventory, so no
// item is lost by closing it.
//
// The UIManager makes it hidden at every level load, with the DraggedItem it
// drives (not owned; the HUD list owns both), and shows and hides it with the
// automap. The page shown survives closing and reopening.
#pragma once

#include <cstdint>
#include <string>

#include "ui/BaseUIComponent.h"

namespace mirefell
{

class DraggedItem;
class InventoryModeButton;
class InventoryModeLabel;
class Item;
class Player;
class PlayerInventory;

class InventoryWindow : public BaseUIComponent
{
public:
    // Hidden; the label and the two page buttons are its children.
    InventoryWindow(Painter* painter_, DraggedItem* draggedItem_);
    ~InventoryWindow() override;

    // Stores the World and takes its player's inventory (none without a
    // player). The children are not initialised: they read nothing of it.
    void Initialize(World* context_) override;
    // While visible: lays the page controls out, then acts on the mouse.
    void Update() override;
    // While visible: page controls, key slots, grid, the page's items, then
    // the hovered item's tooltip.
    void Draw() override;
    // Returns a held item to the inventory, then hides.
    void Hide() override;
    // The grid's top-left corner and its 10u x 10u size.
    Vector2 GetPosition() override;
    Vector2 GetSize() override;

    // "Page " + (page + 1) + "/" + page count.
    std::wstring PageLabelText() const;

    PlayerInventory* inventory = nullptr;
    Item* hoveredItem = nullptr; // the item under the mouse in the last update
    Vector2 tooltipAnchor;       // the hovered item's top-left corner on screen
    bool hoveredItemActive = false;
    DraggedItem* draggedItem;
    int32_t page = 0; // 0-based
    InventoryModeLabel* pageLabel;
    InventoryModeButton* prevButton;
    InventoryModeButton* nextButton;

private:
    // Places the label and the buttons, shows them only with two pages or
    // more, and updates them.
    void Layout();
    // The held item onto cells covered by exactly one item: they change
    // places. Nothing happens when the area leaves the page or covers more.
    void SwapDraggedItem(Player& player, int32_t column, int32_t row);
    // A press of the right button on an item: its use, and the click.
    void UseItem(Player& player, Item& item);
    // The press of the left button on an item: it leaves the grid.
    void LiftItem(Player& player, Item& item);
    void DrawKeyIcons(const Player& player);
    void DrawGrid();
    void DrawItems(const Player& player);
    void DrawItem(const Item& item, bool hovered_, bool active, int32_t ammunition);
    // An equipped weapon or an artifact switched on.
    static bool IsActive(const Player& player, const Item& item);
    // The item's top-left corner on screen (its row taken within its page).
    Vector2 ItemCorner(const Item& item);
};

} // namespace mirefell
