// Set-up shared by the benchmarks: a scratch folder and a 12-megapixel photo in it, and a puzzle laid out ready to
// cut with the floor its cutting is measured against.
#pragma once
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "graphics/hooks.h"
#include "graphics/memdc.h"
#include "puzzle/cut.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "shell/settings.h"
#include "ws/ws.h"

namespace bench_support {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

inline double seconds_since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// A folder of this run's own under the system's temporary folder (the benchmark removes it at the end).
inline fs::path work_dir() {
    static const fs::path dir = [] {
        std::string pattern = (fs::temp_directory_path() / "zelto-bench-XXXXXX").string();
        return fs::path(mkdtemp(pattern.data()) ? pattern : fs::temp_directory_path().string());
    }();
    return dir;
}

// Writes a 4000 x 3000 photo-like JPEG (quality 90) to `path` with ImageMagick; false without it.
inline bool make_photo(const std::string& path) {
    const std::string cmd = "convert -seed 1 -size 4000x3000 plasma:fractal -quality 90 " + path + " 2>/dev/null";
    return std::system(cmd.c_str()) == 0;
}

// A game of a w x h picture of noise (never white) asking for `wanted` pieces, its edges laid, not yet cut.
inline std::unique_ptr<Jig> laid_game(int32_t w, int32_t h, int32_t wanted) {
    auto game = std::make_unique<Jig>(blank_game);
    game->picture = new MemDC;
    game->picture->create(BIT_SCREEN, w, h);
    uint32_t* words = game->picture->words();
    for (size_t i = 0; i < size_t(w) * size_t(h); ++i) words[i] = uint32_t(i * 2654435761u) & 0x7F7F7Fu;
    game->pic_w = w;
    game->pic_h = h;
    settings.piece_num = wanted;
    game->make_grid();
    game->line_init();
    return game;
}

// The floor of cutting: fill `count` fresh S x S surfaces (S the side of a cell's square) and copy the picture
// once. The surfaces are kept until the end, as a cut puzzle keeps its pieces: freeing each at once would fill the
// same warm memory over and over.
inline double floor_seconds(const Jig& game, int32_t count) {
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
    return seconds_since(start);
}

// The main of a benchmark program on games: the window layer in test mode with its hooks, the cutting-line shapes,
// then every benchmark asked for.
inline int run_game_benchmarks(int argc, char** argv) {
    ws::init(argc, argv, true);
    ws::fill_hooks(hooks);
    line_const_init();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench_support
