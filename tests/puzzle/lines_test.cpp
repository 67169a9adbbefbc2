// Cutting lines: unit shapes from the templates, laying edges (worked points, draw order, shared edges), owners.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "graphics/ws.h"
#include "puzzle_support.h"

using namespace puzzle_test;

namespace {

constexpr double f = 1.0 / 216;

bool same_edge(const Point* a, const Point* b) { return std::memcmp(a, b, sizeof(Point) * max_line_points) == 0; }

std::vector<Point> points(const Point* edge, int32_t n) { return std::vector<Point>(edge, edge + n); }

}  // namespace

TEST(UnitShapes, TemplatesTheirReversalsAndMirrorsAndTheStraightEdge) {
    Restore restore;
    const UnitShape& s0 = unit_shapes[0];
    EXPECT_DOUBLE_EQ(s0.h[4].x, 49 * f);
    EXPECT_DOUBLE_EQ(s0.h[4].y, 78 * f);
    EXPECT_DOUBLE_EQ(s0.v[4].x, 78 * f);  // the same shape laid along the vertical
    EXPECT_DOUBLE_EQ(s0.v[4].y, 49 * f);
    EXPECT_DOUBLE_EQ(s0.h[9].x, 1);
    const UnitShape& s4 = unit_shapes[4];  // template 0 run backwards
    EXPECT_DOUBLE_EQ(s4.h[1].x, 1 - 191 * f);
    EXPECT_DOUBLE_EQ(s4.h[1].y, -12 * f);
    EXPECT_DOUBLE_EQ(s4.v[1].x, -12 * f);
    EXPECT_DOUBLE_EQ(s4.v[1].y, 1 - 191 * f);
    EXPECT_DOUBLE_EQ(s4.h[9].x, 1);
    const UnitShape& s13 = unit_shapes[13];  // template 1 backwards, knob on the other side
    EXPECT_DOUBLE_EQ(s13.h[4].x, 1 - 172 * f);
    EXPECT_DOUBLE_EQ(s13.h[4].y, -80 * f);
    EXPECT_DOUBLE_EQ(s13.v[4].x, -80 * f);
    EXPECT_DOUBLE_EQ(s13.v[4].y, 1 - 172 * f);
    const UnitShape& straight = unit_shapes[straight_shape];
    for (int32_t i = 0; i < 9; ++i) {
        EXPECT_EQ(straight.h[i].x, 0);
        EXPECT_EQ(straight.h[i].y, 0);
        EXPECT_EQ(straight.v[i].x, 0);
    }
    EXPECT_EQ(straight.h[9].x, 1);
    EXPECT_EQ(straight.v[9].y, 1);
}

TEST(UnitShapes, EndsArePinnedWhateverTheTemplateSays) {
    Restore restore;
    const UnitShape before = unit_shapes[0];
    settings.line[0][9] = {500, 77};
    settings.line[0][0] = {-40, 33};
    line_const_init();
    EXPECT_EQ(std::memcmp(&before, &unit_shapes[0], sizeof before), 0);
}

TEST(UnitShapes, PointCountIsAlwaysAWholeChain) {
    Restore restore;
    const std::pair<int32_t, int32_t> cases[] = {{10, 10}, {19, 19}, {4, 4}, {1, 4}, {0, 4}, {-7, 4}, {20, 19},
                                                 {11, 10}, {9, 7},   {1000, 19}};
    for (auto [setting, used] : cases) {
        settings.line_num = setting;
        EXPECT_EQ(line_points(), used) << setting;
    }
    settings.line_num = 4;
    line_const_init();
    EXPECT_DOUBLE_EQ(unit_shapes[0].h[3].x, 1);
    EXPECT_DOUBLE_EQ(unit_shapes[0].h[1].x, 24 * f);
    EXPECT_DOUBLE_EQ(unit_shapes[4].h[3].x, 1);
}

