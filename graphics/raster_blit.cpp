// Block transfers and nearest-neighbour stretching with raster operations and colour/monochrome conversion.
#include <algorithm>
#include <cstring>

#include "graphics/raster.h"

namespace raster {
namespace {

template <Convert C>
uint32_t convert(uint32_t s, const Transfer& t) {
    if constexpr (C == Convert::colour_to_mono) return (s & 0xFFFFFF) == t.key ? 0xFFFFFFu : 0u;
    if constexpr (C == Convert::mono_to_colour) return (s & 0xFFFFFF) ? t.one : t.zero;
    return s;
}

template <Rop R>
uint32_t combine(uint32_t s, uint32_t d, const Transfer& t) {
    if constexpr (R == Rop::copy) return s;
    if constexpr (R == Rop::not_copy) return ~s;
    if constexpr (R == Rop::paint) return s | d;
    if constexpr (R == Rop::and_op) return s & d;
    return t.pattern;
}

// One destination row: n words from src, or from src[cols[i]] when a column table is given.
using RowFn = void (*)(uint32_t* d, const uint32_t* s, const int32_t* cols, int32_t n, const Transfer& t);

template <Rop R, Convert C>
void row_op(uint32_t* d, const uint32_t* s, const int32_t* cols, int32_t n, const Transfer& t) {
    const uint32_t mask = t.mask;
    if constexpr (R == Rop::pattern) {
        std::fill(d, d + n, t.pattern & mask);  // no source to read
        return;
    }
    if (cols) {
        for (int32_t i = 0; i < n; ++i) d[i] = combine<R>(convert<C>(s[cols[i]], t), d[i], t) & mask;
    } else {
        for (int32_t i = 0; i < n; ++i) d[i] = combine<R>(convert<C>(s[i], t), d[i], t) & mask;
    }
}

template <Rop R>
RowFn pick_convert(Convert c) {
    switch (c) {
    case Convert::colour_to_mono: return row_op<R, Convert::colour_to_mono>;
    case Convert::mono_to_colour: return row_op<R, Convert::mono_to_colour>;
    default: return row_op<R, Convert::none>;
    }
}

RowFn pick(const Transfer& t) {
    switch (t.rop) {
    case Rop::not_copy: return pick_convert<Rop::not_copy>(t.convert);
    case Rop::paint: return pick_convert<Rop::paint>(t.convert);
    case Rop::and_op: return pick_convert<Rop::and_op>(t.convert);
    case Rop::pattern: return row_op<Rop::pattern, Convert::none>;
    default: return pick_convert<Rop::copy>(t.convert);
    }
}

bool plain_copy(const Transfer& t) { return t.rop == Rop::copy && t.convert == Convert::none && t.mask == ~0u; }

// A private copy of the source block, for transfers within one surface.
struct Copy {
    std::vector<uint32_t> words;
    int32_t width = 0, height = 0;
    Surface view() { return {words.data(), width, height}; }
};

Copy copy_block(const Surface& src, int32_t sx, int32_t sy, int32_t w, int32_t h) {
    Copy c{std::vector<uint32_t>(size_t(w) * size_t(h)), w, h};
    for (int32_t r = 0; r < h; ++r) std::memcpy(c.view().row(r), src.row(sy + r) + sx, size_t(w) * 4);
    return c;
}

// Clips one axis of a transfer: destination start d, source start s, length n.
bool clip_axis(int64_t& d, int64_t& s, int64_t& n, int64_t d_size, int64_t s_size, bool with_source) {
    int64_t cut = std::max<int64_t>(0, -d);
    if (with_source) cut = std::max(cut, -s);
    d += cut, s += cut, n -= cut;
    n = std::min(n, d_size - d);
    if (with_source) n = std::min(n, s_size - s);
    return n > 0;
}

}  // namespace

void transfer_rect(const Surface& dst, int32_t x, int32_t y, int32_t width, int32_t height, const Surface& src,
                   int32_t sx, int32_t sy, const Transfer& t) {
    const bool with_source = t.rop != Rop::pattern;
    int64_t dx = x, dy = y, ssx = sx, ssy = sy, w = width, h = height;
    if (!clip_axis(dx, ssx, w, dst.width, src.width, with_source)) return;
    if (!clip_axis(dy, ssy, h, dst.height, src.height, with_source)) return;
    if (with_source && src.words == dst.words) {
        Copy c = copy_block(src, int32_t(ssx), int32_t(ssy), int32_t(w), int32_t(h));
        transfer_rect(dst, int32_t(dx), int32_t(dy), int32_t(w), int32_t(h), c.view(), 0, 0, t);
        return;
    }
    const RowFn fn = pick(t);
    for (int64_t r = 0; r < h; ++r) {
        uint32_t* d = dst.row(int32_t(dy + r)) + dx;
        const uint32_t* s = with_source ? src.row(int32_t(ssy + r)) + ssx : nullptr;
        if (plain_copy(t))
            std::memcpy(d, s, size_t(w) * 4);
        else
            fn(d, s, nullptr, int32_t(w), t);
    }
}

// k = floor(((2j + 1) S - 1) / (2D)) when enlarging; when shrinking, floor(((2j + 2) S - D) / (2D)) across
// (the last source column of each span) and floor((2jS + D) / (2D)) down (the first source row). Shrinking to one
// pixel counts one source pixel less, so two pixels become the first of them.
int32_t stretch_index(int64_t j, int32_t src, int32_t dst, bool vertical) {
    int64_t s = src;
    const int64_t d = dst;
    if (d == 1 && s > 1) --s;
    if (d >= s) return int32_t(((2 * j + 1) * s - 1) / (2 * d));
    if (vertical) return int32_t((2 * j * s + d) / (2 * d));
    return int32_t(((2 * j + 2) * s - d) / (2 * d));
}

namespace {

// Destination indices [first, last) of one stretch axis whose destination pixel lies in [0, d_size) and whose source
// pixel lies in [0, s_size); the source index of each goes to `table`. Source indices grow with j, so the kept
// indices are one run.
void stretch_axis(int64_t d0, int32_t dn, int64_t s0, int32_t sn, int32_t d_size, int32_t s_size, bool vertical,
                  int64_t& first, std::vector<int32_t>& table) {
    const int64_t lo = std::max<int64_t>(0, -d0), hi = std::min<int64_t>(dn, int64_t(d_size) - d0);
    first = lo;
    table.clear();
    for (int64_t j = lo; j < hi; ++j) {
        const int64_t k = s0 + stretch_index(j, sn, dn, vertical);
        if (k < 0) {
            first = j + 1;
            continue;
        }
        if (k >= s_size) break;
        table.push_back(int32_t(k));
    }
}

}  // namespace

void stretch_rect(const Surface& dst, int32_t x, int32_t y, int32_t width, int32_t height, const Surface& src,
                  int32_t sx, int32_t sy, int32_t sw, int32_t sh, const Transfer& t) {
    if (width <= 0 || height <= 0 || sw <= 0 || sh <= 0) return;
    int64_t col0 = 0, row0 = 0;
    std::vector<int32_t> cols, rows;
    stretch_axis(x, width, sx, sw, dst.width, src.width, false, col0, cols);
    stretch_axis(y, height, sy, sh, dst.height, src.height, true, row0, rows);
    if (cols.empty() || rows.empty()) return;
    Copy copy;
    Surface from = src;
    if (src.words == dst.words) {
        // Read from a copy of the block the stretch uses.
        const int32_t c_lo = cols.front(), r_lo = rows.front();
        copy = copy_block(src, c_lo, r_lo, cols.back() - c_lo + 1, rows.back() - r_lo + 1);
        for (int32_t& k : cols) k -= c_lo;
        for (int32_t& k : rows) k -= r_lo;
        from = copy.view();
    }
    const RowFn fn = pick(t);
    for (size_t i = 0; i < rows.size(); ++i)
        fn(dst.row(int32_t(y + row0 + int64_t(i))) + x + col0, from.row(rows[i]), cols.data(),
           int32_t(cols.size()), t);
}

}  // namespace raster
