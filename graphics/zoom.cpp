// The zoomed copy: a box filter for zooming out, a bilinear blend for zooming in.
#include "graphics/zoom.h"

#include <algorithm>
#include <vector>

namespace {

// Destination pixels per source pixel, as num / den.
struct Ratio {
    int64_t num = 1, den = 1;
};

// Where a destination column or row starts in the source and how many source pixels it covers there (clipped
// to the source; count 0 = none).
struct Span {
    int32_t first = 0, count = 0;
};

// floor(numerator / divisor) along a run of numerators that grow by `step`, without a division per step: a
// small rectangle of a drag step would otherwise spend more time dividing than copying.
class Quotients {
public:
    Quotients(int64_t numerator, int64_t step, int64_t divisor)
        : q_(floor_div(numerator, divisor)), rem_(numerator - q_ * divisor), whole_(step / divisor),
          part_(step % divisor), divisor_(divisor) {}
    int64_t value() const { return q_; }
    void next() {
        q_ += whole_, rem_ += part_;
        if (rem_ >= divisor_) rem_ -= divisor_, ++q_;
    }

private:
    int64_t q_, rem_, whole_, part_, divisor_;
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

// Row r (0 = top) of a surface whose rows are kept bottom-up.
const uint32_t* row_of(const MemDC& s, int32_t r) { return s.words() + size_t(s.height() - 1 - r) * size_t(s.width()); }
uint32_t* row_of(MemDC& s, int32_t r) { return s.words() + size_t(s.height() - 1 - r) * size_t(s.width()); }

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

// a and b mixed with weight w / 256 on b: red and blue are mixed in one product, green in another (the weights
// add up to 256, so no channel's product reaches the next).
uint32_t blend(uint32_t a, uint32_t b, uint32_t w) {
    const uint32_t v = 256 - w;
    const uint32_t rb = ((a & 0xFF00FF) * v + (b & 0xFF00FF) * w + 0x800080) >> 8 & 0xFF00FF;
    const uint32_t g = ((a & 0x00FF00) * v + (b & 0x00FF00) * w + 0x008000) >> 8 & 0x00FF00;
    return rb | g;
}

// The source positions a bilinear axis reads: two neighbours (clamped to the source) and the weight of the
// second; inside = false where the pixel's centre lies off the source.
struct Tap {
    int32_t i0 = 0, i1 = 0;
    uint32_t w = 0;
    bool inside = false;
};

std::vector<Tap> taps(int32_t from, int32_t to, int32_t origin, Ratio zoom, int32_t size) {
    std::vector<Tap> out(size_t(std::max(to - from, 0)));
    // Where each destination pixel's centre falls in the source, in 1/256 source pixel, less half a pixel: the
    // integer part is the left (upper) neighbour of the blend, the fraction the weight of the right (lower) one.
    Quotients centre((2 * from + 1) * zoom.den * 128, 2 * zoom.den * 128, zoom.num);
    for (int32_t d = from; d < to; ++d, centre.next()) {
        const int64_t c = int64_t(origin) * 256 + centre.value() - 128;
        Tap& t = out[size_t(d - from)];
        t.inside = c >= -128 && c < int64_t(size) * 256 - 128;
        const int64_t i = c >> 8;
        t.i0 = int32_t(std::clamp<int64_t>(i, 0, size - 1));
        t.i1 = int32_t(std::clamp<int64_t>(i + 1, 0, size - 1));
        t.w = uint32_t(c & 0xFF);
    }
    return out;
}

void bilinear_copy(MemDC& dst, const Rect& a, const MemDC& src, int32_t ox, int32_t oy, Ratio zoom,
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
               uint32_t outside, int32_t device) {
    const Rect a = intersect_rect(area, Rect{0, 0, dst.width(), dst.height()});
    if (a.empty() || !dst.words() || !src.words()) return;
    const Ratio r{int64_t(std::max(zoom, 1)) * std::max(device, 1), int64_t(kZoomFull) * kZoomFull};
    if (r.num <= r.den) {
        box_copy(dst, a, src, origin_x, origin_y, r, outside);
    } else {
        bilinear_copy(dst, a, src, origin_x, origin_y, r, outside);
    }
}
