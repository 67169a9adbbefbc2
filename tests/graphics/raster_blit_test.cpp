// Block transfers (raster operations on whole words, clipping, overlap) and the nearest-neighbour stretch.
#include <gtest/gtest.h>

#include "raster_canvas.h"

namespace {

// Each pixel names its own place, so a copy shows where every word came from.
Canvas numbered(int32_t w, int32_t h) {
    Canvas c(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) c.at(x, y) = 0x01000000u | uint32_t(y) << 8 | uint32_t(x);
    return c;
}
uint32_t name(int32_t x, int32_t y) { return 0x01000000u | uint32_t(y) << 8 | uint32_t(x); }

raster::Transfer with(raster::Rop rop) {
    raster::Transfer t;
    t.rop = rop;
    return t;
}

TEST(RasterBlit, OperationsWorkOnWholeWordsTopByteIncluded) {
    const struct {
        raster::Rop rop;
        uint32_t want;
    } cases[] = {{raster::Rop::copy, 0xAB123456}, {raster::Rop::not_copy, 0x54EDCBA9},
                 {raster::Rop::paint, 0xFF12FF5F}, {raster::Rop::and_op, 0x01003406}};
    for (const auto& c : cases) {
        Canvas src(2, 1, 0xAB123456), dst(2, 1, 0x5500FF0F);
        raster::transfer_rect(dst.view(), 0, 0, 2, 1, src.view(), 0, 0, with(c.rop));
        EXPECT_EQ(dst.at(0, 0), c.want);
        EXPECT_EQ(dst.at(1, 0), c.want);
    }
    // The pattern copy writes the brush word and clips to the destination only.
    Canvas src(1, 1), dst(3, 3, 0x5500FF0F);
    raster::Transfer t = with(raster::Rop::pattern);
    t.pattern = 0x00112233;
    raster::transfer_rect(dst.view(), 1, 1, 5, 5, src.view(), 0, 0, t);
    EXPECT_EQ(dst.where(0x00112233), (PixelSet{{1, 1}, {2, 1}, {1, 2}, {2, 2}}));
}

TEST(RasterBlit, ConversionsAndTheMonochromeMask) {
    Canvas src(4, 1);
    src.at(0, 0) = 0xFFFFFF;
    src.at(1, 0) = 0xFF000000 | 0xFFFFFF;  // a marked white is white
    src.at(2, 0) = 0xFFFFFE;
    src.at(3, 0) = 0x123456;
    Canvas mono(4, 1, 0xFFFFFF);
    raster::Transfer t = with(raster::Rop::copy);
    t.convert = raster::Convert::colour_to_mono;
    t.mask = 0xFFFFFF;
    raster::transfer_rect(mono.view(), 0, 0, 4, 1, src.view(), 0, 0, t);
    EXPECT_EQ(mono.words, (std::vector<uint32_t>{0xFFFFFF, 0xFFFFFF, 0, 0}));
    t.rop = raster::Rop::not_copy;
    raster::transfer_rect(mono.view(), 0, 0, 4, 1, src.view(), 0, 0, t);
    EXPECT_EQ(mono.words, (std::vector<uint32_t>{0, 0, 0xFFFFFF, 0xFFFFFF}));

    Canvas colour(4, 1, 0xEE000000);
    t = with(raster::Rop::copy);
    t.convert = raster::Convert::mono_to_colour;
    t.zero = 0x800000;
    t.one = 0x00FF00;
    raster::transfer_rect(colour.view(), 0, 0, 4, 1, mono.view(), 0, 0, t);
    EXPECT_EQ(colour.words, (std::vector<uint32_t>{0x800000, 0x800000, 0x00FF00, 0x00FF00}));
}

TEST(RasterBlit, ClippedAtEveryEdgeOfBothSurfaces) {
    const Canvas src = numbered(4, 4);
    const struct {
        int32_t x, y, sx, sy;
    } moves[] = {{-1, -1, 0, 0}, {2, 2, 0, 0}, {0, 0, -1, -2}, {0, 0, 2, 3}, {-3, 1, 2, -1}, {5, 0, 0, 0}};
    for (const auto& m : moves) {
        Canvas s = src, d(4, 4, 0);
        raster::transfer_rect(d.view(), m.x, m.y, 4, 4, s.view(), m.sx, m.sy, with(raster::Rop::copy));
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 4; ++x) {
                const int32_t fx = x - m.x + m.sx, fy = y - m.y + m.sy;
                const bool covered = x >= m.x && x < m.x + 4 && y >= m.y && y < m.y + 4 && fx >= 0 && fy >= 0 &&
                                     fx < 4 && fy < 4;
                EXPECT_EQ(d.at(x, y), covered ? name(fx, fy) : 0u) << x << "," << y;
            }
    }
}