TEST(UnitShapes, LayingRebuildsShapesMadeForAnotherChainLength) {
    Restore restore;
    settings.line_num = 4;  // the shapes were built for 10 points
    auto game = laid_game(300, 300, 1);
    EXPECT_EQ(game->cells[0].edges[SIDE_RIGHT][3], (Point{300, 301}));
    EXPECT_EQ(game->cells[0].edges[SIDE_BOTTOM][3], (Point{301, 300}));
    EXPECT_EQ(game->cells[0].edges[SIDE_BOTTOM][4], (Point{}));
}

// Checked by hand: template 0 on a 216-pixel cell gives the template's own points turned onto the vertical, except
// where scaling by 1/216 and back lands just below a whole pixel (49 -> 48, 168 -> 167, 191 -> 190); the last
// point reaches one pixel further.
TEST(Edges, WorkedPointsOfALaidEdge) {
    Restore restore;
    Point out[max_line_points];
    lay_vertical_edge(out, 0, 1, 0, 216, 216);
    const std::vector<Point> vertical = {{216, 0},  {204, 24},  {192, 108}, {240, 74},  {294, 48},
                                         {294, 167}, {240, 143}, {192, 108}, {204, 190}, {216, 217}};
    EXPECT_EQ(points(out, 10), vertical);
    lay_horizontal_edge(out, 12, 1, 1, 100, 60);
    const std::vector<Point> horizontal = {{100, 60}, {111, 63}, {150, 66}, {133, 53}, {122, 38},
                                           {177, 38}, {165, 53}, {150, 66}, {188, 63}, {201, 60}};
    EXPECT_EQ(points(out, 10), horizontal);
    for (int32_t k = 10; k < max_line_points; ++k) EXPECT_EQ(out[k], Point{});
}

TEST(Edges, SingleCellIsFourStraightEdgesAndDrawsNothing) {
    Restore restore;
    auto game = laid_game(300, 300, 1);
    ASSERT_EQ(game->item_count, 1);
    EXPECT_EQ(game_random.state, ws::tick_count());
    const Cell& c = game->cells[0];
    const std::vector<Point> left = {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 301}};
    const std::vector<Point> bottom = {{0, 300}, {0, 300}, {0, 300}, {0, 300}, {0, 300},
                                       {0, 300}, {0, 300}, {0, 300}, {0, 300}, {301, 300}};
    EXPECT_EQ(points(c.edges[SIDE_LEFT], 10), left);
    EXPECT_EQ(points(c.edges[SIDE_BOTTOM], 10), bottom);
    EXPECT_EQ(c.edges[SIDE_RIGHT][9], (Point{300, 301}));
    EXPECT_EQ(c.edges[SIDE_TOP][9], (Point{301, 0}));
}

// A 2 x 2 grid draws four shapes: cell 0 right, cell 0 bottom, cell 1 bottom, cell 2 right, and nothing else.
TEST(Edges, TwoByTwoDrawsFourShapesInCellOrder) {
    Restore restore;
    // A clock value whose four draws are four different shapes, so that a swapped order shows.
    std::vector<int32_t> shapes;
    for (int32_t tries = 0; tries < 50; ++tries) {
        GameRandom r;
        r.seed(ws::tick_count());
        shapes.clear();
        for (int32_t i = 0; i < 4; ++i) shapes.push_back(r.next() % 16);
        if (std::set<int32_t>(shapes.begin(), shapes.end()).size() == 4) break;
        ws::test::advance(7);
    }
    ASSERT_EQ(std::set<int32_t>(shapes.begin(), shapes.end()).size(), 4u);
    GameRandom after;
    after.seed(ws::tick_count());
    for (int32_t i = 0; i < 4; ++i) after.next();

    auto game = laid_game(400, 300, 4);
    ASSERT_EQ(game->cols, 2);
    ASSERT_EQ(game->rows, 2);
    EXPECT_EQ(game_random.state, after.state);
    Point expect[max_line_points];
    lay_vertical_edge(expect, shapes[0], 1, 0, 200, 150);
    EXPECT_TRUE(same_edge(game->cells[0].edges[SIDE_RIGHT], expect));
    lay_horizontal_edge(expect, shapes[1], 1, 0, 200, 150);
    EXPECT_TRUE(same_edge(game->cells[0].edges[SIDE_BOTTOM], expect));
    lay_horizontal_edge(expect, shapes[2], 1, 1, 200, 150);
    EXPECT_TRUE(same_edge(game->cells[1].edges[SIDE_BOTTOM], expect));
    lay_vertical_edge(expect, shapes[3], 1, 1, 200, 150);
    EXPECT_TRUE(same_edge(game->cells[2].edges[SIDE_RIGHT], expect));
}

