// Shading a piece's view: the bevel just outside its outline, the smoothing of that bevel, and a group's seams.
//
// The bevel lies on key-coloured pixels next to the shape: light grey up and left of it, dark grey down and right,
// so the piece looks raised under a light from the upper left. Smoothing averages each bevel pixel and the shape
// pixel that caused it with their neighbours. Seams are the lines where two cells of a group meet (marked in the
// top byte of the image's words): with the setting nokosu they are drawn darker with a light line below-right.
//
// Everything is done in the view itself (in the box of it that the piece keeps). The bevel is decided on the view
// as it was rendered, so the scan keeps which rendered words of the three rows around the current one are the key;
// smoothed values are collected and written only once the bevel is complete, because each batch of smoothing reads
// the bevelled view, never smoothed values.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include <emmintrin.h>

#include "graphics/colour_model.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/piece.h"

namespace {

constexpr uint32_t rgb_mask = 0x00FFFFFF;
constexpr uint32_t mark_mask = 0xFF000000;
constexpr uint32_t light_grey = 0x00E6E6E6;
constexpr uint32_t dark_grey = 0x00202020;
constexpr uint32_t no_colour = 0xFFFFFFFF;  // a queued shape pixel: no neighbour counts more than once
constexpr size_t queue_size = 2000;

struct Smoothed {
    int32_t x, m;  // column and memory row
    uint32_t word;
};

// Working storage kept from one piece to the next (shading runs often and the sizes are alike).
struct Scratch {
    std::array<Smoothed, queue_size> queue;
    std::vector<Smoothed> results;
    std::vector<uint64_t> keyed;
};
Scratch& scratch() {
    thread_local Scratch s;
    return s;
}

// channel / n for channel sums below 2^13 and n up to 27, by a multiplication: ceil(2^32 / n) errs by less than
// 2^-19 over that range, too little to reach the next whole number.
uint32_t divide(uint32_t channel, uint32_t n) {
    static constexpr auto reciprocals = [] {
        std::array<uint64_t, 28> r{};
        for (uint64_t k = 1; k < r.size(); ++k) r[k] = ((uint64_t(1) << 32) + k - 1) / k;
        return r;
    }();
    return uint32_t((channel * reciprocals[n]) >> 32);
}

using Lanes = uint32_t __attribute__((vector_size(16)));  // four words, one vector compare or add

// Smoothing works in batches: positions are queued while the bevel is laid, and each batch is averaged against the
// bevelled view as it stands when the queue fills up (and once at the end).
class Smoother {
public:
    Smoother(const uint32_t* bevelled, int32_t w, int32_t h, uint32_t key)
        : s_(bevelled), w_(w), h_(h), key_(key), queue_(scratch().queue), results_(scratch().results) {
        results_.clear();
    }

    void add(int32_t x, int32_t m, uint32_t colour) {
        queue_[queued_++] = {x, m, colour};
        if (queued_ == queue_size) flush();
    }

    void flush() {
        for (size_t i = 0; i < queued_; ++i) smooth(queue_[i]);
        queued_ = 0;
    }

    // Writes the smoothed values, later ones over earlier ones; a shape pixel keeps its seam mark.
    void apply(uint32_t* view) const {
        for (const Smoothed& r : results_) {
            uint32_t& v = view[size_t(r.m) * size_t(w_) + size_t(r.x)];
            v = r.word | (v & mark_mask);
        }
    }

private:
    // The per-channel average of the non-key pixels around the entry (those inside the view); a pixel of the
    // entry's bevel colour counts three times. Where none qualifies the pixel keeps its value.
    void smooth(const Smoothed& e) {
        // Four words are read from each row, so the fourth must lie inside the view. A key of a bevel colour
        // would count a pixel three times that must not count at all: that takes the plain way.
        if (e.x < 1 || e.x + 2 >= w_ || e.m < 1 || e.m + 1 >= h_ || key_ == light_grey || key_ == dark_grey) {
            smooth_plainly(e);
            return;
        }
        const Lanes inside = {~0u, ~0u, ~0u, 0};
        Lanes rb{}, g{}, counted{}, same{};
        for (int32_t mm = e.m - 1; mm <= e.m + 1; ++mm) {
            Lanes q;
            std::memcpy(&q, s_ + size_t(mm) * size_t(w_) + size_t(e.x - 1), sizeof q);
            q &= rgb_mask;
            const Lanes counts = Lanes(q != key_) & inside;
            // Red and blue are summed in one word (nine bytes need 12 bits, and green is not there), green apart.
            rb += q & 0xFF00FF & counts;
            g += q & 0xFF00 & counts;
            counted -= counts;
            same -= Lanes(q == e.word) & counts;
        }
        const uint32_t sum_rb = rb[0] + rb[1] + rb[2], sum_g = g[0] + g[1] + g[2];
        // A pixel of the entry's colour counts twice more.
        const uint32_t extra = 2 * (same[0] + same[1] + same[2]);
        const uint32_t n = counted[0] + counted[1] + counted[2] + extra;
        if (n == 0) return;
        const uint32_t r = (sum_rb >> 16) + extra * ((e.word >> 16) & 0xFF);
        const uint32_t gg = (sum_g >> 8) + extra * ((e.word >> 8) & 0xFF);
        const uint32_t b = (sum_rb & 0xFFFF) + extra * (e.word & 0xFF);
        results_.push_back({e.x, e.m, (divide(r, n) << 16) | (divide(gg, n) << 8) | divide(b, n)});
    }

