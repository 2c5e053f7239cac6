#include "sim/plate_grid.h"

#include <algorithm>

namespace vivarix {

void allocateGrid(Grid16& grid, std::int32_t columns, std::int32_t rows) {
    grid.cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    grid.columns = columns;
    grid.rows = rows;
}

std::int64_t nutrientTotal(const Grid16& grid) {
    // The population chart takes this sum in every frame.  Chunks of a fixed 64
    // cells make a loop the compiler vectorises at -O2, and their 32-bit partial
    // sums cannot overflow (64 * 32767).
    constexpr std::size_t chunk = 64;
    const std::int16_t* cells = grid.cells.data();
    const std::size_t whole = grid.cells.size() / chunk * chunk;
    std::int64_t total = 0;
    for (std::size_t start = 0; start < whole; start += chunk) {
        std::int32_t part = 0;
        for (std::size_t i = 0; i < chunk; ++i) part += std::max<std::int32_t>(cells[start + i], 0);
        total += part;
    }
    for (std::size_t i = whole; i < grid.cells.size(); ++i) total += std::max<std::int32_t>(cells[i], 0);
    return total;
}

}  // namespace vivarix
