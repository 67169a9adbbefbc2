// The zoomed copy: enlarging, every pixel of many areas, origins and magnifications against its blend worked out
// from the definition, one pixel and one channel at a time; shrinking by whole factors, against the block's mean.
#include <algorithm>

#include "graphics/zoom.h"
#include "raster_canvas.h"

namespace {

constexpr uint32_t outside = 0x00302010, untouched = 0xFF123456;

// A source with every word another colour and its top byte set (which no written pixel keeps).
void make_noise(MemDC& s, int32_t w, int32_t h) {
    s.create(BIT_DIB, w, h);
    for (int32_t k = 0; k < w * h; ++k) s.words()[k] = uint32_t(k * 0x9E3779B1u) | 0xFF000000u;
}

uint32_t at(const MemDC& s, int64_t x, int64_t y) { return s.words()[(s.height() - 1 - y) * s.width() + x]; }
// Off the source, its nearest edge pixel.
uint32_t word(const MemDC& s, int64_t x, int64_t y) {
    return at(s, std::clamp<int64_t>(x, 0, s.width() - 1), std::clamp<int64_t>(y, 0, s.height() - 1));
}

// Destination pixel d's centre in the source less half a pixel, in 1/256 source pixel, rounded down: the source
// pixel before it (the whole part) and the weight of the one after (the fraction).
int64_t centre(int32_t d, int32_t origin, int64_t zoom_device) {
    return int64_t(origin) * 256 + (2 * d + 1) * 128 * int64_t(kZoomFull) * kZoomFull / zoom_device - 128;
}

// The pixel at (x, y): the outside word where its centre lies off the source; else in each channel the two pixels
// before and after the centre along each of the two rows around it, mixed by nearness and rounded, then those two
// results mixed the same way down the column.
uint32_t expected(const MemDC& src, int32_t x, int32_t y, Point origin, int64_t zoom_device) {
    const int64_t cx = centre(x, origin.x, zoom_device), cy = centre(y, origin.y, zoom_device);
    if (cx < -128 || cy < -128 || cx >= src.width() * 256 - 128 || cy >= src.height() * 256 - 128) return outside;
    const int64_t i = cx >> 8, j = cy >> 8, wx = cx & 0xFF, wy = cy & 0xFF;
    uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
        const auto along = [&](int64_t row) {
            const int64_t a = word(src, i, row) >> shift & 0xFF, b = word(src, i + 1, row) >> shift & 0xFF;
            return (a * (256 - wx) + b * wx + 128) >> 8;
        };
        out |= uint32_t((along(j) * (256 - wy) + along(j + 1) * wy + 128) >> 8) << shift;
    }
    return out;
}

// A case as its line reads.
std::string text(const DataRow& k) {
    std::string out;
    for (const auto& group : k) {
        for (int64_t v : group) out += std::to_string(v) + " ";
        out += "| ";
    }
    return out;
}

// Only the area is written, and the part of it past the destination is dropped without moving the rest.
TEST(ZoomIn, EveryPixelIsItsBlend) {
    for (const DataRow& k : data_rows("zoom_blend")) {
        SCOPED_TRACE(text(k));
        MemDC src, dst;
        make_noise(src, int32_t(k[0][0]), int32_t(k[0][1]));
        dst.create(BIT_DIB, int32_t(k[1][0]), int32_t(k[1][1]));
        std::fill(dst.words(), dst.words() + dst.width() * dst.height(), untouched);
        const Rect area{int32_t(k[2][0]), int32_t(k[2][1]), int32_t(k[2][2]), int32_t(k[2][3])};
        const Point origin{int32_t(k[3][0]), int32_t(k[3][1])};
        zoom_copy(dst, area, src, origin.x, origin.y, int32_t(k[4][0]), outside, int32_t(k[4][1]));
        int32_t wrong = 0;
        for (int32_t y = 0; y < dst.height(); ++y)
            for (int32_t x = 0; x < dst.width(); ++x) {
                const bool in = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                const uint32_t want = in ? expected(src, x, y, origin, k[4][0] * k[4][1]) : untouched;
                const uint32_t got = at(dst, x, y);
                if (got != want && ++wrong <= 3)
                    ADD_FAILURE() << x << "," << y << std::hex << ": " << got << " not " << want;
            }
        EXPECT_EQ(wrong, 0);
    }
}

// Zooming out by a whole factor K (1 included): each pixel is the mean of its K x K block where that lies on the
// source, channel by channel, rounded half up; the part of a block on the source where it lies across an edge; the
// outside word where none of it does. Areas one to eleven pixels wide take the halving four pixels at a time and
// the pixels left over; origins before the source and areas past its far edges mix whole blocks, cut ones and
// the outside in one copy.
uint32_t block_mean(const MemDC& src, int32_t left, int32_t top, int32_t k) {
    const int32_t l = std::max(left, 0), t = std::max(top, 0);
    const int32_t r = std::min(left + k, src.width()), b = std::min(top + k, src.height());
    if (r <= l || b <= t) return outside;
    const uint32_t n = uint32_t((r - l) * (b - t));
    uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
        uint32_t sum = 0;
        for (int32_t y = t; y < b; ++y)
            for (int32_t x = l; x < r; ++x) sum += at(src, x, y) >> shift & 0xFF;
        out |= (sum + n / 2) / n << shift;
    }
    return out;
}

TEST(ZoomOut, EveryPixelIsItsBlocksMean) {
    MemDC src;
    make_noise(src, 64, 40);
    for (const int32_t k : {1, 2, 4})
        for (const int32_t w : {1, 3, 4, 5, 8, 11, 40})
            for (const Point origin : {Point{0, 0}, Point{3, 5}, Point{-7, -5}, Point{50, 30}}) {
                SCOPED_TRACE(testing::Message() << "factor " << k << ", width " << w << ", origin " << origin.x);
                MemDC dst;
                dst.create(BIT_DIB, 44, 20);
                std::fill(dst.words(), dst.words() + dst.width() * dst.height(), untouched);
                const Rect area{1, 1, 1 + w, 19};
                zoom_copy(dst, area, src, origin.x, origin.y, kZoomFull / k, outside);
                for (int32_t y = 0; y < dst.height(); ++y)
                    for (int32_t x = 0; x < dst.width(); ++x) {
                        const bool in = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                        const uint32_t want =
                            in ? block_mean(src, origin.x + x * k, origin.y + y * k, k) : untouched;
                        ASSERT_EQ(at(dst, x, y), want) << x << "," << y;
                    }
            }
}

}  // namespace
