// Rectangle fills and the scanline flood fill of the rasteriser.
#include <algorithm>

#include <emmintrin.h>

#include "graphics/raster.h"
#include "graphics/word_scan.h"

namespace raster {

void fill_rect(const Surface& s, int64_t x, int64_t y, int64_t width, int64_t height, uint32_t word) {
    if (width <= 0 || height <= 0) return;
    const int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(x + width, s.width);
    const int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(y + height, s.height);
    if (x0 >= x1 || y0 >= y1) return;
    for (int64_t r = y0; r < y1; ++r) {
        uint32_t* row = s.row(int32_t(r));
        std::fill(row + x0, row + x1, word);
    }
}

namespace {

// A run of pixels [x1, x2] on row y whose neighbours on row y + dy are still to be looked at.
struct Span {
    int32_t x1, x2, y, dy;
};

// Span filling: each popped span is widened to whole runs of inside pixels, which are painted at once; the rows
// above and below are queued only where they have not been looked at from this side, so an open region reads
// every pixel about once. `paint` must no longer count as inside, which is what ends the walk; runs are recorded
// when the caller repaints them afterwards.
template <bool SurfaceMode>
class Filler {
public:
    Filler(const Surface& s, uint32_t colour, uint32_t paint, std::vector<Span>* record)
        : s_(s), colour_(colour & 0xFFFFFF), paint_(paint), record_(record), stack_(spare_stack()) {
        stack_.clear();
    }

    bool inside(uint32_t word) const {
        return SurfaceMode ? (word & 0xFFFFFF) == colour_ : (word & 0xFFFFFF) != colour_;
    }

    void run(int32_t x, int32_t y) {
        stack_.push_back({x, x, y, 1});
        stack_.push_back({x, x, y - 1, -1});
        while (!stack_.empty()) {
            const Span sp = stack_.back();
            stack_.pop_back();
            if (sp.y >= 0 && sp.y < s_.height) scan(sp);
        }
    }

private:
    void scan(Span sp) {
        uint32_t* row = s_.row(sp.y);
        int32_t x1 = sp.x1, x = x1;
        if (inside(row[x])) {
            x = run_start(row, x);
            if (x < x1) push(x, x1 - 1, sp.y - sp.dy, -sp.dy);
        }
        while (x1 <= sp.x2) {
            x1 = run_end<true>(row, x1, s_.width);
            if (x1 > x) {
                paint(row, x, x1, sp.y);
                push(x, x1 - 1, sp.y + sp.dy, sp.dy);
                if (x1 - 1 > sp.x2) push(sp.x2 + 1, x1 - 1, sp.y - sp.dy, -sp.dy);
            }
            ++x1;
            if (x1 <= sp.x2) x1 = run_end<false>(row, x1, sp.x2 + 1);
            x = x1;
        }
    }

    // The first x in [from, limit) where inside(row[x]) is no longer `want`, or limit.
    template <bool want>
    int32_t run_end(const uint32_t* row, int32_t from, int32_t limit) const {
        return word_scan::first_differing<0xFFFFFF, SurfaceMode == want>(row, from, limit, colour_);
    }

    // The start of the run of inside words that ends at x (row[x] being inside).
    int32_t run_start(const uint32_t* row, int32_t x) const {
        return word_scan::last_differing<0xFFFFFF, SurfaceMode>(row, x, colour_) + 1;
    }

    // Runs are mostly short: four words are stored at a time, the last four overlapping the ones before, which
    // keeps the number of branches down to the number of blocks.
    void paint(uint32_t* row, int32_t from, int32_t to, int32_t y) {
        if (to - from >= 4) {
            const __m128i four = _mm_set1_epi32(int(paint_));
            for (int32_t x = from; x + 4 < to; x += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), four);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + to - 4), four);
        } else {
            std::fill(row + from, row + to, paint_);
        }
        if (record_) record_->push_back({from, to, y, 0});
    }

    void push(int32_t x1, int32_t x2, int32_t y, int32_t dy) { stack_.push_back({x1, x2, y, dy}); }

    const Surface& s_;
    uint32_t colour_;
    uint32_t paint_;
    std::vector<Span>* record_;
    // Fills come one after another (a piece each when cutting): the stack's storage is kept for the next one.
    static std::vector<Span>& spare_stack() {
        thread_local std::vector<Span> stack;
        return stack;
    }

    std::vector<Span>& stack_;
};

template <bool SurfaceMode>
void fill_from(const Surface& s, int32_t x, int32_t y, uint32_t colour, uint32_t brush) {
    Filler<SurfaceMode> probe(s, colour, brush, nullptr);
    if (!probe.inside(s.row(y)[x])) return;
    if (!probe.inside(brush)) {
        probe.run(x, y);
        return;
    }
    // The brush itself counts as inside (a border fill in another colour than the border, or a surface fill
    // in the surface's own colour): walk with a stand-in that does not, then paint the brush over the runs.
    const uint32_t stand_in = SurfaceMode ? ((colour & 0xFFFFFF) ^ 1) : (colour & 0xFFFFFF);
    std::vector<Span> runs;
    Filler<SurfaceMode>(s, colour, stand_in, &runs).run(x, y);
    for (const Span& r : runs) {
        uint32_t* row = s.row(r.y);
        std::fill(row + r.x1, row + r.x2, brush);
    }
}

}  // namespace

void flood_fill(const Surface& s, int32_t x, int32_t y, uint32_t colour, bool surface_mode, uint32_t brush) {
    if (x < 0 || y < 0 || x >= s.width || y >= s.height) return;
    if (surface_mode)
        fill_from<true>(s, x, y, colour, brush);
    else
        fill_from<false>(s, x, y, colour, brush);
}

}  // namespace raster
