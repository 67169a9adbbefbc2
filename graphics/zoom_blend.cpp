// The zoomed copy enlarging: a destination pixel blends the four source pixels nearest its centre. In each of the
// two source rows around the centre, the pixels before and after it are mixed by their nearness and rounded; the
// two row results are then mixed the same way down the column. The row mixes of one source row serve every
// destination row that reads it (twice the magnification of them), so each is made once and kept while the rows
// below still read it.
//
// Channels are worked on as 16-bit lanes, four to a pixel (blue, green, red and a zero top lane), two pixels to a
// vector: a channel times its weight plus the other times the remaining weight stays below 65 536, so the lanes
// give the exact rounded mixes without carrying into each other.
#include <emmintrin.h>

#include <algorithm>
#include <vector>

#include "graphics/zoom_steps.h"

namespace zoom_steps {
namespace {

// The destination pixels [from, to) along one axis whose centre lies on the source, and for each the source pixel
// before its centre (-1 .. size - 1: the source edges repeat beyond it) and the weight of the one after, in 1/256.
struct Axis {
    int32_t from = 0, to = 0;
    std::vector<int32_t> before;
    std::vector<uint16_t> weight;
};

Axis axis(int32_t from, int32_t to, int32_t origin, Ratio zoom, int32_t size) {
    Axis out{from, from, {}, {}};
    // Where each destination pixel's centre falls in the source, in 1/256 source pixel, less half a pixel: the
    // integer part is the pixel before the centre, the fraction the weight of the one after.
    Quotients centre((2 * from + 1) * zoom.den * 128, 2 * zoom.den * 128, zoom.num);
    for (int32_t d = from; d < to; ++d, centre.next()) {
        const int64_t c = int64_t(origin) * 256 + centre.value() - 128;
        if (c >= int64_t(size) * 256 - 128) break;
        if (c < -128) {
            out.from = d + 1;
            continue;
        }
        out.before.push_back(int32_t(c >> 8));
        out.weight.push_back(uint16_t(c & 0xFF));
    }
    out.to = out.from + int32_t(out.before.size());
    return out;
}

// The lanes of two pixels (or one, in the lower half) at p, which need not be aligned.
__m128i load_two(const uint64_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
__m128i load_one(const uint64_t* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }
void store_two(uint64_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
void store_one(uint64_t* p, __m128i v) { _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v); }

// (a * wa + b * wb + 128) / 256 in every lane, for weights that add up to 256.
__m128i mix(__m128i a, __m128i b, __m128i wa, __m128i wb) {
    const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(a, wa), _mm_mullo_epi16(b, wb));
    return _mm_srli_epi16(_mm_add_epi16(sum, _mm_set1_epi16(128)), 8);
}

// A weight in all four lanes of a pixel.
uint64_t lanes_of(uint32_t w) { return w * 0x0001000100010001u; }

// The row mixes of the inside columns of `cols`, made for a source row when it is first asked for and kept for
// the two rows asked for last.
class RowMixes {
public:
    RowMixes(const MemDC& src, const Axis& cols) : src_(src), cols_(cols) {
        if (cols.before.empty()) return;
        first_ = cols.before.front();
        lanes_.resize(size_t(cols.before.back() + 2 - first_));
        for (uint16_t w : cols.weight) {
            before_weight_.push_back(lanes_of(256u - w));
            after_weight_.push_back(lanes_of(w));
        }
        for (auto& s : slots_) s.resize(cols.before.size());
    }
    // The row mixes of source row r (0 .. height - 1), one pixel's lanes a column. The last answer stays valid.
    const uint64_t* of(int32_t r) {
        if (rows_[last_] != r) {
            last_ ^= 1;
            if (rows_[last_] != r) make(r, slots_[last_].data()), rows_[last_] = r;
        }
        return slots_[last_].data();
    }

private:
    void make(int32_t r, uint64_t* out) {
        // Columns -1 and width (the farthest a centre's neighbours reach past the source) repeat its edges.
        const uint32_t* in = row_of(src_, r);
        const int32_t n = int32_t(lanes_.size()), from = std::max(-first_, 0), to = std::min(n, src_.width() - first_);
        for (int32_t k = from; k < to; ++k) {
            const uint32_t p = in[first_ + k];
            lanes_[size_t(k)] = uint64_t(p & 0xFF) | uint64_t(p & 0xFF00) << 8 | uint64_t(p & 0xFF0000) << 16;
        }
        if (from > 0) lanes_[0] = lanes_[1];
        if (to < n) lanes_[size_t(n - 1)] = lanes_[size_t(n - 2)];
        // One load takes the pixels before and after a column's centre; two columns are mixed at once. (Read
        // through locals: a vector store may alias the vectors' own pointers.)
        const uint64_t* lanes = lanes_.data();
        const uint64_t *wa = before_weight_.data(), *wb = after_weight_.data();
        const int32_t* before = cols_.before.data();
        const size_t count = cols_.before.size(), first = size_t(first_);
        const auto around = [&](size_t d) { return load_two(lanes + (size_t(before[d]) - first)); };
        size_t d = 0;
        for (; d + 2 <= count; d += 2) {
            const __m128i p = around(d), q = around(d + 1);
            const __m128i befores = _mm_unpacklo_epi64(p, q), afters = _mm_unpackhi_epi64(p, q);
            store_two(out + d, mix(befores, afters, load_two(wa + d), load_two(wb + d)));
        }
        if (d < count) {
            const __m128i p = around(d);
            store_one(out + d, mix(p, _mm_unpackhi_epi64(p, p), load_one(wa + d), load_one(wb + d)));
        }
    }
    const MemDC& src_;
    const Axis& cols_;
    int32_t first_ = 0;            // the source column of lanes_[0]
    std::vector<uint64_t> lanes_;  // the source row's pixels from first_ on, its edges repeated
    std::vector<uint64_t> before_weight_, after_weight_;  // a column's weights of the pixels around its centre
    std::vector<uint64_t> slots_[2];
    int32_t rows_[2] = {-1, -1};
    int32_t last_ = 0;
};

// out[0 .. count) = the row mixes above and below mixed with weight w on the lower, packed to pixel words.
void mix_rows(uint32_t* out, const uint64_t* above, const uint64_t* below, uint16_t w, int32_t count) {
    const __m128i wa = _mm_set1_epi16(int16_t(256 - w)), wb = _mm_set1_epi16(int16_t(w));
    const auto packed = [&](__m128i a, __m128i b) {
        const __m128i m = mix(a, b, wa, wb);
        return _mm_packus_epi16(m, m);
    };
    int32_t i = 0;
    for (; i + 2 <= count; i += 2) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), packed(load_two(above + i), load_two(below + i)));
    }
    if (i < count) out[i] = uint32_t(_mm_cvtsi128_si32(packed(load_one(above + i), load_one(below + i))));
}

}  // namespace

void blend_copy(MemDC& dst, Rect a, const MemDC& src, int32_t ox, int32_t oy, Ratio zoom, uint32_t outside) {
    const Axis cols = axis(a.left, a.right, ox, zoom, src.width());
    const Axis rows = axis(a.top, a.bottom, oy, zoom, src.height());
    RowMixes mixes(src, cols);
    for (int32_t y = a.top; y < a.bottom; ++y) {
        uint32_t* out = row_of(dst, y);
        if (y < rows.from || y >= rows.to) {
            std::fill(out + a.left, out + a.right, outside);
            continue;
        }
        std::fill(out + a.left, out + cols.from, outside);
        std::fill(out + cols.to, out + a.right, outside);
        const size_t k = size_t(y - rows.from);
        const uint64_t* above = mixes.of(std::max(rows.before[k], 0));
        const uint64_t* below = mixes.of(std::min(rows.before[k] + 1, src.height() - 1));
        mix_rows(out + cols.from, above, below, rows.weight[k], cols.to - cols.from);
    }
}

}  // namespace zoom_steps
