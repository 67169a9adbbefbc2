// The dearest join of a 10000-piece game (9801 pieces of a 6000 x 4000 picture at full size): the last piece
// dropped onto the group holding every other cell, on each drawing path, as a ratio to one plain copy of the picture
// measured in the same run.
#include <benchmark/benchmark.h>

#include <utility>

#include "bench/support.h"
#include "desk/display.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "play/play.h"
#include "ws/ddbase.h"

namespace {

using namespace bench_support;

constexpr int32_t picture_w = 6000, picture_h = 4000, wanted = 10000;

// Item 0 holds every cell but the last, item 1 (on top, held) the last cell, laid where it joins.
void lay_last_join(Jig& game) {
    const int32_t cells = game.cols * game.rows, last = cells - 1;
    for (int32_t c = 0; c < cells; ++c) game.cells[size_t(c)].owner = c == last ? last : 0;
    game.item_count = game.cut_count = 2;
    game.items[0].id = 0;
    game.items[1].id = last;
    game.items[0].piece = new Piece;
    game.items[1].piece = new Piece;
    game.joint_piece(0, 0);
    game.cut_piece(last, 1);
    for (int32_t i = 0; i < 2; ++i) {
        Piece& p = *game.items[size_t(i)].piece;
        // Both reference points on the desk's middle: the join test would take them as fitting.
        p.cx = desk.desk_width / 2 - game.items[size_t(i)].join_dx;
        p.cy = desk.desk_height / 2 - game.items[size_t(i)].join_dy;
        p.set_angle(0, settings_shading());
        if (desk.presenter) p.hand_over_view(game.items[size_t(i)].id);
    }
    game.holding = 1;
}

void run(benchmark::State& state, bool with_presenter) {
    settings.hanten = false;
    settings.kaiten = 234;
    settings.kage = settings.smooth = true;
    double join_total = 0, copy_total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto game = laid_game(picture_w, picture_h, wanted);
        game->on_desk = false;
        const Size on = desk_size_for(*game);
        desk_images_create(on.cx, on.cy);
        if (with_presenter) {
            desk.presenter = new DDBase(game->cols * game->rows);
            desk.presenter->init(0);
            desk.presenter->table_count = desk.presenter->count;
        }
        lay_last_join(*game);
        MemDC copy;
        copy.create(BIT_SCREEN, game->pic_w, game->pic_h);
        // The floor: a plain copy of the picture into memory already in use, as the play benchmark's robot takes it.
        copy.blit(0, 0, game->pic_w, game->pic_h, *game->picture, 0, 0, SRCCOPY);
        constexpr int32_t kCopies = 5;
        auto start = Clock::now();
        for (int32_t c = 0; c < kCopies; ++c) copy.blit(0, 0, game->pic_w, game->pic_h, *game->picture, 0, 0, SRCCOPY);
        benchmark::DoNotOptimize(copy.words());
        copy_total += seconds_since(start) / kCopies;
        state.ResumeTiming();
        start = Clock::now();
        const Rect joined = joint(*game, 0);
        const double seconds = seconds_since(start);
        if (joined.empty() || game->item_count != 1) state.SkipWithError("the last piece did not join");
        join_total += seconds;
        state.SetIterationTime(seconds);
        state.PauseTiming();
        for (Item& it : game->items) delete std::exchange(it.piece, nullptr);
        delete std::exchange(desk.presenter, nullptr);
        state.ResumeTiming();
    }
    state.counters["ratio"] = copy_total > 0 ? join_total / copy_total : 0;
    desk_images_destroy();
}

void BM_join_last_plain(benchmark::State& state) { run(state, false); }
void BM_join_last_presenter(benchmark::State& state) { run(state, true); }

}  // namespace

BENCHMARK(BM_join_last_plain)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_join_last_presenter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) {
    return run_game_benchmarks(argc, argv);
}
