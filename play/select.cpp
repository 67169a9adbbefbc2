// Picking up, dragging and dropping the held group: select, moveto, the sweep move mmoveto, selectend, one drag
// step with the scrolling at the window's edges, and the trays a single piece can be dropped into.
//
// On the plain path the held group is drawn into desk_image like every other group, and under_cache keeps the
// desk under its rect without it, so a drag step is three copies: put back what lay under the old place, keep
// what lies under the new one, draw the group there. Every step leaves the two in that agreement. The presenter
// does the same in its back buffer, as long as nothing else has written there since the last step.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "desk/display.h"
#include "desk/state.h"
#include "graphics/hooks.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/view.h"
#include "pieces/piece.h"
#include "play/companions.h"
#include "play/play.h"
#include "play/sound.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"
#include "ws/ddbase.h"

namespace {

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("jig", event);
}

// The items below the top one whose rect meets clip, bottom first; kept between calls, a drag step asks often.
const std::vector<int32_t>& items_below_top(Jig& game, const Rect& clip) {
    static std::vector<int32_t> near;
    game.items_over(clip, near);
    if (!near.empty() && near.back() == game.item_count - 1) near.pop_back();
    return near;
}

// Lays the live items below the top one into desk_image within clip, bottom first (hidden ones stay off).
void draw_items_below_top(Jig& game, const Rect& clip) {
    for (const int32_t i : items_below_top(game, clip)) {
        Item& item = game.items[i];
        if (item.hidden == 1) continue;
        item.piece->disp(&clip);
        item.piece->release();
    }
}

// Shifts a swept group's piece by (dx, dy): the centre moves and the rect is laid round it again.
Rect shift_piece(Piece& p, int32_t dx, int32_t dy) {
    p.cx += dx;
    p.cy += dy;
    return p.centre_rect();
}

// Keeps the desk under the held piece's rect in under_cache. A cache of the right size is refilled in place
// (a drag step is then copies only); otherwise the piece makes a new one. Parts beyond the desk stay white.
void keep_under(Jig& game, Piece& p) {
    MemDC* cache = game.under_cache;
    const Rect& r = p.rect;
    if (!cache || !desk.desk_image || cache->width() != std::max(p.view_width, 1) ||
        cache->height() != std::max(p.view_height, 1)) {
        p.save_under(game.under_cache, r.left, r.top, r.right, r.bottom);
        return;
    }
    if (r.left < 0 || r.top < 0 || r.right > desk.desk_width || r.bottom > desk.desk_height)
        cache->fill(0, 0, cache->width(), cache->height(), 0xFFFFFF);
    cache->blit(0, 0, r.width(), r.height(), *desk.desk_image, r.left, r.top, SRCCOPY);
}

// A desk rectangle in view coordinates, as the presenter takes them.
Rect on_view(Rect r) {
    offset_rect(r, -(desk.view_x + desk.scroll_dx), -(desk.view_y + desk.scroll_dy));
    return r;
}

// The presenter's back buffer still holds the held group drawn over under_cache, with nothing else changed.
bool presenter_under_agrees(const Jig& game) {
    return game.under_cache && game.under_writes == desk.presenter->writes;
}

// Shows a step of the held group on the presenter and gives the union to show. Where its save-under agrees with
// the back buffer, the step lifts the group off (the save-under put back), keeps what lies under its new place and
// draws it there. Otherwise it composes the union from the background and the groups below, as a redraw would,
// and takes the save-under afresh before drawing the group on top.
Rect present_step(Jig& game, const Rect& old) {
    DDBase& dd = *desk.presenter;
    const int32_t top = game.item_count - 1;
    const Rect now = game.items[top].piece->rect;
    Rect u;
    if (presenter_under_agrees(game)) {
        u = union_rect(game.under_rect, now);
        dd.restore_back(on_view(game.under_rect), *game.under_cache);
    } else {
        u = union_rect(old, now);
        const Rect on_window = on_view(u);
        dd_back(&on_window, on_window.left, on_window.top);
        for (const int32_t i : items_below_top(game, u)) dd_draw_item(&u, i, false);
    }
    dd.save_back(on_view(now), game.under_cache);
    dd_draw_item(&u, top, false);
    game.under_rect = now;
    game.under_writes = dd.writes;
    const Rect on_window = on_view(u);
    dd.flip(dd.window, &on_window);
    return u;
}

