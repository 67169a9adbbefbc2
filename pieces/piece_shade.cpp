// Shading a piece's view: the bevel just outside its outline, the smoothing of that bevel, and a group's seams.
//
// The bevel lies on key-coloured pixels next to the shape: light grey up and left of it, dark grey down and right,
// so the piece looks raised under a light from the upper left. Smoothing averages each bevel pixel and the shape
// pixel that caused it with their neighbours. Seams are the lines where two cells of a group meet (marked in the
// top byte of the image's words): with the setting nokosu they are drawn darker with a light line below-right.
//
// Everything is done in the view itself (in the box of it that the piece keeps). The bevel is decided on the view as it
// was rendered, so the scan keeps the rendered words of the three rows around the current one; smoothed values are
// collected and written only once the bevel is complete, because each batch of smoothing reads the bevelled view, never
// smoothed values.
#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/colour_model.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "puzzle/settings.h"

namespace {

constexpr uint32_t rgb_mask = 0x00FFFFFF;
constexpr uint32_t mark_mask = 0xFF000000;
constexpr uint32_t light_grey = 0x00E6E6E6;
constexpr uint32_t dark_grey = 0x00202020;
constexpr uint32_t no_colour = 0xFFFFFFFF;  // a queued shape pixel: no neighbour counts more than once
constexpr size_t queue_size = 2000;

struct Smoothed {
    size_t index;
    uint32_t word;
};

// Smoothing works in batches: positions are queued while the bevel is laid, and each batch is averaged against the
// bevelled view as it stands when the queue fills up (and once at the end).
class Smoother {
public:
    Smoother(const uint32_t* bevelled, int32_t w, int32_t h, uint32_t key) : s_(bevelled), w_(w), h_(h), key_(key) {
        queue_.reserve(queue_size);
    }

    void add(size_t index, uint32_t colour) {
        queue_.push_back({index, colour});
        if (queue_.size() == queue_size) flush();
    }

    void flush() {
        for (const Smoothed& e : queue_) smooth(e);
        queue_.clear();
    }

    // Writes the smoothed values, later ones over earlier ones; a shape pixel keeps its seam mark.
    void apply(uint32_t* view) const {
        for (const Smoothed& r : results_) view[r.index] = r.word | (view[r.index] & mark_mask);
    }

private:
    // The per-channel average of the non-key pixels around the entry (those inside the view); a pixel of the
    // entry's bevel colour counts three times. Where none qualifies the pixel keeps its value.
    void smooth(const Smoothed& e) {
        const int32_t x = int32_t(e.index % size_t(w_)), m = int32_t(e.index / size_t(w_));
        uint32_t r = 0, g = 0, b = 0, n = 0;
        for (int32_t mm = std::max(m - 1, 0); mm <= std::min(m + 1, h_ - 1); ++mm) {
            for (int32_t xx = std::max(x - 1, 0); xx <= std::min(x + 1, w_ - 1); ++xx) {
                const uint32_t q = s_[size_t(mm) * size_t(w_) + size_t(xx)] & rgb_mask;
                if (q == key_) continue;
                const uint32_t weight = q == e.word ? 3 : 1;
                r += weight * (q >> 16), g += weight * ((q >> 8) & 0xFF), b += weight * (q & 0xFF), n += weight;
            }
        }
        if (n > 0) results_.push_back({e.index, ((r / n) << 16) | ((g / n) << 8) | (b / n)});
    }

    const uint32_t* s_;
    int32_t w_, h_;
    uint32_t key_;
    std::vector<Smoothed> queue_;
    std::vector<Smoothed> results_;
};

// Lays the bevel into the view (rows 1 .. h - 2 in memory order), deciding on the rendered words; queues what it
// touched for smoothing. `rendered` holds three rows: the ones below, at and above the current row.
void lay_bevel(uint32_t* view, int32_t w, int32_t h, uint32_t key, Smoother* smoother) {
    std::vector<uint32_t> rendered(size_t(w) * 3);
    uint32_t* rows[3] = {rendered.data(), rendered.data() + w, rendered.data() + 2 * size_t(w)};
    std::memcpy(rows[0], view, size_t(w) * sizeof(uint32_t));
    std::memcpy(rows[1], view + w, size_t(w) * sizeof(uint32_t));
    for (int32_t m = 1; m < h - 1; ++m) {
        // The row above is still as rendered: only this row writes into it before it comes up itself.
        std::memcpy(rows[2], view + size_t(m + 1) * size_t(w), size_t(w) * sizeof(uint32_t));
        const uint32_t *below = rows[0], *here = rows[1], *above = rows[2];
        uint32_t* out_above = view + size_t(m + 1) * size_t(w);
        uint32_t* out_below = view + size_t(m - 1) * size_t(w);
        for (int32_t x = 0; x < w; ++x) {
            if ((here[x] & rgb_mask) == key) continue;
            const size_t i = size_t(m) * size_t(w) + size_t(x);
            if (x > 0 && (above[x - 1] & rgb_mask) == key) {
                out_above[x - 1] = light_grey;
                if (smoother) smoother->add(i + size_t(w) - 1, light_grey), smoother->add(i, no_colour);
            }
            if (x < w - 1 && (below[x + 1] & rgb_mask) == key) {
                out_below[x + 1] = dark_grey;
                if (smoother) smoother->add(i - size_t(w) + 1, dark_grey), smoother->add(i, no_colour);
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

void Piece::shade() {
    const Where here = Where::current();
    if (!view) fatal_error(module_name(here), int(here.line()), "Piece::kage pointer of rot is NULL", 0);
    if (!settings.kage) return;
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
    if (settings.smooth) {
        Smoother smoother(v, w, h, key);
        lay_bevel(v, w, h, key, &smoother);
        smoother.flush();
        smoother.apply(v);
    } else {
        lay_bevel(v, w, h, key, nullptr);
    }
    if (settings.nokosu && joined == 1) shade_seams(v, w, h, key);
}
