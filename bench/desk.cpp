// Speed of a full redraw of the desk with 1000 groups on each drawing path, at 100 % and zoomed out, as a ratio to a
// floor measured in the same run: one plain copy of the window area plus one plain copy of every visible piece
// pixel; and of one zoom step, as a ratio to a full redraw at 100 %.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "bench/scattered_desk.h"
#include "desk/background.h"
#include "desk/display.h"
#include "desk/state.h"
#include "graphics/hooks.h"
#include "graphics/memdc.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "pieces/view.h"
#include "play/play.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "ws/ddbase.h"
#include "ws/ws.h"

namespace {

using namespace bench_desk;

intptr_t game_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    if (msg == ws::WM_PAINT) {
        desk_paint(hwnd);
        return 0;
    }
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

// The desk and the window fill the screen, as with the default settings and a maximized window; 1000 groups lie
// scattered over the desk.
void lay_desk(bool with_presenter) {
    settings.desk_w = settings.desk_h = 0;
    settings.back_type = IDM_BACK_IMG_REN;
    settings.back_img = "bkimg\\タイル１.BMP";
    settings.kage = false;
    settings.ddraw = false;
    open_windows(game_proc);
    scatter_groups(nullptr);
    if (with_presenter) start_presenter();
}

void clear_desk() {
    delete display.current_game;
    display.current_game = nullptr;
    delete desk.presenter;
    desk.presenter = nullptr;
    finish_window();
    ws::test::reset();
}

// The floor: the window's surface copied once (device pixels on a screen of a higher ratio), then every piece
// pixel inside the view copied once.
double floor_seconds(MemDC& scratch, MemDC& piece_square) {
    const Rect window = intersect_rect(view_client(display.game_window), {0, 0, desk.desk_width, desk.desk_height});
    MemDC& shown = *ws::client_surface(display.game_window);
    const auto start = Clock::now();
    scratch.blit(0, 0, shown.width(), shown.height(), shown, 0, 0, SRCCOPY);
    for (int32_t i = 0; i < kGroups; ++i) {
        const Rect& r = display.current_game->items[i].piece->rect;
        const Rect v = intersect_rect(r, window);
        if (!v.empty()) scratch.blit(v.left, v.top, v.width(), v.height(), piece_square, v.left - r.left, v.top - r.top, SRCCOPY);
    }
    benchmark::DoNotOptimize(scratch.words());
    return seconds_since(start);
}

// What the game does to redraw the whole window: on the plain path the desk is rebuilt from the background and
// painted; on the presenter path the redraw composes the back buffer and presents it.
void full_redraw() {
    if (desk.presenter) {
        disp(*display.current_game, nullptr);
        return;
    }
    desk.desk_image->blit(0, 0, desk.desk_width, desk.desk_height, *desk.desk_back, 0, 0, SRCCOPY);
    disp(*display.current_game, nullptr);
    ws::paint_at_once(display.game_window, nullptr);
}

void run(benchmark::State& state, bool with_presenter, int32_t zoom = kZoomFull) {
    lay_desk(with_presenter);
    desk.zoom = zoom;
    MemDC scratch, piece_square;
    const MemDC& shown = *ws::client_surface(display.game_window);
    scratch.create(BIT_SCREEN, std::max(desk.desk_width, shown.width()), std::max(desk.desk_height, shown.height()));
    piece_square.create(BIT_DIB, kSide, kSide);
    double redraw_total = 0, floor_total = 0;
    for (auto _ : state) {
        floor_total += floor_seconds(scratch, piece_square);
        const auto start = Clock::now();
        full_redraw();
        const double seconds = seconds_since(start);
        redraw_total += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["ratio"] = floor_total > 0 ? redraw_total / floor_total : 0;
    state.counters["window_w"] = shown.width();  // in device pixels
    state.counters["window_h"] = shown.height();
    clear_desk();
}

void BM_full_redraw_plain(benchmark::State& state) { run(state, false); }
void BM_full_redraw_presenter(benchmark::State& state) { run(state, true); }
// The argument is the zoom in thousandths.
void BM_full_redraw_zoomed_plain(benchmark::State& state) { run(state, false, int32_t(state.range(0))); }
void BM_full_redraw_zoomed_presenter(benchmark::State& state) { run(state, true, int32_t(state.range(0))); }

// One zoom step about the window's centre, out of 100 % and back in (the costlier steps, since the background is
// laid out anew across 100 %), against a full redraw at 100 % timed beside it.
void zoom_steps(benchmark::State& state, bool with_presenter) {
    lay_desk(with_presenter);
    const Point centre{ws::screen_width() / 2, ws::screen_height() / 2};
    double step_total = 0, redraw_total = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        full_redraw();
        redraw_total += seconds_since(start);
        start = Clock::now();
        zoom_view(display.game_window, zoom_step(kZoomFull, -1), centre);
        zoom_view(display.game_window, kZoomFull, centre);
        const double seconds = seconds_since(start) / 2;
        step_total += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["ratio"] = redraw_total > 0 ? step_total / redraw_total : 0;
    clear_desk();
}

void BM_zoom_step_plain(benchmark::State& state) { zoom_steps(state, false); }
void BM_zoom_step_presenter(benchmark::State& state) { zoom_steps(state, true); }

}  // namespace

BENCHMARK(BM_full_redraw_plain)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_full_redraw_presenter)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_full_redraw_zoomed_plain)->Arg(500)->Arg(250)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(BM_full_redraw_zoomed_presenter)->Arg(500)->Arg(250)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(BM_zoom_step_plain)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_zoom_step_presenter)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    ws::init(argc, argv, true);
    ws::fill_hooks(hooks);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
