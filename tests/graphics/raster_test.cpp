// The rasteriser: lines, Bézier chains, ellipses and flood fills pixel for pixel; block transfers and stretching.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <random>
#include <sstream>

#include "raster_canvas.h"

namespace {

constexpr uint32_t white = 0xFFFFFF, grey = 0x808080, black = 0, ink = 0xABCDEF;

void fill(Canvas& c, int32_t x, int32_t y, uint32_t colour, bool surface, uint32_t brush) {
    raster::flood_fill(c.view(), x, y, colour, surface, brush);
}
void line(Canvas& c, Point a, Point b, int32_t width = 1) { raster::draw_line(c.view(), a, b, {ink, width}); }

// Runs one drawing step of golden/raster.txt (its opening lines name them) on the canvas.
void draw_step(Canvas& c, const std::string& step) {
    std::istringstream in(step);
    std::string op, word;
    std::vector<int64_t> n;
    for (in >> op; in >> word;) n.push_back(std::stoll(word, nullptr, 0));
    const auto at = [&](size_t i) { return int32_t(n.at(i)); };
    const std::vector<Point> chain = points(n);
    std::vector<Point> flat = chain;
    if (op == "bezier") flat.clear(), raster::flatten_bezier(chain.data(), int32_t(chain.size()), flat);
    if (op == "px") {
        for (const Point& p : points({n.begin() + 1, n.end()})) c.at(p.x, p.y) = uint32_t(n[0]);
    } else if (op == "rect") {
        raster::fill_rect(c.view(), n.at(0), n.at(1), n.at(2), n.at(3), uint32_t(n.at(4)));
    } else if (op == "fill") {
        fill(c, at(0), at(1), uint32_t(n.at(2)), n.at(3) != 0, uint32_t(n.at(4)));
    } else if (op == "ellipse") {
        raster::draw_ellipse(c.view(), {at(0), at(1), at(2), at(3)}, {uint32_t(n.at(4)), 1}, uint32_t(n.at(5)));
    } else if (op == "ring") {
        raster::draw_ellipse_outline(c.view(), {at(0), at(1), at(2), at(3)}, {uint32_t(n.at(4)), 1});
    } else if (op == "line") {
        line(c, {at(1), at(2)}, {at(3), at(4)}, at(0));
    } else {
        ASSERT_TRUE(op == "poly" || op == "bezier") << step;
        raster::draw_polyline(c.view(), flat.data(), int32_t(flat.size()), {ink, 1});
    }
}

// Each picture of golden/raster.txt is drawn by its steps and compared row for row; ZELTO_GOLDEN_PRINT=1 prints what
// was drawn in the file's form, to write it again after a deliberate change.
TEST(RasterPictures, DrawingsMatchTheirGoldenPictures) {
    std::ifstream in(std::string(ZELTO_SOURCE_DIR) + "/tests/graphics/golden/raster.txt");
    int pictures = 0;
    for (std::string head; std::getline(in, head);) {
        if (head.empty() || head[0] != '[') continue;
        const std::string name = head.substr(1, head.find(']') - 1);
        std::istringstream size(head.substr(head.find(']') + 1));
        std::string w, h, background, line, want;
        size >> w >> h >> background;
        Canvas c(std::stoi(w), std::stoi(h), uint32_t(std::stoul(background, nullptr, 0)));
        while (std::getline(in, line) && !line.empty())
            if (line[0] == '>') draw_step(c, line.substr(1));
            else want += line + '\n';
        SCOPED_TRACE(name);
        if (std::getenv("ZELTO_GOLDEN_PRINT")) std::printf("%s\n%s\n", head.c_str(), c.picture().c_str());
        EXPECT_EQ(c.picture(), want);
        ++pictures;
    }
    EXPECT_EQ(pictures, 24);
}

// Straightforward breadth-first fill, the yardstick for the scanline fill on awkward shapes.
void reference_fill(Canvas& c, int32_t x, int32_t y, uint32_t colour, bool surface_mode, uint32_t brush) {
    const auto inside = [&](int32_t px, int32_t py) {
        return px >= 0 && py >= 0 && px < c.width && py < c.height && surface_mode == ((c.at(px, py) & 0xFFFFFF) == colour);
    };
    if (!inside(x, y)) return;
    std::vector<char> seen(c.words.size(), 0);
    std::deque<std::pair<int32_t, int32_t>> queue{{x, y}};
    seen[size_t(y) * size_t(c.width) + size_t(x)] = 1;
    for (; !queue.empty(); queue.pop_front()) {
        const auto [px, py] = queue.front();
        c.at(px, py) = brush;
        for (const auto& [nx, ny] : {std::pair{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}}) {
            if (!inside(nx, ny) || seen[size_t(ny) * size_t(c.width) + size_t(nx)]) continue;
            seen[size_t(ny) * size_t(c.width) + size_t(nx)] = 1;
            queue.push_back({nx, ny});
        }
    }
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
        fill(a, x, y, colour, surface_mode, brush);
        reference_fill(b, x, y, colour, surface_mode, brush);
        ASSERT_EQ(a.words, b.words) << "round " << round;
    }
}

