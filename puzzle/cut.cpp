// Cutting the picture into pieces: cut (choose a cell, cut it, turn and place the piece, draw it) and cut_piece.
#include "puzzle/cut.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "graphics/memdc.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "puzzle/lines.h"
#include "puzzle/random.h"
#include "puzzle/settings.h"
#include "puzzle/state.h"
#include "ws/ddbase.h"

namespace {

constexpr Colour white = 0xFFFFFF;
constexpr Colour grey = 0x808080;
constexpr int32_t no_rotation = 235;  // the kaiten menu value that keeps pieces upright

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("CUT", event);
}

// The area cut_out outlines and fills: two pixels beyond every control point of the outline. The outline stays
// within its control points (give or take a pixel of rounding), so the area's border runs wholly outside it and
// the fill from the area's corner reaches every pixel outside the outline. Whatever of the square lies beyond the
// area is outside the outline too, so white; the area is usually well inside the square, which saves filling
// the square's white corners pixel by pixel.
Rect fill_area(const Jig& game, int32_t cell) {
    Rect area{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    const int32_t n = line_points();
    for (const auto& edge : game.cells[cell].edges)
        for (int32_t k = 0; k < n; ++k) {
            area.left = std::min(area.left, edge[k].x - 2);
            area.top = std::min(area.top, edge[k].y - 2);
            area.right = std::max(area.right, edge[k].x + 3);
            area.bottom = std::max(area.bottom, edge[k].y + 3);
        }
    return area;
}

// Draws the cell's outline in white on the work surface whose top-left lies at `origin` in the picture. Every
// shifted point is at least two pixels from the surface's edge, and the lines fall on the same pixels, relative
// to the picture, wherever the origin lies.
void draw_outline(const Jig& game, int32_t cell, MemDC& work, Point origin) {
    const int32_t n = line_points();
    work.set_pen(white, 1);
    for (const auto& edge : game.cells[cell].edges) {
        Point shifted[max_line_points];
        for (int32_t k = 0; k < n; ++k) shifted[k] = {edge[k].x - origin.x, edge[k].y - origin.y};
        work.bezier(shifted, n);
    }
}

// First uncut cell at or after a random one, wrapping round.
int32_t choose_cell(const Jig& game) {
    std::vector<bool> taken(size_t(game.item_count), false);
    for (int32_t i = 0; i < game.cut_count; ++i)
        if (game.items[i].id >= 0 && game.items[i].id < game.item_count) taken[size_t(game.items[i].id)] = true;
    int32_t c = int32_t(puzzle.game_random.pick(game.item_count));
    for (int32_t tries = 0; taken[size_t(c)] && tries < game.item_count; ++tries) c = (c + 1) % game.item_count;
    return c;
}

// A random spot over the left and upper part of the window; the draws come in the order a, then the terms of
// x, then those of y.
Point scatter_position(int32_t w, int32_t h) {
    const double a = puzzle.game_random.pick(2 * std::numbers::pi);
    const double x_swing = puzzle.game_random.pick(w / 6), x_shift = puzzle.game_random.pick(w / 5);
    const double y_swing = puzzle.game_random.pick(h / 4), y_shift = puzzle.game_random.pick(h / 5);
    return {int32_t(x_swing * std::cos(a) + x_shift + w / 6 + desk.view_x),
            int32_t(y_swing * std::sin(a) + y_shift + h / 4 + desk.view_y)};
}

// Lays the new piece k onto the desk: drawn into the desk image, or, with the presenter, handed over as the
// item's image (the presenter keeps its own copy, so the view goes) and composed and shown at once.
void draw_new_piece(Jig& game, int32_t k) {
    Piece& p = *game.items[k].piece;
    if (!desk.presenter) {
        p.disp();
        return;
    }
    const int32_t id = game.items[k].id;
    p.hand_over_view(id);
    Rect on_window = p.rect;
    offset_rect(on_window, -(desk.view_x + desk.scroll_dx), -(desk.view_y + desk.scroll_dy));
    if (on_window.empty() || game.items[k].hidden == 1) return;
    desk.presenter->draw(&on_window, id, 0, 0);
    desk.presenter->flip(desk.presenter->window, &on_window);
}

// A large game's pieces are spread over the whole desk (grown to hold them), each wholly on it: `side` is the
// side of the piece's square, and a turned square reaches under three quarters of it from its centre.
Point spread_position(int32_t side) {
    const int32_t margin = side * 3 / 4;
    const double x = puzzle.game_random.pick(std::max(desk.desk_width - 2 * margin, 1));
    const double y = puzzle.game_random.pick(std::max(desk.desk_height - 2 * margin, 1));
    return {margin + int32_t(x), margin + int32_t(y)};
}

}  // namespace

CellSquare cell_square(const Jig& game, int32_t cell) {
    CellSquare q;
    q.cw = game.pic_w / game.cols;
    q.ch = game.pic_h / game.rows;
    const int32_t row = cell / game.cols, col = cell - row * game.cols;
    q.x0 = col * q.cw;
    q.y0 = row * q.ch;
    q.side = std::max(2 * q.cw, 2 * q.ch);
    q.sx = q.x0 - (q.side - q.cw) / 2;
    q.sy = q.y0 - (q.side - q.ch) / 2;
    q.dx = std::max(0, -q.sx);
    q.dy = std::max(0, -q.sy);
    return q;
}

