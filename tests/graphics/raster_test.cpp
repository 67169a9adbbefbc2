// The rasteriser: lines, Bézier chains, ellipses and flood fills pixel for pixel; block transfers and stretching.

#include <algorithm>

#include "raster_canvas.h"

namespace {

constexpr uint32_t ink = 0xABCDEF;

void line(Canvas& c, Point a, Point b, int32_t width = 1) { raster::draw_line(c.view(), a, b, {ink, width}); }

// Runs one drawing step of golden/raster.txt (its opening lines name them) on the canvas.
void draw_step(Canvas& c, const std::string& step) {
    std::istringstream in(step);
    std::string op, word;
    std::vector<int64_t> n;
    for (in >> op; in >> word;) n.push_back(std::stoll(word, nullptr, 0));
    const auto at = [&](size_t i) { return int32_t(n.at(i)); };
    if (op == "px") {
        for (const Point& p : points({n.begin() + 1, n.end()})) c.at(p.x, p.y) = uint32_t(n[0]);
    } else if (op == "rect") {
        raster::fill_rect(c.view(), n.at(0), n.at(1), n.at(2), n.at(3), uint32_t(n.at(4)));
    } else if (op == "fill") {
        raster::flood_fill(c.view(), at(0), at(1), uint32_t(n.at(2)), n.at(3) != 0, uint32_t(n.at(4)));
    } else if (op == "ellipse") {
        raster::draw_ellipse(c.view(), {at(0), at(1), at(2), at(3)}, {uint32_t(n.at(4)), 1}, uint32_t(n.at(5)));
    } else if (op == "ring") {
        raster::draw_ellipse_outline(c.view(), {at(0), at(1), at(2), at(3)}, {uint32_t(n.at(4)), 1});
    } else if (op == "line") {
        line(c, {at(1), at(2)}, {at(3), at(4)}, at(0));
    } else {
        ASSERT_TRUE(op == "poly" || op == "bezier") << step;
        const std::vector<Point> chain = points(n);
        std::vector<Point> flat;
        if (op == "bezier") raster::flatten_bezier(chain.data(), int32_t(chain.size()), flat);
        const std::vector<Point>& path = op == "bezier" ? flat : chain;
        raster::draw_polyline(c.view(), path.data(), int32_t(path.size()), {ink, 1});
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
    EXPECT_EQ(pictures, 26);
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
}

TEST(RasterBezier, FlatteningHalvesWithMidpointsRoundedUp) {
    for (const DataRow& k : data_rows("bezier")) {
        const std::vector<Point> chain = points(k[0]);
        std::vector<Point> flat;
        raster::flatten_bezier(chain.data(), int32_t(chain.size()), flat);
        EXPECT_EQ(flat, points(k[1]));
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

TEST(RasterBlit, OperationsOnWholeWordsAndThePatternCopy) {
    for (const DataRow& k : data_rows("blit_rops")) {
        Canvas src(2, 1, uint32_t(k[1][0])), dst(2, 1, uint32_t(k[2][0]));
        raster::transfer_rect(dst.view(), 0, 0, 2, 1, src.view(), 0, 0, {raster::Rop(k[0][0])});
        EXPECT_EQ(dst.words, std::vector<uint32_t>(2, uint32_t(k[3][0]))) << "operation " << k[0][0];
    }
    // The pattern copy writes the brush word and clips to the destination only.
    Canvas src(1, 1), dst(3, 3, 0x5500FF0F);
    raster::transfer_rect(dst.view(), 1, 1, 5, 5, src.view(), 0, 0,
                          {.rop = raster::Rop::pattern, .pattern = 0x00112233});
    EXPECT_EQ(dst.where(0x00112233), (PixelSet{{1, 1}, {2, 1}, {1, 2}, {2, 2}}));
}

TEST(RasterBlit, ClippedAtEveryEdgeAndOverlapCopiesAsThroughABuffer) {
    for (const DataRow& k : data_rows("blit_moves")) {
        const std::vector<int32_t> m = values<int32_t>(k[0]);  // x y sx sy
        Canvas s = numbered(4, 4), d(4, 4, 0);
        raster::transfer_rect(d.view(), m[0], m[1], 4, 4, s.view(), m[2], m[3], {});
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 4; ++x) {
                const int32_t fx = x - m[0] + m[2], fy = y - m[1] + m[3];
                const bool covered = x >= m[0] && y >= m[1] && fx >= 0 && fy >= 0 && fx < 4 && fy < 4;
                EXPECT_EQ(d.at(x, y), covered ? name(fx, fy) : 0u) << x << "," << y;
            }
    }
    for (const Point shift : {Point{1, 0}, Point{-1, 0}, Point{0, 1}, Point{0, -1}, Point{2, 1}}) {
        Canvas c = numbered(6, 6);
        raster::transfer_rect(c.view(), 1 + shift.x, 1 + shift.y, 3, 3, c.view(), 1, 1, {});
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(c.at(1 + shift.x + x, 1 + shift.y + y), name(1 + x, 1 + y));
    }
}

TEST(RasterStretch, IndexRulesForShrinkingAndEnlarging) {
    for (const DataRow& k : data_rows("stretch_index")) {
        std::vector<int64_t> got;
        const std::vector<int32_t> sizes = values<int32_t>(k[0]);
        for (int32_t j = 0; j < sizes[1]; ++j) got.push_back(raster::stretch_index(j, sizes[0], sizes[1], sizes[2]));
        EXPECT_EQ(got, k[1]) << k[0][0] << "->" << k[0][1] << " " << k[0][2];
    }
}

// A source rectangle reaching past its surface, on either side, leaves the pixels it would feed alone; within one
// surface the source is read before it is overwritten.
TEST(RasterStretch, SourcesPastTheSurfaceAndOverlapsWithinIt) {
    Canvas src = numbered(4, 4);
    for (const auto& [sx, want] : {std::pair{2, std::vector<uint32_t>{name(2, 0), name(3, 0), 0, 0}},
                                   std::pair{-2, std::vector<uint32_t>{0, 0, name(0, 0), name(1, 0)}}}) {
        Canvas part(4, 1, 0);
        raster::stretch_rect(part.view(), 0, 0, 4, 1, src.view(), sx, 0, 4, 1, {});
        EXPECT_EQ(part.words, want) << sx;
    }
    raster::stretch_rect(src.view(), 0, 0, 4, 4, src.view(), 0, 0, 2, 2, {});
    EXPECT_EQ(std::pair(src.at(3, 3), src.at(1, 1)), std::pair(name(1, 1), name(0, 0)));
}

}  // namespace
