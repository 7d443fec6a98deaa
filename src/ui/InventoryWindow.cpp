// InventoryWindow: the grid's layout, the mouse actions on the player's
// inventory and the drawing of the window.
#include "ui/InventoryWindow.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "gameplay/Artifact.h"
#include "gameplay/Item.h"
#include "gameplay/Player.h"
#include "gameplay/PlayerInventory.h"
#include "gameplay/Weapon.h"
#include "render/Painter.h"
#include "shell/Input.h"
#include "shell/SoundManager.h"
#include "ui/DraggedItem.h"
#include "ui/HudState.h"
#include "ui/InventoryModeButton.h"
#include "ui/InventoryModeLabel.h"
#include "ui/ItemDrawing.h"

namespace mirefell
{

namespace
{

constexpr int32_t TopRight = 3;
constexpr int32_t AlignStart = 1;
constexpr float PageButtonWidth = 16.0f;
// The "<" button's place right of the grid's left edge, and the room kept
// between a label too long for it and the button then moved after it.
constexpr float PageButtonOffset = 100.0f;
constexpr float PageLabelGap = 8.0f;
constexpr float ButtonTextOffset = -2.0f;
constexpr float ShadowOffset = 4.0f;
constexpr const char* ClickSound = "inventory_click";
constexpr const char* RedKeyIcon = "item_red_key";
constexpr const char* BlueKeyIcon = "item_blue_key";

constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Color Black{0.0f, 0.0f, 0.0f, 1.0f};
constexpr Color EmptyCell{0.0f, 0.0f, 0.0f, 0.75f};
constexpr Color KeyShadow{0.0f, 0.0f, 0.0f, 0.75f};

// By item category 1 to 3 (all three alike); any other category reads black.
constexpr Color OccupiedCell{0.010309f, 0.047366f, 0.217638f, 1.0f}; // display (0.125, 0.25, 0.5)
constexpr Color HoveredCell{0.010309f, 0.115576f, 0.531049f, 1.0f};  // display (0.125, 0.375, 0.75)

Color CategoryColour(ItemCategory category, const Color& colour)
{
    switch (category) {
    case ItemCategory::Weapon:
    case ItemCategory::Artifact:
    case ItemCategory::Consumable:
        return colour;
    }
    return Black;
}

bool IsPressed(Mouse::ButtonStateTracker::ButtonState state)
{
    return state == Mouse::ButtonStateTracker::ButtonState::Pressed;
}

} // namespace

InventoryWindow::InventoryWindow(Painter* painter_, DraggedItem* draggedItem_)
    : BaseUIComponent(painter_), draggedItem(draggedItem_)
{
    visible = false;

    auto label = std::make_unique<InventoryModeLabel>(painter_);
    label->fontSizeId = 0;
    label->scaled = false;
    label->alignment = AlignStart;
    label->textProvider = [this] { return PageLabelText(); };
    pageLabel = label.get();

    auto previous = std::make_unique<InventoryModeButton>(painter_);
    previous->text = L"<";
    previous->isDisabled = [this] { return page < 1; };
    previous->onClick = [this] { --page; };
    prevButton = previous.get();

    auto next = std::make_unique<InventoryModeButton>(painter_);
    next->text = L">";
    next->isDisabled = [this] { return !inventory || page >= inventory->GetPageCount() - 1; };
    next->onClick = [this] { ++page; };
    nextButton = next.get();

    for (InventoryModeButton* button : {prevButton, nextButton}) {
        button->fontSizeId = 0;
        button->scaled = false;
        button->alignment = AlignStart;
        button->textOffsetX = ButtonTextOffset;
    }
    AddChild(std::move(label));
    AddChild(std::move(previous));
    AddChild(std::move(next));
}

InventoryWindow::~InventoryWindow() = default;

void InventoryWindow::Initialize(World* context_)
{
    context = context_;
    Player* player = PlayerOf(context);
    inventory = player ? &player->inventory : nullptr;
}

std::wstring InventoryWindow::PageLabelText() const
{
    const int32_t count = inventory ? inventory->GetPageCount() : 1;
    return L"Page " + std::to_wstring(page + 1) + L"/" + std::to_wstring(count);
}

Vector2 InventoryWindow::GetPosition()
{
    const float unit = painter->unitSize.x;
    const float width = inventory ? static_cast<float>(inventory->GetWidth()) : Inventory::PageWidth;
    return painter->GetAnchorPoint(TopRight, -2.0f * painter->margin - width * unit, 3.0f * painter->margin + unit);
}

Vector2 InventoryWindow::GetSize()
{
    const float unit = painter->unitSize.x;
    if (!inventory)
        return {Inventory::PageWidth * unit, Inventory::PageHeight * unit};
    return {static_cast<float>(inventory->GetWidth()) * unit, static_cast<float>(inventory->GetPageHeight()) * unit};
}

Vector2 InventoryWindow::ItemCorner(const Item& item)
{
    const float unit = painter->unitSize.x;
    const int32_t rowInPage = item.y % inventory->GetPageHeight();
    return GetPosition() + Vector2(static_cast<float>(item.x) * unit, static_cast<float>(rowInPage) * unit);
}

void InventoryWindow::Layout()
{
    const int32_t pages = inventory->GetPageCount();
    const float unit = painter->unitSize.x;
    const float margin = painter->margin;
    const Vector2 p = GetPosition();

    pageLabel->position = {p.x, p.y - unit};
    pageLabel->size = {3.0f * unit, unit};
    // A label of many pages ("Page 1/201") is wider than the room before
    // "<": the buttons then stand after it instead of under it. The width is
    // known once the painter's fonts are loaded.
    float buttonsX = p.x + PageButtonOffset;
    const size_t font = pageLabel->fontSizeId;
    if (font < painter->fonts.size() && painter->fonts[font])
        buttonsX =
            std::max(buttonsX, p.x + painter->fonts[font]->MeasureString(PageLabelText().c_str()).x + PageLabelGap);
    prevButton->position = {buttonsX, p.y - unit + margin};
    nextButton->position = {buttonsX + PageButtonWidth, p.y - unit + margin};
    prevButton->size = nextButton->size = {PageButtonWidth, unit / 2.0f};
    for (BaseUIComponent* child : {static_cast<BaseUIComponent*>(pageLabel), static_cast<BaseUIComponent*>(prevButton),
                                   static_cast<BaseUIComponent*>(nextButton)})
        child->visible = pages > 1;
    BaseUIComponent::Update();
}

void InventoryWindow::Update()
{
    Player* player = PlayerOf(context);
    if (!visible || !inventory || !player)
        return;
    Layout();

    const Input& input = Input::GetInstance();
    hovered = HitTestMouse(input.mouseState);
    hoveredItem = nullptr;
    const float unit = painter->unitSize.x;
    const int32_t column = static_cast<int32_t>(std::floor(mouseOffset.x / unit));
    const int32_t row = page * inventory->GetPageHeight() + static_cast<int32_t>(std::floor(mouseOffset.y / unit));
    const bool leftPressed = IsPressed(input.mouseTracker.leftButton);

    if (const Item* held = draggedItem->GetItem()) {
        if (!leftPressed || !hovered)
            return; // a press outside the grid does nothing
        if (inventory->CanPlace(column, row, held->width, held->height))
            inventory->AddItemAt(column, row, draggedItem->TakeItem());
        else
            SwapDraggedItem(*player, column, row);
        return;
    }

    Item* item = nullptr;
    if (!hovered || !inventory->ItemAtCell(column, row, item))
        return;
    if (IsPressed(input.mouseTracker.rightButton)) {
        UseItem(*player, *item);
    } else if (!leftPressed) {
        hoveredItem = item;
        tooltipAnchor = ItemCorner(*item);
        hoveredItemActive = IsActive(*player, *item);
    } else {
        LiftItem(*player, *item);
    }
}

void InventoryWindow::UseItem(Player& player, Item& item)
{
    if (item.category != ItemCategory::Weapon && item.category != ItemCategory::Artifact &&
        item.category != ItemCategory::Consumable)
        return;
    Item* used = inventory->GetItem(item.id);
    player.UseItem(used);
    if (used->category == ItemCategory::Consumable)
        inventory->RemoveItem(used->id); // used up: destroyed here
    SoundManager::GetInstance().PlaySound(ClickSound);
}

void InventoryWindow::LiftItem(Player& player, Item& item)
{
    player.UnequipItem(&item);
    draggedItem->SetItem(inventory->RemoveItem(item.id)); // keeps its old cell in x and y
}

void InventoryWindow::SwapDraggedItem(Player& player, int32_t column, int32_t row)
{
    const Item& held = *draggedItem->GetItem();
    GUID inTheWay;
    if (!inventory->CanPlaceWithSwap(column, row, held.width, held.height, inTheWay))
        return; // off the grid or the page, or over two items or more
    std::unique_ptr<Item> removed;
    if (!inTheWay.IsEmpty()) {
        removed = inventory->RemoveItem(inTheWay);
        player.UnequipItem(removed.get());
    }
    inventory->AddItemAt(column, row, draggedItem->TakeItem());
    if (removed)
        draggedItem->SetItem(std::move(removed));
}

void InventoryWindow::Hide()
{
    if (inventory && draggedItem->GetItem())
        draggedItem->ReturnToInventory(*inventory);
    visible = false;
}

bool InventoryWindow::IsActive(const Player& player, const Item& item)
{
    if (item.category == ItemCategory::Weapon)
        return player.equippedItem == &item;
    if (item.category == ItemCategory::Artifact) {
        const auto slot = player.artifacts.find(static_cast<uint32_t>(static_cast<const Artifact&>(item).number));
        return slot != player.artifacts.end() && slot->second != nullptr;
    }
    return false;
}

void InventoryWindow::Draw()
{
    const Player* player = PlayerOf(context);
    if (!visible || !inventory || !player)
        return;
    BaseUIComponent::Draw();
    DrawKeyIcons(*player);
    DrawGrid();
    DrawItems(*player);
    if (!draggedItem->GetItem() && hoveredItem)
        Item::DrawTooltip(painter, *hoveredItem, hoveredItemActive, tooltipAnchor);
}

void InventoryWindow::DrawKeyIcons(const Player& player)
{
    const float unit = painter->unitSize.x;
    const Vector2 p = GetPosition();
    const float right = p.x + GetSize().x;
    const Vector2 size{unit, unit};
    const struct
    {
        const char* icon;
        Vector2 slot;
        bool held;
    } keys[] = {{RedKeyIcon, {right - 2.0f * unit, p.y - unit}, player.hasRedKey},
                {BlueKeyIcon, {right - unit, p.y - unit}, player.hasBlueKey}};
    for (const auto& key : keys) {
        painter->DrawTexture(key.slot + Vector2(ShadowOffset, ShadowOffset), size, key.icon, KeyShadow);
        if (key.held)
            painter->DrawTexture(key.slot, size, key.icon, White);
    }
}

void InventoryWindow::DrawGrid()
{
    const float unit = painter->unitSize.x;
    const Vector2 p = GetPosition();
    const Vector2 cell{unit - ShadowOffset, unit - ShadowOffset};
    const Inventory::Grid& grid = inventory->GetGrid();
    const int32_t height = inventory->GetPageHeight();
    for (int32_t c = 0; c < inventory->GetWidth(); ++c)
        for (int32_t r = 0; r < height; ++r) {
            const GUID& id = grid[static_cast<size_t>(page * height + r)][static_cast<size_t>(c)];
            const Vector2 corner = p + Vector2(static_cast<float>(c) * unit, static_cast<float>(r) * unit);
            const Vector2 shadow = corner + Vector2(ShadowOffset, ShadowOffset);
            if (id.IsEmpty()) {
                painter->FillRectangle(shadow, cell, EmptyCell);
                continue;
            }
            const Item* item = inventory->GetItem(id);
            painter->FillRectangle(shadow, cell, Black);
            painter->FillRectangle(corner, cell, CategoryColour(item->category, OccupiedCell));
        }
}

void InventoryWindow::DrawItems(const Player& player)
{
    for (const auto& item : inventory->GetItems()) {
        if (inventory->PageOfRow(item->y) != page)
            continue;
        int32_t ammunition = -1;
        if (item->category == ItemCategory::Weapon) {
            const WeaponData& data = static_cast<const Weapon&>(*item).data;
            if (data.weaponClass == WeaponClass::Ranged)
                ammunition = inventory->GetAmmo(data.ammoType);
        }
        DrawItem(*item, item.get() == hoveredItem, IsActive(player, *item), ammunition);
    }
}

void InventoryWindow::DrawItem(const Item& item, bool hovered_, bool active, int32_t ammunition)
{
    const float unit = painter->unitSize.x;
    const Vector2 q = ItemCorner(item);
    if (hovered_) {
        const Vector2 cell{unit - ShadowOffset, unit - ShadowOffset};
        for (int32_t i = 0; i < item.width; ++i)
            for (int32_t j = 0; j < item.height; ++j) {
                const Vector2 corner = q + Vector2(static_cast<float>(i) * unit, static_cast<float>(j) * unit);
                painter->FillRectangle(corner + Vector2(ShadowOffset, ShadowOffset), cell, Black);
                painter->FillRectangle(corner, cell, CategoryColour(item.category, HoveredCell));
            }
    }
    DrawItemIcon(*painter, q, item);
    if (active)
        DrawEquippedMarker(*painter, q, item);
    if (ammunition >= 0)
        DrawAmmoCount(*painter, q, item, ammunition);
}

} // namespace mirefell
