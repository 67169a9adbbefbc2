// Fitting the picture and laying the grid: worked grid values, trimming, the piece limit, pure black and white
// moved to the near greys, the unit shapes, laid edges and the owners across a cell's sides. (The fitted picture's
// size and content and a new game laid from it are in tests/play/stretch_test.cpp, since laying it out is play's.)
#include <gtest/gtest.h>

#include <cstring>

#include "pieces/desk.h"
#include "puzzle/fit.h"
#include "support/cases.h"
#include "support/puzzle/games.h"
#include "ws/ws.h"

namespace {

using testsupport::at;

TEST(Grid, WorkedValuesAndTrimming) {
    testsupport::ResetGuard<reset_puzzle_state> guard;
    for (const testsupport::Fields& c : testsupport::read_cases("puzzle/data/grid.txt")) {
        std::vector<int32_t> v;  // the numbers, the '|' between arguments and results left out
        for (const std::string& f : c)
            if (f != "|") v.push_back(std::stoi(f));
        std::unique_ptr<Jig> g(testsupport::laid_game(v[0], v[1], v[2]));
        EXPECT_EQ((std::vector{g->cols, g->rows, g->item_count, g->pic_w, g->pic_h, settings.piece_num}),
                  (std::vector{v[3], v[4], v[3] * v[4], v[5], v[6], v[7]}))
            << testsupport::joined(c);
    }
    // Whatever the picture and the wanted count, the grid fits the table and every cell has an inside.
    for (int32_t w : {1, 2, 3, 5, 17, 40, 199, 1000, 4000, 6000})
        for (int32_t h : {1, 2, 3, 5, 17, 40, 199, 1000, 4000, 6000})
            for (int32_t n : {-5, 0, 1, 4, 20, 600, 1000, 1001, 1200, 10000, 20000}) {
                const GridSize g = grid_size(w, h, n);
                const int32_t bound = n <= classic_cells ? classic_cells : max_cells;
                ASSERT_TRUE(g.cols >= 1 && g.rows >= 1 && g.cols * g.rows <= bound) << w << "x" << h << " n=" << n;
                ASSERT_TRUE((w < 2 || w / g.cols >= 2) && (h < 2 || h / g.rows >= 2)) << w << "x" << h << " n=" << n;
            }
    // A 24 MP photo: asked for 1000 it keeps the grid it always had; asked for 10000 it gets nearly as many.
    for (const auto& [n, cols, rows] : {std::tuple{1000, 38, 25}, {10000, 121, 81}, {2000, 55, 37}}) {
        const GridSize g = grid_size(6000, 4000, n);
        EXPECT_EQ(std::pair(g.cols, g.rows), std::pair(cols, rows)) << n;
    }
}

// A top byte would read as a seam mark in the pieces: it goes. The near colours are set unlike grey, so that a
// mix-up of colour value and pixel word shows.
TEST(Grid, PurePixelsMoveToTheNearGreysOthersStay) {
    testsupport::ResetGuard<reset_puzzle_state> guard;
    const uint32_t words[] = {0x000000, 0xFFFFFF, 0x010101, 0xFEFFFF, 0x7F123456, 0xFF000000};
    Jig game(blank_game);
    // The finer picture, when there is one, is treated alike.
    for (MemDC** p : {&game.picture, &game.fine_picture})
        *p = testsupport::surface_of(6, 1, [&](int32_t x, int32_t) { return words[x]; }, BIT_SCREEN);
    const Colour old_black = std::exchange(desk.near_black, 0x030201);
    const Colour old_white = std::exchange(desk.near_white, 0xFDFEFC);
    game.replace_black_white();
    desk.near_black = old_black;
    desk.near_white = old_white;
    for (const MemDC* p : {game.picture, game.fine_picture})
        EXPECT_EQ(testsupport::top_down(*p),
                  (std::vector<uint32_t>{0x010203, 0xFCFEFD, 0x010101, 0xFEFFFF, 0x123456, 0x010203}));
}

// Shapes 0-3 are the templates, 4-7 the same run backwards, then both mirrored, the vertical the horizontal with x
// and y swapped (every point of them is pinned by the cut games' golden file). Checked by hand: template 0 on a
// 216-pixel cell gives the template's own points turned onto the vertical, except where scaling by 1/216 and back
// lands just below a whole pixel (49 -> 48, 168 -> 167, 191 -> 190); the last point reaches one pixel further.
// Both ends are pinned whatever the template says. The chain always has a whole number of Bezier segments (3k + 1
// points, 4 to 19); laying rebuilds shapes made for another length; out-of-range shapes are straight.
TEST(Lines, UnitShapesPointCountsStraightEdgesAndNeighbourOwners) {
    testsupport::ResetGuard<reset_puzzle_state> guard;
    Point out[max_line_points];
    lay_vertical_edge(out, 0, 1, 0, 216, 216);
    EXPECT_EQ(std::vector<Point>(out, out + 10), (std::vector<Point>{{216, 0}, {204, 24}, {192, 108}, {240, 74},
                                                                     {294, 48}, {294, 167}, {240, 143}, {192, 108},
                                                                     {204, 190}, {216, 217}}));
    const UnitShape before = puzzle.unit_shapes[0];
    settings.line[0][9] = {500, 77};
    settings.line[0][0] = {-40, 33};
    line_const_init();
    EXPECT_EQ(std::memcmp(&before, &puzzle.unit_shapes[0], sizeof before), 0);
    const std::pair<int32_t, int32_t> counts[] = {{10, 10}, {19, 19}, {4, 4},   {1, 4},  {0, 4},
                                                  {-7, 4},  {20, 19}, {11, 10}, {9, 7}, {1000, 19}};
    for (auto [setting, used] : counts) {
        settings.line_num = setting;
        EXPECT_EQ(line_points(), used) << setting;
    }
    settings.line_num = 4;  // the shapes were built for 10 points
    std::unique_ptr<Jig> game(testsupport::laid_game(300, 300, 1));
    EXPECT_EQ((std::vector{puzzle.unit_shapes[0].h[3].x, puzzle.unit_shapes[0].h[1].x, puzzle.unit_shapes[4].h[3].x}),
              (std::vector{1.0, 24.0 / 216, 1.0}));
    const Point* right = game->cells[0].edges[SIDE_RIGHT];
    EXPECT_EQ(std::vector<Point>(right, right + 5), (std::vector<Point>{{300, 0}, {300, 0}, {300, 0}, {300, 301}, {}}));
    for (const int32_t shape : {-1, 17}) {
        lay_horizontal_edge(out, shape, 0, 0, 100, 60);
        EXPECT_EQ(std::vector<Point>(out, out + 4), (std::vector<Point>{{0, 0}, {0, 0}, {0, 0}, {101, 0}})) << shape;
    }
    std::unique_ptr<Jig> g(testsupport::laid_game(400, 300, 20));  // 5 x 4, for the owners across a cell's sides
    g->cells[7].owner = 42;                                          // (2, 1) joined into group 42
    EXPECT_EQ((std::vector{g->left_owner(0, 2), g->top_owner(3, 0), g->right_owner(4, 1), g->bottom_owner(2, 3),
                           g->left_owner(9, 9), g->left_owner(3, 1), g->right_owner(1, 1), g->top_owner(2, 2),
                           g->bottom_owner(2, 0), g->left_owner(2, 1), g->bottom_owner(2, 1)}),
              (std::vector{-1, -1, -1, -1, -1, 42, 42, 42, 42, 6, 12}));
}

}  // namespace