    void smooth_plainly(const Smoothed& e) {
        uint32_t r = 0, g = 0, b = 0, n = 0;
        for (int32_t mm = std::max(e.m - 1, 0); mm <= std::min(e.m + 1, h_ - 1); ++mm) {
            for (int32_t xx = std::max(e.x - 1, 0); xx <= std::min(e.x + 1, w_ - 1); ++xx) {
                const uint32_t q = s_[size_t(mm) * size_t(w_) + size_t(xx)] & rgb_mask;
                if (q == key_) continue;
                const uint32_t weight = q == e.word ? 3 : 1;
                r += weight * (q >> 16), g += weight * ((q >> 8) & 0xFF), b += weight * (q & 0xFF), n += weight;
            }
        }
        if (n > 0) results_.push_back({e.x, e.m, (divide(r, n) << 16) | (divide(g, n) << 8) | divide(b, n)});
    }

    const uint32_t* s_;
    int32_t w_, h_;
    uint32_t key_;
    std::array<Smoothed, queue_size>& queue_;
    size_t queued_ = 0;
    std::vector<Smoothed>& results_;
};

// Bit x of `bits` (n words) for word x of a view row that is the key; the bits from w on stay 0. Four words are
// compared at a time and give their four bits through one vector instruction.
void mark_keyed(const uint32_t* row, int32_t w, uint32_t key, uint64_t* bits, size_t n) {
    std::fill_n(bits, n, 0);
    const __m128i mask = _mm_set1_epi32(int(rgb_mask)), k = _mm_set1_epi32(int(key));
    int32_t x = 0;
    for (; x + 4 <= w; x += 4) {
        const __m128i q = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)), mask);
        bits[x / 64] |= uint64_t(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(q, k)))) << (x % 64);
    }
    for (; x < w; ++x) bits[x / 64] |= uint64_t((row[x] & rgb_mask) == key) << (x % 64);
}

// Lays the bevel into the view (rows 1 .. h - 2 in memory order), deciding on the rendered words; queues what it
// touched for smoothing. The decisions need only which rendered words are the key, one bit each for the rows
// below, at and above the current one; a row's shape pixels that cast a bevel are found 64 at a time, and only
// those are visited.
void lay_bevel(uint32_t* view, int32_t w, int32_t h, uint32_t key, Smoother* smoother) {
    Scratch& sc = scratch();
    const size_t n = (size_t(w) + 63) / 64;
    sc.keyed.resize(3 * n);
    uint64_t* rows[3] = {sc.keyed.data(), sc.keyed.data() + n, sc.keyed.data() + 2 * n};
    const uint64_t last_word = w % 64 ? (uint64_t(1) << (w % 64)) - 1 : ~uint64_t(0);  // the bits within the row
    mark_keyed(view, w, key, rows[0], n);
    mark_keyed(view + w, w, key, rows[1], n);
    for (int32_t m = 1; m < h - 1; ++m) {
        // The row above is still as rendered: only this row writes into it before it comes up itself.
        mark_keyed(view + size_t(m + 1) * size_t(w), w, key, rows[2], n);
        const uint64_t *below = rows[0], *here = rows[1], *above = rows[2];
        uint32_t* out_above = view + size_t(m + 1) * size_t(w);
        uint32_t* out_below = view + size_t(m - 1) * size_t(w);
        for (size_t j = 0; j < n; ++j) {
            // Word x casts light up-left when word x - 1 of the row above is the key, dark down-right when word
            // x + 1 of the row below is; nothing lies beyond the row's ends.
            const uint64_t light = (above[j] << 1) | (j > 0 ? above[j - 1] >> 63 : 0);
            const uint64_t dark = (below[j] >> 1) | (j + 1 < n ? below[j + 1] << 63 : 0);
            const uint64_t within = j + 1 < n ? ~uint64_t(0) : last_word;
            for (uint64_t b = ~here[j] & (light | dark) & within; b; b &= b - 1) {
                const int32_t bit = std::countr_zero(b), x = int32_t(j * 64) + bit;
                if ((light >> bit) & 1) {
                    out_above[x - 1] = light_grey;
                    if (smoother) smoother->add(x - 1, m + 1, light_grey), smoother->add(x, m, no_colour);
                }
                if ((dark >> bit) & 1) {
                    out_below[x + 1] = dark_grey;
                    if (smoother) smoother->add(x + 1, m - 1, dark_grey), smoother->add(x, m, no_colour);
                }
            }
        }
        std::rotate(rows, rows + 1, rows + 3);
    }
}

