// Zooming the view: a step about the pointer (Ctrl and the wheel) or about the window's centre (the keys and the
// menu), back to 100 %, and the whole desk fitted in the window. What the player holds stays under the pointer.
#include <algorithm>

#include "desk/background.h"
#include "desk/display.h"
#include "desk/state.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "pieces/view.h"
#include "play/play.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"
#include "ws/ddbase.h"

namespace {

// The points of a gesture in progress, in window pixels while the zoom changes under them.
struct HeldPoints {
    Point last, down, range1, range2;
};

Point window_point(Point view) { return {window_of_view(view.x), window_of_view(view.y)}; }

HeldPoints points_in_window() {
    return {window_point(play.last_point), window_point(play.down_point),
            window_point({display.range_x1, display.range_y1}), window_point({display.range_x2, display.range_y2})};
}

void points_to_view(const HeldPoints& w) {
    play.last_point = view_point(w.last);
    play.down_point = view_point(w.down);
    const Point a = view_point(w.range1), b = view_point(w.range2);
    display.range_x1 = a.x, display.range_y1 = a.y, display.range_x2 = b.x, display.range_y2 = b.y;
}

// A held group follows the pointer to where it now points on the desk.
void keep_held_under_pointer(Jig& game) {
    if (!game.holding || game.item_count < 1 || !game.items[game.item_count - 1].piece) return;
    Piece& p = *game.items[game.item_count - 1].piece;
    const Rect old = p.rect;
    moveto(game, play.last_point.x + desk.view_x + desk.scroll_dx, play.last_point.y + desk.view_y + desk.scroll_dy,
           0);
    if (!desk.presenter) show_held(game, old, false);
}

// The background is laid out differently at 100 % and zoomed, so it is laid anew across that line; the plain desk
// image is made again over it, the presenter composes everything on each redraw anyway.
void show_new_zoom(ws::Hwnd hwnd, bool crossed_full) {
    Jig* game = display.current_game;
    if (crossed_full) render_background();
    if (crossed_full && !desk.presenter) {
        if (game) disp(*game, nullptr);
        if (game && game->holding) take_under_cache(*game);  // what lies under the held group changed too
    }
    if (desk.presenter && !game) {
        dd_back(nullptr, 0, 0);
        desk.presenter->flip(hwnd, nullptr);
    } else {
        redraw_whole_window(hwnd);
    }
    refresh_guide();
}

// Zooming waits while a game is being cut: the pieces are scattered over the part of the desk in view.
bool can_zoom(ws::Hwnd hwnd) {
    const Jig* game = display.current_game;
    return hwnd && (!game || game->cut_count >= game->item_count);
}

Point window_centre(ws::Hwnd hwnd) {
    const Rect c = ws::get_client_rect(hwnd);
    return {c.width() / 2, c.height() / 2};
}

// Changes the zoom about the anchor (window pixels), carrying a gesture's points along; true when the change
// crossed 100 % one way or the other.
bool change_zoom(int32_t zoom, Point anchor) {
    const bool crossed_full = (zoom == kZoomFull) != (desk.zoom == kZoomFull);
    const HeldPoints held = points_in_window();
    zoom_about(zoom, anchor);
    settings.zoom = zoom;
    points_to_view(held);
    return crossed_full;
}

void after_zoom(ws::Hwnd hwnd, bool crossed_full) {
    if (Jig* game = display.current_game) keep_held_under_pointer(*game);
    show_new_zoom(hwnd, crossed_full);
}

// The largest level at which the whole desk fits in the window, with the desk centred in it.
void fit_whole_desk(ws::Hwnd hwnd) {
    const Rect c = ws::get_client_rect(hwnd);
    int32_t zoom = kZoomLevels[0];
    for (const int32_t level : kZoomLevels)
        if (int64_t(desk.desk_width) * level <= int64_t(c.width()) * kZoomFull &&
            int64_t(desk.desk_height) * level <= int64_t(c.height()) * kZoomFull)
            zoom = level;
    const bool crossed_full = zoom != desk.zoom && change_zoom(zoom, window_centre(hwnd));
    const Rect shown = view_client(hwnd);
    desk.view_x = (desk.desk_width - shown.width()) / 2 - desk.scroll_dx;
    desk.view_y = (desk.desk_height - shown.height()) / 2 - desk.scroll_dy;
    after_zoom(hwnd, crossed_full);
}

}  // namespace

void zoom_view(ws::Hwnd hwnd, int32_t zoom, Point anchor) {
    zoom = nearest_zoom(zoom);
    if (!can_zoom(hwnd) || zoom == desk.zoom) return;
    after_zoom(hwnd, change_zoom(zoom, anchor));
}

void zoom_wheel(ws::Hwnd hwnd, uintptr_t wparam, intptr_t lparam) {
    // A notch is 120; finer wheels send parts of one, which add up until they make a step.
    play.wheel_pending += int16_t(uint16_t(wparam >> 16));
    const int32_t steps = play.wheel_pending / 120;
    play.wheel_pending -= steps * 120;
    if (steps == 0) return;
    const Point at = ws::screen_to_client(hwnd, {ws::lparam_x(lparam), ws::lparam_y(lparam)});
    zoom_view(hwnd, zoom_step(desk.zoom, steps), at);
}

void zoom_command(ws::Hwnd hwnd, int32_t which) {
    if (!can_zoom(hwnd)) return;
    switch (which) {
    case ZOOM_IN: zoom_view(hwnd, zoom_step(desk.zoom, 1), window_centre(hwnd)); break;
    case ZOOM_OUT: zoom_view(hwnd, zoom_step(desk.zoom, -1), window_centre(hwnd)); break;
    case ZOOM_FULL: zoom_view(hwnd, kZoomFull, window_centre(hwnd)); break;
    case ZOOM_WHOLE_DESK: fit_whole_desk(hwnd); break;
    default: break;
    }
}
