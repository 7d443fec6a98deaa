// Inventory: a paged grid of cells, ten wide and ten rows to a page, that
// owns the items placed on it. Every cell holds the GUID of the item covering
// it or the empty GUID; an item covers exactly its own rectangle, all on one
// page. The grid grows by whole pages and never shrinks.
//
// The inventory window drives the placement queries with drag positions, so
// they accept any cell, including negative ones and rows past the last page,
// and simply answer "no". AddItemAt keeps the grid's invariant whatever it is
// given: a position the item cannot take goes through AddItem instead.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gameplay/Item.h"
#include "platform/Guid.h"

namespace mirefell
{

class Inventory
{
public:
    using ItemList = std::list<std::unique_ptr<Item>>;
    using Grid = std::vector<std::vector<GUID>>; // rows of cells; row r of page p is p * pageHeight + r

    static constexpr int32_t PageWidth = 10;  // cells across
    static constexpr int32_t PageHeight = 10; // rows to a page
    // The most pages a grid grows to for an explicit position; enough for
    // any game, small enough that a corrupt save cannot exhaust memory.
    static constexpr int32_t MaxPages = 100;

    Inventory();
    virtual ~Inventory() = default;

    Inventory(const Inventory&) = delete;
    Inventory& operator=(const Inventory&) = delete;

    // Places the item at the first free place, adding a page when no page
    // has room. Throws std::invalid_argument for an item larger than a page.
    virtual void AddItem(std::unique_ptr<Item> item);
    // Places the item with its top-left cell at (x, y), first adding pages
    // until row y exists. When the rectangle is outside the grid's columns,
    // negative, across a page break, beyond MaxPages or over another item,
    // the item goes to the first free place instead. Throws
    // std::invalid_argument for an item larger than a page.
    virtual void AddItemAt(int32_t x, int32_t y, std::unique_ptr<Item> item);
    // Every item, in order of addition.
    virtual const ItemList& GetItems() const;
    // Takes the item out and frees its cells; throws std::runtime_error
    // "item not found" when no item has that GUID.
    virtual std::unique_ptr<Item> RemoveItem(const GUID& id);
    // The first item whose textureId is `textureId`, or null.
    virtual Item* FindByName(const std::string& textureId) const;
    // Throws std::runtime_error "item not found" when absent.
    virtual Item* GetItem(const GUID& id) const;
    // Whether a cell holds an item, and which; false for cells off the grid.
    virtual bool ItemAtCell(int32_t x, int32_t y, Item*& item) const;

    virtual int32_t GetPageCount() const;
    virtual int32_t PageOfRow(int32_t row) const;
    // The first row of the page after the one holding `row`; the largest
    // int for the last page an int can number, whose end it cannot hold.
    virtual int32_t EndRowOfPage(int32_t row) const;
    virtual int32_t GetWidth() const;
    virtual int32_t GetPageHeight() const;
    virtual const Grid& GetGrid() const;

    // Whether a w x h item fits at (x, y): inside the columns and existing
    // rows, on one page, over free cells only.
    virtual bool CanPlace(int32_t x, int32_t y, int32_t w, int32_t h) const;
    // As CanPlace, but the rectangle may also be covered by parts of exactly
    // one item, returned in `swap` (empty when the rectangle is free).
    virtual bool CanPlaceWithSwap(int32_t x, int32_t y, int32_t w, int32_t h, GUID& swap) const;
    // The first free w x h place of a page, searching rows from the top and
    // columns from the left.
    virtual bool FindFreePlaceInPage(int32_t page, int32_t w, int32_t h, int32_t& x, int32_t& y) const;

protected:
    virtual void BuildGrid();
    // The first free place on any page; when none has room, column 0 of the
    // first row of a new page, which is added at once.
    virtual void FindFreePlace(int32_t w, int32_t h, int32_t& x, int32_t& y);
    virtual void FillCells(int32_t x, int32_t y, int32_t w, int32_t h, const GUID& id);
    virtual void AddPage();

    // Whether a w x h item could lie at (x, y) on a grid with enough pages.
    bool FitsShape(int32_t x, int32_t y, int32_t w, int32_t h) const;
    bool IsFree(int32_t x, int32_t y, int32_t w, int32_t h) const;
    // Throws std::invalid_argument for an item no page can hold.
    void CheckSize(const Item& item) const;
    using ItemIndex = std::multimap<GUID, ItemList::iterator>;
    // The first item added with that id, or the index's end.
    ItemIndex::const_iterator FindById(const GUID& id) const;

    ItemList items;
    Grid cells;
    // Beside the list and the grid, so that a large inventory (a save may
    // hold tens of thousands of items) is neither searched item by item for
    // an id nor cell by cell through full pages: each item by its id, in
    // order of addition among equal ids, and each page's free cells.
    ItemIndex itemsById;
    std::vector<int32_t> freeCellsOfPage;
    int32_t width = PageWidth;
    int32_t pageHeight = PageHeight;
    int32_t pageCount = 1;
};

} // namespace mirefell