TEST(Edges, NeighboursShareIdenticalEdgesAndBordersAreStraight) {
    Restore restore;
    auto game = laid_game(300, 225, 600);
    const int32_t cols = game->cols, rows = game->rows, cw = 10, ch = 10;
    ASSERT_EQ(game->pic_w / cols, cw);
    for (int32_t r = 0; r < rows; ++r)
        for (int32_t c = 0; c < cols; ++c) {
            const Cell& cell = game->cells[r * cols + c];
            EXPECT_EQ(cell.owner, r * cols + c);
            if (c > 0) {
                EXPECT_TRUE(same_edge(cell.edges[SIDE_LEFT], game->cells[r * cols + c - 1].edges[SIDE_RIGHT]));
            }
            if (r > 0) {
                EXPECT_TRUE(same_edge(cell.edges[SIDE_TOP], game->cells[(r - 1) * cols + c].edges[SIDE_BOTTOM]));
            }
            // every edge runs corner to corner, one pixel past its end
            EXPECT_EQ(cell.edges[SIDE_LEFT][0], (Point{c * cw, r * ch}));
            EXPECT_EQ(cell.edges[SIDE_LEFT][9], (Point{c * cw, (r + 1) * ch + 1}));
            EXPECT_EQ(cell.edges[SIDE_RIGHT][9], (Point{(c + 1) * cw, (r + 1) * ch + 1}));
            EXPECT_EQ(cell.edges[SIDE_TOP][9], (Point{(c + 1) * cw + 1, r * ch}));
            EXPECT_EQ(cell.edges[SIDE_BOTTOM][0], (Point{c * cw, (r + 1) * ch}));
        }
    for (int32_t k = 0; k < 10; ++k) {
        EXPECT_EQ(game->cells[0].edges[SIDE_LEFT][k].x, 0);
        EXPECT_EQ(game->cells[cols - 1].edges[SIDE_RIGHT][k].x, game->pic_w);
        EXPECT_EQ(game->cells[(rows - 1) * cols].edges[SIDE_BOTTOM][k].y, game->pic_h);
    }
}

TEST(Owners, NeighbourLookupsAndBorders) {
    Restore restore;
    auto game = laid_game(400, 300, 20);  // 5 x 4
    EXPECT_EQ(game->left_owner(0, 2), -1);
    EXPECT_EQ(game->top_owner(3, 0), -1);
    EXPECT_EQ(game->right_owner(4, 1), -1);
    EXPECT_EQ(game->bottom_owner(2, 3), -1);
    game->cells[7].owner = 42;  // (2, 1) joined into group 42
    EXPECT_EQ(game->left_owner(3, 1), 42);
    EXPECT_EQ(game->right_owner(1, 1), 42);
    EXPECT_EQ(game->top_owner(2, 2), 42);
    EXPECT_EQ(game->bottom_owner(2, 0), 42);
    EXPECT_EQ(game->left_owner(2, 1), 6);
    EXPECT_EQ(game->bottom_owner(2, 1), 12);
    EXPECT_EQ(game->left_owner(9, 9), -1);  // outside the grid
}
