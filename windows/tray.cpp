// Trays "TrayWin": adding a tray, its window with the pointer gestures (pressing, carousel drag and fling, taking
// a piece out), and closing every tray when the game ends.
#include "windows/tray.h"

#include <algorithm>
#include <cmath>

#include "desk/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"
#include "windows/tray_strip.h"
#include "ws/tr.h"

namespace {

constexpr const char* kTrayClass = "TrayWin";
constexpr uint32_t kTrayStyle = ws::WS_OVERLAPPEDWINDOW;

// The pointer's drag over a tray (one pointer, so one for all trays).
struct TrayDrag {
    Point last;
    uint32_t last_time = 0;
    int32_t distance = 0;  // accumulated x travel since the press
    int32_t time = 0;      // accumulated ms since the press
    int32_t pressed = -1;  // strip position pressed, -1 = none
};
TrayDrag drag;

void refuse(const std::string& text) { ws::message_box(0, text, "zelto", ws::MB_OK); }

bool in_client(ws::Hwnd hwnd, Point p) {
    const Rect c = ws::get_client_rect(hwnd);
    return p.x >= c.left && p.x < c.right && p.y >= c.top && p.y < c.bottom;
}

void on_create(ws::Hwnd hwnd, const ws::CreateStruct& cs) {
    const int32_t k = first_free_tray();
    if (k < 0) return;
    play.tray_window[k] = hwnd;
    trays.tray_name[k] = cs.title;
    ws::use_device_pixels(hwnd);
    trays.tray_view[k] = new DDBase(max_cells);
    trays.tray_view[k]->init(hwnd);
    trays.tray_items[k].clear();
    trays.tray_scroll[k] = trays.tray_count[k] = trays.tray_speed[k] = 0;
    ws::invalidate_rect(hwnd, nullptr, false);
}

// The window goes (closed, or destroyed with its owner at the end of the run): the tray's presenter only borrowed
// the game's images, so it forgets them before it is finished. A second call finds no slot and does nothing.
void on_destroy(ws::Hwnd hwnd) {
    const int32_t k = tray_slot_of(hwnd);
    if (k < 0) return;
    ws::kill_timer(hwnd, kTrayTimer);
    if (DDBase* view = trays.tray_view[k]) {
        view->clear_table();
        view->finish();
        delete view;
    }
    trays.tray_view[k] = nullptr;
    play.tray_window[k] = 0;
    trays.tray_count[k] = trays.tray_scroll[k] = trays.tray_speed[k] = 0;
    trays.tray_items[k].clear();
}

void on_close(ws::Hwnd hwnd, int32_t k) {
    if (trays.tray_count[k] < 1) {
        ws::destroy_window(hwnd);
        return;
    }
    ws::message_box(0, ws::tr("windows", "ピースを出してから閉じてください。"), ws::tr("windows", "zelto 通知"),
                    ws::MB_OK);
}

void on_button_down(ws::Hwnd hwnd, int32_t k, Point p) {
    ws::set_capture(hwnd);
    trays.tray_speed[k] = 0;
    ws::kill_timer(hwnd, kTrayTimer);
    drag = TrayDrag{p, ws::message_time(), 0, 0, slot_at(k, p.x)};
}

void on_move(ws::Hwnd hwnd, int32_t k, Point p) {
    if (ws::get_capture() != hwnd || !is_full(k)) return;
    scroll_by(k, p.x - drag.last.x);
    const uint32_t now = ws::message_time();
    if (now != drag.last_time) {
        drag.distance += p.x - drag.last.x;
        drag.time += int32_t(now - drag.last_time);
    }
    drag.last = p;
    drag.last_time = now;
}

// A piece dragged out of the tray goes to wherever the pointer was let go: the desk or another tray.
void take_out(ws::Hwnd hwnd, int32_t k, Point p) {
    if (drag.pressed < 0 || drag.pressed >= trays.tray_count[k]) return;
    const int32_t id = trays.tray_items[k][drag.pressed];
    const Point screen = ws::client_to_screen(hwnd, p);
    if (display.current_game) ::take_out(*display.current_game, id, screen.x, screen.y);
    tray_remove(k, drag.pressed);
}

void on_button_up(ws::Hwnd hwnd, int32_t k, Point p) {
    if (ws::get_capture() != hwnd) return;  // the press was not ours
    ws::release_capture();
    if (in_client(hwnd, p)) {
        trays.tray_speed[k] = is_full(k) && drag.time > 0 ? drag.distance * int32_t(kTrayTick) / drag.time : 0;
        // The timer runs only while the carousel turns by itself.
        if (trays.tray_speed[k] != 0) ws::set_timer(hwnd, kTrayTimer, kTrayTick);
    } else {
        take_out(hwnd, k, p);
    }
    drag.pressed = -1;
}

void on_timer(ws::Hwnd hwnd, int32_t k) {
    if (is_full(k) && trays.tray_speed[k] != 0) {
        scroll_by(k, trays.tray_speed[k]);
        return;
    }
    trays.tray_speed[k] = 0;
    ws::kill_timer(hwnd, kTrayTimer);
}

void on_paint(ws::Hwnd hwnd, int32_t k) {
    ws::PaintStruct ps;
    if (!ws::begin_paint(hwnd, ps)) return;
    tray_draw(k);
    ws::end_paint(hwnd, ps);
}

intptr_t tray_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    if (msg == ws::WM_CREATE) {
        on_create(hwnd, *reinterpret_cast<const ws::CreateStruct*>(lparam));
        return 0;
    }
    if (msg == ws::WM_DESTROY) {
        on_destroy(hwnd);
        return 0;
    }
    const int32_t k = tray_slot_of(hwnd);
    if (k < 0) return ws::def_window_proc(hwnd, msg, wparam, lparam);
    const Point p{ws::lparam_x(lparam), ws::lparam_y(lparam)};
    switch (msg) {
    case ws::WM_CLOSE: on_close(hwnd, k); return 0;
    case ws::WM_PAINT: on_paint(hwnd, k); return 0;
    case ws::WM_TIMER:
        if (wparam == kTrayTimer) on_timer(hwnd, k);
        return 0;
    case ws::WM_LBUTTONDOWN: on_button_down(hwnd, k, p); return 0;
    case ws::WM_MOUSEMOVE:
        if (wparam & ws::MK_LBUTTON) on_move(hwnd, k, p);
        return 0;
    case ws::WM_LBUTTONUP: on_button_up(hwnd, k, p); return 0;
    case ws::WM_SIZE:
        keep_scroll_in_range(k);
        tray_draw(k);
        return 0;
    case IDM_TRAY_PUT: tray_insert(k, int32_t(wparam), p); return 0;
    default: return ws::def_window_proc(hwnd, msg, wparam, lparam);
    }
}

}  // namespace

