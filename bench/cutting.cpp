// Speed of cutting a whole puzzle (588 pieces of a 1000 x 750 picture), as a ratio to a floor measured in the same
// run: filling as many piece-sized squares plus one copy of the picture.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "bench/support.h"
#include "graphics/hooks.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "puzzle/lines.h"
#include "ws/ws.h"

namespace {

using namespace bench_support;

constexpr int32_t picture_w = 1000, picture_h = 750, wanted = 600;

// Each iteration lays a fresh game and cuts every piece: with `whole` the full step (cut-out, angle, bevel,
// drawing on the desk), otherwise the cut-out alone (cut_piece).
void run(benchmark::State& state, bool whole) {
    desk_images_create(1280, 1024);
    settings.hanten = true;
    settings.kaiten = 234;
    double cut_total = 0, floor_total = 0;
    int32_t pieces = 0;
    for (auto _ : state) {
        auto game = laid_game(picture_w, picture_h, wanted);
        pieces = game->item_count;
        floor_total += floor_seconds(*game, pieces);
        const auto start = Clock::now();
        if (whole) {
            while (game->cut_count < game->item_count) game->cut(1280, 1024);
        } else {
            for (int32_t k = 0; k < game->item_count; ++k) {
                game->items[k].piece = new Piece;
                game->cut_piece(k, k);
            }
        }
        const double seconds = seconds_since(start);
        cut_total += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["pieces"] = pieces;
    state.counters["ratio"] = floor_total > 0 ? cut_total / floor_total : 0;
    desk_images_destroy();
}

void BM_cut_all_pieces(benchmark::State& state) { run(state, true); }
void BM_cut_piece_only(benchmark::State& state) { run(state, false); }

}  // namespace

BENCHMARK(BM_cut_all_pieces)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_cut_piece_only)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    // Freed memory stays with the process, so that neither the floor nor the cut pays for the system handing
    // pages back and forth: how much of the heap the previous round left at the top would decide that otherwise.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    return run_game_benchmarks(argc, argv);
}
