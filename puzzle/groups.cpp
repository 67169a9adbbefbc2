// Walking a group over the owner table: its cells and the groups along its border, in time of the group's size.
#include <algorithm>
#include <vector>

#include "puzzle/jig.h"

namespace {

// Calls f(cell) for each of the up to four cells that share an edge with cell c (the grid does not wrap).
template <typename F>
void for_each_side(const Jig& jig, int32_t c, F f) {
    const int32_t col = c % jig.cols, row = c / jig.cols;
    if (col > 0) f(c - 1);
    if (col < jig.cols - 1) f(c + 1);
    if (row > 0) f(c - jig.cols);
    if (row < jig.rows - 1) f(c + jig.cols);
}

}  // namespace

std::vector<int32_t> Jig::group_cells(int32_t g) const {
    std::vector<int32_t> found;
    const int32_t n = live_cells();
    if (int64_t(cols) * rows != n || g < 0 || g >= n || cells[size_t(g)].owner != g) return found;
    std::vector<bool> met(size_t(n), false);  // a bit a cell: cleared far faster than read
    found.push_back(g);
    met[size_t(g)] = true;
    for (size_t next = 0; next < found.size(); ++next)
        for_each_side(*this, found[next], [&](int32_t c) {
            if (met[size_t(c)] || cells[size_t(c)].owner != g) return;
            met[size_t(c)] = true;
            found.push_back(c);
        });
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<int32_t> Jig::neighbour_groups(int32_t g) const {
    std::vector<int32_t> out;
    for (const int32_t cell : group_cells(g))
        for_each_side(*this, cell, [&](int32_t c) {
            if (cells[size_t(c)].owner != g) out.push_back(cells[size_t(c)].owner);
        });
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}