TEST(RasterBlit, OverlappingBlocksOfOneSurfaceCopyAsIfThroughABuffer) {
    for (const Point shift : {Point{1, 0}, Point{-1, 0}, Point{0, 1}, Point{0, -1}, Point{2, 1}}) {
        Canvas c = numbered(6, 6);
        raster::transfer_rect(c.view(), 1 + shift.x, 1 + shift.y, 3, 3, c.view(), 1, 1, with(raster::Rop::copy));
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(c.at(1 + shift.x + x, 1 + shift.y + y), name(1 + x, 1 + y));
    }
}

TEST(RasterStretch, IndexRulesForShrinkingAndEnlarging) {
    const auto table = [](int32_t s, int32_t d, bool vertical) {
        std::vector<int32_t> t;
        for (int32_t j = 0; j < d; ++j) t.push_back(raster::stretch_index(j, s, d, vertical));
        return t;
    };
    EXPECT_EQ(table(4, 2, false), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(table(4, 2, true), (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(table(5, 3, false), (std::vector<int32_t>{1, 2, 4}));
    EXPECT_EQ(table(5, 3, true), (std::vector<int32_t>{0, 2, 3}));
    EXPECT_EQ(table(2, 4, false), (std::vector<int32_t>{0, 0, 1, 1}));
    EXPECT_EQ(table(3, 5, true), (std::vector<int32_t>{0, 0, 1, 2, 2}));
    EXPECT_EQ(table(2, 1, false), (std::vector<int32_t>{0}));
    EXPECT_EQ(table(3, 1, false), (std::vector<int32_t>{1}));
    EXPECT_EQ(table(3, 1, true), (std::vector<int32_t>{0}));
    EXPECT_EQ(table(7, 7, true), (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(RasterStretch, MapsWholeRectanglesAndLeavesOutsidePixelsAlone) {
    Canvas src = numbered(4, 4), half(2, 2);
    raster::stretch_rect(half.view(), 0, 0, 2, 2, src.view(), 0, 0, 4, 4, with(raster::Rop::copy));
    EXPECT_EQ(half.at(0, 0), name(1, 0));
    EXPECT_EQ(half.at(1, 0), name(3, 0));
    EXPECT_EQ(half.at(0, 1), name(1, 2));
    EXPECT_EQ(half.at(1, 1), name(3, 2));

    // Enlarged 2 x 2 -> 4 x 4 at (-1, 1): the part left of and below the surface is dropped, not shifted.
    Canvas big(4, 4, 0);
    raster::stretch_rect(big.view(), -1, 1, 4, 4, src.view(), 2, 2, 2, 2, with(raster::Rop::copy));
    const int32_t from[4] = {0, 0, 1, 1};
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x) {
            const bool covered = y >= 1 && x < 3;
            EXPECT_EQ(big.at(x, y), covered ? name(2 + from[x + 1], 2 + from[y - 1]) : 0u) << x << "," << y;
        }

    // A source rectangle reaching past its surface: destination pixels fed from outside stay as they were.
    Canvas part(4, 1, 0);
    raster::stretch_rect(part.view(), 0, 0, 4, 1, src.view(), 2, 0, 4, 1, with(raster::Rop::copy));
    EXPECT_EQ(part.words, (std::vector<uint32_t>{name(2, 0), name(3, 0), 0, 0}));

    // Within one surface the source is read before it is overwritten.
    Canvas self = numbered(4, 4);
    raster::stretch_rect(self.view(), 0, 0, 4, 4, self.view(), 0, 0, 2, 2, with(raster::Rop::copy));
    EXPECT_EQ(self.at(3, 3), name(1, 1));
    EXPECT_EQ(self.at(1, 1), name(0, 0));
}

}  // namespace
