// Speed of play: one drag step with 1000 groups on a 1920 x 1080 desk (and 10000 on one grown to spread them as
// thinly) on each drawing path, as a ratio to one plain copy of the step's union rectangle; and a robot's full
// solve through the mouse of a 600-piece puzzle, and of a 10000-piece one on each path, giving the total, the
// moves of a held group, the median join and the dearest join as a ratio to one plain copy of the picture.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/robot.h"
#include "bench/scattered_desk.h"
#include "desk/background.h"
#include "desk/display.h"
#include "desk/state.h"
#include "graphics/hooks.h"
#include "graphics/memdc.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "pieces/view.h"
#include "play/jigwin.h"
#include "play/lifecycle.h"
#include "play/play.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "tests/support/ws/surfaces.h"
#include "ws/bmpsave.h"
#include "ws/ddbase.h"
#include "ws/ws.h"

namespace {

namespace fs = std::filesystem;
using namespace bench_desk;

intptr_t game_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    if (msg == ws::WM_PAINT) {
        desk_paint(hwnd);
        return 0;
    }
    if (display.current_game && play_message(hwnd, msg, wparam, lparam)) return 0;
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

// A 1920 x 1080 desk with 1000 groups scattered over it, shown in a window of the screen's size; more groups lie
// on a desk grown in proportion, as a large game's desk is grown to spread its pieces as thinly.
void lay_desk(bool with_presenter, int32_t groups) {
    const double grown = std::sqrt(double(groups) / kGroups);
    settings.desk_w = int32_t(1920 * grown);
    settings.desk_h = int32_t(1080 * grown);
    settings.back_type = IDM_BACK_IMG_REN;
    settings.back_img = "bkimg\\タイル１.BMP";
    settings.kage = false;
    settings.ddraw = false;
    settings.sound = false;
    settings.kaiten = KAITEN_QUARTER;
    open_windows(game_proc);
    const Point middle{ws::screen_width() / 2, ws::screen_height() / 2};  // the one to drag, on top
    scatter_groups(&middle, groups);
    desk.desk_image->blit(0, 0, desk.desk_width, desk.desk_height, *desk.desk_back, 0, 0, SRCCOPY);
    disp(*display.current_game, nullptr);
    if (with_presenter) {
        start_presenter(groups);
        disp(*display.current_game, nullptr);
    }
    ws::paint_at_once(display.game_window, nullptr);
}

void clear_desk() {
    delete display.current_game;
    display.current_game = nullptr;
    delete desk.presenter;
    desk.presenter = nullptr;
    finish_window();
    reset_gesture();
    ws::test::reset();
    display.main_window = display.game_window = 0;
}

// One drag step of the top-most group at `zoom` (the messages carry view coordinates, as play gets them).
void drag_step(benchmark::State& state, bool with_presenter, int32_t zoom = kZoomFull, int32_t groups = kGroups) {
    lay_desk(with_presenter, groups);
    desk.zoom = zoom;
    redraw_whole_window(display.game_window);
    const Point at{ws::screen_width() / 2, ws::screen_height() / 2};
    const uintptr_t left = ws::MK_LBUTTON;
    play.down_point = at;
    ws::send_message(display.game_window, IDM_SELECT, left, ws::make_lparam(at.x, at.y));
    if (!display.current_game->holding) {
        state.SkipWithError("nothing picked up");
        clear_desk();
        return;
    }
    // The floor: the union of one step (the group moved by 6 pixels) copied plainly between two desk-sized surfaces.
    const Rect& r = display.current_game->items[groups - 1].piece->rect;
    const int32_t uw = r.width() + 6, uh = r.height();
    MemDC from, to;
    from.create(BIT_SCREEN, desk.desk_width, desk.desk_height);
    to.create(BIT_SCREEN, desk.desk_width, desk.desk_height);
    constexpr int32_t kCopies = 50;
    double step_total = 0, floor_total = 0;
    int32_t k = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        for (int32_t c = 0; c < kCopies; ++c) to.blit(r.left, r.top, uw, uh, from, r.left + (c & 1), r.top, SRCCOPY);
        benchmark::DoNotOptimize(to.words());
        floor_total += seconds_since(start) / kCopies;
        const int32_t x = at.x + ((++k & 1) ? 6 : 0);
        start = Clock::now();
        ws::send_message(display.game_window, IDM_DRAW, 0, ws::make_lparam(x, at.y));
        const double seconds = seconds_since(start);
        step_total += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["ratio"] = floor_total > 0 ? step_total / floor_total : 0;
    state.counters["union_w"] = uw;
    state.counters["union_h"] = uh;
    clear_desk();
}

void BM_drag_step_plain(benchmark::State& state) { drag_step(state, false); }
void BM_drag_step_presenter(benchmark::State& state) { drag_step(state, true); }
// The argument is the zoom in thousandths.
void BM_drag_step_zoomed_plain(benchmark::State& state) { drag_step(state, false, int32_t(state.range(0))); }
void BM_drag_step_zoomed_presenter(benchmark::State& state) { drag_step(state, true, int32_t(state.range(0))); }
// The argument is the number of groups on the desk.
void BM_drag_step_groups_plain(benchmark::State& state) {
    drag_step(state, false, kZoomFull, int32_t(state.range(0)));
}
void BM_drag_step_groups_presenter(benchmark::State& state) {
    drag_step(state, true, kZoomFull, int32_t(state.range(0)));
}

// ---- the robot's solve ----

// The value below which the fraction q of the samples lie.
double quantile(std::vector<double> v, double q) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(q * double(v.size())))];
}

