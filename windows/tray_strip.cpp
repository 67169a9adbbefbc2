// The trays' strips: positions under the pointer, carousel scrolling, insertion and removal, and drawing.
#include "windows/tray_strip.h"

#include <algorithm>
#include <cstdio>

#include "desk/state.h"
#include "pieces/desk.h"
#include "play/state.h"
#include "ws/tr.h"

Trays trays;

namespace {

int32_t client_width(int32_t k) { return ws::get_client_rect(play.tray_window[k]).width(); }

// Length of the whole strip, the carousel's period.
int32_t strip_length(int32_t k) { return trays.tray_count[k] * trays.tray_cell; }

// Only entries below the count are ever drawn, and only ids the presenter has slots for.
void draw_piece(DDBase& view, const Rect& r, int32_t id, int32_t off) {
    if (id >= 0 && id < view.count) view.draw(&r, id, off, trays.tray_margin);
}

// Draws the strip of a tray that is not full: the pieces left-aligned.
void draw_left_aligned(int32_t k, DDBase& view, int32_t client_right, int32_t bottom) {
    Rect r{-trays.tray_margin, 0, 3 * trays.tray_cell, bottom};
    for (int32_t i = 0; i < trays.tray_count[k] && r.left < client_right; ++i) {
        draw_piece(view, r, trays.tray_items[k][i], 0);
        offset_rect(r, trays.tray_cell, 0);
    }
}

// Draws a full tray's carousel: from the piece at the scroll offset on, wrapping round, until the width is filled
// (the first piece shown may come round once more at the right edge).
void draw_carousel(int32_t k, DDBase& view, int32_t client_right, int32_t bottom) {
    const int32_t n = trays.tray_count[k];
    const int32_t scroll = (trays.tray_scroll[k] % strip_length(k) + strip_length(k)) % strip_length(k);
    const int32_t first = scroll / trays.tray_cell;
    int32_t off = scroll % trays.tray_cell;
    Rect r{-trays.tray_margin, 0, 3 * trays.tray_cell, bottom};
    for (int32_t i = first, drawn = 0; r.left < client_right && drawn <= n; ++drawn) {
        draw_piece(view, r, trays.tray_items[k][i], off);
        offset_rect(r, trays.tray_cell - off, 0);
        off = 0;
        i = (i + 1) % n;
    }
}

}  // namespace

int32_t tray_slot_of(ws::Hwnd hwnd) {
    if (!hwnd) return -1;
    for (int32_t k = 0; k < kTrayCount; ++k)
        if (play.tray_window[k] == hwnd) return k;
    return -1;
}

int32_t first_free_tray() {
    for (int32_t k = 0; k < kTrayCount; ++k)
        if (!play.tray_window[k]) return k;
    return -1;
}

bool is_full(int32_t k) {
    const int32_t w = client_width(k);
    return w > 0 && strip_length(k) >= w;
}

int32_t slot_at(int32_t k, int32_t x) {
    if (client_width(k) < 1 || trays.tray_count[k] < 1 || trays.tray_cell < 1) return -1;
    if (is_full(k)) x = ((trays.tray_scroll[k] + x) % strip_length(k) + strip_length(k)) % strip_length(k);
    if (x < 0) return -1;
    const int32_t slot = x / trays.tray_cell;
    return slot < trays.tray_count[k] ? slot : -1;
}

void scroll_by(int32_t k, int32_t d) {
    const int32_t length = strip_length(k);
    if (length < 1) return;
    // The remainder alone keeps the offset in range whatever the size of d.
    trays.tray_scroll[k] = ((trays.tray_scroll[k] - d) % length + length) % length;
    tray_draw(k);
}

void keep_scroll_in_range(int32_t k) {
    if (!is_full(k)) {
        trays.tray_scroll[k] = 0;
        trays.tray_speed[k] = 0;
        if (play.tray_window[k]) ws::kill_timer(play.tray_window[k], kTrayTimer);
        return;
    }
    trays.tray_scroll[k] = (trays.tray_scroll[k] % strip_length(k) + strip_length(k)) % strip_length(k);
}

void tray_set_title(int32_t k) {
    char title[64];
    std::snprintf(title, sizeof title, ws::tr("windows", "%s  %d ﾋﾟｰｽ").c_str(), trays.tray_name[k].c_str(),
                  trays.tray_count[k]);
    ws::set_window_text(play.tray_window[k], title);
}

void tray_insert(int32_t k, int32_t id, Point game_client) {
    std::vector<int32_t>& items = trays.tray_items[k];
    if (int32_t(items.size()) >= max_cells) return;  // a game never has more pieces than a tray holds
    const Point screen = ws::client_to_screen(display.game_window, game_client);
    int32_t slot = slot_at(k, ws::screen_to_client(play.tray_window[k], screen).x);
    if (slot < 0 || slot > int32_t(items.size())) slot = int32_t(items.size());
    items.insert(items.begin() + slot, id);
    trays.tray_count[k] = int32_t(items.size());
    tray_set_title(k);
    tray_draw(k);
}

int32_t tray_remove(int32_t k, int32_t slot) {
    std::vector<int32_t>& items = trays.tray_items[k];
    if (slot < 0 || slot >= int32_t(items.size())) return -1;
    const int32_t id = items[size_t(slot)];
    items.erase(items.begin() + slot);
    trays.tray_count[k] = int32_t(items.size());
    keep_scroll_in_range(k);
    tray_set_title(k);
    tray_draw(k);
    return id;
}

void tray_draw(int32_t k) {
    DDBase* view = trays.tray_view[k];
    if (!view || !desk.presenter || !play.tray_window[k]) return;
    if (desk.desk_back) view->back_clear(nullptr, desk.desk_back, 0, 0);
    view->copy_table(*desk.presenter);
    const Rect client = ws::get_client_rect(play.tray_window[k]);
    if (trays.tray_cell > 0 && trays.tray_count[k] > 0) {
        if (is_full(k))
            draw_carousel(k, *view, client.right, client.bottom);
        else
            draw_left_aligned(k, *view, client.right, client.bottom);
    }
    view->flip(play.tray_window[k], nullptr);
}
