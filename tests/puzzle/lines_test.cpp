// Cutting lines: unit shapes from the templates, worked points of laid edges, and the owners across a cell's
// sides (whole laid games are pinned by the cut games' golden file and the cover checks).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "puzzle/state.h"
#include "support/game_builder.h"

namespace {

constexpr double f = 1.0 / 216;

std::vector<Point> points(const Point* edge, int32_t n = 10) { return std::vector<Point>(edge, edge + n); }

// Shapes 0-3 are the templates, 4-7 the same run backwards, then both mirrored; the vertical is the horizontal
// with x and y swapped; both ends are pinned whatever the template says; the straight edge runs along the axis.
TEST(UnitShapes, TemplatesTheirReversalsAndMirrorsAndTheStraightEdge) {
    testsupport::Guard guard;
    const auto& s = puzzle.unit_shapes;
    const UnitShape& straight = s[straight_shape];
    EXPECT_EQ((std::vector{s[0].h[4].x, s[0].h[4].y, s[0].v[4].x, s[0].v[4].y, s[0].h[9].x, s[4].h[1].x, s[4].h[1].y,
                           s[4].v[1].x, s[4].v[1].y, s[4].h[9].x, s[13].h[4].x, s[13].h[4].y, s[13].v[4].x,
                           s[13].v[4].y, straight.h[4].y, straight.v[5].x, straight.h[9].x, straight.v[9].y}),
              (std::vector{49 * f, 78 * f, 78 * f, 49 * f, 1.0, 1 - 191 * f, -12 * f, -12 * f, 1 - 191 * f, 1.0,
                           1 - 172 * f, -80 * f, -80 * f, 1 - 172 * f, 0.0, 0.0, 1.0, 1.0}));
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
    const std::pair<int32_t, int32_t> cases[] = {{10, 10}, {19, 19}, {4, 4},   {1, 4},  {0, 4},
                                                 {-7, 4},  {20, 19}, {11, 10}, {9, 7}, {1000, 19}};
    for (auto [setting, used] : cases) {
        settings.line_num = setting;
        EXPECT_EQ(line_points(), used) << setting;
    }
    settings.line_num = 4;  // the shapes were built for 10 points
    std::unique_ptr<Jig> game(testsupport::laid_game(300, 300, 1));
    EXPECT_EQ((std::vector{puzzle.unit_shapes[0].h[3].x, puzzle.unit_shapes[0].h[1].x, puzzle.unit_shapes[4].h[3].x}),
              (std::vector{1.0, 24 * f, 1.0}));
    EXPECT_EQ(points(game->cells[0].edges[SIDE_RIGHT], 5), (std::vector<Point>{{300, 0}, {300, 0}, {300, 0}, {300, 301}, {}}));
}

// Checked by hand: template 0 on a 216-pixel cell gives the template's own points turned onto the vertical, except
// where scaling by 1/216 and back lands just below a whole pixel (49 -> 48, 168 -> 167, 191 -> 190); the last
// point reaches one pixel further; out-of-range shapes are straight.
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
    for (const int32_t shape : {-1, 17}) {
        lay_horizontal_edge(out, shape, 0, 0, 100, 60);
        EXPECT_EQ(points(out, 3), (std::vector<Point>{{0, 0}, {0, 0}, {0, 0}})) << shape;
    }
}

TEST(Owners, NeighbourLookupsAndBorders) {
    testsupport::Guard guard;
    std::unique_ptr<Jig> g(testsupport::laid_game(400, 300, 20));  // 5 x 4
    g->cells[7].owner = 42;                                          // (2, 1) joined into group 42
    EXPECT_EQ((std::vector{g->left_owner(0, 2), g->top_owner(3, 0), g->right_owner(4, 1), g->bottom_owner(2, 3),
                           g->left_owner(9, 9), g->left_owner(3, 1), g->right_owner(1, 1), g->top_owner(2, 2),
                           g->bottom_owner(2, 0), g->left_owner(2, 1), g->bottom_owner(2, 1)}),
              (std::vector{-1, -1, -1, -1, -1, 42, 42, 42, 42, 6, 12}));
}

}  // namespace
