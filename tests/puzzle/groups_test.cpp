// Walking groups over the owner table agrees with a scan of every cell, on grids joined at random as play joins
// them (a group into a neighbour along a shared edge).
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "puzzle/jig.h"

namespace {

std::vector<int32_t> scanned_cells(const Jig& g, int32_t id) {
    std::vector<int32_t> out;
    for (int32_t c = 0; c < g.cols * g.rows; ++c)
        if (g.cells[size_t(c)].owner == id) out.push_back(c);
    return out;
}

std::vector<int32_t> scanned_neighbours(const Jig& g, int32_t id) {
    std::set<int32_t> out;
    for (int32_t c = 0; c < g.cols * g.rows; ++c) {
        const int32_t col = c % g.cols, row = c / g.cols;
        if (g.cells[size_t(c)].owner != id) continue;
        for (int32_t o : {g.left_owner(col, row), g.top_owner(col, row), g.right_owner(col, row),
                          g.bottom_owner(col, row)})
            if (o >= 0 && o != id) out.insert(o);
    }
    return {out.begin(), out.end()};
}

TEST(Groups, TheWalkAgreesWithAScanOfEveryCellAsGroupsJoin) {
    std::mt19937 random(20261209);
    for (const auto& [cols, rows] : {std::pair{1, 1}, {9, 1}, {1, 7}, {9, 7}, {13, 11}}) {
        Jig g(blank_game, cols * rows);
        g.cols = cols, g.rows = rows;
        for (int32_t c = 0; c < cols * rows; ++c) g.cells[size_t(c)].owner = c;
        for (int32_t join = 0; join < cols * rows; ++join) {
            for (int32_t id = 0; id < cols * rows; ++id) {
                const bool live = g.cells[size_t(id)].owner == id;
                EXPECT_EQ(g.group_cells(id), live ? scanned_cells(g, id) : std::vector<int32_t>{})
                    << cols << "x" << rows << " group " << id;
                if (live) {
                    EXPECT_EQ(g.neighbour_groups(id), scanned_neighbours(g, id)) << id;
                }
            }
            // A random cell's group joins the group of a random neighbour, as a drop joins them.
            const int32_t c = int32_t(random() % uint32_t(cols * rows));
            const int32_t col = c % cols, row = c / cols;
            const int32_t side[4] = {g.left_owner(col, row), g.top_owner(col, row), g.right_owner(col, row),
                                     g.bottom_owner(col, row)};
            const int32_t onto = side[random() % 4], from = g.cells[size_t(c)].owner;
            if (onto < 0 || onto == from) continue;
            for (Cell& cell : g.cells)
                if (cell.owner == from) cell.owner = onto;
        }
    }
    Jig odd(blank_game, 6);
    odd.cols = 3, odd.rows = 3;  // a grid the tables do not hold walks nowhere
    EXPECT_TRUE(odd.group_cells(0).empty());
}

}  // namespace