// The scrolling band is measured in window pixels, so zoomed out it covers more of the desk.
bool inside_client(int32_t x, int32_t y, int32_t w, int32_t h) {
    const int32_t m = view_span(kScrollMargin);
    return x >= m && x <= w - m && y >= m && y <= h - m;
}

// Scrolls the view by as much as the pointer lies inside the margin and brings the pointer back to its edge.
void scroll_at_margin(int32_t& x, int32_t& y, int32_t w, int32_t h) {
    const int32_t m = view_span(kScrollMargin);
    if (x < m) desk.view_x += x - m, x = m;
    if (y < m) desk.view_y += y - m, y = m;
    if (x > w - m) desk.view_x += x - (w - m), x = w - m;
    if (y > h - m) desk.view_y += y - (h - m), y = h - m;
}

}  // namespace

int32_t tray_at_point(Point screen) {
    const ws::Hwnd under = ws::window_from_point(screen);
    if (!under) return -1;
    for (int32_t k = 0; k < kTrayCount; ++k)
        if (play.tray_window[k] && play.tray_window[k] == under) return k;
    return -1;
}

void upload_view(Item& item) {
    if (!desk.presenter || !item.piece || !item.piece->view) return;
    item.piece->hand_over_view(item.id);
}

void take_under_cache(Jig& game) {
    if (desk.presenter || game.item_count < 1 || !desk.desk_image || !desk.desk_back) return;
    Piece& p = *game.items[game.item_count - 1].piece;
    const Rect r = p.rect;
    p.erase();
    draw_items_below_top(game, r);
    p.save_under(game.under_cache, r.left, r.top, r.right, r.bottom);
    p.disp(&r);
    p.release();
    desk.desk_image->release_dc();
}

Rect show_held(Jig& game, const Rect& old, bool view_rebuilt) {
    Item& item = game.items[game.item_count - 1];
    Piece& p = *item.piece;
    const Rect u = union_rect(old, p.rect);
    if (desk.presenter) {
        if (view_rebuilt) upload_view(item);
        return present_step(game, old);
    }
    if (!game.under_cache) {
        // Nothing kept: redraw the place from the background and take the cache afresh.
        disp(game, &u);
        take_under_cache(game);
        return u;
    }
    p.restore_under(*game.under_cache, old.left, old.top, old.right, old.bottom);
    keep_under(game, p);
    p.disp(&u);
    p.release();
    if (desk.desk_image) desk.desk_image->release_dc();
    return u;
}

Rect select(Jig& jig, int32_t x, int32_t y) {
    trace("select start\n");
    const int32_t n = jig.live_items();
    const int32_t k = jig.top_item_at(x, y);
    if (k < 0) {
        trace("select end (non select)\n");
        return {};
    }
    jig.holding = 1;
    Piece& p = *jig.items[k].piece;
    jig.raise_item(k);
    p.grab_x = x;
    p.grab_y = y;
    if (desk.presenter) {
        disp(jig, &p.rect);
    } else {
        take_under_cache(jig);
    }
    play.last_selected = n - 1;
    trace("select end\n");
    return p.rect;
}

Rect moveto(Jig& jig, int32_t x, int32_t y, int32_t draw) {
    trace("moveto start\n");
    if (!jig.holding || jig.item_count < 1) return {};
    Item& item = jig.items[jig.item_count - 1];
    Piece& p = *item.piece;
    const Rect old = p.rect;
    const bool plain = jig.two_buttons == 1 || settings.kaiten == KAITEN_NONE || settings.kaiten == KAITEN_QUARTER;
    if (plain)
        p.move_to(x, y);
    else
        p.drag_turn(x, y, settings_shading());
    Rect u = union_rect(old, p.rect);
    if (draw) u = show_held(jig, old, !plain);
    else if (!plain && desk.presenter) upload_view(item);  // the presenter's copy must follow the turn
    trace("moveto end\n");
    return u;
}

