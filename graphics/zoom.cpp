// The zoomed copy: the box filter for zooming out (the blend for zooming in is zoom_blend.cpp) and the rectangles.
#include "graphics/zoom.h"

#include <emmintrin.h>

#include <algorithm>
#include <vector>

#include "graphics/zoom_steps.h"

namespace {

using namespace zoom_steps;

// Rounds a / b upward, for a positive b.
int64_t ceil_div(int64_t a, int64_t b) { return -floor_div(-a, b); }

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

// Quartering, four destination pixels a loop: each block's four rows are added channel by channel in 16-bit
// lanes, then its four columns, rounded as block_mean rounds (half the count added before dividing by 16).
void quarter_row(uint32_t* out, const uint32_t* const* rows, int32_t n) {
    const __m128i zero = _mm_setzero_si128(), eight = _mm_set1_epi16(8), colour = _mm_set1_epi32(0x00FFFFFF);
    // The sum of the 4 x 4 block starting at source column x, in the low four lanes.
    const auto block = [&](int32_t x) {
        __m128i lo = zero, hi = zero;
        for (int32_t r = 0; r < 4; ++r) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[r] + x));
            lo = _mm_add_epi16(lo, _mm_unpacklo_epi8(a, zero));
            hi = _mm_add_epi16(hi, _mm_unpackhi_epi8(a, zero));
        }
        const __m128i pairs = _mm_add_epi16(lo, hi);
        return _mm_add_epi16(pairs, _mm_srli_si128(pairs, 8));
    };
    const auto mean_of_two = [&](int32_t x) {
        const __m128i sums = _mm_unpacklo_epi64(block(x), block(x + 4));
        return _mm_srli_epi16(_mm_add_epi16(sums, eight), 4);
    };
    int32_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i packed = _mm_packus_epi16(mean_of_two(4 * i), mean_of_two(4 * i + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_and_si128(packed, colour));
    }
    for (; i < n; ++i) out[i] = block_mean<4>(rows, 4, {i * 4, 4});
}

// Zooming out by a whole factor k (1, 2 or 4) with every block on the source: the blocks are k x k, side by side,
// so each row of the destination reads k whole source rows straight along (the common case of a drag step at
// 50 %; k is 1 there on a screen of ratio 2, where the pixels are copied with their top byte cleared).
void whole_factor_copy(MemDC& dst, const Rect& a, const MemDC& src, int32_t ox, int32_t oy, int32_t k) {
    const uint32_t* rows[4];
    for (int32_t y = a.top; y < a.bottom; ++y) {
        uint32_t* out = row_of(dst, y) + a.left;
        for (int32_t r = 0; r < k; ++r) rows[r] = row_of(src, oy + y * k + r) + ox + a.left * k;
        if (k == 1) {
            for (int32_t i = 0; i < a.width(); ++i) out[i] = rows[0][i] & 0x00FFFFFF;
        } else if (k == 2) {
            halve_row(out, rows[0], rows[1], a.width());
        } else {
            quarter_row(out, rows, a.width());
        }
    }
}

// Any zooming out: each destination pixel is the mean of the source pixels its square covers, clipped to the
// source; `outside` where it covers none.
void span_copy(MemDC& dst, const Rect& a, const MemDC& src, int32_t ox, int32_t oy, Ratio zoom, uint32_t outside) {
    // A drag step's small copy mostly has empty bands: working out the spans of one would cost as much as the copy.
    if (a.empty()) return;
    const std::vector<Span> cols = spans(a.left, a.right, ox, zoom, src.width());
    const std::vector<Span> rows = spans(a.top, a.bottom, oy, zoom, src.height());
    // The columns that cover some of the source run together: those before and after them are outside.
    const auto covers = [](const Span& c) { return c.count > 0; };
    const size_t first = size_t(std::find_if(cols.begin(), cols.end(), covers) - cols.begin());
    const size_t last = size_t(std::find_if(cols.rbegin(), cols.rend(), covers).base() - cols.begin());
    std::vector<const uint32_t*> block;
    for (int32_t y = a.top; y < a.bottom; ++y) {
        uint32_t* out = row_of(dst, y) + a.left;
        const Span rs = rows[size_t(y - a.top)];
        if (rs.count == 0 || first >= last) {
            std::fill(out, out + cols.size(), outside);
            continue;
        }
        block.clear();
        for (int32_t r = rs.first; r < rs.first + rs.count; ++r) block.push_back(row_of(src, r));
        std::fill(out, out + first, outside);
        for (size_t i = first; i < last; ++i) {
            const Span c = cols[i];
            out[i] = rs.count == 2 && c.count == 2 ? block_mean<2>(block.data(), 2, c)
                                                   : block_mean<0>(block.data(), rs.count, c);
        }
        std::fill(out + last, out + cols.size(), outside);
    }
}

// The destination pixels whose k x k blocks lie wholly on the source.
Rect whole_blocks(const MemDC& src, int32_t ox, int32_t oy, int32_t k) {
    return {int32_t(ceil_div(-int64_t(ox), k)), int32_t(ceil_div(-int64_t(oy), k)),
            int32_t(floor_div(src.width() - int64_t(ox), k)),
            int32_t(floor_div(src.height() - int64_t(oy), k))};
}

// A zoomed-out view usually shows the whole surface with a margin around it: the whole blocks take the fast
// copy and only the bands around them (partial blocks and the outside) the general one.
void box_copy(MemDC& dst, const Rect& a, const MemDC& src, int32_t ox, int32_t oy, Ratio zoom, uint32_t outside) {
    const int32_t k = zoom.den % zoom.num == 0 ? int32_t(zoom.den / zoom.num) : 0;
    const Rect inner = k >= 1 && k <= 4 && k != 3 ? intersect_rect(a, whole_blocks(src, ox, oy, k)) : Rect{};
    if (inner.empty()) {
        span_copy(dst, a, src, ox, oy, zoom, outside);
        return;
    }
    whole_factor_copy(dst, inner, src, ox, oy, k);
    // The bands above, below, left and right of the whole blocks.
    span_copy(dst, {a.left, a.top, a.right, inner.top}, src, ox, oy, zoom, outside);
    span_copy(dst, {a.left, inner.bottom, a.right, a.bottom}, src, ox, oy, zoom, outside);
    span_copy(dst, {a.left, inner.top, inner.left, inner.bottom}, src, ox, oy, zoom, outside);
    span_copy(dst, {inner.right, inner.top, a.right, inner.bottom}, src, ox, oy, zoom, outside);
}

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
