// Speed of "paint at once" through the window layer (WM_PAINT dispatch, then the client surface shown on the
// screen), as a ratio to a floor measured in the same run: one plain copy of the same pixels.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "graphics/hooks.h"
#include "graphics/memdc.h"
#include "ws/ws.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

intptr_t paint_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    if (msg != ws::WM_PAINT) return ws::def_window_proc(hwnd, msg, wparam, lparam);
    ws::PaintStruct ps;
    ws::begin_paint(hwnd, ps);  // the game's own drawing is not what is measured here
    ws::end_paint(hwnd, ps);
    return 0;
}

ws::Hwnd bench_window(int32_t w, int32_t h) {
    if (!ws::class_registered("BenchPaint")) ws::register_class({"BenchPaint", paint_proc, 0, 0, ws::NO_BACKGROUND, ""});
    ws::test::reset();
    ws::Hwnd hwnd = ws::create_window("BenchPaint", "bench", ws::WS_POPUP | ws::WS_VISIBLE, 0, 0, w, h, 0, 0);
    ws::test::pump();
    return hwnd;
}

// A full window (a redraw after a desk drag) or a piece-sized square (one drag step).
void run(benchmark::State& state, int32_t side_w, int32_t side_h) {
    const int32_t w = 1024, h = 768;
    ws::Hwnd hwnd = bench_window(w, h);
    MemDC* surface = ws::client_surface(hwnd);
    std::vector<uint32_t> copy(size_t(side_w) * size_t(side_h));
    const int32_t left = (w - side_w) / 2, top = (h - side_h) / 2;
    Rect r{left, top, left + side_w, top + side_h};
    double paint_total = 0, floor_total = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        for (int32_t y = 0; y < side_h; ++y)
            std::memcpy(copy.data() + size_t(y) * size_t(side_w), surface->words() + size_t(r.top + y) * size_t(w) + size_t(r.left),
                        size_t(side_w) * sizeof(uint32_t));
        benchmark::DoNotOptimize(copy.data());
        floor_total += seconds_since(start);
        start = Clock::now();
        ws::paint_at_once(hwnd, &r);
        double seconds = seconds_since(start);
        paint_total += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["ratio"] = floor_total > 0 ? paint_total / floor_total : 0;
    ws::test::reset();
}

void BM_paint_at_once_window(benchmark::State& state) { run(state, 1024, 768); }
void BM_paint_at_once_piece(benchmark::State& state) { run(state, 64, 64); }

}  // namespace

BENCHMARK(BM_paint_at_once_window)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_paint_at_once_piece)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);

int main(int argc, char** argv) {
    ws::init(argc, argv, true);
    ws::fill_hooks(hooks);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
