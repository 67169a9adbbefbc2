// Memory and time of cutting a large photo at full size, free angles, bevel (588 pieces of a 4000 x 3000 picture,
// and 9801 of a 6000 x 4000 one on the desk grown for them) on both drawing paths: resident memory of the cut
// puzzle, its picture and desk included, as a ratio to the picture's own bytes (w x h x 4) and in MiB, and the
// cutting time as a ratio to the floor of bench/cutting.cpp measured in the same run.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <unistd.h>

#include <fstream>

#include "bench/support.h"
#include "desk/display.h"
#include "graphics/hooks.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "puzzle/lines.h"
#include "ws/ddbase.h"
#include "ws/ws.h"

namespace {

using namespace bench_support;

// Resident bytes of the process now.
double resident_bytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE));
}

// Each iteration lays a fresh game and cuts every piece onto the desk, with or without the presenter.
void run(benchmark::State& state, bool with_presenter) {
    const int32_t picture_w = int32_t(state.range(0)), picture_h = int32_t(state.range(1));
    const int32_t wanted = int32_t(state.range(2));
    settings.hanten = settings.kage = settings.smooth = true;
    settings.kaiten = 234;
    double cut_total = 0, floor_total = 0, resident = 0;
    int32_t pieces = 0;
    for (auto _ : state) {
        double floor = 0;
        {
            auto scratch = laid_game(picture_w, picture_h, wanted);
            // On memory fresh from the system, as the cut gets it.
            malloc_trim(0);
            floor = floor_seconds(*scratch, scratch->item_count);
        }
        if (with_presenter) {
            desk.presenter = new DDBase(max_cells);
            desk.presenter->init(0);
            desk.presenter->table_count = desk.presenter->count;
        }
        malloc_trim(0);
        const double before = resident_bytes();
        auto game = laid_game(picture_w, picture_h, wanted);
        const Size on = desk_size_for(*game);
        desk_images_create(on.cx, on.cy);
        pieces = game->item_count;
        const auto start = Clock::now();
        while (game->cut_count < game->item_count) game->cut(1280, 1024);
        const double seconds = seconds_since(start);
        resident += resident_bytes() - before;
        cut_total += seconds;
        floor_total += floor;
        state.SetIterationTime(seconds);
        game.reset();
        delete desk.presenter;
        desk.presenter = nullptr;
    }
    state.counters["pieces"] = pieces;
    state.counters["resident"] = resident / double(state.iterations()) / (4.0 * picture_w * picture_h);
    state.counters["MiB"] = resident / double(state.iterations()) / double(1 << 20);
    state.counters["ratio"] = floor_total > 0 ? cut_total / floor_total : 0;
    desk_images_destroy();
}

void BM_cut_photo_plain(benchmark::State& state) { run(state, false); }
void BM_cut_photo_presenter(benchmark::State& state) { run(state, true); }

}  // namespace

BENCHMARK(BM_cut_photo_plain)->Args({4000, 3000, 600})->Args({6000, 4000, 10000})->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_cut_photo_presenter)->Args({4000, 3000, 600})->Args({6000, 4000, 10000})->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) {
    return run_game_benchmarks(argc, argv);
}