// One robot's solve: `pieces` pieces of a w x h noise picture, face down and at free angles as cut with quarter
// turns and turning over allowed, in a window that shows the whole desk. 600 pieces lie scattered over the window's
// upper left and the finished picture is laid apart at its lower right; a large game's pieces are spread over a
// desk grown for them, and the robot first carries those lying where the picture will lie out of its way.
struct Solve {
    int32_t pieces, w, h;
    int32_t desk_w, desk_h, win_w, win_h;  // the desk asked for (a large game grows its own) and the window
    int32_t stride;                        // the longest move of the robot's drags
    int32_t file_scale = 1;                // the picture file's sides, in times the fitted picture's
};

void robot_solve(benchmark::State& state, const Solve& solve, bool with_presenter) {
    const fs::path old_dir = fs::current_path();
    const fs::path dir = fs::temp_directory_path() / ("zelto_bench_robot_" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::current_path(dir);
    const Settings saved = settings;
    settings.ddraw = with_presenter;
    settings.kaiten = KAITEN_QUARTER;
    settings.hanten = true;
    settings.piece_num = solve.pieces;
    settings.stretch_size = std::max(solve.w, solve.h);
    settings.desk_w = solve.desk_w;
    settings.desk_h = solve.desk_h;
    settings.win_left = settings.win_top = 0;
    settings.win_width = solve.win_w;
    settings.win_height = solve.win_h;
    settings.back_type = IDM_BACK_RGB;
    settings.view = settings.view_follow = settings.image = false;
    settings.dtsave = false;
    settings.sound = false;
    testsupport::write_noise_picture("robot.bmp", solve.w * solve.file_scale, solve.h * solve.file_scale, 0x303030u);
    for (auto _ : state) {
        play.picture_path = (dir / "robot.bmp").string();
        register_main_window_class();
        const auto cut_start = Clock::now();
        create_main_window();
        ws::test::pump();
        const double cutting = seconds_since(cut_start);
        Jig* g = display.current_game;
        if (!g || g->item_count < solve.pieces * 9 / 10) {
            state.SkipWithError("the puzzle was not cut into as many pieces as asked");
            break;
        }
        // The floor: one plain copy of the whole picture, in processor time like the joins.
        MemDC copy;
        copy.create(BIT_SCREEN, g->pic_w, g->pic_h);
        const double copy_start = robot::thread_seconds();
        for (int32_t c = 0; c < 20; ++c) copy.blit(0, 0, g->pic_w, g->pic_h, *g->picture, 0, 0, SRCCOPY);
        const double picture_copy = (robot::thread_seconds() - copy_start) / 20;

        const Rect client = ws::get_client_rect(display.game_window);
        const Point centre = solve.pieces <= classic_cells
                                 ? Point{client.right - g->pic_w / 2 - 50, client.bottom - g->pic_h / 2 - 50}
                                 : Point{desk.desk_width / 2, desk.desk_height / 2};
        robot::Robot player(centre, solve.stride);
        const int32_t pieces = g->item_count;
        const auto start = Clock::now();
        const bool solved = player.solve(14 * pieces);
        const double total = seconds_since(start);
        state.SetIterationTime(total);
        if (!solved) state.SkipWithError(player.why().c_str());
        const auto& joins = player.stats().join_seconds;
        const auto& moves = player.stats().move_seconds;
        const auto dearest = std::max_element(joins.begin(), joins.end());
        state.counters["pieces"] = pieces;
        state.counters["cutting_s"] = cutting;
        state.counters["total_s"] = total;
        state.counters["joins"] = double(joins.size());
        state.counters["cleared"] = player.stats().cleared;
        state.counters["median_move_us"] = quantile(moves, 0.5) * 1e6;
        state.counters["p95_move_us"] = quantile(moves, 0.95) * 1e6;
        state.counters["median_join_ms"] = quantile(joins, 0.5) * 1000;
        state.counters["max_join_ms"] = dearest == joins.end() ? 0 : *dearest * 1000;
        state.counters["picture_copy_ms"] = picture_copy * 1000;
        state.counters["max_join_ratio"] = dearest == joins.end() ? 0 : *dearest / picture_copy;
        state.counters["median_join_ratio"] = quantile(joins, 0.5) / picture_copy;
        // Late in the game: the joins made while fewer than a tenth of the groups were left.
        double late = 0;
        for (size_t k = 0; k < joins.size(); ++k)
            if (player.stats().join_left[k] * 10 < pieces) late = std::max(late, joins[k]);
        state.counters["late_max_join_ratio"] = late / picture_copy;
        state.counters["dearest_join_groups_left"] =
            dearest == joins.end() ? 0 : player.stats().join_left[size_t(dearest - joins.begin())];
        state.counters["p95_join_ratio"] = quantile(joins, 0.95) / picture_copy;
        ws::destroy_window(display.main_window);
        ws::test::reset();
        if (display.current_game) end_game();
    }
    settings = saved;
    fs::current_path(old_dir);
    std::error_code ec;
    fs::remove_all(dir, ec);
}

// 30 x 20 cells of 30 pixels.
constexpr Solve kSolve600{600, 900, 600, 2400, 1600, 2200, 1500, 40};
// 121 x 81 cells of 24 pixels; the desk grows to 1.35 times the picture's sides, and the window shows all of it.
constexpr Solve kSolve10000{10000, 2904, 1944, 1600, 1200, 4000, 2700, 160};

// The same from a picture file twice the size: on a screen of device pixel ratio 2 the pieces are also cut and shown
// from the finer picture (elsewhere it is kSolve600 again, from a larger file).
constexpr Solve kSolve600Finer{600, 900, 600, 2400, 1600, 2200, 1500, 40, 2};

void BM_robot_solve_600(benchmark::State& state) { robot_solve(state, kSolve600, false); }
void BM_robot_solve_600_finer(benchmark::State& state) { robot_solve(state, kSolve600Finer, false); }
void BM_robot_solve_10000_plain(benchmark::State& state) { robot_solve(state, kSolve10000, false); }
void BM_robot_solve_10000_presenter(benchmark::State& state) { robot_solve(state, kSolve10000, true); }

}  // namespace

BENCHMARK(BM_drag_step_plain)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_drag_step_presenter)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_drag_step_zoomed_plain)->Arg(500)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_drag_step_zoomed_presenter)->Arg(500)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_drag_step_groups_plain)->Arg(10000)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_drag_step_groups_presenter)->Arg(10000)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_robot_solve_600)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_robot_solve_600_finer)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_robot_solve_10000_plain)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_robot_solve_10000_presenter)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char** argv) {
    ws::init(argc, argv, true);
    ws::fill_hooks(hooks);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
