// TestDecalGrid: a grid of 16-unit decal cells whose first cell starts at
// the origin, for the blood decals and the particles without a World.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "render/IDecalGrid.h"

namespace mirefell::testing
{

class TestDecalGrid final : public IDecalGrid
{
public:
    static constexpr float CellSize = 16.0f;

    TestDecalGrid(int32_t columns_, int32_t rows_)
        : columns(columns_), rows(rows_), cells(static_cast<size_t>(columns_ * rows_))
    {}

    DecalCell* FindDecalCell(const Vector3& point) override
    {
        const float column = std::floor(point.x / CellSize);
        const float row = std::floor(point.z / CellSize);
        if (!(column >= 0.0f && column < static_cast<float>(columns) && row >= 0.0f && row < static_cast<float>(rows)))
            return nullptr;
        return &CellAt(static_cast<int32_t>(column), static_cast<int32_t>(row));
    }
    void ReserveDecalCells(size_t perCell) override
    {
        for (DecalCell& cell : cells)
            cell.decals.reserve(perCell);
    }
    DecalCell& CellAt(int32_t column, int32_t row) { return cells[static_cast<size_t>(row * columns + column)]; }

    int32_t columns;
    int32_t rows;
    std::vector<DecalCell> cells; // row by row
};

} // namespace mirefell::testing
