// DraggedItem: the held item's life between lift and drop.
#include "ui/DraggedItem.h"

#include "gameplay/Inventory.h"
#include "gameplay/Item.h"
#include "render/Painter.h"
#include "shell/Input.h"
#include "ui/ItemDrawing.h"

namespace mirefell
{

DraggedItem::DraggedItem(Painter* painter_) : BaseUIComponent(painter_)
{
    visible = false;
}

DraggedItem::~DraggedItem() = default;

void DraggedItem::Update()
{
    if (!visible)
        return;
    const Mouse::State& mouse = Input::GetInstance().mouseState;
    mousePosition = Vector2(static_cast<float>(mouse.x), static_cast<float>(mouse.y));
}

void DraggedItem::Draw()
{
    if (visible && item)
        DrawItemIcon(*painter, mousePosition, *item);
}

std::unique_ptr<Item> DraggedItem::TakeItem()
{
    visible = false;
    return std::move(item);
}

void DraggedItem::SetItem(std::unique_ptr<Item> item_)
{
    item = std::move(item_);
    visible = true;
}

void DraggedItem::ReturnToInventory(Inventory& inventory)
{
    if (!visible)
        return;
    std::unique_ptr<Item> held = TakeItem();
    if (!held)
        return;
    if (inventory.CanPlace(held->x, held->y, held->width, held->height)) {
        const int32_t x = held->x;
        const int32_t y = held->y;
        inventory.AddItemAt(x, y, std::move(held));
    } else {
        inventory.AddItem(std::move(held));
    }
}

} // namespace mirefell