Rect cut_out(const Jig& game, int32_t cell, MemDC& work) {
    const Rect area = fill_area(game, cell);
    work.create(BIT_DIB, area.width(), area.height());
    const Rect on_picture = intersect_rect(area, Rect{0, 0, game.pic_w, game.pic_h});
    if (on_picture != area) work.fill(0, 0, area.width(), area.height(), grey);  // beyond the picture: grey
    work.blit(on_picture.left - area.left, on_picture.top - area.top, on_picture.width(), on_picture.height(),
              *game.picture, on_picture.left, on_picture.top, SRCCOPY);
    draw_outline(game, cell, work, {area.left, area.top});
    work.set_brush(white);
    work.flood_fill(0, 0, white, FLOODFILLBORDER);
    return area;
}

void cut_square(const Jig& game, int32_t cell, MemDC& square) {
    const CellSquare q = cell_square(game, cell);
    MemDC work;
    const Rect area = cut_out(game, cell, work);
    square.create(BIT_DIB, q.side, q.side);
    square.fill(0, 0, q.side, q.side, white);
    const Rect part = intersect_rect(area, {q.sx, q.sy, q.sx + q.side, q.sy + q.side});
    if (!part.empty())
        square.blit(part.left - q.sx, part.top - q.sy, part.width(), part.height(), work, part.left - area.left,
                    part.top - area.top, SRCCOPY);
    work.destroy();
}

void cut_image(const Jig& game, int32_t cell, Piece& p) {
    const CellSquare q = cell_square(game, cell);
    // Beyond the work area the square is white. The area mostly lies inside the square, and then the work itself
    // becomes the piece's image; otherwise the square's part of it is copied.
    auto work = std::make_unique<MemDC>();
    const Rect area = cut_out(game, cell, *work);
    const Rect square{q.sx, q.sy, q.sx + q.side, q.sy + q.side};
    if (intersect_rect(area, square) == area)
        p.take_image(work.release(), q.side, q.side, area.left - q.sx, area.top - q.sy);
    else
        p.set_image(*work, q.side, q.side, q.sx - area.left, q.sy - area.top);
}

Point row_position(const Jig& game, int32_t k) {
    const int32_t gx = 2 * (game.pic_w / game.cols), gy = 2 * (game.pic_h / game.rows);
    return {(k % game.cols) * gx + gx / 2, (k / game.cols) * gy + gy / 2};
}

void Jig::cut_piece(int32_t cell, int32_t item) {
    trace("cut_piece start\n");
    if (!picture || cols < 1 || rows < 1 || cell < 0 || cell >= live_cells() || item < 0 ||
        item >= int32_t(items.size()) || !items[item].piece) {
        trace("cut_piece end\n");
        return;
    }
    const CellSquare q = cell_square(*this, cell);
    Item& it = items[item];
    Piece& p = *it.piece;
    cut_image(*this, cell, p);
    p.recut = [this, cell](Piece& again) { cut_image(*this, cell, again); };
    const int32_t ox = pic_w / 2 - q.cw / 2 - q.x0;
    it.home_dx = it.join_dx = p.turned ? pic_w - ox : ox;
    it.home_dy = it.join_dy = pic_h / 2 - q.ch / 2 - q.y0;
    it.merged = it.hidden = 0;
    p.joined = 0;
    p.release();
    trace("cut_piece end\n");
}

Rect Jig::cut(int32_t client_w, int32_t client_h) {
    trace("cut start\n");
    if (!picture || cut_count < 0 || cut_count >= item_count || item_count > int32_t(items.size())) {
        trace("cut end\n");
        return {};
    }
    if (cut_count == 0)
        for (int32_t i = 0; i < item_count; ++i) items[i].id = -1;
    const bool rows_layout = settings.seiretu;
    if (rows_layout && cut_count == 0) desk.view_x = desk.view_y = 0;
    const int32_t cell = rows_layout ? cut_count : choose_cell(*this);
    const int32_t k = cut_count++;
    Item& it = items[k];
    delete it.piece;
    it.piece = new Piece;
    it.id = cell;
    Piece& p = *it.piece;
    if (settings.hanten && puzzle.game_random.pick(2) == 0) p.turned = 1;
    cut_piece(cell, k);
    const double angle = settings.kaiten == no_rotation ? 0.0 : puzzle.game_random.pick(2 * std::numbers::pi);
    const Point at = rows_layout                   ? row_position(*this, k)
                     : item_count > classic_cells ? spread_position(cell_square(*this, cell).side)
                                                  : scatter_position(std::max(client_w, 0), std::max(client_h, 0));
    p.cx = at.x;
    p.cy = at.y;
    p.set_angle(angle, settings_shading());
    draw_new_piece(*this, k);
    p.release();
    p.drop_image();
    trace("cut end\n");
    return p.rect;
}
