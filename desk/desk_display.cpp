// The desk with the game window: set-up and tear-down, a game's redraw (disp) on both drawing paths, the presenter's
// composing steps, and the window's paint with the range rectangle.
#include <algorithm>
#include <cstdlib>
#include <numeric>

#include "desk/background.h"
#include "desk/display.h"
#include "desk/state.h"
#include "graphics/trace.h"
#include "graphics/zoom.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "pieces/view.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"
#include "puzzle/state.h"
#include "ws/ddbase.h"

Display display;

void drop_current_game() {
    delete display.current_game;
    display.current_game = nullptr;
}

void reset_desk_state() {
    drop_current_game();
    display.reset();
    reset_puzzle_state();
}

namespace {

int32_t origin_x() { return desk.view_x + desk.scroll_dx; }
int32_t origin_y() { return desk.view_y + desk.scroll_dy; }

// The desk in window coordinates.
Rect desk_on_window() {
    return {-origin_x(), -origin_y(), desk.desk_width - origin_x(), desk.desk_height - origin_y()};
}

// Fills the parts of `area` that lie outside `keep` (up to four bands) with the colour beyond the desk.
void fill_outside(MemDC& target, const Rect& area, const Rect& keep) {
    if (area.empty()) return;
    const Rect inner = intersect_rect(area, keep);
    if (inner.empty()) {
        target.fill(area.left, area.top, area.width(), area.height(), kBeyondDeskColour);
        return;
    }
    const auto band = [&](int32_t l, int32_t t, int32_t r, int32_t b) {
        if (r > l && b > t) target.fill(l, t, r - l, b - t, kBeyondDeskColour);
    };
    band(area.left, area.top, area.right, inner.top);
    band(area.left, inner.bottom, area.right, area.bottom);
    band(area.left, inner.top, inner.left, inner.bottom);
    band(inner.right, inner.top, area.right, inner.bottom);
}

Rect inflated(const Rect& r, int32_t k) { return {r.left - k, r.top - k, r.right + k, r.bottom + k}; }

// How the presenter's back buffer stands to the view. At 100 % it is the window; zoomed it holds the whole desk
// in desk coordinates (so it never grows past the desk however far the view zooms out), and each presentation
// scales the part shown, with the finer pieces drawn over it on a screen of more device pixels.
void sync_frame(DDBase& dd) {
    dd.overlay = draw_fine_pieces;
    dd.set_frame(desk.zoom, origin_x(), origin_y(), desk.desk_width, desk.desk_height,
                 colour_to_word(kBeyondDeskColour), ws::device_scale(dd.window));
}

// The background into a presenter's back buffer (also the short-lived one of init_window).
void compose_back(DDBase& dd, const Rect* rect, int32_t x, int32_t y) {
    if (!desk.desk_back || !dd.back) return;
    sync_frame(dd);
    Rect area;
    if (rect) {
        area = *rect;
    } else {
        // At 100 % the background follows the view origin, so a whole redraw lays it anew; zoomed it stands still
        // on the desk and is laid only when what it shows changes (crossing 100 % among them).
        if (desk.zoom == kZoomFull) render_background();
        area = inflated(view_client(dd.window), blend_reach());
        x = area.left, y = area.top;
    }
    if (dd.zoom != kZoomFull) {
        // Zoomed, the background is kept in desk coordinates and the presentation shows what lies beyond the desk.
        dd.back_clear(&area, desk.desk_back, x + origin_x(), y + origin_y());
        dd.back->release_dc();
        return;
    }
    dd.back_clear(&area, desk.desk_back, x, y);
    // Only what lies both on the desk and inside desk_back came from the background.
    const Rect from_back{area.left - x, area.top - y, area.left - x + desk.desk_back->width(),
                         area.top - y + desk.desk_back->height()};
    fill_outside(*dd.back, area, intersect_rect(from_back, desk_on_window()));
    dd.back->release_dc();
}

// The items a redraw of clip lays, bottom first: those meeting it, or all of them for the whole desk.
const std::vector<int32_t>& items_to_draw(Jig& game, const Rect* clip) {
    static std::vector<int32_t> order;
    if (clip) {
        game.items_over(*clip, order);
    } else {
        order.resize(size_t(game.live_items()));
        std::iota(order.begin(), order.end(), 0);
    }
    return order;
}

// The plain path: erase the clip from the background, then lay every shown item, bottom first.
void disp_plain(Jig& game, const Rect* clip) {
    if (!desk.desk_image || !desk.desk_back) return;
    if (clip) {
        if (clip->empty()) return;
        desk.desk_image->blit(clip->left, clip->top, clip->width(), clip->height(), *desk.desk_back, clip->left,
                              clip->top, SRCCOPY);
    }
    for (const int32_t i : items_to_draw(game, clip)) {
        Piece* piece = game.items[i].piece;
        if (!piece || game.items[i].hidden == 1) continue;
        piece->disp(clip);
        piece->release();
    }
    desk.desk_image->release_dc();
    desk.desk_back->release_dc();
}

// The presenter path: background, every item, then one presentation of the part that changed.
void disp_presenter(Jig& game, const Rect* clip) {
    Rect on_window;
    if (clip) {
        on_window = *clip;
        offset_rect(on_window, -origin_x(), -origin_y());
        dd_back(&on_window, on_window.left, on_window.top);
    } else {
        dd_back(nullptr, 0, 0);
    }
    for (const int32_t i : items_to_draw(game, clip))
        if (game.items[i].piece) dd_draw_item(clip, i, false);
    desk.presenter->flip(desk.presenter->window, clip ? &on_window : nullptr);
}

// Writes a pixel of the dotted pen into the surface when it lies within the limit.
void dot(MemDC& s, const Rect& limit, int32_t x, int32_t y, Colour c) {
    if (x >= limit.left && x < limit.right && y >= limit.top && y < limit.bottom) s.set_pixel(x, y, c);
}

// One side of the dotted rectangle: the start pixel drawn, the end pixel left to the next side. The pattern runs
// on across the sides: three pixels of black, then three of the white background.
void dotted_side(MemDC& s, const Rect& limit, Point from, Point to, int32_t& phase) {
    const int32_t dx = (to.x > from.x) - (to.x < from.x), dy = (to.y > from.y) - (to.y < from.y);
    const int32_t steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
    for (int32_t k = 0; k < steps; ++k, ++phase)
        dot(s, limit, from.x + k * dx, from.y + k * dy, (phase % 6) < 3 ? 0x000000 : 0xFFFFFF);
}

// The range is kept in view coordinates and drawn in the surface's pixels (`device` of them per window pixel, in
// thousandths); limit is in the surface's pixels.
void draw_range(MemDC& s, const Rect& limit, int32_t device) {
    const auto on_surface = [&](int32_t v) { return int32_t(int64_t(window_of_view(v)) * device / kZoomFull); };
    const int32_t x1 = on_surface(display.range_x1), y1 = on_surface(display.range_y1);
    const int32_t x2 = on_surface(display.range_x2), y2 = on_surface(display.range_y2);
    const Point a{x1, y1}, b{x1, y2}, c{x2, y2}, d{x2, y1};
    int32_t phase = 0;
    dotted_side(s, limit, a, b, phase);
    dotted_side(s, limit, b, c, phase);
    dotted_side(s, limit, c, d, phase);
    dotted_side(s, limit, d, a, phase);
}

bool minimised(ws::Hwnd hwnd) {
    const ws::Hwnd parent = ws::get_parent(hwnd);
    return ws::is_iconic(hwnd) || (parent && ws::is_iconic(parent));
}

Size desk_size_from_settings() {
    Size s{settings.desk_w, settings.desk_h};
    if (settings.desk_w == 0) s = {ws::screen_width(), ws::screen_height()};
    return {std::clamp(s.cx, 1, kDeskSideMax), std::clamp(s.cy, 1, kDeskSideMax)};
}

}  // namespace