Rect mmoveto(Jig& jig, int32_t x, int32_t y) {
    trace("mmoveto start\n");
    if (!jig.holding || jig.item_count < 1) return {};
    Piece& held = *jig.items[jig.item_count - 1].piece;
    const int32_t cx = held.cx, cy = held.cy, n = settings.mmove_size;
    double dx = x - held.grab_x, dy = y - held.grab_y;
    Rect u = held.rect;
    // A group whose centre lies in the sweep's square has its rect there too: the index gives those first.
    const std::vector<int32_t> near = items_below_top(jig, Rect{cx - n + 1, cy - n + 1, cx + n, cy + n});
    u = union_rect(u, held.move_to(x, y));
    for (auto i = near.rbegin(); i != near.rend(); ++i) {
        Item& item = jig.items[*i];
        if (item.hidden == 1) continue;
        Piece& p = *item.piece;
        if (p.cx <= cx - n || p.cx >= cx + n || p.cy <= cy - n || p.cy >= cy + n) continue;
        // Each group swept along moves less than the one before it.
        dx *= settings.mmove_rate;
        dy *= settings.mmove_rate;
        u = union_rect(u, p.rect);
        u = union_rect(u, shift_piece(p, int32_t(dx), int32_t(dy)));
    }
    disp(jig, &u);
    // The redraw laid the held group from the background up; under_cache must describe its new place.
    take_under_cache(jig);
    trace("mmoveto end\n");
    return u;
}

Rect selectend(Jig& jig, Point point) {
    trace("selectend start\n");
    if (!jig.holding || jig.item_count < 1) return {};
    delete jig.under_cache;
    jig.under_cache = nullptr;
    jig.holding = 0;
    Item& top = jig.items[jig.item_count - 1];
    top.piece->drop_image();  // kept while held for the turns; cut again when next needed
    if (top.merged == 0 && display.game_window) {
        const Point on_window{window_of_view(point.x), window_of_view(point.y)};  // trays lie on the screen
        const int32_t k = tray_at_point(ws::client_to_screen(display.game_window, on_window));
        if (k >= 0) {
            ws::post_message(play.tray_window[k], IDM_TRAY_PUT, uintptr_t(top.id),
                             ws::make_lparam(on_window.x, on_window.y));
            top.hidden = 1;
            const Rect r = top.piece->rect;
            disp(jig, &r);
            trace("selectend end (tray)\n");
            // The place the piece left is shown again at once (the desk image alone would not show it).
            return r;
        }
    }
    const Rect r = drop_join(jig);
    trace("selectend end\n");
    return r;
}

void on_select_end(ws::Hwnd hwnd, intptr_t lparam) {
    Jig* game = display.current_game;
    if (!game) return;
    play.moved_far = 0;
    const Rect r = selectend(*game, {ws::lparam_x(lparam), ws::lparam_y(lparam)});
    repaint_desk_rect(hwnd, r);
    refresh_guide();
}

void on_draw(ws::Hwnd hwnd, intptr_t lparam) {
    Jig* game = display.current_game;
    if (!game || !game->holding) return;
    play.game_saved = 0;
    tell_game_changed();
    // A looping move sound plays on until the release stops it; starting it again on every step would cut it off.
    if (!(play.sound_looping && play.sound_list[SOUND_MOVE - 1].loop == 1)) play_sound(SOUND_MOVE);
    int32_t x = ws::lparam_x(lparam), y = ws::lparam_y(lparam);
    // The click's travel is the player's, measured on the screen.
    const Point& from = play.down_on_window;
    const Point& to = play.last_on_window;
    if (std::abs(to.x - from.x) > settings.click_dxdy || std::abs(to.y - from.y) > settings.click_dxdy)
        play.moved_far = 1;
    const Rect client = view_client(hwnd);
    const int32_t w = client.width(), h = client.height();
    if (inside_client(x, y, w, h)) {
        const bool sweep = settings.mmove && play.ctrl_down;
        const int32_t dx = x + desk.view_x, dy = y + desk.view_y;
        const Rect r = sweep ? mmoveto(*game, dx, dy) : moveto(*game, dx, dy, 1);
        if (!desk.presenter) repaint_desk_rect(hwnd, r);
    } else {
        // In the margin the desk scrolls under the held group, which stays at the edge under the pointer.
        Piece& p = *game->items[game->item_count - 1].piece;
        const Rect old = p.rect;
        scroll_at_margin(x, y, w, h);
        moveto(*game, x + desk.view_x, y + desk.view_y, 0);
        if (!desk.presenter) show_held(*game, old, false);
        redraw_whole_window(hwnd);
    }
    if (play.f1_down) refresh_guide();
}
