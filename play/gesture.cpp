// The gesture state of the game window and its three rules (press, move, release), the window-side helpers the
// play operations share, and the one door through which the window procedure hands over the mouse.
#include <algorithm>

#include "desk/display.h"
#include "desk/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/view.h"
#include "play/play.h"
#include "play/sound.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"

namespace {

constexpr uintptr_t kAnyButton = ws::MK_LBUTTON | ws::MK_RBUTTON | ws::MK_MBUTTON;

Point point_of(intptr_t lparam) { return {ws::lparam_x(lparam), ws::lparam_y(lparam)}; }

void press_starts(Point p) {
    play.down_time = ws::message_time();
    play.down_point = play.last_point = p;
    play.down_on_window = play.last_on_window;
}

// A release that comes quickly and without travel was a click, not a drag, so it turns the held item instead of
// moving it: a quarter turn one way for the left button and the other for the right, turned over for two.
void click_turn(ws::Hwnd hwnd, uint32_t msg, intptr_t lparam) {
    Jig* game = display.current_game;
    if (!game || !game->holding || play.moved_far) return;
    const int32_t held_ms = int32_t(ws::message_time() - play.down_time);
    if (held_ms >= settings.click_time) return;
    if (play.button_phase == 1) {
        if (msg == ws::WM_LBUTTONUP) ws::send_message(hwnd, IDM_P90_KAITEN, 0, lparam);
        if (msg == ws::WM_RBUTTONUP) ws::send_message(hwnd, IDM_M90_KAITEN, 0, lparam);
    } else if (play.button_phase == 2) {
        ws::send_message(hwnd, IDM_REV, 0, lparam);
    }
}

}  // namespace

void reset_gesture() {
    play.down_point = play.last_point = Point{};
    play.down_time = 0;
    play.button_phase = play.moved_far = 0;
    if (play.captured) ws::release_capture();
    play.captured = 0;
    display.range_state = 0;
    display.range_x1 = display.range_y1 = display.range_x2 = display.range_y2 = 0;
}

void gesture_button_down(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    Jig* game = display.current_game;
    if (!game) return;
    if (!play.captured) {
        ws::set_capture(hwnd);
        play.captured = 1;
    }
    const Point p = point_of(lparam);
    if (msg == ws::WM_MBUTTONDOWN) {
        // The middle button alone stands for two buttons: a quick click turns over, a drag only shifts.
        press_starts(p);
        ws::send_message(hwnd, IDM_SELECT, wparam, lparam);
        play.button_phase = 2;
        game->two_buttons = 1;
    } else if (play.button_phase == 0) {
        play.button_phase = 1;
        press_starts(p);
        ws::send_message(hwnd, IDM_SELECT, wparam, lparam);
    } else {
        play.button_phase = 2;
        game->two_buttons = 1;
    }
}

void gesture_mouse_move(ws::Hwnd hwnd, uintptr_t wparam, intptr_t lparam) {
    Jig* game = display.current_game;
    if (!game) return;
    play.last_point = point_of(lparam);
    if (game->holding) {
        ws::send_message(hwnd, IDM_DRAW, 0, lparam);
    } else if (wparam & ws::MK_RBUTTON) {
        ws::send_message(hwnd, IDM_MOVE_SCREEN, 0, lparam);
    } else if (wparam & ws::MK_LBUTTON) {
        range_move(hwnd, play.last_point);
    }
}

void gesture_button_up(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    Jig* game = display.current_game;
    if (!game || (wparam & kAnyButton)) return;  // the gesture ends with the last button
    if (play.sound_looping) {
        play_sound(SOUND_STOP);
        play.sound_looping = 0;
    }
    if (play.captured) ws::release_capture();
    play.captured = 0;
    click_turn(hwnd, msg, lparam);
    // A turn cannot end the game, but the window may have dropped it meanwhile.
    game = display.current_game;
    if (!game) return;
    if (game->holding)
        ws::send_message(hwnd, IDM_SELECT_END, 0, lparam);
    else
        range_release(hwnd);
    desk.view_x += desk.scroll_dx;
    desk.view_y += desk.scroll_dy;
    desk.scroll_dx = desk.scroll_dy = 0;
    play.button_phase = 0;
    if (display.current_game) display.current_game->two_buttons = 0;
}

namespace {

// The pointer's messages come in window pixels; the play operations work in view coordinates (kept within the
// signed 16 bits the message carries).
intptr_t view_lparam(intptr_t lparam) {
    const Point p = view_point({ws::lparam_x(lparam), ws::lparam_y(lparam)});
    return ws::make_lparam(std::clamp(p.x, -32768, 32767), std::clamp(p.y, -32768, 32767));
}

}  // namespace

bool play_message(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    if (msg >= ws::WM_MOUSEMOVE && msg <= ws::WM_MBUTTONUP) {
        play.last_on_window = {ws::lparam_x(lparam), ws::lparam_y(lparam)};
        if (desk.zoom != kZoomFull) lparam = view_lparam(lparam);
    }
    switch (msg) {
    case ws::WM_LBUTTONDOWN:
    case ws::WM_RBUTTONDOWN:
    case ws::WM_MBUTTONDOWN: gesture_button_down(hwnd, msg, wparam, lparam); return true;
    case ws::WM_MOUSEMOVE: gesture_mouse_move(hwnd, wparam, lparam); return true;
    case ws::WM_LBUTTONUP:
    case ws::WM_RBUTTONUP:
    case ws::WM_MBUTTONUP: gesture_button_up(hwnd, msg, wparam, lparam); return true;
    case IDM_SELECT: on_select(hwnd, wparam, lparam); return true;
    case IDM_SELECT_END: on_select_end(hwnd, lparam); return true;
    case IDM_P90_KAITEN: on_p90_kaiten(hwnd); return true;
    case IDM_M90_KAITEN: on_m90_kaiten(hwnd); return true;
    case IDM_REV: on_rev(hwnd); return true;
    case IDM_DRAW: on_draw(hwnd, lparam); return true;
    case IDM_MOVE_SCREEN: on_move_screen(hwnd, lparam); return true;
    default: return false;
    }
}

// ---- helpers ----

Rect union_rect(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

void repaint_desk_rect(ws::Hwnd hwnd, const Rect& r) {
    if (r.empty() || !hwnd) return;
    const Rect on_window = window_rect_of_desk(r);
    ws::paint_at_once(hwnd, &on_window);
}

void redraw_whole_window(ws::Hwnd hwnd) {
    if (desk.presenter && display.current_game)
        disp(*display.current_game, nullptr);
    else if (hwnd)
        ws::paint_at_once(hwnd, nullptr);
}

void refresh_guide() {
    if (play.guide_window && ws::is_window(play.guide_window)) ws::paint_at_once(play.guide_window, nullptr);
}