TEST(RasterLines, BresenhamPixelsTiesAndClipping) {
    for (const DataRow& k : data_rows("lines")) {
        const std::vector<Point> ends = points(k[0]);
        PixelSet want;
        for (const Point& p : points(k[1])) want.insert({p.x, p.y});
        const int32_t size = ends[0].x < -1000 ? 4 : 16;
        Canvas c(size, size);
        line(c, ends[0], ends[1]);
        EXPECT_EQ(c.where(ink), want) << ends[0].x << "," << ends[0].y << " " << ends[1].x << "," << ends[1].y;
    }
    // Slanted lines whose ends lie far away: inside the surface they take the pixels the full path has there.
    const Point far[][2] = {{{-1000, -333}, {1000, 330}}, {{2000, -7}, {-2000, 29}},
                            {{5, -2147483647}, {9, 2147483647}}, {{-2147483647, -2147483647}, {2147483647, 2147483646}}};
    for (const auto& f : far) {
        std::vector<Point> wide, narrow;
        raster::line_path(f[0], f[1], {-4000, -4000, 4000, 4000}, wide);
        raster::line_path(f[0], f[1], {0, 0, 16, 16}, narrow);
        PixelSet expected;
        for (const Point& p : wide)
            if (p.x >= 0 && p.y >= 0 && p.x < 16 && p.y < 16) expected.insert({p.x, p.y});
        Canvas c(16, 16);
        line(c, f[0], f[1]);
        EXPECT_EQ(c.where(ink), expected);
        EXPECT_EQ(narrow.size(), expected.size());
    }
}

TEST(RasterBezier, FlatteningHalvesWithMidpointsRoundedUp) {
    for (const DataRow& k : data_rows("bezier")) {
        const std::vector<Point> chain = points(k[0]);
        std::vector<Point> flat;
        raster::flatten_bezier(chain.data(), int32_t(chain.size()), flat);
        EXPECT_EQ(flat, points(k[1]));
    }
    // A wide loop: every point within a pixel of the true curve, at most 8 levels of halving.
    std::vector<Point> flat;
    const Point loop[] = {{10, 100}, {400, -150}, {-200, -150}, {190, 100}};
    raster::flatten_bezier(loop, 4, flat);
    ASSERT_GE(flat.size(), 3u);
    ASSERT_LE(flat.size(), 257u);
    EXPECT_EQ(flat.front(), (Point{10, 100}));
    EXPECT_EQ(flat.back(), (Point{190, 100}));
    for (const Point& p : flat) {
        double best = 1e9;
        for (double t = 0; t <= 1; t += 1.0 / 20000) {
            const double u = 1 - t, x = u * u * u * 10 + 3 * u * u * t * 400 - 3 * u * t * t * 200 + t * t * t * 190;
            const double y = u * u * u * 100 - 3 * u * u * t * 150 - 3 * u * t * t * 150 + t * t * t * 100;
            best = std::min(best, (x - p.x) * (x - p.x) + (y - p.y) * (y - p.y));
        }
        EXPECT_LE(best, 1.5) << p.x << "," << p.y;
    }
}

// Each pixel names its own place, so a copy shows where every word came from.
uint32_t name(int32_t x, int32_t y) { return 0x01000000u | uint32_t(y) << 8 | uint32_t(x); }
Canvas numbered(int32_t w, int32_t h) {
    Canvas c(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) c.at(x, y) = name(x, y);
    return c;
}
raster::Transfer with(raster::Rop rop, raster::Convert convert = raster::Convert::none) {
    raster::Transfer t;
    t.rop = rop, t.convert = convert;
    return t;
}

