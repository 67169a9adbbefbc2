// Speed of the presenter: a colour-keyed draw of a piece-like image against a plain copy of the same pixels,
// timed alternately in the same run (processor time of this thread) and printed as a ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "graphics/hooks.h"
#include "graphics/memdc.h"
#include "ws/ddbase.h"
#include "ws/ws.h"

namespace {

// An image of w x h in which a disc of colour pixels sits on white, as a cut piece does.
void make_piece(MemDC& view, int32_t w, int32_t h) {
    view.create(BIT_SCREEN, w, h);
    uint32_t* words = view.words();
    const int64_t cx = w / 2, cy = h / 2, r2 = int64_t(std::min(w, h) / 2) * (std::min(w, h) / 2);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const int64_t dx = x - cx, dy = y - cy;
            words[size_t(y) * size_t(w) + size_t(x)] =
                dx * dx + dy * dy <= r2 ? uint32_t(0x101010 + x * 0x100 + y) & 0xFFFFFF : 0xFFFFFF;
        }
}

// The plain copy the keyed draw is measured against: the same rectangle, row by row.
void plain_copy(MemDC& dst, const Rect& r, const MemDC& src) {
    for (int32_t row = 0; row < r.height(); ++row) {
        const uint32_t* s = src.words() + size_t(src.height() - 1 - row) * size_t(src.width());
        uint32_t* d = dst.words() + size_t(dst.height() - 1 - (r.top + row)) * size_t(dst.width()) + r.left;
        std::memcpy(d, s, size_t(r.width()) * sizeof(uint32_t));
    }
}

double thread_cpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

template <class F>
double seconds_of(F&& f) {
    const double start = thread_cpu();
    f();
    return thread_cpu() - start;
}

void BM_keyed_draw_vs_copy(benchmark::State& state) {
    const int32_t side = int32_t(state.range(0));
    DDBase dd(1);
    dd.init(0);
    if (dd.screen_width < side || dd.screen_height < side) {
        state.SkipWithError("the screen is smaller than the piece");
        return;
    }
    MemDC desk, view;
    desk.create(BIT_SCREEN, dd.screen_width, dd.screen_height);
    desk.fill(0, 0, desk.width(), desk.height(), 0x406080);
    dd.back_clear(nullptr, &desk, 0, 0);
    make_piece(view, side, side);
    dd.set_img(0, &view);
    const Rect r{3, 2, 3 + side, 2 + side};
    constexpr int kRepeat = 20;  // several draws per sample, so the clock's grain does not matter
    double ours = 0, floor = 0;
    for (auto _ : state) {
        floor += seconds_of([&] { for (int i = 0; i < kRepeat; ++i) plain_copy(*dd.back, r, view); });
        benchmark::ClobberMemory();
        const double t = seconds_of([&] { for (int i = 0; i < kRepeat; ++i) dd.draw(&r, 0, 0, 0); });
        benchmark::ClobberMemory();
        ours += t;
        state.SetIterationTime(t / kRepeat);
    }
    state.counters["us"] = 1e6 * ours / kRepeat / double(state.iterations());
    state.counters["copy_us"] = 1e6 * floor / kRepeat / double(state.iterations());
    state.counters["ratio"] = ours / floor;
    dd.finish();
}
BENCHMARK(BM_keyed_draw_vs_copy)->Arg(64)->Arg(256)->Arg(600)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    ws::init(argc, argv, true);  // the back buffer takes the screen's size from the window-system layer
    ws::fill_hooks(hooks);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
