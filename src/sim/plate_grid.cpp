#include "sim/plate_grid.h"

namespace vivarix {

void allocateGrid(Grid16& grid, std::int32_t columns, std::int32_t rows) {
    grid.cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    grid.columns = columns;
    grid.rows = rows;
}

}  // namespace vivarix
