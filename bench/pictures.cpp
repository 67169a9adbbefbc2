// Speed of picture files: JPEG decoding into a surface against libjpeg-turbo's djpeg on the same photo; PNG, WebP
// and HEIC decoding against Qt's QImageReader or libheif's own decode of the same file; and BMP export against
// writing the same bytes with one fwrite. Each figure is a ratio to its floor, timed alternately.
// Times are processor times (user and system, of this thread or of the djpeg process), which a busy machine
// disturbs far less than the clock on the wall; the wall-clock ratio is printed beside them.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageReader>
#include <libheif/heif.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <ctime>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support.h"
#include "graphics/hooks.h"
#include "graphics/memdc.h"
#include "graphics/state.h"
#include "ws/bmpsave.h"
#include "ws/picture.h"
#include "ws/ws.h"

extern char** environ;

namespace {

using namespace bench_support;

// A 12-megapixel photo-like picture (4000 x 3000, quality 90), made once per run.
std::string photo() {
    static const std::string path = [] {
        const std::string p = (work_dir() / "photo.jpg").string();
        return make_photo(p) ? p : std::string();
    }();
    return path;
}

struct Times {
    double cpu = 0;   // user + system seconds
    double wall = 0;  // seconds on the wall clock
    Times& operator+=(const Times& o) { cpu += o.cpu; wall += o.wall; return *this; }
};

double thread_cpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Runs a program to its end; its times, or a negative processor time when it could not be run.
Times run_program(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return {-1, 0};
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0 ? cpu : -1, wall};
}

double process_cpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The times `f` takes; `cpu` counts this thread's time, or the whole process's for decoders that spread their
// work over threads of their own (libheif).
template <class F>
Times times_of(F&& f, double (*cpu)() = thread_cpu) {
    const double before = cpu();
    const auto start = Clock::now();
    f();
    return {cpu() - before, std::chrono::duration<double>(Clock::now() - start).count()};
}

// The photo as a phone held upright takes it: stored on its side, with an EXIF orientation of 6.
std::string phone_photo() {
    static const std::string path = [] {
        const std::string p = (work_dir() / "phone.jpg").string();
        std::FILE* in = photo().empty() ? nullptr : std::fopen(photo().c_str(), "rb");
        if (!in) return std::string();
        std::vector<char> bytes(fs::file_size(photo()));
        const bool read = std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
        std::fclose(in);
        const char exif[] = "\xFF\xE1\x00\x22" "Exif\0\0" "II*\0\x08\0\0\0" "\x01\0" "\x12\x01\x03\0\x01\0\0\0" "\x06\0\0\0" "\0\0\0\0";
        bytes.insert(bytes.begin() + 2, exif, exif + sizeof exif - 1);
        std::FILE* out = read ? std::fopen(p.c_str(), "wb") : nullptr;
        const bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        if (out) std::fclose(out);
        return written ? p : std::string();
    }();
    return path;
}

// Decoding the photo into a surface against djpeg on the same file; the phone's photo is also turned upright.
void BM_load_jpeg_vs_djpeg(benchmark::State& state, bool upright) {
    const std::string path = upright ? phone_photo() : photo();
    if (path.empty() || run_program({"djpeg", "-outfile", "/dev/null", path}).cpu < 0) {
        state.SkipWithError("needs ImageMagick's convert and djpeg (libjpeg-turbo-progs)");
        return;
    }
    Times ours, floor;
    for (auto _ : state) {
        floor += run_program({"djpeg", "-outfile", "/dev/null", path});
        MemDC surface;
        surface.create(BIT_DIB, 1, 1);
        const Times t = times_of([&] { benchmark::DoNotOptimize(ws::load_picture(surface, path.c_str())); });
        ours += t;
        state.SetIterationTime(t.cpu);
        if (surface.width() != (upright ? 3000 : 4000)) state.SkipWithError("the photo did not load");
    }
    state.counters["ms"] = 1000 * ours.cpu / double(state.iterations());
    state.counters["djpeg_ms"] = 1000 * floor.cpu / double(state.iterations());
    state.counters["ratio"] = ours.cpu / floor.cpu;
    state.counters["wall_ratio"] = ours.wall / floor.wall;  // djpeg's includes starting the process
}
BENCHMARK_CAPTURE(BM_load_jpeg_vs_djpeg, photo, false)
    ->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_load_jpeg_vs_djpeg, phone_upright, true)
    ->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

