// Flood fills (border and surface modes, closed outlines that must hold) and ellipses.
#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "raster_canvas.h"

namespace {

constexpr uint32_t white = 0xFFFFFF, grey = 0x808080, black = 0;

// Straightforward breadth-first fill, the yardstick for the scanline fill on awkward shapes.
void reference_fill(Canvas& c, int32_t x, int32_t y, uint32_t colour, bool surface_mode, uint32_t brush) {
    const auto inside = [&](uint32_t w) { return surface_mode == ((w & 0xFFFFFF) == colour); };
    if (x < 0 || y < 0 || x >= c.width || y >= c.height || !inside(c.at(x, y))) return;
    std::vector<char> seen(c.words.size(), 0);
    std::deque<std::pair<int32_t, int32_t>> queue{{x, y}};
    seen[size_t(y) * size_t(c.width) + size_t(x)] = 1;
    while (!queue.empty()) {
        const auto [px, py] = queue.front();
        queue.pop_front();
        c.at(px, py) = brush;
        const int32_t nx[4] = {px - 1, px + 1, px, px}, ny[4] = {py, py, py - 1, py + 1};
        for (int i = 0; i < 4; ++i) {
            if (nx[i] < 0 || ny[i] < 0 || nx[i] >= c.width || ny[i] >= c.height) continue;
            char& s = seen[size_t(ny[i]) * size_t(c.width) + size_t(nx[i])];
            if (s || !inside(c.at(nx[i], ny[i]))) continue;
            s = 1;
            queue.push_back({nx[i], ny[i]});
        }
    }
}

TEST(RasterFlood, BorderModeFillsInsideAnOutlineAndStopsAtIt) {
    Canvas c(8, 8, grey);
    for (int32_t i = 1; i <= 5; ++i) c.at(1, i) = c.at(5, i) = c.at(i, 1) = c.at(i, 5) = white;
    raster::flood_fill(c.view(), 3, 3, white, false, black);
    PixelSet inner;
    for (int32_t x = 2; x <= 4; ++x)
        for (int32_t y = 2; y <= 4; ++y) inner.insert({x, y});
    EXPECT_EQ(c.where(black), inner);
    EXPECT_EQ(c.where(white).size(), 16u);
}

TEST(RasterFlood, FourNeighboursOnlySoDiagonalStepsHold) {
    Canvas c(6, 6, grey);
    for (int32_t i = 0; i < 6; ++i) c.at(5 - i, i) = white;
    raster::flood_fill(c.view(), 0, 0, white, false, black);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 6; ++x) {
            const uint32_t want = x + y < 5 ? black : x + y == 5 ? white : grey;
            EXPECT_EQ(c.at(x, y), want) << x << "," << y;
        }
}

TEST(RasterFlood, SeedsThatPaintNothing) {
    Canvas c(4, 4, grey);
    c.at(1, 1) = 0xFF000000 | white;  // a marked white pixel is still white
    const std::vector<uint32_t> before = c.words;
    raster::flood_fill(c.view(), 1, 1, white, false, black);   // on the border colour
    raster::flood_fill(c.view(), -1, 0, white, false, black);  // off the surface
    raster::flood_fill(c.view(), 0, 4, white, false, black);
    raster::flood_fill(c.view(), 2, 2, white, true, black);    // surface mode, seed not of the colour
    EXPECT_EQ(c.words, before);
}

TEST(RasterFlood, ComparisonsIgnoreTheTopByteAndTheBrushIsWrittenWithoutOne) {
    // Surface mode: marked grey pixels count as grey; a marked white one stops the fill.
    Canvas c(3, 1, 0x55000000 | grey);
    c.at(1, 0) = 0x11000000 | white;
    raster::flood_fill(c.view(), 0, 0, grey, true, 0x123456);
    EXPECT_EQ(c.at(0, 0), 0x123456u);
    EXPECT_EQ(c.at(1, 0), 0x11000000u | white);
    EXPECT_EQ(c.at(2, 0), 0x55000000u | grey);
}

TEST(RasterFlood, BrushThatStillCountsAsInside) {
    // A border fill in a colour other than the border, through pixels that already have the brush colour; and a
    // surface fill in the surface's own colour, which only clears the marks. Both must end and reach everything.
    Canvas border(7, 5, 0x01000000 | grey);
    for (int32_t y = 0; y < 5; ++y) border.at(3, y) = white;
    border.at(1, 2) = 0x02000000 | 0x00C0C0;
    raster::flood_fill(border.view(), 0, 0, white, false, 0x00C0C0);
    for (int32_t y = 0; y < 5; ++y) {
        for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(border.at(x, y), 0x00C0C0u);
        for (int32_t x = 4; x < 7; ++x) EXPECT_EQ(border.at(x, y), 0x01000000u | grey);
    }
    Canvas surface(5, 5, 0x7F000000 | grey);
    surface.at(2, 0) = surface.at(2, 1) = surface.at(2, 2) = surface.at(2, 3) = surface.at(2, 4) = black;
    raster::flood_fill(surface.view(), 4, 4, grey, true, grey);
    EXPECT_EQ(surface.where(grey).size(), 10u);
    EXPECT_EQ(surface.where(0x7F000000 | grey).size(), 10u);
}

