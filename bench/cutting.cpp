// Speed of cutting a whole puzzle (588 pieces of a 1000 x 750 picture), as a ratio to a floor measured in the same
// run: filling as many piece-sized squares plus one copy of the picture.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <memory>
#include <vector>

#include "graphics/memdc.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "puzzle/cut.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "shell/settings.h"
#include "ws/ws.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t picture_w = 1000, picture_h = 750, wanted = 600;

std::unique_ptr<Jig> laid_game() {
    auto game = std::make_unique<Jig>(blank_game);
    game->picture = new MemDC;
    game->picture->create(BIT_SCREEN, picture_w, picture_h);
    uint32_t* w = game->picture->words();
    for (size_t i = 0; i < size_t(picture_w) * picture_h; ++i) w[i] = uint32_t(i * 2654435761u) & 0x7F7F7Fu;
    game->pic_w = picture_w;
    game->pic_h = picture_h;
    settings.piece_num = wanted;
    game->make_grid();
    game->line_init();
    return game;
}

// The floor: fill `count` fresh S x S surfaces and copy the picture once. The surfaces are kept until the end, as
// a cut puzzle keeps its pieces: freeing each at once would fill the same warm memory over and over.
double floor_seconds(const Jig& game, int32_t count) {
    const int32_t side = cell_square(game, 0).side;
    std::vector<std::unique_ptr<MemDC>> kept;
    kept.reserve(size_t(count));
    const auto start = Clock::now();
    for (int32_t i = 0; i < count; ++i) {
        kept.push_back(std::make_unique<MemDC>());
        MemDC& s = *kept.back();
        s.create(BIT_DIB, side, side);
        s.fill(0, 0, side, side, 0x808080);
        benchmark::DoNotOptimize(s.words());
    }
    MemDC copy;
    copy.create(BIT_DIB, game.pic_w, game.pic_h);
    copy.blit(0, 0, game.pic_w, game.pic_h, *game.picture, 0, 0, SRCCOPY);
    benchmark::DoNotOptimize(copy.words());
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Each iteration lays a fresh game and cuts every piece: with `whole` the full step (cut-out, angle, bevel,
// drawing on the desk), otherwise the cut-out alone (cut_piece).
void run(benchmark::State& state, bool whole) {
    desk_images_create(1280, 1024);
    settings.hanten = true;
    settings.kaiten = 234;
    double cut_total = 0, floor_total = 0;
    int32_t pieces = 0;
    for (auto _ : state) {
        auto game = laid_game();
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
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
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
    ws::init(argc, argv, true);
    line_const_init();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