// The photo in another format, converted once per run by ImageMagick; empty when it could not be made.
std::string photo_as(const std::string& ext) {
    const std::string p = (work_dir() / ("photo." + ext)).string();
    if (fs::exists(p)) return p;
    const std::string cmd = "convert " + photo() + " -quality 90 " + p + " 2>/dev/null";
    return !photo().empty() && std::system(cmd.c_str()) == 0 ? p : std::string();
}

// The libraries' own decode of the whole file, as an application using them directly would make it.
bool qt_decode(const std::string& path) { return !QImageReader(QString::fromStdString(path)).read().isNull(); }

bool heif_decode(const std::string& path) {
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    const bool ok = heif_context_read_from_file(context, path.c_str(), nullptr).code == heif_error_Ok &&
                    heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok &&
                    heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr)
                            .code == heif_error_Ok;
    if (image) heif_image_release(image);
    if (handle) heif_image_handle_release(handle);
    heif_context_free(context);
    return ok;
}

// Loading a 12-megapixel picture of the format into a surface, against the library's own decode of the same file.
void BM_load_format_vs_library(benchmark::State& state, const std::string& ext, bool (*library)(const std::string&)) {
    const std::string path = photo_as(ext);
    if (path.empty() || !library(path)) {
        state.SkipWithError("needs ImageMagick's convert with this format");
        return;
    }
    Times ours, floor;
    for (auto _ : state) {
        floor += times_of([&] { benchmark::DoNotOptimize(library(path)); }, process_cpu);
        MemDC surface;
        surface.create(BIT_DIB, 1, 1);
        const Times t =
            times_of([&] { benchmark::DoNotOptimize(ws::load_picture(surface, path.c_str())); }, process_cpu);
        ours += t;
        state.SetIterationTime(t.cpu);
        if (surface.width() != 4000) state.SkipWithError("the picture did not load");
    }
    state.counters["ms"] = 1000 * ours.cpu / double(state.iterations());
    state.counters["library_ms"] = 1000 * floor.cpu / double(state.iterations());
    state.counters["ratio"] = ours.cpu / floor.cpu;
    state.counters["wall_ratio"] = ours.wall / floor.wall;
}
BENCHMARK_CAPTURE(BM_load_format_vs_library, png, std::string("png"), qt_decode)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_load_format_vs_library, webp, std::string("webp"), qt_decode)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_load_format_vs_library, heic, std::string("heic"), heif_decode)
    ->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_save_bmp_vs_fwrite(benchmark::State& state) {
    MemDC surface;
    surface.create(BIT_SCREEN, 1920, 1080);
    uint32_t seed = 12345;
    for (size_t i = 0; i < size_t(1920) * 1080; ++i) surface.words()[i] = (seed = seed * 1103515245u + 12345u) >> 8;
    const std::string ours_path = (work_dir() / "save.bmp").string(), floor_path = (work_dir() / "floor.bmp").string();
    std::snprintf(graphics.bmp_name, sizeof graphics.bmp_name, "%s", ours_path.c_str());
    save_bmp(surface, 0, 0, 0, 0);
    std::vector<char> bytes(fs::file_size(ours_path));  // the very bytes save_bmp writes
    std::FILE* in = std::fopen(ours_path.c_str(), "rb");
    const bool read_ok = in && std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
    if (in) std::fclose(in);
    if (!read_ok) {
        state.SkipWithError("could not read the exported file back");
        return;
    }
    Times ours, floor;
    for (auto _ : state) {
        floor += times_of([&] {
            std::FILE* f = std::fopen(floor_path.c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        });
        const Times t = times_of([&] { benchmark::DoNotOptimize(save_bmp(surface, 0, 0, 0, 0)); });
        ours += t;
        state.SetIterationTime(t.cpu);
    }
    state.counters["ms"] = 1000 * ours.cpu / double(state.iterations());
    state.counters["fwrite_ms"] = 1000 * floor.cpu / double(state.iterations());
    state.counters["ratio"] = ours.cpu / floor.cpu;
    state.counters["wall_ratio"] = ours.wall / floor.wall;
}
BENCHMARK(BM_save_bmp_vs_fwrite)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    ws::init(argc, argv, true);  // the busy cursor of save_bmp needs the window-system layer
    ws::fill_hooks(hooks);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(work_dir(), ec);
    return 0;
}