TEST(RasterBlit, OperationsConversionsAndTheMonochromeMask) {
    using raster::Rop;
    const struct {
        Rop rop;
        uint32_t want;
    } cases[] = {{Rop::copy, 0xAB123456}, {Rop::not_copy, 0x54EDCBA9}, {Rop::paint, 0xFF12FF5F},
                 {Rop::and_op, 0x01003406}};  // whole words, top byte included
    for (const auto& k : cases) {
        Canvas src(2, 1, 0xAB123456), dst(2, 1, 0x5500FF0F);
        raster::transfer_rect(dst.view(), 0, 0, 2, 1, src.view(), 0, 0, with(k.rop));
        EXPECT_EQ(dst.words, std::vector<uint32_t>(2, k.want));
    }
    // The pattern copy writes the brush word and clips to the destination only.
    Canvas src(1, 1), dst(3, 3, 0x5500FF0F);
    raster::Transfer t = with(Rop::pattern);
    t.pattern = 0x00112233;
    raster::transfer_rect(dst.view(), 1, 1, 5, 5, src.view(), 0, 0, t);
    EXPECT_EQ(dst.where(0x00112233), (PixelSet{{1, 1}, {2, 1}, {1, 2}, {2, 2}}));

    Canvas colour(4, 1), mono(4, 1, white);
    colour.words = {white, 0xFF000000 | white, 0xFFFFFE, 0x123456};  // a marked white is white
    t = with(Rop::copy, raster::Convert::colour_to_mono);
    t.mask = 0xFFFFFF;
    raster::transfer_rect(mono.view(), 0, 0, 4, 1, colour.view(), 0, 0, t);
    EXPECT_EQ(mono.words, (std::vector<uint32_t>{white, white, 0, 0}));
    t.rop = Rop::not_copy;
    raster::transfer_rect(mono.view(), 0, 0, 4, 1, colour.view(), 0, 0, t);
    EXPECT_EQ(mono.words, (std::vector<uint32_t>{0, 0, white, white}));
    Canvas back(4, 1, 0xEE000000);
    t = with(Rop::copy, raster::Convert::mono_to_colour);
    t.zero = 0x800000, t.one = 0x00FF00;
    raster::transfer_rect(back.view(), 0, 0, 4, 1, mono.view(), 0, 0, t);
    EXPECT_EQ(back.words, (std::vector<uint32_t>{0x800000, 0x800000, 0x00FF00, 0x00FF00}));
}

TEST(RasterBlit, ClippedAtEveryEdgeAndOverlapCopiesAsThroughABuffer) {
    const struct {
        int32_t x, y, sx, sy;
    } moves[] = {{-1, -1, 0, 0}, {2, 2, 0, 0}, {0, 0, -1, -2}, {0, 0, 2, 3}, {-3, 1, 2, -1}, {5, 0, 0, 0}};
    for (const auto& m : moves) {
        Canvas s = numbered(4, 4), d(4, 4, 0);
        raster::transfer_rect(d.view(), m.x, m.y, 4, 4, s.view(), m.sx, m.sy, with(raster::Rop::copy));
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 4; ++x) {
                const int32_t fx = x - m.x + m.sx, fy = y - m.y + m.sy;
                const bool covered = x >= m.x && y >= m.y && fx >= 0 && fy >= 0 && fx < 4 && fy < 4;
                EXPECT_EQ(d.at(x, y), covered ? name(fx, fy) : 0u) << x << "," << y;
            }
    }
    for (const Point shift : {Point{1, 0}, Point{-1, 0}, Point{0, 1}, Point{0, -1}, Point{2, 1}}) {
        Canvas c = numbered(6, 6);
        raster::transfer_rect(c.view(), 1 + shift.x, 1 + shift.y, 3, 3, c.view(), 1, 1, with(raster::Rop::copy));
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(c.at(1 + shift.x + x, 1 + shift.y + y), name(1 + x, 1 + y));
    }
}

TEST(RasterStretch, IndexRulesForShrinkingAndEnlarging) {
    for (const DataRow& k : data_rows("stretch_index")) {
        std::vector<int64_t> got;
        for (int32_t j = 0; j < k[0][1]; ++j) got.push_back(raster::stretch_index(j, int32_t(k[0][0]), int32_t(k[0][1]), k[0][2]));
        EXPECT_EQ(got, k[1]) << k[0][0] << "->" << k[0][1] << " " << k[0][2];
    }
}

TEST(RasterStretch, MapsWholeRectanglesAndLeavesOutsidePixelsAlone) {
    Canvas src = numbered(4, 4), half(2, 2);
    raster::stretch_rect(half.view(), 0, 0, 2, 2, src.view(), 0, 0, 4, 4, with(raster::Rop::copy));
    EXPECT_EQ(half.words, (std::vector<uint32_t>{name(1, 2), name(3, 2), name(1, 0), name(3, 0)}));  // bottom row first

    // Enlarged 2 x 2 -> 4 x 4 at (-1, 1): the part left of and below the surface is dropped, not shifted.
    Canvas big(4, 4, 0);
    raster::stretch_rect(big.view(), -1, 1, 4, 4, src.view(), 2, 2, 2, 2, with(raster::Rop::copy));
    const int32_t from[4] = {0, 0, 1, 1};
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(big.at(x, y), y >= 1 && x < 3 ? name(2 + from[x + 1], 2 + from[y - 1]) : 0u) << x << "," << y;

    // A source rectangle reaching past its surface: destination pixels fed from outside stay as they were.
    Canvas part(4, 1, 0);
    raster::stretch_rect(part.view(), 0, 0, 4, 1, src.view(), 2, 0, 4, 1, with(raster::Rop::copy));
    EXPECT_EQ(part.words, (std::vector<uint32_t>{name(2, 0), name(3, 0), 0, 0}));
    // Within one surface the source is read before it is overwritten.
    raster::stretch_rect(src.view(), 0, 0, 4, 4, src.view(), 0, 0, 2, 2, with(raster::Rop::copy));
    EXPECT_EQ(src.at(3, 3), name(1, 1));
    EXPECT_EQ(src.at(1, 1), name(0, 0));
}

}  // namespace
