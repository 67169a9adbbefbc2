// Speed of the picture list: thumbnailing a folder of 12-megapixel photos against decoding those photos once,
// and the longest the window's thread is held while the thumbnails arrive. Processor times are the whole
// process's (the loader works on its own thread); the wall-clock ratio is printed beside them.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/support.h"
#include "graphics/hooks.h"
#include "graphics/jpeg_reader.h"
#include "play/companions.h"
#include "play/jigwin.h"
#include "play/state.h"
#include "windows/viewer.h"
#include "windows/viewer_state.h"
#include "ws/ws.h"

namespace {

using namespace bench_support;

constexpr int32_t kPhotos = 8;  // 50 photos take minutes on a shared machine; the ratio does not depend on it

// A folder of kPhotos copies of a 4000 x 3000 photo-like JPEG, made once per run; "" without ImageMagick.
std::string photo_folder() {
    static const std::string folder = [] {
        const fs::path dir = work_dir() / "photos";
        fs::create_directories(dir);
        const std::string first = (dir / "photo0.jpg").string();
        if (!make_photo(first)) return std::string();
        for (int32_t i = 1; i < kPhotos; ++i) fs::copy_file(first, dir / ("photo" + std::to_string(i) + ".jpg"));
        return dir.string();
    }();
    return folder;
}

double process_cpu() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

intptr_t parent_proc(ws::Hwnd h, uint32_t m, uintptr_t w, intptr_t l) { return ws::def_window_proc(h, m, w, l); }

void BM_thumbnails_vs_decoding(benchmark::State& state) {
    const std::string folder = photo_folder();
    if (folder.empty()) {
        state.SkipWithError("needs ImageMagick's convert");
        return;
    }
    ws::register_class({"BenchParent", parent_proc});
    const ws::Hwnd parent = ws::create_window("BenchParent", "", 0, 0, 0, 640, 480, 0, 0);
    double list_cpu = 0, list_wall = 0, floor_cpu = 0, floor_wall = 0, stall = 0;
    for (auto _ : state) {
        double cpu = process_cpu();
        Clock::time_point start = Clock::now();
        for (const auto& entry : fs::directory_iterator(folder)) {
            JpegPicture picture;
            benchmark::DoNotOptimize(read_jpeg_file(entry.path().c_str(), picture));
        }
        floor_cpu += process_cpu() - cpu;
        floor_wall += seconds_since(start);

        play.view_folder = folder;
        play.view_title = kViewChoose;
        cpu = process_cpu();
        start = Clock::now();
        viewer_create(parent);
        while (viewer.loading) {
            const Clock::time_point tick = Clock::now();
            ws::test::advance(100);  // the list's timer: one poll
            stall = std::max(stall, seconds_since(tick));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        list_cpu += process_cpu() - cpu;
        list_wall += seconds_since(start);
        state.SetIterationTime(seconds_since(start));
        if (viewer.thumbs.size() != size_t(kPhotos)) state.SkipWithError("not every photo got its thumbnail");
        ws::send_message(play.list_window, ws::WM_CLOSE, 0, 0);
    }
    state.counters["photos"] = kPhotos;
    state.counters["ratio"] = list_cpu / floor_cpu;
    state.counters["wall_ratio"] = list_wall / floor_wall;
    state.counters["max_ui_stall_ms"] = 1000 * stall;
}
BENCHMARK(BM_thumbnails_vs_decoding)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    ws::init(argc, argv, true);
    ws::fill_hooks(hooks);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(work_dir(), ec);
    return 0;
}
