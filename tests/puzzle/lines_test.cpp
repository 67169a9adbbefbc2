// Cutting lines: unit shapes from the templates, laying edges (worked points, draw order, shared edges), owners.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "puzzle/state.h"
#include "support/game_builder.h"
#include "ws/ws.h"

namespace {

constexpr double f = 1.0 / 216;

std::vector<Point> points(const Point* edge, int32_t n = 10) { return std::vector<Point>(edge, edge + n); }
std::unique_ptr<Jig> laid(int32_t w, int32_t h, int32_t n) { return std::unique_ptr<Jig>(testsupport::laid_game(w, h, n)); }

// Shapes 0-3 are the templates, 4-7 the same run backwards, then both mirrored; the vertical is the horizontal
// with x and y swapped; both ends are pinned whatever the template says; the straight edge runs along the axis.
TEST(UnitShapes, TemplatesTheirReversalsAndMirrorsAndTheStraightEdge) {
    testsupport::Guard guard;
    const auto& s = puzzle.unit_shapes;
    EXPECT_EQ((std::vector{s[0].h[4].x, s[0].h[4].y, s[0].v[4].x, s[0].v[4].y, s[0].h[9].x}),
              (std::vector{49 * f, 78 * f, 78 * f, 49 * f, 1.0}));
    EXPECT_EQ((std::vector{s[4].h[1].x, s[4].h[1].y, s[4].v[1].x, s[4].v[1].y, s[4].h[9].x}),
              (std::vector{1 - 191 * f, -12 * f, -12 * f, 1 - 191 * f, 1.0}));
    EXPECT_EQ((std::vector{s[13].h[4].x, s[13].h[4].y, s[13].v[4].x, s[13].v[4].y}),
              (std::vector{1 - 172 * f, -80 * f, -80 * f, 1 - 172 * f}));
    const UnitShape& straight = s[straight_shape];
    for (int32_t i = 0; i < 9; ++i) EXPECT_EQ((std::vector{straight.h[i].x, straight.h[i].y, straight.v[i].x}), (std::vector{0.0, 0.0, 0.0}));
    EXPECT_EQ((std::vector{straight.h[9].x, straight.v[9].y}), (std::vector{1.0, 1.0}));
    const UnitShape before = s[0];
    settings.line[0][9] = {500, 77};
    settings.line[0][0] = {-40, 33};
    line_const_init();
    EXPECT_EQ(std::memcmp(&before, &s[0], sizeof before), 0);
}

// The chain always has a whole number of Bezier segments (3k + 1 points, 4 to 19); laying rebuilds shapes made for
// another length.
TEST(UnitShapes, PointCountIsAlwaysAWholeChain) {
    testsupport::Guard guard;
    const std::pair<int32_t, int32_t> cases[] = {{10, 10}, {19, 19}, {4, 4}, {1, 4},   {0, 4},
                                                 {-7, 4},  {20, 19}, {11, 10}, {9, 7}, {1000, 19}};
    for (auto [setting, used] : cases) {
        settings.line_num = setting;
        EXPECT_EQ(line_points(), used) << setting;
    }
    settings.line_num = 4;  // the shapes were built for 10 points
    auto game = laid(300, 300, 1);
    EXPECT_EQ((std::vector{puzzle.unit_shapes[0].h[3].x, puzzle.unit_shapes[0].h[1].x, puzzle.unit_shapes[4].h[3].x}),
              (std::vector{1.0, 24 * f, 1.0}));
    EXPECT_EQ(points(game->cells[0].edges[SIDE_RIGHT], 5), (std::vector<Point>{{300, 0}, {300, 0}, {300, 0}, {300, 301}, {}}));
}

// Checked by hand: template 0 on a 216-pixel cell gives the template's own points turned onto the vertical, except
// where scaling by 1/216 and back lands just below a whole pixel (49 -> 48, 168 -> 167, 191 -> 190); the last
// point reaches one pixel further.
TEST(Edges, WorkedPointsOfALaidEdge) {
    testsupport::Guard guard;
    Point out[max_line_points];
    lay_vertical_edge(out, 0, 1, 0, 216, 216);
    EXPECT_EQ(points(out), (std::vector<Point>{{216, 0}, {204, 24}, {192, 108}, {240, 74}, {294, 48}, {294, 167},
                                               {240, 143}, {192, 108}, {204, 190}, {216, 217}}));
    lay_horizontal_edge(out, 12, 1, 1, 100, 60);
    EXPECT_EQ(points(out, max_line_points),
              (std::vector<Point>{{100, 60}, {111, 63}, {150, 66}, {133, 53}, {122, 38}, {177, 38}, {165, 53},
                                  {150, 66}, {188, 63}, {201, 60}, {}, {}, {}, {}, {}, {}, {}, {}, {}}));
}

// One cell: four straight edges, the random generator seeded from the clock and not drawn from. A 2 x 2 grid
// draws four shapes: cell 0 right, cell 0 bottom, cell 1 bottom, cell 2 right (a clock value whose four draws
// differ, so that a swapped order shows).
TEST(Edges, ShapesAreDrawnInCellOrderFromTheClock) {
    testsupport::Guard guard;
    auto one = laid(300, 300, 1);
    EXPECT_EQ(puzzle.game_random.state, ws::tick_count());
    const Cell& c = one->cells[0];
    const auto straight = [](Point p, Point last) {
        std::vector<Point> v(9, p);
        v.push_back(last);
        return v;
    };
    EXPECT_EQ(points(c.edges[SIDE_LEFT]), straight({0, 0}, {0, 301}));
    EXPECT_EQ(points(c.edges[SIDE_BOTTOM]), straight({0, 300}, {301, 300}));
    EXPECT_EQ((std::vector{c.edges[SIDE_RIGHT][9], c.edges[SIDE_TOP][9]}), (std::vector<Point>{{300, 301}, {301, 0}}));
    std::vector<int32_t> shapes;
    for (int32_t tries = 0; tries < 50 && std::set(shapes.begin(), shapes.end()).size() < 4; ++tries) {
        ws::test::advance(7);
        GameRandom r;
        r.seed(ws::tick_count());
        shapes.clear();
        for (int32_t i = 0; i < 4; ++i) shapes.push_back(r.next() % 16);
    }
    ASSERT_EQ(std::set(shapes.begin(), shapes.end()).size(), 4u);
    auto g = laid(400, 300, 4);
    ASSERT_EQ((std::vector{g->cols, g->rows}), (std::vector{2, 2}));
    GameRandom after;
    after.seed(ws::tick_count());
    for (int32_t i = 0; i < 4; ++i) after.next();
    EXPECT_EQ(puzzle.game_random.state, after.state);
    Point want[4][max_line_points];
    lay_vertical_edge(want[0], shapes[0], 1, 0, 200, 150);
    lay_horizontal_edge(want[1], shapes[1], 1, 0, 200, 150);
    lay_horizontal_edge(want[2], shapes[2], 1, 1, 200, 150);
    lay_vertical_edge(want[3], shapes[3], 1, 1, 200, 150);
    const Point* got[4] = {g->cells[0].edges[SIDE_RIGHT], g->cells[0].edges[SIDE_BOTTOM], g->cells[1].edges[SIDE_BOTTOM],
                           g->cells[2].edges[SIDE_RIGHT]};
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(std::memcmp(got[i], want[i], sizeof want[i]), 0) << i;
}

// Neighbours share identical edges, every edge runs corner to corner (one pixel past its end) and the picture's
// borders are straight.
TEST(Edges, NeighboursShareIdenticalEdgesAndBordersAreStraight) {
    testsupport::Guard guard;
    auto g = laid(300, 225, 600);
    const int32_t cols = g->cols, rows = g->rows, cw = 10, ch = 10;
    ASSERT_EQ(g->pic_w / cols, cw);
    const auto same = [](const Point* a, const Point* b) { return std::memcmp(a, b, sizeof(Point) * max_line_points) == 0; };
    for (int32_t r = 0; r < rows; ++r)
        for (int32_t c = 0; c < cols; ++c) {
            const Cell& cell = g->cells[r * cols + c];
            ASSERT_EQ(cell.owner, r * cols + c);
            ASSERT_TRUE(c == 0 || same(cell.edges[SIDE_LEFT], g->cells[r * cols + c - 1].edges[SIDE_RIGHT]));
            ASSERT_TRUE(r == 0 || same(cell.edges[SIDE_TOP], g->cells[(r - 1) * cols + c].edges[SIDE_BOTTOM]));
            ASSERT_EQ((std::vector{cell.edges[SIDE_LEFT][0], cell.edges[SIDE_LEFT][9], cell.edges[SIDE_RIGHT][9],
                                   cell.edges[SIDE_TOP][9], cell.edges[SIDE_BOTTOM][0]}),
                      (std::vector<Point>{{c * cw, r * ch}, {c * cw, (r + 1) * ch + 1}, {(c + 1) * cw, (r + 1) * ch + 1},
                                          {(c + 1) * cw + 1, r * ch}, {c * cw, (r + 1) * ch}}));
        }
    for (int32_t k = 0; k < 10; ++k)
        EXPECT_EQ((std::vector{g->cells[0].edges[SIDE_LEFT][k].x, g->cells[cols - 1].edges[SIDE_RIGHT][k].x,
                               g->cells[(rows - 1) * cols].edges[SIDE_BOTTOM][k].y}),
                  (std::vector{0, g->pic_w, g->pic_h}));
}

TEST(Owners, NeighbourLookupsAndBorders) {
    testsupport::Guard guard;
    auto g = laid(400, 300, 20);  // 5 x 4
    g->cells[7].owner = 42;        // (2, 1) joined into group 42
    EXPECT_EQ((std::vector{g->left_owner(0, 2), g->top_owner(3, 0), g->right_owner(4, 1), g->bottom_owner(2, 3),
                           g->left_owner(9, 9), g->left_owner(3, 1), g->right_owner(1, 1), g->top_owner(2, 2),
                           g->bottom_owner(2, 0), g->left_owner(2, 1), g->bottom_owner(2, 1)}),
              (std::vector{-1, -1, -1, -1, -1, 42, 42, 42, 42, 6, 12}));
}

}  // namespace
