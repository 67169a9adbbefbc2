// Speed of turning and shading a group's view, of re-cutting a group late in a game, and of the transparent copy
// onto the desk; each printed as a ratio to a plain copy of the same pixels measured in the same run.
//
// For every iteration the floor and the operation are timed back to back in processor time of this thread (so
// that other programs on a busy machine do not count); "ratio" is the fastest operation over the fastest floor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstring>
#include <memory>
#include <vector>

#include "graphics/hooks.h"
#include "graphics/memdc.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "puzzle/jig.h"
#include "puzzle/joint.h"
#include "puzzle/lines.h"
#include "puzzle/settings.h"
#include "shell/settings.h"
#include "ws/ws.h"

namespace {

double thread_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

template <typename Floor, typename Op>
void measure(benchmark::State& state, Floor floor, Op op) {
    double best_floor = 1e30, best_op = 1e30;
    for (auto _ : state) {
        const double t0 = thread_seconds();
        floor();
        const double t1 = thread_seconds();
        op();
        const double t2 = thread_seconds();
        best_floor = std::min(best_floor, t1 - t0);
        best_op = std::min(best_op, t2 - t1);
    }
    state.counters["ratio"] = best_op / best_floor;
    state.counters["floor_ms"] = best_floor * 1e3;
    state.counters["op_ms"] = best_op * 1e3;
}

// A game of 28 x 21 cells on a 1000 x 750 picture (the grid 600 pieces give), edges laid as in play.
std::unique_ptr<Jig> make_game() {
    auto jig = std::make_unique<Jig>(blank_game);
    jig->cols = 28, jig->rows = 21;
    jig->pic_w = 28 * (1000 / 28), jig->pic_h = 21 * (750 / 21);
    jig->picture = new MemDC;
    jig->picture->create(BIT_SCREEN, jig->pic_w, jig->pic_h);
    uint32_t* w = jig->picture->words();
    for (int32_t y = 0; y < jig->pic_h; ++y)
        for (int32_t x = 0; x < jig->pic_w; ++x)
            w[size_t(y) * jig->pic_w + x] = (uint32_t(20 + x % 200) << 16) | (uint32_t(20 + y % 200) << 8) | 77;
    line_const_init();
    jig->line_init();
    return jig;
}

// Joins every cell but the last `left` into group 0 and gives the item that receives the picture.
void join_all_but(Jig& jig, int32_t left) {
    const int32_t n = jig.cols * jig.rows;
    for (int32_t i = 0; i < n; ++i) jig.cells[i].owner = i < n - left ? 0 : i;
}

void fresh_piece(Jig& jig, int32_t k) {
    delete jig.items[k].piece;
    jig.items[k].piece = new Piece;
}

void BM_SetAngleOfAGroup(benchmark::State& state) {
    settings.kage = settings.smooth = true;
    settings.nokosu = state.range(0) != 0;
    auto jig = make_game();
    join_all_but(*jig, 0);
    fresh_piece(*jig, 0);
    jig->joint_piece(0, 0);
    Piece& p = *jig->items[0].piece;
    p.set_angle(0.5, settings_shading());
    // The floor copies as many words as the whole view has (the piece itself keeps only part of them).
    std::vector<uint32_t> copy(size_t(p.view_width) * p.view_height), whole(copy.size(), 0x00FFFFFF);
    measure(
        state, [&] { std::memcpy(copy.data(), whole.data(), copy.size() * sizeof(uint32_t)); },
        [&] { p.set_angle(0.5, settings_shading()); });
    benchmark::DoNotOptimize(copy.data());
    delete jig->items[0].piece;
    jig->items[0].piece = nullptr;
}
BENCHMARK(BM_SetAngleOfAGroup)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_JointPieceLate(benchmark::State& state) {
    settings.nokosu = state.range(0) != 0;
    auto jig = make_game();
    join_all_but(*jig, 10);
    const size_t n = size_t(jig->pic_w) * jig->pic_h;
    std::vector<uint32_t> copy(n);
    measure(
        state, [&] { std::memcpy(copy.data(), jig->picture->words(), n * sizeof(uint32_t)); },
        [&] {
            fresh_piece(*jig, 0);
            jig->joint_piece(0, 0);
        });
    benchmark::DoNotOptimize(copy.data());
    delete jig->items[0].piece;
    jig->items[0].piece = nullptr;
}
BENCHMARK(BM_JointPieceLate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PutTransparent(benchmark::State& state) {
    desk_images_create(1920, 1080);
    // A 400 x 400 view, white outside a disc, as a piece's view is.
    const int32_t s = 400;
    MemDC view;
    view.create(BIT_DIB, s, s);
    uint32_t* w = view.pixels();
    for (int32_t y = 0; y < s; ++y)
        for (int32_t x = 0; x < s; ++x) {
            const int32_t dx = x - s / 2, dy = y - s / 2;
            w[size_t(y) * s + x] = dx * dx + dy * dy < 180 * 180 ? 0x00336699u + uint32_t(x) : 0x00FFFFFFu;
        }
    const int32_t x0 = 700, y0 = 300;
    const int32_t dw = desk.desk_image->width(), dh = desk.desk_image->height();
    measure(
        state,
        [&] {
            for (int32_t r = 0; r < s; ++r)
                std::memcpy(desk.desk_image->words() + size_t(dh - 1 - (y0 + r)) * dw + x0, w + size_t(s - 1 - r) * s,
                            size_t(s) * sizeof(uint32_t));
        },
        [&] { put_transparent(x0, y0, s, s, view, 0, 0); });
    view.destroy();
    desk_images_destroy();
}
BENCHMARK(BM_PutTransparent)->Unit(benchmark::kMicrosecond)->Iterations(300);

}  // namespace

int main(int argc, char** argv) {
    ws::init(argc, argv, true);
    ws::fill_hooks(hooks);
    desk_images_create(64, 64);  // near_white for the seam shading
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    desk_images_destroy();
    return 0;
}
