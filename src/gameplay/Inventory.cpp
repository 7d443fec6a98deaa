#include "gameplay/Inventory.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace mirefell
{

Inventory::Inventory()
{
    BuildGrid();
}

void Inventory::BuildGrid()
{
    cells.clear();
    for (int32_t row = 0; row < pageHeight * pageCount; ++row)
        cells.emplace_back(width);
    freeCellsOfPage.assign(static_cast<size_t>(pageCount), width * pageHeight);
}

void Inventory::AddPage()
{
    for (int32_t row = 0; row < pageHeight; ++row)
        cells.emplace_back(width);
    freeCellsOfPage.push_back(width * pageHeight);
    ++pageCount;
}

int32_t Inventory::GetPageCount() const
{
    return pageCount;
}

int32_t Inventory::PageOfRow(int32_t row) const
{
    return row / pageHeight;
}

int32_t Inventory::EndRowOfPage(int32_t row) const
{
    const int32_t pageStart = row / pageHeight * pageHeight; // never further from zero than row
    if (pageStart > std::numeric_limits<int32_t>::max() - pageHeight)
        return std::numeric_limits<int32_t>::max();
    return pageStart + pageHeight;
}

int32_t Inventory::GetWidth() const
{
    return width;
}

int32_t Inventory::GetPageHeight() const
{
    return pageHeight;
}

const Inventory::Grid& Inventory::GetGrid() const
{
    return cells;
}

const Inventory::ItemList& Inventory::GetItems() const
{
    return items;
}

bool Inventory::FitsShape(int32_t x, int32_t y, int32_t w, int32_t h) const
{
    if (x < 0 || y < 0 || w < 1 || h < 1 || w > width || h > pageHeight)
        return false;
    // Compared within the page, so no sum can pass the largest int: the
    // rectangle ends inside the columns and above the page's end.
    return x <= width - w && y % pageHeight <= pageHeight - h;
}

bool Inventory::IsFree(int32_t x, int32_t y, int32_t w, int32_t h) const
{
    for (int32_t row = y; row < y + h; ++row)
        for (int32_t column = x; column < x + w; ++column)
            if (!cells[row][column].IsEmpty())
                return false;
    return true;
}

bool Inventory::CanPlace(int32_t x, int32_t y, int32_t w, int32_t h) const
{
    if (!FitsShape(x, y, w, h) || PageOfRow(y) >= pageCount)
        return false;
    return IsFree(x, y, w, h);
}

bool Inventory::CanPlaceWithSwap(int32_t x, int32_t y, int32_t w, int32_t h, GUID& swap) const
{
    swap = GUID{};
    if (!FitsShape(x, y, w, h) || PageOfRow(y) >= pageCount)
        return false;
    for (int32_t row = y; row < y + h; ++row) {
        for (int32_t column = x; column < x + w; ++column) {
            const GUID& cell = cells[row][column];
            if (cell.IsEmpty())
                continue;
            if (swap.IsEmpty())
                swap = cell;
            else if (cell != swap)
                return false;
        }
    }
    return true;
}

bool Inventory::FindFreePlaceInPage(int32_t page, int32_t w, int32_t h, int32_t& x, int32_t& y) const
{
    if (page < 0 || page >= pageCount || w < 1 || h < 1 || w > width || h > pageHeight)
        return false;
    if (freeCellsOfPage[static_cast<size_t>(page)] < w * h)
        return false; // a full page is passed over without reading its cells
    for (int32_t row = page * pageHeight; row <= (page + 1) * pageHeight - h; ++row) {
        for (int32_t column = 0; column <= width - w; ++column) {
            if (IsFree(column, row, w, h)) {
                x = column;
                y = row;
                return true;
            }
        }
    }
    return false;
}

void Inventory::FindFreePlace(int32_t w, int32_t h, int32_t& x, int32_t& y)
{
    for (int32_t page = 0; page < pageCount; ++page)
        if (FindFreePlaceInPage(page, w, h, x, y))
            return;
    x = 0;
    y = pageHeight * pageCount;
    AddPage();
}

void Inventory::FillCells(int32_t x, int32_t y, int32_t w, int32_t h, const GUID& id)
{
    int32_t& freeCells = freeCellsOfPage[static_cast<size_t>(PageOfRow(y))]; // the rectangle is on one page
    for (int32_t row = y; row < y + h; ++row) {
        for (int32_t column = x; column < x + w; ++column) {
            GUID& cell = cells[row][column];
            freeCells += (id.IsEmpty() ? 1 : 0) - (cell.IsEmpty() ? 1 : 0);
            cell = id;
        }
    }
}

void Inventory::CheckSize(const Item& item) const
{
    if (item.width < 1 || item.height < 1 || item.width > width || item.height > pageHeight)
        throw std::invalid_argument("item does not fit an inventory page");
}

void Inventory::AddItem(std::unique_ptr<Item> item)
{
    CheckSize(*item);
    int32_t x = 0;
    int32_t y = 0;
    FindFreePlace(item->width, item->height, x, y);
    AddItemAt(x, y, std::move(item));
}

void Inventory::AddItemAt(int32_t x, int32_t y, std::unique_ptr<Item> item)
{
    CheckSize(*item);
    const int32_t w = item->width;
    const int32_t h = item->height;
    bool usable = FitsShape(x, y, w, h) && PageOfRow(y) < MaxPages;
    if (usable) {
        while (PageOfRow(y) >= pageCount)
            AddPage();
        usable = IsFree(x, y, w, h);
    }
    // Not through AddItem: a derived inventory has already seen this item.
    if (!usable)
        FindFreePlace(w, h, x, y);
    item->x = x;
    item->y = y;
    FillCells(x, y, w, h, item->id);
    const GUID id = item->id;
    items.push_back(std::move(item));
    itemsById.emplace(id, std::prev(items.end()));
}

std::unique_ptr<Item> Inventory::RemoveItem(const GUID& id)
{
    const auto found = FindById(id);
    if (found == itemsById.end())
        throw std::runtime_error("item not found");
    std::unique_ptr<Item> item = std::move(*found->second);
    items.erase(found->second);
    itemsById.erase(found);
    FillCells(item->x, item->y, item->width, item->height, GUID{});
    return item;
}

Inventory::ItemIndex::const_iterator Inventory::FindById(const GUID& id) const
{
    // Equal ids keep their order of addition, and lookups answer the first,
    // as a search of the list would.
    const auto first = itemsById.lower_bound(id);
    return first != itemsById.end() && first->first == id ? first : itemsById.end();
}

Item* Inventory::FindByName(const std::string& textureId) const
{
    for (const auto& item : items)
        if (item->textureId == textureId)
            return item.get();
    return nullptr;
}

Item* Inventory::GetItem(const GUID& id) const
{
    const auto found = FindById(id);
    if (found == itemsById.end())
        throw std::runtime_error("item not found");
    return found->second->get();
}

bool Inventory::ItemAtCell(int32_t x, int32_t y, Item*& item) const
{
    if (x < 0 || y < 0 || x >= width || y >= pageHeight * pageCount)
        return false;
    const GUID& cell = cells[y][x];
    if (cell.IsEmpty())
        return false;
    item = GetItem(cell);
    return true;
}

} // namespace mirefell
