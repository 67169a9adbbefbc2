// The zoomed copy: a box filter for zooming out, a bilinear blend for zooming in.
#include "graphics/zoom.h"

#include <algorithm>
#include <vector>

namespace {

// Where a destination column or row starts in the source and how many source pixels it covers there (clipped
// to the source; count 0 = none).
struct Span {
    int32_t first = 0, count = 0;
};

// The source span under destination pixels [from, to) along one axis of a source `size` long.
std::vector<Span> spans(int32_t from, int32_t to, int32_t origin, int32_t zoom, int32_t size) {
    std::vector<Span> out(size_t(std::max(to - from, 0)));
    for (int32_t d = from; d < to; ++d) {
        const int64_t a = origin + int64_t(d) * kZoomFull / zoom;
        const int64_t b = std::max(origin + int64_t(d + 1) * kZoomFull / zoom, a + 1);
        const int64_t lo = std::clamp<int64_t>(a, 0, size), hi = std::clamp<int64_t>(b, 0, size);
        out[size_t(d - from)] = {int32_t(lo), int32_t(hi - lo)};
    }
    return out;
}

// Row r (0 = top) of a surface whose rows are kept bottom-up.
const uint32_t* row_of(const MemDC& s, int32_t r) { return s.words() + size_t(s.height() - 1 - r) * size_t(s.width()); }
uint32_t* row_of(MemDC& s, int32_t r) { return s.words() + size_t(s.height() - 1 - r) * size_t(s.width()); }

void box_copy(MemDC& dst, const Rect& a, const MemDC& src, int32_t ox, int32_t oy, int32_t zoom, uint32_t outside) {
    const std::vector<Span> cols = spans(a.left, a.right, ox, zoom, src.width());
    const std::vector<Span> rows = spans(a.top, a.bottom, oy, zoom, src.height());
    std::vector<uint32_t> sums(size_t(a.width()) * 3);
    for (int32_t y = a.top; y < a.bottom; ++y) {
        uint32_t* out = row_of(dst, y) + a.left;
        const Span rs = rows[size_t(y - a.top)];
        if (rs.count == 0) {
            std::fill(out, out + a.width(), outside);
            continue;
        }
        std::fill(sums.begin(), sums.end(), 0u);
        for (int32_t r = rs.first; r < rs.first + rs.count; ++r) {
            const uint32_t* in = row_of(src, r);
            for (size_t i = 0; i < cols.size(); ++i)
                for (int32_t c = cols[i].first; c < cols[i].first + cols[i].count; ++c) {
                    sums[3 * i] += in[c] >> 16 & 0xFF;
                    sums[3 * i + 1] += in[c] >> 8 & 0xFF;
                    sums[3 * i + 2] += in[c] & 0xFF;
                }
        }
        for (size_t i = 0; i < cols.size(); ++i) {
            const uint32_t n = uint32_t(cols[i].count * rs.count);
            if (n == 0) {
                out[i] = outside;
                continue;
            }
            const auto mean = [&](size_t k) { return (sums[k] + n / 2) / n; };
            out[i] = mean(3 * i) << 16 | mean(3 * i + 1) << 8 | mean(3 * i + 2);
        }
    }
}

// Where a destination pixel's centre falls in the source, in 1/256 source pixel, less half a pixel: the integer
// part is the left (upper) neighbour of the blend, the fraction the weight of the right (lower) one.
int64_t centre_of(int32_t d, int32_t origin, int32_t zoom) {
    return int64_t(origin) * 256 + (int64_t(2 * d + 1) * kZoomFull * 128) / zoom - 128;
}

uint32_t blend(uint32_t a, uint32_t b, uint32_t w) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t ca = a >> shift & 0xFF, cb = b >> shift & 0xFF;
        out |= ((ca * (256 - w) + cb * w + 128) >> 8) << shift;
    }
    return out;
}

// The source positions a bilinear axis reads: two neighbours (clamped to the source) and the weight of the
// second; inside = false where the pixel's centre lies off the source.
struct Tap {
    int32_t i0 = 0, i1 = 0;
    uint32_t w = 0;
    bool inside = false;
};

std::vector<Tap> taps(int32_t from, int32_t to, int32_t origin, int32_t zoom, int32_t size) {
    std::vector<Tap> out(size_t(std::max(to - from, 0)));
    for (int32_t d = from; d < to; ++d) {
        const int64_t c = centre_of(d, origin, zoom);
        Tap& t = out[size_t(d - from)];
        t.inside = c >= -128 && c < int64_t(size) * 256 - 128;
        const int64_t i = c >> 8;
        t.i0 = int32_t(std::clamp<int64_t>(i, 0, size - 1));
        t.i1 = int32_t(std::clamp<int64_t>(i + 1, 0, size - 1));
        t.w = uint32_t(c & 0xFF);
    }
    return out;
}

void bilinear_copy(MemDC& dst, const Rect& a, const MemDC& src, int32_t ox, int32_t oy, int32_t zoom,
                   uint32_t outside) {
    const std::vector<Tap> cols = taps(a.left, a.right, ox, zoom, src.width());
    const std::vector<Tap> rows = taps(a.top, a.bottom, oy, zoom, src.height());
    for (int32_t y = a.top; y < a.bottom; ++y) {
        uint32_t* out = row_of(dst, y) + a.left;
        const Tap& ry = rows[size_t(y - a.top)];
        const uint32_t* r0 = row_of(src, ry.i0);
        const uint32_t* r1 = row_of(src, ry.i1);
        for (size_t i = 0; i < cols.size(); ++i) {
            const Tap& cx = cols[i];
            out[i] = ry.inside && cx.inside
                         ? blend(blend(r0[cx.i0], r0[cx.i1], cx.w), blend(r1[cx.i0], r1[cx.i1], cx.w), ry.w)
                         : outside;
        }
    }
}

// Rounds a / b upward, for a positive b.
int64_t ceil_div(int64_t a, int64_t b) { return -floor_div(-a, b); }

}  // namespace

int64_t floor_div(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

Rect zoomed_rect(const Rect& r, int32_t zoom) {
    if (r.empty()) return {};
    const auto down = [&](int32_t v) { return int32_t(floor_div(int64_t(v) * zoom, kZoomFull)); };
    const auto up = [&](int32_t v) { return int32_t(ceil_div(int64_t(v) * zoom, kZoomFull)); };
    return {down(r.left), down(r.top), up(r.right), up(r.bottom)};
}

Rect unzoomed_rect(const Rect& r, int32_t zoom) {
    if (r.empty()) return {};
    const auto down = [&](int32_t v) { return int32_t(floor_div(int64_t(v) * kZoomFull, zoom)); };
    const auto up = [&](int32_t v) { return int32_t(ceil_div(int64_t(v) * kZoomFull, zoom)); };
    return {down(r.left), down(r.top), up(r.right), up(r.bottom)};
}

void zoom_copy(MemDC& dst, const Rect& area, const MemDC& src, int32_t origin_x, int32_t origin_y, int32_t zoom,
               uint32_t outside) {
    const Rect a = intersect_rect(area, Rect{0, 0, dst.width(), dst.height()});
    if (a.empty() || !dst.words() || !src.words()) return;
    zoom = std::max(zoom, 1);
    if (zoom <= kZoomFull) {
        box_copy(dst, a, src, origin_x, origin_y, zoom, outside);
    } else {
        bilinear_copy(dst, a, src, origin_x, origin_y, zoom, outside);
    }
}
