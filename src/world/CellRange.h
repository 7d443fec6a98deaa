// CellRange: the cells of the World's grid that a 2D box of map points
// covers, as World::GetCellRange computes it. The indices are whole numbers
// held as floats (the grid registration compares them exactly) and are
// inclusive. A range whose box misses the map, or any range over an empty
// grid, is invalid: it names no cell, and queries over it find nothing.
#pragma once

#include <cstdint>
#include <limits>

#include "platform/math/Vector.h"

namespace mirefell
{

struct CellRange
{
    bool valid = false;
    // The box of the points; empty when the range is invalid.
    Vector2 boxMin{std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity()};
    Vector2 boxMax{-std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
    float firstColumn = 0.0f;
    float firstRow = 0.0f;
    float lastColumn = 0.0f;
    float lastRow = 0.0f;
};

// The cell indices of a range as integers (truncated, as the grid walks
// them); an invalid range gives the empty block, which holds no cell.
struct CellBlock
{
    int32_t firstColumn = 0;
    int32_t firstRow = 0;
    int32_t lastColumn = -1;
    int32_t lastRow = -1;

    constexpr CellBlock() = default;
    constexpr explicit CellBlock(const CellRange& range)
    {
        if (!range.valid)
            return;
        firstColumn = static_cast<int32_t>(range.firstColumn);
        firstRow = static_cast<int32_t>(range.firstRow);
        lastColumn = static_cast<int32_t>(range.lastColumn);
        lastRow = static_cast<int32_t>(range.lastRow);
    }
    constexpr bool Empty() const { return lastColumn < firstColumn || lastRow < firstRow; }
};

} // namespace mirefell
