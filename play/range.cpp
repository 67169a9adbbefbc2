// Range selection (drawing a rectangle on empty desk, then dragging every group whose centre lies in it), the
// pick-up handling that decides between a piece, a range grab and a new range, dragging the desk with the right
// button, and the Space sweep over the parts of the desk with groups not yet looked at.
#include <algorithm>

#include "desk/display.h"
#include "desk/state.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/view.h"
#include "pieces/piece.h"
#include "play/play.h"
#include "play/sound.h"
#include "play/state.h"
#include "puzzle/jig.h"

namespace {

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("jig", event);
}

void order_range_corners() {
    if (display.range_x1 > display.range_x2) std::swap(display.range_x1, display.range_x2);
    if (display.range_y1 > display.range_y2) std::swap(display.range_y1, display.range_y2);
}

// The border of the shown range counts as inside.
bool inside_range(int32_t x, int32_t y) {
    return x >= display.range_x1 && x <= display.range_x2 && y >= display.range_y1 && y <= display.range_y2;
}

void start_range(int32_t x, int32_t y) {
    display.range_state = 1;
    display.range_x1 = display.range_x2 = x;
    display.range_y1 = display.range_y2 = y;
}

// The desk area the window shows, borders included, in desk coordinates.
bool centre_in_view(const Piece& p, const Rect& view) {
    return p.cx >= view.left && p.cx <= view.right && p.cy >= view.top && p.cy <= view.bottom;
}

Rect view_on_desk() {
    Rect r = view_client(display.game_window);
    offset_rect(r, desk.view_x, desk.view_y);
    return r;
}

void mark_seen_in_view(Jig& game) {
    const Rect view = view_on_desk();
    for (int32_t i = 0; i < game.live_items(); ++i)
        if (game.items[i].piece && centre_in_view(*game.items[i].piece, view)) game.items[i].seen = 1;
}

}  // namespace

void on_select(ws::Hwnd hwnd, uintptr_t wparam, intptr_t lparam) {
    Jig* game = display.current_game;
    if (!game) return;
    const int32_t x = ws::lparam_x(lparam), y = ws::lparam_y(lparam);
    if (display.range_state == 2) {
        order_range_corners();
        if (!inside_range(x, y)) display.range_state = 0;
    }
    delete game->under_cache;
    game->under_cache = nullptr;
    game->holding = 0;
    Rect r;
    if (display.range_state != 2) r = select(*game, x + desk.view_x, y + desk.view_y);
    if (game->holding) {
        play_sound(SOUND_SEL);
        repaint_desk_rect(hwnd, r);
        refresh_guide();
    } else if ((wparam & ws::MK_LBUTTON) && !(wparam & ws::MK_RBUTTON) && display.range_state == 2) {
        // A left press inside the shown range grabs all of it instead of the piece under the pointer.
        display.range_state = 3;
        play.down_point = play.last_point = {x, y};
        mark_range(*game, display.range_x1, display.range_y1, display.range_x2, display.range_y2);
    } else {
        start_range(x, y);
    }
    game->reset_sweep();
}

void range_move(ws::Hwnd hwnd, Point p) {
    Jig* game = display.current_game;
    if (!game) return;
    if (display.range_state == 1) {
        display.range_x2 = p.x;
        display.range_y2 = p.y;
        ws::invalidate_rect(hwnd, nullptr, false);
    } else if (display.range_state == 3) {
        const Rect client = view_client(hwnd);
        const int32_t w = client.width(), h = client.height(), m = view_span(kScrollMargin);
        int32_t dx = p.x - play.down_point.x, dy = p.y - play.down_point.y;
        // In the margin the groups move exactly as far as the view scrolls, so they stay put on the screen.
        if (p.x < m) desk.view_x += p.x - m, dx = p.x - m;
        if (p.y < m) desk.view_y += p.y - m, dy = p.y - m;
        if (p.x > w - m) desk.view_x += p.x - (w - m), dx = p.x - (w - m);
        if (p.y > h - m) desk.view_y += p.y - (h - m), dy = p.y - (h - m);
        move_range(*game, dx, dy);
        play.down_point = p;
        ws::invalidate_rect(hwnd, nullptr, false);
    }
}

void range_release(ws::Hwnd hwnd) {
    if (display.range_state == 1)
        display.range_state = 2;
    else if (display.range_state == 2 || display.range_state == 3)
        display.range_state = 0;
    ws::invalidate_rect(hwnd, nullptr, false);
}

void on_move_screen(ws::Hwnd hwnd, intptr_t lparam) {
    Jig* game = display.current_game;
    if (!game) return;
    play_sound(SOUND_GM_DRAW);
    // The desk follows the pointer; the release folds the offset into the view.
    desk.scroll_dx = play.down_point.x - ws::lparam_x(lparam);
    desk.scroll_dy = play.down_point.y - ws::lparam_y(lparam);
    redraw_whole_window(hwnd);
    if (play.f1_down) refresh_guide();
    game->reset_sweep();
}

void mark_range(Jig& jig, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    trace("mark_range start\n");
    x1 += desk.view_x, x2 += desk.view_x;
    y1 += desk.view_y, y2 += desk.view_y;
    for (int32_t i = 0; i < jig.live_items(); ++i) {
        Item& item = jig.items[i];
        if (item.hidden == 1 || !item.piece) continue;  // a group in a tray keeps its mark
        const Piece& p = *item.piece;
        item.banded = x1 < p.cx && p.cx < x2 && y1 < p.cy && p.cy < y2 ? 1 : 0;
    }
    trace("mark_range end\n");
}

void move_range(Jig& jig, int32_t dx, int32_t dy) {
    trace("move_range start\n");
    // On the plain path only where the marked groups were and now are changes, so a desk of thousands is not
    // laid again for it; the presenter composes the window, which the view's scrolling may have moved.
    Rect changed;
    for (int32_t i = 0; i < jig.live_items(); ++i) {
        Item& item = jig.items[i];
        if (item.banded != 1 || item.hidden == 1 || !item.piece) continue;
        changed = union_rect(changed, item.piece->rect);
        changed = union_rect(changed, item.piece->move_to(item.piece->grab_x + dx, item.piece->grab_y + dy));
        if (dx != 0 || dy != 0) play.game_saved = 0;  // the saved file no longer shows the desk
    }
    if (desk.presenter) disp(jig, nullptr);
    else if (!changed.empty()) disp(jig, &changed);
    trace("move_range end\n");
}

void show_unseen(Jig& jig) {
    trace("show_unseen start\n");
    const int32_t n = jig.live_items();
    if (jig.sweep_reset == 1) {
        jig.sweep_reset = 0;
        for (int32_t i = 0; i < n; ++i) jig.items[i].seen = 0;
        mark_seen_in_view(jig);
    }
    int32_t k = 0;
    while (k < n && (jig.items[k].seen == 1 || !jig.items[k].piece)) ++k;
    if (k == n) {
        jig.sweep_reset = 1;  // everything has been looked at: the next Space starts over
        trace("show_unseen end\n");
        return;
    }
    desk.view_x = jig.items[k].piece->rect.left;
    desk.view_y = jig.items[k].piece->rect.top;
    mark_seen_in_view(jig);
    trace("show_unseen end\n");
}
