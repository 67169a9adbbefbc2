// The zoomed copy: the box filter for zooming out (the blend for zooming in is zoom_blend.cpp) and the rectangles.
#include "graphics/zoom.h"

#include <emmintrin.h>

#include <algorithm>
#include <vector>

#include "graphics/zoom_steps.h"

namespace {

using namespace zoom_steps;

// Where a destination column or row starts in the source and how many source pixels it covers there (clipped
// to the source; count 0 = none).
struct Span {
    int32_t first = 0, count = 0;
};

// The source span under destination pixels [from, to) along one axis of a source `size` long.
std::vector<Span> spans(int32_t from, int32_t to, int32_t origin, Ratio zoom, int32_t size) {
    std::vector<Span> out(size_t(std::max(to - from, 0)));
    Quotients edge(from * zoom.den, zoom.den, zoom.num);
    for (int32_t d = from; d < to; ++d) {
        const int64_t a = origin + edge.value();
        edge.next();
        const int64_t b = std::max(origin + edge.value(), a + 1);
        const int64_t lo = std::clamp<int64_t>(a, 0, size), hi = std::clamp<int64_t>(b, 0, size);
        out[size_t(d - from)] = {int32_t(lo), int32_t(hi - lo)};
    }
    return out;
}

// The mean of the source block under one destination pixel. Red and blue are summed in one word, green in
// another: a block of up to 256 pixels cannot carry one channel's sum into the next. Kept = a block size fixed
// at compile time (0 = read from the spans), which lets the common halving run unrolled; inlined, because a call
// per destination pixel costs as much as the mean itself.
template <int32_t Kept>
[[gnu::always_inline]] inline uint32_t block_mean(const uint32_t* const* rows, int32_t row_count, Span cols) {
    if constexpr (Kept > 0) row_count = cols.count = Kept;
    uint32_t rb = 0, g = 0;
    for (int32_t r = 0; r < row_count; ++r) {
        const uint32_t* in = rows[r] + cols.first;
        for (int32_t c = 0; c < cols.count; ++c) {
            rb += in[c] & 0xFF00FF;
            g += in[c] & 0x00FF00;
        }
    }
    const uint32_t n = uint32_t(row_count * cols.count), half = n / 2;
    const uint32_t red = ((rb >> 16) + half) / n, blue = ((rb & 0xFFFF) + half) / n, green = ((g >> 8) + half) / n;
    return red << 16 | green << 8 | blue;
}

// Zooming out by a whole factor K with every block on the source: the blocks are K x K, side by side, so each row
// of the destination reads K whole source rows straight along (the common case of a drag step at 50 %).
template <int32_t K>
void whole_factor_copy(MemDC& dst, const Rect& a, const MemDC& src, int32_t ox, int32_t oy) {
    const uint32_t* rows[K];
    for (int32_t y = a.top; y < a.bottom; ++y) {
        uint32_t* out = row_of(dst, y) + a.left;
        for (int32_t k = 0; k < K; ++k) rows[k] = row_of(src, oy + y * K + k) + ox + a.left * K;
        for (int32_t i = 0; i < a.width(); ++i) out[i] = block_mean<K>(rows, K, {i * K, K});
    }
}

// Halving, four destination pixels a vector: the two source rows are added channel by channel in 16-bit lanes,
// then each pair of neighbours, rounded as block_mean rounds (half the count added before dividing by 4).
void halve_row(uint32_t* out, const uint32_t* row0, const uint32_t* row1, int32_t n) {
    const __m128i zero = _mm_setzero_si128(), two = _mm_set1_epi16(2), colour = _mm_set1_epi32(0x00FFFFFF);
    int32_t i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i sums[2];
        for (int32_t h = 0; h < 2; ++h) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row0 + 2 * i + 4 * h));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row1 + 2 * i + 4 * h));
            const __m128i lo = _mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero));
            const __m128i hi = _mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero));
            // lo holds source pixels 0 and 1 of these four, hi 2 and 3: the pairs are their halves.
            const __m128i pairs = _mm_add_epi16(_mm_unpacklo_epi64(lo, hi), _mm_unpackhi_epi64(lo, hi));
            sums[h] = _mm_srli_epi16(_mm_add_epi16(pairs, two), 2);
        }
        const __m128i packed = _mm_and_si128(_mm_packus_epi16(sums[0], sums[1]), colour);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), packed);
    }
    const uint32_t* rows[2] = {row0, row1};
    for (; i < n; ++i) out[i] = block_mean<2>(rows, 2, {i * 2, 2});
}

template <>
void whole_factor_copy<2>(MemDC& dst, const Rect& a, const MemDC& src, int32_t ox, int32_t oy) {
    for (int32_t y = a.top; y < a.bottom; ++y)
        halve_row(row_of(dst, y) + a.left, row_of(src, oy + y * 2) + ox + a.left * 2,
                  row_of(src, oy + y * 2 + 1) + ox + a.left * 2, a.width());
}

// True when the blocks under `a` all lie on the source, at whole factor k.
bool blocks_on_source(const Rect& a, const MemDC& src, int32_t ox, int32_t oy, int32_t k) {
    return ox + int64_t(a.left) * k >= 0 && oy + int64_t(a.top) * k >= 0 && ox + int64_t(a.right) * k <= src.width() &&
           oy + int64_t(a.bottom) * k <= src.height();
}

void box_copy(MemDC& dst, const Rect& a, const MemDC& src, int32_t ox, int32_t oy, Ratio zoom, uint32_t outside) {
    const int32_t k = zoom.den % zoom.num == 0 ? int32_t(zoom.den / zoom.num) : 0;
    if (k >= 1 && k <= 4 && k != 3 && blocks_on_source(a, src, ox, oy, k)) {
        if (k == 1) whole_factor_copy<1>(dst, a, src, ox, oy);
        else if (k == 2) whole_factor_copy<2>(dst, a, src, ox, oy);
        else whole_factor_copy<4>(dst, a, src, ox, oy);
        return;
    }
    const std::vector<Span> cols = spans(a.left, a.right, ox, zoom, src.width());
    const std::vector<Span> rows = spans(a.top, a.bottom, oy, zoom, src.height());
    std::vector<const uint32_t*> block;
    for (int32_t y = a.top; y < a.bottom; ++y) {
        uint32_t* out = row_of(dst, y) + a.left;
        const Span rs = rows[size_t(y - a.top)];
        block.clear();
        for (int32_t r = rs.first; r < rs.first + rs.count; ++r) block.push_back(row_of(src, r));
        for (size_t i = 0; i < cols.size(); ++i) {
            const Span c = cols[i];
            if (rs.count == 0 || c.count == 0) out[i] = outside;
            else if (rs.count == 2 && c.count == 2) out[i] = block_mean<2>(block.data(), 2, c);
            else out[i] = block_mean<0>(block.data(), rs.count, c);
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
               uint32_t outside, int32_t device) {
    const Rect a = intersect_rect(area, Rect{0, 0, dst.width(), dst.height()});
    if (a.empty() || !dst.words() || !src.words()) return;
    const Ratio r{int64_t(std::max(zoom, 1)) * std::max(device, 1), int64_t(kZoomFull) * kZoomFull};
    if (r.num <= r.den) {
        box_copy(dst, a, src, origin_x, origin_y, r, outside);
    } else {
        blend_copy(dst, a, src, origin_x, origin_y, r, outside);
    }
}
