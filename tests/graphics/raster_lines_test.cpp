// Lines, polylines, wide pens and Bézier chains against pixel sets checked by hand.
#include <gtest/gtest.h>

#include <algorithm>

#include "raster_canvas.h"

namespace {

constexpr uint32_t ink = 0x00ABCDEF;

PixelSet line_pixels(Point a, Point b, int32_t size = 16) {
    Canvas c(size, size);
    raster::draw_line(c.view(), a, b, {ink, 1});
    return c.where(ink);
}

TEST(RasterLines, BresenhamPixelsBothWaysRoundTiesToTheSmallerCoordinate) {
    // x-major, 4 by 1: the tie at x = 2 (exact y 0.5) takes y = 0 in both directions; the end pixel is left out.
    EXPECT_EQ(line_pixels({0, 0}, {4, 1}), (PixelSet{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
    EXPECT_EQ(line_pixels({4, 1}, {0, 0}), (PixelSet{{4, 1}, {3, 1}, {2, 0}, {1, 0}}));
    // y-major, 1 by 4: the tie at y = 2 takes x = 0 in both directions.
    EXPECT_EQ(line_pixels({0, 0}, {1, 4}), (PixelSet{{0, 0}, {0, 1}, {0, 2}, {1, 3}}));
    EXPECT_EQ(line_pixels({1, 4}, {0, 0}), (PixelSet{{1, 4}, {1, 3}, {0, 2}, {0, 1}}));
    // 5 by 2 with no ties: plain rounding of y = 0.4 x.
    EXPECT_EQ(line_pixels({0, 0}, {5, 2}), (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
    // Diagonals, runs, and a line of no length.
    EXPECT_EQ(line_pixels({0, 0}, {3, 3}), (PixelSet{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(line_pixels({3, 0}, {0, 3}), (PixelSet{{3, 0}, {2, 1}, {1, 2}}));
    EXPECT_EQ(line_pixels({2, 1}, {6, 1}), (PixelSet{{2, 1}, {3, 1}, {4, 1}, {5, 1}}));
    EXPECT_EQ(line_pixels({3, 5}, {3, 2}), (PixelSet{{3, 5}, {3, 4}, {3, 3}}));
    EXPECT_TRUE(line_pixels({5, 5}, {5, 5}).empty());
}

TEST(RasterLines, ClippingKeepsThePathOfTheWholeLine) {
    // A run across the surface from far outside.
    EXPECT_EQ(line_pixels({-2000000000, 3}, {2000000000, 3}, 4), (PixelSet{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    // Slanted lines whose ends lie far away: inside the surface they take the pixels the full path has there.
    const Point cases[][2] = {{{-1000, -333}, {1000, 330}},
                              {{2000, -7}, {-2000, 29}},
                              {{5, -2147483647}, {9, 2147483647}},
                              {{-2147483647, -2147483647}, {2147483647, 2147483646}}};
    for (const auto& c : cases) {
        std::vector<Point> wide, narrow;
        raster::line_path(c[0], c[1], {-4000, -4000, 4000, 4000}, wide);
        raster::line_path(c[0], c[1], {0, 0, 16, 16}, narrow);
        PixelSet expected;
        for (const Point& p : wide)
            if (p.x >= 0 && p.y >= 0 && p.x < 16 && p.y < 16) expected.insert({p.x, p.y});
        EXPECT_EQ(line_pixels(c[0], c[1]), expected);
        EXPECT_EQ(narrow.size(), expected.size());
    }
}

TEST(RasterLines, PolylineAndFrameCloseWithoutAGap) {
    Canvas c(8, 8);
    const Point square[] = {{1, 1}, {1, 4}, {4, 4}, {4, 1}, {1, 1}};
    raster::draw_polyline(c.view(), square, 5, {ink, 1});
    PixelSet ring;
    for (int32_t i = 1; i <= 4; ++i) ring.insert({{1, i}, {4, i}, {i, 1}, {i, 4}});
    EXPECT_EQ(c.where(ink), ring);
    // An open chain leaves out its last point only.
    Canvas open(8, 8);
    const Point chain[] = {{0, 0}, {3, 0}, {3, 2}};
    raster::draw_polyline(open.view(), chain, 3, {ink, 1});
    EXPECT_EQ(open.where(ink), (PixelSet{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}}));
}

TEST(RasterLines, WidePensStampASquareOnEveryPathPixel) {
    Canvas three(10, 10);
    raster::draw_line(three.view(), {2, 4}, {5, 4}, {ink, 3});
    PixelSet block;
    for (int32_t x = 1; x <= 5; ++x)
        for (int32_t y = 3; y <= 5; ++y) block.insert({x, y});
    EXPECT_EQ(three.where(ink), block);

    Canvas two(10, 10);
    raster::draw_line(two.view(), {2, 4}, {5, 4}, {ink, 2});
    block.clear();
    for (int32_t x = 2; x <= 5; ++x)
        for (int32_t y = 4; y <= 5; ++y) block.insert({x, y});
    EXPECT_EQ(two.where(ink), block);

    // A path just outside the surface still reaches in with its square.
    Canvas edge(4, 4);
    raster::draw_line(edge.view(), {-1, 0}, {-1, 2}, {ink, 3});
    EXPECT_EQ(edge.where(ink), (PixelSet{{0, 0}, {0, 1}, {0, 2}}));
}

TEST(RasterBezier, FlatteningOfAStraightAndACurvedSegment) {
    std::vector<Point> flat;
    const Point straight[] = {{0, 2}, {3, 2}, {6, 2}, {9, 2}};
    raster::flatten_bezier(straight, 4, flat);
    EXPECT_EQ(flat, (std::vector<Point>{{0, 2}, {9, 2}}));

    // An arch: split in halves with midpoints rounded up in sixteenths, checked step by step by hand.
    flat.clear();
    const Point arch[] = {{0, 0}, {0, 8}, {8, 8}, {8, 0}};
    raster::flatten_bezier(arch, 4, flat);
    EXPECT_EQ(flat, (std::vector<Point>{{0, 0}, {1, 5}, {3, 6}, {4, 6}, {7, 5}, {8, 3}, {8, 0}}));

    // Here a midpoint rounded down instead of up would move the first point to (0, 4).
    std::vector<Point> hook;
    const Point bend[] = {{0, 3}, {0, 6}, {3, 3}, {4, 6}};
    raster::flatten_bezier(bend, 4, hook);
    EXPECT_EQ(hook, (std::vector<Point>{{0, 3}, {1, 4}, {2, 5}, {4, 6}}));

    Canvas c(12, 12);
    raster::draw_polyline(c.view(), flat.data(), int32_t(flat.size()), {ink, 1});
    EXPECT_EQ(c.where(ink), (PixelSet{{0, 0}, {0, 1}, {0, 2}, {1, 3}, {1, 4}, {1, 5}, {2, 5}, {3, 6}, {4, 6},
                                      {5, 6}, {6, 5}, {7, 5}, {7, 4}, {8, 3}, {8, 2}, {8, 1}}));
}

TEST(RasterBezier, ChainsJoinTheirSegmentsAndStayNearTheCurve) {
    // Two segments: the chain's start once, then the flattened points of each segment in order.
    std::vector<Point> flat;
    const Point chain[] = {{0, 0}, {2, 0}, {4, 0}, {6, 0}, {6, 2}, {6, 4}, {6, 6}};
    raster::flatten_bezier(chain, 7, flat);
    EXPECT_EQ(flat, (std::vector<Point>{{0, 0}, {6, 0}, {6, 6}}));

    // A wide loop: every point lies within a pixel of the true curve, and no piece is longer than the curve
    // could bend away from in one step (at most 8 levels of halving).
    flat.clear();
    const Point loop[] = {{10, 100}, {400, -150}, {-200, -150}, {190, 100}};
    raster::flatten_bezier(loop, 4, flat);
    ASSERT_GE(flat.size(), 3u);
    ASSERT_LE(flat.size(), 257u);
    EXPECT_EQ(flat.front(), (Point{10, 100}));
    EXPECT_EQ(flat.back(), (Point{190, 100}));
    for (const Point& p : flat) {
        double best = 1e9;
        for (int i = 0; i <= 20000; ++i) {
            const double t = i / 20000.0, u = 1 - t;
            const double x = u * u * u * 10 + 3 * u * u * t * 400 + 3 * u * t * t * -200 + t * t * t * 190;
            const double y = u * u * u * 100 + 3 * u * u * t * -150 + 3 * u * t * t * -150 + t * t * t * 100;
            best = std::min(best, (x - p.x) * (x - p.x) + (y - p.y) * (y - p.y));
        }
        EXPECT_LE(best, 1.5) << p.x << "," << p.y;
    }
}

}  // namespace
