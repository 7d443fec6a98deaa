// DraggedItem: the item the player is moving in the inventory window. While
// it holds an item it is visible and draws the item's icon with its top-left
// corner at the mouse, over every other HUD widget (it is the last of the
// HUD list). The held item is owned here and nowhere else: it has left the
// inventory, keeping its old cell in x and y, until it is placed or handed
// back; destroying the widget destroys an item still held.
#pragma once

#include <memory>

#include "ui/BaseUIComponent.h"

namespace mirefell
{

class Inventory;
class Item;

class DraggedItem : public BaseUIComponent
{
public:
    // Hidden, holding nothing.
    explicit DraggedItem(Painter* painter_);
    ~DraggedItem() override;

    // While visible: the drawing point follows the mouse.
    void Update() override;
    void Draw() override;

    // Hides the widget and hands the held item (null when none) to the caller.
    std::unique_ptr<Item> TakeItem();
    // Holds the item (destroying one held before) and shows the widget.
    void SetItem(std::unique_ptr<Item> item_);
    // While visible: hides the widget and puts the item back on its old cell,
    // or at the inventory's first free place (which may add a page) when the
    // old cell is taken.
    void ReturnToInventory(Inventory& inventory);
    const Item* GetItem() const { return item.get(); }

private:
    std::unique_ptr<Item> item;
};

} // namespace mirefell