Size desk_size_for(const Jig& game) {
    const Size own = desk_size_from_settings();
    if (game.item_count <= classic_cells) return own;
    // Laid in rows, a piece takes twice its cell each way, and the last one reaches a cell beyond.
    const int32_t cell = std::max(game.pic_w / std::max(game.cols, 1), game.pic_h / std::max(game.rows, 1));
    const auto spread = [&](int32_t side) {
        return int32_t(std::min(settings.seiretu ? 2.0 * side + 2 * cell : side * kLargeDeskSpread, 1e9));
    };
    return {std::max(own.cx, spread(game.pic_w)), std::max(own.cy, spread(game.pic_h))};
}

void fit_desk(const Jig& game) {
    const bool large = game.item_count > classic_cells;
    if (!large && !display.desk_grown) return;  // the desk made with the window stays as it was made
    display.desk_grown = large;
    const Size size = desk_size_for(game);
    if (!desk.desk_image || size.cx != desk.desk_width || size.cy != desk.desk_height) {
        desk_images_create(size.cx, size.cy);
        render_background();
    }
    // Only the plain path and the exports draw the whole desk.
    keep_desk_image(!(large && settings.ddraw));
}

void init_window() {
    trace_line("desk", "init_window start\n");
    const Size size = desk_size_from_settings();
    desk_images_create(size.cx, size.cy);
    desk.scroll_dx = desk.scroll_dy = 0;
    desk.zoom = nearest_zoom(settings.zoom);
    desk.device = ws::device_scale(display.game_window);
    render_background();
    if (settings.ddraw) {
        // The background is shown once at creation; the presenter of a game is made with the game.
        DDBase dd(1);
        dd.init(display.game_window);
        compose_back(dd, nullptr, 0, 0);
        dd.flip(display.game_window, nullptr);
        dd.release_img(0);
        dd.finish();
    }
    trace_line("desk", "init_window end\n");
}

