// Benchmark scenery shared by the desk and play benchmarks: windows of the screen's size and 1000 (or more)
// knobbed groups scattered over the desk, on either drawing path.
#pragma once
#include <chrono>
#include <cstdlib>

#include "desk/display.h"
#include "desk/state.h"
#include "graphics/memdc.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"
#include "shell/mywin.h"
#include "ws/ddbase.h"
#include "ws/ws.h"

namespace bench_desk {

using Clock = std::chrono::steady_clock;

constexpr int32_t kGroups = 1000, kSide = 48;

inline double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A piece's square: a core with four round knobs, white around them, as a cut piece looks.
inline bool in_shape(int32_t x, int32_t y) {
    const auto near = [&](int32_t cx, int32_t cy) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) < 36; };
    return (std::abs(x - 24) < 12 && std::abs(y - 24) < 12) || near(24, 7) || near(24, 41) || near(7, 24) ||
           near(41, 24);
}

// The main window and the game window (with the given procedure), both as large as the screen, and the desk.
inline void open_windows(ws::WndProc game_proc) {
    ws::register_class({"BenchMain", ws::def_window_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});
    ws::register_class({"BenchGame", game_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});
    const int32_t w = ws::screen_width(), h = ws::screen_height();
    display.main_window = ws::create_window("BenchMain", "zelto", ws::WS_POPUP | ws::WS_VISIBLE, 0, 0, w, h, 0, 0);
    display.game_window =
        ws::create_window("BenchGame", "Zelto", ws::WS_CHILD | ws::WS_VISIBLE, 0, 0, w, h, display.main_window, 0);
    ws::use_device_pixels(display.game_window);  // as the game's window: QT_SCALE_FACTOR=2 measures ratio 2
    init_window();
}

// A blank current game holding `groups` groups at places drawn from a fixed seed; `last` (if given) places the
// top-most one.
inline void scatter_groups(const Point* last, int32_t groups = kGroups) {
    display.current_game = new Jig(blank_game, groups);
    MemDC square;
    square.create(BIT_DIB, kSide, kSide);
    for (int32_t y = 0; y < kSide; ++y)
        for (int32_t x = 0; x < kSide; ++x) square.set_pixel(x, y, in_shape(x, y) ? 0x3060C0 + x : 0xFFFFFF);
    uint32_t seed = 12345;
    const auto next = [&seed](int32_t n) { return int32_t((seed = seed * 214013u + 2531011u) >> 16 & 0x7FFF) % n; };
    for (int32_t i = 0; i < groups; ++i) {
        auto* p = new Piece;
        p->cx = next(desk.desk_width);
        p->cy = next(desk.desk_height);
        if (last && i == groups - 1) p->cx = last->x, p->cy = last->y;
        p->set_image(square, kSide, kSide);
        p->set_angle(0, settings_shading());
        display.current_game->items[i].piece = p;
        display.current_game->items[i].id = i;
    }
    display.current_game->item_count = display.current_game->cut_count = groups;
}

// The presenter of the game, with every view handed over and dropped from the piece, as a cut game has it.
inline void start_presenter(int32_t groups = kGroups) {
    desk.presenter = new DDBase(groups);
    desk.presenter->init(display.game_window);
    desk.presenter->table_count = groups;
    for (int32_t i = 0; i < groups; ++i) {
        Piece& p = *display.current_game->items[i].piece;
        p.hand_over_view(i);
    }
}

}  // namespace bench_desk
