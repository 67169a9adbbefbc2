// Cutting lines at the edges of their tables: the grids whose edges are laid and those refused (the cells then
// untouched), and the neighbours of every cell of a grid's border, none beyond it.
#include <gtest/gtest.h>

#include "support/puzzle/games.h"

namespace {

// A grid is laid only when it has cells, fits the cell table and has a pixel for every column and row.
TEST(LinesAtTheBounds, OnlyGridsThatFitTheTableAndThePictureAreLaid) {
    testsupport::ResetGuard<reset_puzzle_state> guard;
    const int32_t grids[][5] = {  // cols, rows, picture width and height, laid
        {1, 1, 1, 1, 1}, {0, 1, 5, 5, 0}, {1, 0, 5, 5, 0}, {2, 1, 2, 1, 1}, {2, 1, 1, 1, 0}, {1, 2, 1, 1, 0},
        {1000, 1, 1000, 1, 1}, {1001, 1, 2000, 1, 0}, {40, 25, 40, 25, 1}, {40, 26, 400, 260, 0}};
    for (const auto& [cols, rows, w, h, laid] : grids) {
        const auto game = std::make_unique<Jig>(blank_game);
        game->cols = cols, game->rows = rows, game->pic_w = w, game->pic_h = h;
        game->cells[0].owner = 77;
        game->line_init();
        const int32_t last = laid ? cols * rows - 1 : 0;
        EXPECT_EQ(std::pair(game->cells[0].owner, game->cells[last].owner), std::pair(laid ? 0 : 77, laid ? last : 77))
            << cols << " x " << rows << " on " << w << " x " << h;
    }
}

// In a 3 x 2 grid whose cells own themselves: each neighbour, or -1 across the border and outside the grid.
TEST(LinesAtTheBounds, NeighboursStopAtTheBorder) {
    const auto owned = std::make_unique<Jig>(blank_game);
    Jig& game = *owned;
    game.cols = 3, game.rows = 2;
    for (int32_t c = 0; c < 6; ++c) game.cells[c].owner = c;
    const int32_t cases[][6] = {  // col, row, then the left, top, right and bottom owner
        {0, 0, -1, -1, 1, 3}, {1, 0, 0, -1, 2, 4}, {2, 1, 4, 2, -1, -1}, {0, 1, -1, 0, 4, -1},
        {3, 0, -1, -1, -1, -1}, {-1, 0, -1, -1, -1, -1}, {1, 2, -1, -1, -1, -1}, {1, -1, -1, -1, -1, -1}};
    for (const auto& [c, r, left, top, right, bottom] : cases)
        EXPECT_EQ((std::vector{game.left_owner(c, r), game.top_owner(c, r), game.right_owner(c, r),
                               game.bottom_owner(c, r)}),
                  (std::vector{left, top, right, bottom})) << c << "," << r;
}

}  // namespace