// Scales a pixel's lightness by percent, as a colour the screen can show; pure white becomes near_white so that
// a lightened pixel never turns into the key colour. The word is read and written in its own channel order and
// keeps its seam mark. Seams of a large group repeat their colours a lot, and the colour model costs a few
// trigonometric calls, so results are remembered (they depend on nothing but the colour and the percentage).
class LightnessScaler {
public:
    LightnessScaler() { scratch_.create(BIT_SCREEN, 1, 1); }
    ~LightnessScaler() { scratch_.destroy(); }

    uint32_t scale(uint32_t word, int32_t percent) {
        const uint32_t rgb = word & rgb_mask;
        const uint32_t tag = rgb | (percent == 50 ? 0x01000000u : 0x02000000u);
        uint64_t& slot = memo()[((rgb * 2654435761u) >> 16 ^ uint32_t(percent)) & (memo_size - 1)];
        uint32_t c;
        if (uint32_t(slot >> 32) == tag) {
            c = uint32_t(slot);
        } else {
            const Lhs v = colour_to_lhs(rgb);
            scratch_.set_pixel(0, 0, lhs_to_colour(v.l * percent * 0.01, v.h, v.s));
            c = scratch_.get_pixel(0, 0);
            slot = (uint64_t(tag) << 32) | c;
        }
        return (c == 0xFFFFFF ? desk.near_white : c) | (word & mark_mask);
    }

private:
    static constexpr size_t memo_size = size_t(1) << 16;
    static std::vector<uint64_t>& memo() {
        thread_local std::vector<uint64_t> table(memo_size, 0);
        return table;
    }
    MemDC scratch_;
};

// Darkens the marked seam pixels to 50 % and lightens the unmarked pixel below-right of each to 120 %.
// Key-coloured pixels are left alone: where no bevel lies beside a seam's end (the view's top row), lightening the
// white beyond it would put a near-white pixel outside the piece.
void shade_seams(uint32_t* view, int32_t w, int32_t h, uint32_t key) {
    LightnessScaler scaler;
    for (int32_t m = 0; m < h; ++m) {
        for (int32_t x = 0; x < w; ++x) {
            const size_t i = size_t(m) * size_t(w) + size_t(x);
            if ((view[i] & mark_mask) == 0) continue;
            if ((view[i] & rgb_mask) != key) view[i] = scaler.scale(view[i], 50);
            if (m == 0 || x == w - 1) continue;
            const size_t below_right = i - size_t(w) + 1;
            if ((view[below_right] & mark_mask) == 0 && (view[below_right] & rgb_mask) != key)
                view[below_right] = scaler.scale(view[below_right], 120);
        }
    }
}

}  // namespace

void Piece::shade(Shading look) {
    const Where here = Where::current();
    if (!view) fatal_error(module_name(here), int(here.line()), "Piece::kage pointer of rot is NULL", 0);
    if (!look.kage) return;
    // The key is read at column 1 of the second row of the whole view, and the bevel needs a row on either side.
    if (view_width < 2 || view_height < 3) return;
    const uint32_t key = view_at(1, view_height - 2) & rgb_mask;
    // The kept box has a white margin wherever it is not at the view's edge, so with white as the key the bevel
    // and its smoothing come out in the box exactly as in the whole view. Anything else is shaded whole.
    if (key != rgb_mask || view->width() < 2 || view->height() < 3) {
        auto* whole = new MemDC;
        full_view(*whole);
        delete view;
        view = whole;
        view_left = view_top = 0;
    }
    const int32_t w = view->width(), h = view->height();
    uint32_t* v = view->pixels();
    if (look.smooth) {
        Smoother smoother(v, w, h, key);
        lay_bevel(v, w, h, key, &smoother);
        smoother.flush();
        smoother.apply(v);
    } else {
        lay_bevel(v, w, h, key, nullptr);
    }
    if (look.nokosu && joined == 1) shade_seams(v, w, h, key);
}