void finish_window() {
    trace_line("desk", "finish_window start\n");
    desk_images_destroy();
    forget_background_pictures();
    if (desk.presenter) desk.presenter->finish();
    trace_line("desk", "finish_window end\n");
}

Rect disp(Jig& jig, const Rect* clip) {
    trace_line("desk", "Jig::disp start\n");
    if (desk.presenter) {
        disp_presenter(jig, clip);
    } else {
        disp_plain(jig, clip);
    }
    trace_line("desk", "Jig::disp end\n");
    return clip ? *clip : Rect{0, 0, desk.desk_width, desk.desk_height};
}

void dd_back(const Rect* rect, int32_t x, int32_t y) {
    if (desk.presenter) compose_back(*desk.presenter, rect, x, y);
}

void dd_draw_item(const Rect* clip, int32_t i, bool flip) {
    Jig* game = display.current_game;
    if (!desk.presenter || !game || i < 0 || i >= game->live_items()) return;
    Item& item = game->items[i];
    if (!item.piece) return;
    Rect piece = item.piece->rect;
    offset_rect(piece, -origin_x(), -origin_y());
    // Asking the layer for the client size is the costly part with a thousand items: only without a clip.
    Rect limit;
    if (clip) {
        limit = *clip;
        offset_rect(limit, -origin_x(), -origin_y());
    } else {
        limit = inflated(view_client(desk.presenter->window), blend_reach());
    }
    sync_frame(*desk.presenter);
    const Rect r = intersect_rect(piece, limit);
    if (r.empty() || item.hidden == 1) return;
    desk.presenter->draw(&r, item.id, std::max(limit.left - piece.left, 0), std::max(limit.top - piece.top, 0));
    item.piece->release();
    if (flip) desk.presenter->flip(desk.presenter->window, &r);
}

void desk_paint(ws::Hwnd hwnd) {
    trace_line("desk", "desk_paint start\n");
    ws::PaintStruct ps;
    MemDC* surface = ws::begin_paint(hwnd, ps);
    if (!surface) return;
    Rect range_limit = ps.paint;
    const int32_t device = desk.device = ws::device_scale(hwnd);
    if (desk.presenter) {
        sync_frame(*desk.presenter);
        if (!minimised(hwnd)) desk.presenter->flip(hwnd, nullptr);
        // The presentation replaced the whole client area, so the range is drawn over all of it.
        range_limit = ws::get_client_rect(hwnd);
    } else if (desk.desk_image && (desk.zoom != kZoomFull || device != kZoomFull)) {
        zoom_copy(*surface, zoomed_rect(ps.paint, device), *desk.desk_image, origin_x(), origin_y(), desk.zoom,
                  colour_to_word(kBeyondDeskColour), device);
        draw_fine_pieces(hwnd, *surface, ps.paint, device);
    } else if (desk.desk_image) {
        const Rect& r = ps.paint;
        surface->blit(r.left, r.top, r.width(), r.height(), *desk.desk_image, r.left + origin_x(), r.top + origin_y(),
                      SRCCOPY);
        fill_outside(*surface, r, desk_on_window());
        desk.desk_image->release_dc();
    } else {
        fill_outside(*surface, zoomed_rect(ps.paint, device), Rect{});
    }
    if (display.range_state == 1 || display.range_state == 2) {
        draw_range(*surface, zoomed_rect(range_limit, device), device);
        if (desk.presenter) ws::show_surface(hwnd, &range_limit);
    }
    surface->release_dc();
    ws::end_paint(hwnd, ps);
    trace_line("desk", "desk_paint end\n");
}
