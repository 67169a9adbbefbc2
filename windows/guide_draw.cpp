// Drawing the guide window: fitting the picture, the held group's outline and the overview of the desk.
#include <algorithm>
#include <cmath>

#include "desk/state.h"
#include "pieces/desk.h"
#include "pieces/view.h"
#include "pieces/piece.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "windows/device_draw.h"
#include "windows/guide_state.h"
#include "ws/picture.h"

namespace {

constexpr Colour kOverviewBack = 0xDCDCDC, kDot = 0xFF0000, kShownFrame = 0x00FF00;
constexpr int32_t kDotSide = 10;

// The outline's sides of cell (col, row) that border another group or the picture's edge.
void outline_cell(MemDC& dc, const Jig& game, int32_t col, int32_t row, double sx, double sy) {
    const int32_t id = game.cells[row * game.cols + col].owner;
    const int32_t across[4] = {game.left_owner(col, row), game.top_owner(col, row), game.right_owner(col, row),
                               game.bottom_owner(col, row)};
    const int32_t n = line_points();
    for (int32_t side = 0; side < 4; ++side) {
        if (across[side] == id) continue;
        Point p[max_line_points];
        for (int32_t i = 0; i < n; ++i) {
            const Point& e = game.cells[row * game.cols + col].edges[side][i];
            p[i] = {int32_t(std::lround(e.x * sx)), int32_t(std::lround(e.y * sy))};
        }
        dc.bezier(p, n);
    }
}

}  // namespace

void take_picture() {
    guide.picture.destroy();
    const Jig* game = display.current_game;
    const bool lends = game && game->picture && game->file_colours.path == play.picture_path &&
                       !play.picture_path.empty();
    guide.lender = lends ? game : nullptr;
    if (!lends) {
        guide.picture.create(BIT_SCREEN, 1, 1);
        ws::load_picture(guide.picture, play.picture_path.c_str());
        guide.picture.release_dc();
    }
    const MemDC& shown = lends ? *game->picture : guide.picture;
    guide.pic_w0 = shown.width();
    guide.pic_h0 = shown.height();
}

void fit_picture() {
    if (guide.pic_w0 < 1 || guide.pic_h0 < 1) return;
    guide.thumb_scale = guide.pic_w0 > guide.pic_h0 ? double(guide.thumb_w) / guide.pic_w0
                                                    : double(guide.thumb_h) / guide.pic_h0;
    guide.thumb_w = int32_t(guide.pic_w0 * guide.thumb_scale);
    guide.thumb_h = int32_t(guide.pic_h0 * guide.thumb_scale);
}

bool size_thumb(int32_t w, int32_t h) {
    // The paint rectangle lies within the client area and nothing beyond the screen was ever drawn.
    w = std::clamp(w, 1, std::max(ws::screen_width(), 1));
    h = std::clamp(h, 1, std::max(ws::screen_height(), 1));
    const Rect d = ws::device_rect(play.guide_window, {0, 0, w, h});
    if (guide.thumb.created() && guide.thumb.width() == d.right && guide.thumb.height() == d.bottom) return false;
    guide.thumb.create(BIT_SCREEN, d.right, d.bottom);
    return true;
}

void draw_thumb() {
    MemDC& thumb = guide.thumb;
    thumb.fill(0, 0, thumb.width(), thumb.height(), kGuideBackground);
    if (guide.pic_w0 >= 1 && guide.pic_h0 >= 1) {
        MemDC& from = guide.lender ? *guide.lender->picture : guide.picture;
        const bool had_dc = from.has_dc();
        // Stretched straight to the screen's pixels, so a high-density screen shows the picture's own detail.
        const Rect d = ws::device_rect(play.guide_window, {0, 0, guide.thumb_w, guide.thumb_h});
        thumb.stretch_blit(0, 0, d.right, d.bottom, from, 0, 0, guide.pic_w0, guide.pic_h0, SRCCOPY);
        if (guide.lender) guide.lender->restore_black_white(thumb, d.right, d.bottom);
        if (!had_dc) from.release_dc();
    }
    thumb.release_dc();
}

void draw_held_outline(MemDC& dc, int32_t client_w, int32_t client_h) {
    const Jig* game = display.current_game;
    if (!game || game->item_count < 1 || game->pic_w < 1 || game->pic_h < 1) return;
    // Traced in device pixels, with a pen as wide as a client pixel shows (rounded): the curve is as smooth as the
    // screen allows and keeps the weight it has at ratio 1, where a thinner one would be lost on a busy picture.
    const int32_t device = ws::device_scale(play.guide_window);
    const double k = device / 1000.0;
    const double sx = double(client_w + 1) / game->pic_w * k, sy = double(client_h + 1) / game->pic_h * k;
    const int32_t id = game->items[game->item_count - 1].id;
    dc.set_pen(guide.line_color, (device + 500) / 1000);
    for (int32_t row = 0; row < game->rows; ++row)
        for (int32_t col = 0; col < game->cols; ++col)
            if (game->cells[row * game->cols + col].owner == id) outline_cell(dc, *game, col, row, sx, sy);
    dc.set_pen1(0);
}

void draw_overview(MemDC& dc, const Rect& r) {
    const Rect client = view_client(display.game_window);
    const Rect shown{client.left + desk.view_x, client.top + desk.view_y, client.right + desk.view_x,
                     client.bottom + desk.view_y};
    Rect box = shown;
    const Jig* game = display.current_game;
    const int32_t n = game ? game->live_items() : 0;
    for (int32_t i = 0; i < n; ++i)
        if (const Piece* p = game->items[i].piece) {
            box = {std::min(box.left, p->cx), std::min(box.top, p->cy), std::max(box.right, p->cx),
                   std::max(box.bottom, p->cy)};
        }
    // A guide shrunk below the dot size still divides by a positive room.
    const double room_w = std::max(guide.thumb_w - kDotSide, 1), room_h = std::max(guide.thumb_h - kDotSide, 1);
    const double scale = std::max({box.width() / room_w, box.height() / room_h, 1e-9});
    // Laid out in client pixels and drawn in the screen's: round dots, and a frame as wide as a client pixel shows.
    const ws::Hwnd hwnd = play.guide_window;
    const Rect all = ws::device_rect(hwnd, {0, 0, std::max(guide.thumb_w, 1), std::max(guide.thumb_h, 1)});
    MemDC work;
    work.create(BIT_SCREEN, all.right, all.bottom);
    work.fill(0, 0, work.width(), work.height(), kOverviewBack);
    work.set_pen1(kDot);
    work.set_brush(kDot);
    for (int32_t i = 0; i < n; ++i)
        if (const Piece* p = game->items[i].piece) {
            const int32_t x = int32_t((p->cx - box.left) / scale), y = int32_t((p->cy - box.top) / scale);
            const Rect dot = ws::device_rect(hwnd, {x, y, x + kDotSide, y + kDotSide});
            work.ellipse(dot.left, dot.top, dot.right, dot.bottom);
        }
    frame_on_device(work, hwnd, int32_t((shown.left - box.left) / scale), int32_t((shown.top - box.top) / scale),
                    int32_t((shown.right - box.left) / scale), int32_t((shown.bottom - box.top) / scale), kShownFrame);
    const Rect d = ws::device_rect(hwnd, r);
    dc.blit(d.left, d.top, d.width(), d.height(), work, d.left, d.top, SRCCOPY);
    work.destroy();
}