TEST(RasterFlood, MatchesABreadthFirstFillOnNoise) {
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        const int32_t w = 1 + int32_t(rng() % 40), h = 1 + int32_t(rng() % 40);
        Canvas a(w, h, grey);
        for (uint32_t& word : a.words) {
            const uint32_t r = rng() % 100;
            word = r < 35 ? white : r < 45 ? (0xAA000000 | grey) : r < 55 ? black : grey;
        }
        Canvas b = a;
        const int32_t x = int32_t(rng() % uint32_t(w)), y = int32_t(rng() % uint32_t(h));
        const bool surface_mode = round % 3 == 0;
        const uint32_t colour = surface_mode ? grey : white;
        const uint32_t brush = round % 2 ? black : (surface_mode ? grey : white);
        raster::flood_fill(a.view(), x, y, colour, surface_mode, brush);
        reference_fill(b, x, y, colour, surface_mode, brush);
        ASSERT_EQ(a.words, b.words) << "round " << round;
    }
}

// A cell with a knob out of its top edge and one out of its bottom, drawn as four chains like a cut.
void draw_knobbed_cell(Canvas& c, bool leave_gap) {
    const Point top[] = {{16, 16}, {24, 16}, {28, 18}, {28, 14}, {28, 10}, {24, 6}, {32, 6},
                         {40, 6},  {36, 10}, {36, 14}, {36, 18}, {40, 16}, {48, 16}};
    const Point right[] = {{48, 16}, {48, 26}, {48, 38}, {48, 48}};
    const Point bottom[] = {{48, 48}, {40, 48}, {36, 46}, {36, 50}, {36, 54}, {40, 58}, {32, 58},
                            {24, 58}, {28, 54}, {28, 50}, {28, 46}, {24, 48}, {16, 48}};
    const Point left[] = {{16, 48}, {16, 38}, {16, 26}, {16, 16}};
    for (const auto& [points, count] : {std::pair{top, 13}, {right, 4}, {bottom, 13}, {left, 4}}) {
        std::vector<Point> flat;
        raster::flatten_bezier(points, count, flat);
        raster::draw_polyline(c.view(), flat.data(), int32_t(flat.size()), {white, 1});
    }
    if (leave_gap) c.at(16, 30) = grey;
}

TEST(RasterFlood, ClosedBezierOutlineDoesNotLeak) {
    Canvas c(64, 64, grey);
    draw_knobbed_cell(c, false);
    raster::flood_fill(c.view(), 0, 0, white, false, white);
    EXPECT_EQ(c.at(32, 32), grey);
    EXPECT_EQ(c.at(32, 10), grey);  // inside the top knob
    EXPECT_EQ(c.at(32, 52), grey);  // inside the bottom knob
    EXPECT_EQ(c.at(20, 8), white);
    EXPECT_EQ(c.at(32, 62), white);
    // Everything left grey is one region: filling it from the centre leaves no grey at all.
    raster::flood_fill(c.view(), 32, 32, white, false, black);
    EXPECT_TRUE(c.where(grey).empty());
    EXPECT_GT(c.where(black).size(), 900u);

    // The same outline with one pixel missing lets the fill through: the check above can fail.
    Canvas open(64, 64, grey);
    draw_knobbed_cell(open, true);
    raster::flood_fill(open.view(), 0, 0, white, false, white);
    EXPECT_EQ(open.at(32, 32), white);
}

TEST(RasterEllipse, SmallBoxesHandChecked) {
    // 5 x 5: a circle of radius 2, corners untouched.
    Canvas c(7, 7, grey);
    raster::draw_ellipse(c.view(), {0, 0, 5, 5}, {black, 1}, white);
    PixelSet outline{{1, 0}, {2, 0}, {3, 0}, {0, 1}, {4, 1}, {0, 2}, {4, 2},
                     {0, 3}, {4, 3}, {1, 4}, {2, 4}, {3, 4}};
    EXPECT_EQ(c.where(black), outline);
    PixelSet inner;
    for (int32_t x = 1; x <= 3; ++x)
        for (int32_t y = 1; y <= 3; ++y) inner.insert({x, y});
    EXPECT_EQ(c.where(white), inner);

    // 6 x 4, given with its corners the other way round: two centre columns and two centre rows.
    Canvas d(8, 6, grey);
    raster::draw_ellipse(d.view(), {6, 4, 0, 0}, {black, 1}, white);
    outline = {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {0, 1}, {5, 1}, {0, 2}, {5, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}};
    EXPECT_EQ(d.where(black), outline);
    EXPECT_EQ(d.where(white), (PixelSet{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 2}, {2, 2}, {3, 2}, {4, 2}}));
}

TEST(RasterEllipse, ThinBoxesAreRectanglesAndFlatOnesReachEverySide) {
    Canvas c(8, 8, grey);
    raster::draw_ellipse(c.view(), {2, 2, 4, 7}, {black, 1}, white);
    EXPECT_EQ(c.where(black).size(), 10u);
    EXPECT_TRUE(c.where(white).empty());

    for (const Rect box : {Rect{0, 0, 21, 3}, Rect{0, 0, 3, 21}, Rect{0, 0, 30, 7}, Rect{0, 0, 8, 25}}) {
        Canvas e(32, 32, grey);
        raster::draw_ellipse(e.view(), box, {black, 1}, white);
        int32_t min_x = 99, max_x = -1, min_y = 99, max_y = -1;
        for (const auto& [x, y] : e.where(black)) {
            min_x = std::min(min_x, x), max_x = std::max(max_x, x);
            min_y = std::min(min_y, y), max_y = std::max(max_y, y);
        }
        EXPECT_EQ((Rect{min_x, min_y, max_x + 1, max_y + 1}), box);
        for (const auto& [x, y] : e.where(white)) EXPECT_TRUE(x > box.left && y > box.top);
    }
}

}  // namespace