void tray_add() {
    if (!settings.ddraw) return refuse(ws::tr("windows", "zeltorc.txtのddraw行をTRUEにしてください。"));
    // A game whose picture could not be read has no pieces to hold and no cell size to measure a tray by.
    if (!display.current_game || display.current_game->item_count < 1 || !desk.presenter)
        return refuse(ws::tr("windows", "ゲーム開始前はトレイを追加できません。"));
    const int32_t k = first_free_tray();
    if (k < 0) return refuse(ws::tr("windows", "これ以上のトレイは追加できません。"));
    trays.tray_origin = ws::client_to_screen(display.game_window, {0, 0});
    char name[64];
    std::snprintf(name, sizeof name, ws::tr("windows", "トレイ<%d>").c_str(), int(k + 1));
    tray_create(display.main_window, name);
}

ws::Hwnd tray_create(ws::Hwnd parent, const std::string& title) {
    const Jig* game = display.current_game;
    if (!game || game->cols < 1 || game->rows < 1 || first_free_tray() < 0) return 0;
    ws::register_class({kTrayClass, tray_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});
    const int32_t c2 = 2 * std::max(game->pic_w / game->cols, game->pic_h / game->rows);
    trays.tray_cell = int32_t(std::lround(c2 * 0.7));
    trays.tray_margin = (c2 - trays.tray_cell) / 2;
    const Rect outer = ws::adjust_window_rect(Rect{0, 0, 5 * trays.tray_cell, trays.tray_cell}, kTrayStyle, false);
    const ws::Hwnd hwnd = ws::create_window(kTrayClass, title, kTrayStyle | ws::WS_VISIBLE, trays.tray_origin.x,
                                            trays.tray_origin.y, outer.width(), outer.height(), parent, 0);
    if (!hwnd) fatal_error("tray", __LINE__, "CreateWindow", 0);
    // The frame is known for certain only once the window shows: the strip keeps its five cells whatever it is.
    const Rect shown = ws::get_window_rect(hwnd), client = ws::get_client_rect(hwnd);
    if (client.width() != 5 * trays.tray_cell || client.height() != trays.tray_cell)
        ws::move_window(hwnd, shown.left, shown.top, shown.width() - client.width() + 5 * trays.tray_cell,
                        shown.height() - client.height() + trays.tray_cell, true);
    return hwnd;
}

void close_all_trays() {
    for (int32_t k = 0; k < kTrayCount; ++k) {
        const ws::Hwnd hwnd = play.tray_window[k];
        if (!hwnd) continue;
        trays.tray_count[k] = 0;
        trays.tray_items[k].clear();
        ws::send_message(hwnd, ws::WM_CLOSE, 0, 0);
    }
}
