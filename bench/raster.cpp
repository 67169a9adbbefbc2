// Speed of the border flood fill against a plain fill of the same pixels, timed alternately in the same run and
// printed as a ratio ("ratio": flood fill time / plain fill time).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "graphics/memdc.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int32_t side = 1000;  // the region filled: side x side pixels inside a one-pixel white ring
constexpr Colour white = 0xFFFFFF, grey = 0x808080, black = 0;

template <class F>
double seconds_of(F&& f) {
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A surface holding a grey region of side x side closed by a white ring, and a copy of its words to reset it.
void make_region(MemDC& s, std::vector<uint32_t>& pristine) {
    s.create(BIT_DIB, side + 2, side + 2);
    s.fill(0, 0, side + 2, side + 2, white);
    s.fill(1, 1, side, side, grey);
    pristine.assign(s.words(), s.words() + size_t(side + 2) * size_t(side + 2));
}

void reset(MemDC& s, const std::vector<uint32_t>& pristine) {
    std::memcpy(s.words(), pristine.data(), pristine.size() * sizeof(uint32_t));
}

// The cutting case: a white brush filling up to a white border (the filled pixels become border themselves).
void BM_border_flood_fill_vs_fill(benchmark::State& state) {
    MemDC s;
    std::vector<uint32_t> pristine;
    make_region(s, pristine);
    double ours = 0, floor = 0;
    for (auto _ : state) {
        floor += seconds_of([&] { s.fill(1, 1, side, side, grey); });
        benchmark::ClobberMemory();
        s.set_brush(white);
        const double t = seconds_of([&] { s.flood_fill(side / 2, side / 2, white, FLOODFILLBORDER); });
        benchmark::ClobberMemory();
        ours += t;
        state.SetIterationTime(t);
        reset(s, pristine);
    }
    state.counters["us"] = 1e6 * ours / double(state.iterations());
    state.counters["fill_us"] = 1e6 * floor / double(state.iterations());
    state.counters["ratio"] = ours / floor;
}
BENCHMARK(BM_border_flood_fill_vs_fill)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A brush of another colour than the border: the fill cannot tell painted pixels by colour and paints in two
// passes. Black and grey alternate, so each fill undoes the previous one.
void BM_border_flood_fill_other_brush_vs_fill(benchmark::State& state) {
    MemDC s;
    std::vector<uint32_t> pristine;
    make_region(s, pristine);
    double ours = 0, floor = 0;
    bool dark = true;
    for (auto _ : state) {
        floor += seconds_of([&] { s.fill(1, 1, side, side, dark ? grey : black); });
        benchmark::ClobberMemory();
        s.set_brush(dark ? black : grey);
        const double t = seconds_of([&] { s.flood_fill(side / 2, side / 2, white, FLOODFILLBORDER); });
        benchmark::ClobberMemory();
        ours += t;
        state.SetIterationTime(t);
        dark = !dark;
    }
    state.counters["us"] = 1e6 * ours / double(state.iterations());
    state.counters["fill_us"] = 1e6 * floor / double(state.iterations());
    state.counters["ratio"] = ours / floor;
}
BENCHMARK(BM_border_flood_fill_other_brush_vs_fill)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
