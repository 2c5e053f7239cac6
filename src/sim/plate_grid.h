// The nutrient grid and the occupancy marks over the 460-by-460 plate.
//
// Both grids have (plateWidth + 29) by (plateHeight + 29) signed 16-bit cells; cell
// (x, y) is element x * (plateHeight + 29) + y.  Plate set-up writes the cells with
// 0 <= x, y <= plate size; the margin beyond is allocated, stays 0 and is never used.
//
// PlateGrid values: -1 outside the round plate, 0 bare plate, n > 0 nutrient level.
// CreatureGrid values: 0, or kind + 1 of the last creature that ended its move on the
// cell in the last creature step.
#pragma once

#include <cstdint>
#include <vector>

namespace vivarix {

struct Grid16 {
    std::int32_t columns = 0;  // x range 0 .. columns - 1
    std::int32_t rows = 0;     // y range 0 .. rows - 1
    std::vector<std::int16_t> cells;
};

using PlateGrid = Grid16;
using CreatureGrid = Grid16;

// Frees the previous cells and allocates columns by rows zero cells.
void allocateGrid(Grid16& grid, std::int32_t columns, std::int32_t rows);

inline std::int32_t cellIndex(const Grid16& grid, std::int32_t x, std::int32_t y) {
    return x * grid.rows + y;
}

inline bool insideGrid(const Grid16& grid, std::int32_t x, std::int32_t y) {
    return x >= 0 && y >= 0 && x < grid.columns && y < grid.rows;
}

// Unchecked access; callers keep (x, y) inside the grid.
inline std::int16_t& cellAt(Grid16& grid, std::int32_t x, std::int32_t y) {
    return grid.cells[static_cast<std::size_t>(cellIndex(grid, x, y))];
}
inline std::int16_t cellAt(const Grid16& grid, std::int32_t x, std::int32_t y) {
    return grid.cells[static_cast<std::size_t>(cellIndex(grid, x, y))];
}

// The nutrient on the plate: the sum of the cells above 0.
std::int64_t nutrientTotal(const Grid16& grid);

// Checked read: positions outside the allocated grid read as -1 (off the plate).
inline std::int16_t cellOrOff(const Grid16& grid, std::int32_t x, std::int32_t y) {
    return insideGrid(grid, x, y) ? cellAt(grid, x, y) : std::int16_t{-1};
}

}  // namespace vivarix
