// The trays' strips: positions under the pointer, carousel scrolling, insertion and removal, and drawing.
#include "windows/tray_strip.h"

#include <algorithm>
#include <cstdio>

#include "desk/display.h"
#include "desk/state.h"
#include "graphics/zoom.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "play/state.h"
#include "ws/tr.h"

Trays trays;

namespace {

int32_t client_width(int32_t k) { return ws::get_client_rect(play.tray_window[k]).width(); }

// Length of the whole strip, the carousel's period.
int32_t strip_length(int32_t k) { return trays.tray_count[k] * trays.tray_cell; }

// Where each piece of a tray is shown: `lay` gets the client rectangle it is drawn into, its id and how far into
// its picture the drawing starts (across; down it starts at the margin). A tray that is not full lays its pieces
// left-aligned; a full one lays its carousel from the piece at the scroll offset on, wrapping round, until the
// width is filled (the first piece shown may come round once more at the right edge).
template <typename Lay>
void lay_strip(int32_t k, const Rect& client, Lay lay) {
    const int32_t n = trays.tray_count[k];
    if (trays.tray_cell < 1 || n < 1) return;
    const bool full = is_full(k);
    const int32_t scroll = full ? (trays.tray_scroll[k] % strip_length(k) + strip_length(k)) % strip_length(k) : 0;
    int32_t off = scroll % trays.tray_cell;
    Rect r{-trays.tray_margin, 0, 3 * trays.tray_cell, client.bottom};
    for (int32_t i = scroll / trays.tray_cell, drawn = 0; r.left < client.right && drawn < n + (full ? 1 : 0);
         ++drawn) {
        // Only ids the game has items for are ever drawn.
        if (trays.tray_items[k][i] >= 0) lay(r, trays.tray_items[k][i], off);
        offset_rect(r, trays.tray_cell - off, 0);
        off = 0;
        i = (i + 1) % n;
    }
}

// The tray's presenter draws this over each scaled presentation, before it is shown: on a screen of more device
// pixels, the tray's pieces again from the game's finer cut, each finer view centred where the fitted one is.
void draw_fine_strip(ws::Hwnd hwnd, MemDC& surface, const Rect&, int32_t device) {
    const int32_t k = tray_slot_of(hwnd);
    Jig* game = display.current_game;
    if (k < 0 || !game || device <= kZoomFull || !game->fine_picture || game->fine_scale != device) return;
    lay_strip(k, ws::get_client_rect(hwnd), [&](const Rect& r, int32_t id, int32_t off) {
        const int32_t i = game->item_of(id);
        const Piece* fine = i < 0 ? nullptr : game->fine_piece(i, device);
        if (!fine) return;
        const Piece& p = *game->items[i].piece;
        const int32_t x0 =
            scaled_nearest(r.left - off, device) - (fine->view_width - scaled_nearest(p.view_width, device)) / 2;
        const int32_t y0 = scaled_nearest(r.top - trays.tray_margin, device) -
                           (fine->view_height - scaled_nearest(p.view_height, device)) / 2;
        const Rect shown = intersect_rect(zoomed_rect(r, device), {0, 0, surface.width(), surface.height()});
        put_keyed(surface, shown.left, shown.top, shown.width(), shown.height(), *fine->view,
                  shown.left - x0 - fine->view_left, shown.top - y0 - fine->view_top);
    });
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
    // On a screen of more device pixels the tray draws in them, as the game window does.
    view->set_frame(kZoomFull, 0, 0, 0, 0, colour_to_word(kBeyondDeskColour), ws::device_scale(play.tray_window[k]));
    view->overlay = draw_fine_strip;
    const Rect client = ws::get_client_rect(play.tray_window[k]);
    lay_strip(k, client, [view](const Rect& r, int32_t id, int32_t off) {
        if (id < view->count) view->draw(&r, id, off, trays.tray_margin);
    });
    view->flip(play.tray_window[k], nullptr);
}
