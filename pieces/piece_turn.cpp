// Turning a piece: the rotation helpers, rendering the view at an angle, turning over and turning by dragging.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "graphics/trace.h"
#include "ws/cursor.h"
#include "ws/ws.h"
#include "pieces/piece.h"
#include "pieces/piece_box.h"
#include "pieces/turn_gather.h"

namespace {

using turn_gather::fixed_round;
constexpr uint32_t white_word = 0x00FFFFFF;
constexpr double degrees_per_radian = 57.29577951308232;

int32_t round_to_int(double v) {
    // Rounds half away from zero; values beyond int32 are held at its ends and a value that is not a number gives
    // 0 (neither is met by real geometry).
    if (std::isnan(v)) return 0;
    return int32_t(std::clamp(std::round(v), -2147483648.0, 2147483647.0));
}

// The angle in whole degrees 0..359, which picks the exact quarter turns.
int32_t whole_degrees(double theta) {
    const double whole = std::round(theta * degrees_per_radian);
    if (!std::isfinite(whole)) return 0;
    double d = std::fmod(whole, 360.0);
    if (d < 0) d += 360.0;
    return int32_t(d);
}

// Fixed-point value with 32 fraction bits, so stepping along a row adds exactly what multiplying would give.
int64_t to_fixed(float v) { return std::llround(std::ldexp(double(v), 32)); }

// Quarter turns move whole words without arithmetic. The source is the w x h box kept of the image; the result,
// of the turned box's size, is written `stride` words apart per row. Coordinates here are top-down; memory rows
// run bottom-up.
void quarter_turn(const uint32_t* src, int32_t w, int32_t h, int32_t degrees, uint32_t* dst, size_t stride) {
    if (degrees == 0 || degrees == 180) {
        for (int32_t m = 0; m < h; ++m) {
            uint32_t* out = dst + size_t(m) * stride;
            if (degrees == 0)
                std::copy_n(src + size_t(m) * size_t(w), w, out);
            else
                std::reverse_copy(src + size_t(h - 1 - m) * size_t(w), src + size_t(h - m) * size_t(w), out);
        }
        return;
    }
    // The turned box is h wide and w high. Top-down row y of it lies at memory row (w - 1 - y).
    for (int32_t y = 0; y < w; ++y) {
        uint32_t* out = dst + size_t(w - 1 - y) * stride;
        if (degrees == 90) {
            // view (x, y) = image (w - 1 - y, x): the image column w - 1 - y read top to bottom.
            const uint32_t* col = src + (w - 1 - y);
            for (int32_t x = 0; x < h; ++x) out[x] = col[size_t(h - 1 - x) * size_t(w)];
        } else {
            // view (x, y) = image (y, h - 1 - x): the image column y read bottom to top.
            const uint32_t* col = src + y;
            for (int32_t x = 0; x < h; ++x) out[x] = col[size_t(x) * size_t(w)];
        }
    }
}

// The kept box of an image inside its w x h frame, in the memory coordinates the free turn works in.
struct SourceBox {
    const uint32_t* words;
    int32_t x0, m0, bw, bh;  // left column and bottom memory row in the frame, size
};

// Nearest-neighbour rendering at a free angle of the view positions in columns [x0, x1) and memory rows [m0, m1)
// of a vw x vh view, written `stride` words apart per row; positions whose source lies outside the image's box
// become white (outside the box the image frame is white anyway).
//
// Along a row the source column and row each move one way only, so the positions that find a source form one run:
// its ends are found first, and within it no position needs checking.
void free_turn(const SourceBox& src, int32_t w, int32_t h, double theta, int32_t vw, int32_t vh, const Rect& area,
               uint32_t* dst, size_t stride) {
    const int64_t c = to_fixed(float(std::cos(theta)));
    const int64_t s = to_fixed(float(std::sin(theta)));
    const int64_t half_w = w / 2 - src.x0, half_h = h / 2 - src.m0;
    const int64_t n = area.width();
    for (int32_t m = area.top; m < area.bottom; ++m) {
        const int64_t v = vh / 2 - m;
        const int64_t u0 = area.left - vw / 2;
        const int64_t along = u0 * c - v * s;   // source column offset at k = 0, fixed point
        const int64_t across = v * c + u0 * s;  // source row offset (towards the top of the screen), fixed point
        const auto found = [&](int64_t k) {
            const int64_t sx = half_w + fixed_round(along + k * c), sm = half_h - fixed_round(across + k * s);
            return uint64_t(sx) < uint64_t(src.bw) && uint64_t(sm) < uint64_t(src.bh);
        };
        uint32_t* out = dst + size_t(m - area.top) * stride;
        int64_t first = 0, end = n;
        while (first < n && !found(first)) out[first++] = white_word;
        while (end > first && !found(end - 1)) out[--end] = white_word;
        turn_gather::run(src.words + half_h * src.bw + half_w, src.bw, along + first * c, across + first * s, c, s,
                         out + first, end - first);
    }
}

// Columns and memory rows of a vw x vh view (as a rectangle, left/top the smaller ends) that a free turn can fill
// from the source box: the ends of the kept part of every source row taken back through the turn, with a margin
// for rounding. A piece's outline is round and its box's corners are white, so this is much less than the turned
// box.
Rect free_turn_reach(const SourceBox& src, int32_t w, int32_t h, double theta, int32_t vw, int32_t vh) {
    const double c = float(std::cos(theta)), s = float(std::sin(theta));
    double x_lo = 1e18, x_hi = -1e18, m_lo = 1e18, m_hi = -1e18;
    const auto reach = [&](double a, double b) {  // a source offset along and across
        const double u = a * c + b * s, v = b * c - a * s;
        x_lo = std::min(x_lo, u + vw / 2), x_hi = std::max(x_hi, u + vw / 2);
        m_lo = std::min(m_lo, vh / 2 - v), m_hi = std::max(m_hi, vh / 2 - v);
    };
    for (int32_t j = 0; j < src.bh; ++j) {
        const uint32_t* row = src.words + size_t(j) * size_t(src.bw);
        const int32_t first = piece_box::first_kept(row, src.bw);
        if (first == src.bw) continue;
        const int32_t last = piece_box::last_kept(row, src.bw);
        const double a0 = src.x0 + first - w / 2 - 1.0, a1 = src.x0 + last - w / 2 + 1.0;
        const double b = h / 2 - src.m0 - j;
        for (const double a : {a0, a1})
            for (const double db : {-1.0, 1.0}) reach(a, b + db);
    }
    if (x_lo > x_hi) return {};
    const auto clamp = [](double v, int32_t hi) { return int32_t(std::clamp(v, 0.0, double(hi))); };
    return {clamp(std::floor(x_lo) - 2, vw), clamp(std::floor(m_lo) - 2, vh), clamp(std::ceil(x_hi) + 3, vw),
            clamp(std::ceil(m_hi) + 3, vh)};
}

// Where the image's kept box lands in the view frame (top-down) at a quarter turn of `degrees`.
Rect turned_box(const Rect& b, int32_t w, int32_t h, int32_t degrees) {
    switch (degrees) {
        case 0: return b;
        case 180: return {w - b.right, h - b.bottom, w - b.left, h - b.top};
        case 90: return {b.top, w - b.right, b.bottom, w - b.left};
        default: return {h - b.bottom, b.left, h - b.top, b.right};
    }
}

}  // namespace

Point rotate_point(int32_t x, int32_t y, double theta) {
    const double sf = float(std::sin(theta));
    const double cf = float(std::cos(theta));
    return {round_to_int(cf * x - sf * y), round_to_int(sf * x + std::cos(theta) * y)};
}

Size turned_size(int32_t w, int32_t h, double theta) {
    const int32_t hx = int32_t((int64_t(w) + 1) / 2), hy = int32_t((int64_t(h) + 1) / 2);
    const Point corners[4] = {rotate_point(-hx, -hy, theta), rotate_point(hx, -hy, theta),
                              rotate_point(-hx, hy, theta), rotate_point(hx, hy, theta)};
    int32_t x0 = corners[0].x, x1 = x0, y0 = corners[0].y, y1 = y0;
    for (const Point& p : corners) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    return {x1 - x0, y1 - y0};
}

// Direction of a vector in [0, 2 pi), taken through asin and corrected by quadrant.
static double direction(double x, double y) {
    const double r = std::sqrt(x * x + y * y);
    const double a = r == 0 ? std::asin(std::clamp(y * 1000, -1.0, 1.0)) : std::asin(y / r);
    if (x < 0) return std::numbers::pi - a;
    if (y < 0) return a + 2 * std::numbers::pi;
    return a;
}

double angle_between(double x1, double y1, double x2, double y2) {
    double d = direction(x2, y2) - direction(x1, y1);
    if (d > std::numbers::pi) d -= 2 * std::numbers::pi;
    if (d < -std::numbers::pi) d += 2 * std::numbers::pi;
    return d;
}

void Piece::set_angle(double a, Shading look) {
    const Where here = Where::current();
    restore_image();
    if (!image) fatal_error(module_name(here), int(here.line()), "Piece::set_angle pointer of image is NULL", 0);
    // An angle that is not a number cannot be drawn; the piece lies upright instead.
    angle = std::isfinite(a) ? a : 0.0;
    push_cursor(ws::IDC_WAIT);
    const int32_t degrees = whole_degrees(angle);
    if (degrees == 0 || degrees == 180) {
        view_width = width, view_height = height;
    } else if (degrees == 90 || degrees == 270) {
        view_width = height, view_height = width;
    } else {
        const Size s = turned_size(width, height, angle);
        view_width = s.cx, view_height = s.cy;
    }
    render_view(degrees);
    centre_rect();
    shade(look);
    trim_view();
    pop_cursor();
}

void Piece::render_view(int32_t degrees) {
    const int32_t bw = image->width(), bh = image->height();
    const SourceBox src{image->pixels(), image_left, height - image_top - bh, bw, bh};
    // The part of the view the image can reach, with one spare pixel around it for the bevel.
    Rect reach;
    if (degrees % 90 == 0) {
        reach = turned_box({image_left, image_top, image_left + bw, image_top + bh}, width, height, degrees);
    } else {
        const Rect m = free_turn_reach(src, width, height, angle, view_width, view_height);
        reach = {m.left, view_height - m.bottom, m.right, view_height - m.top};
    }
    const Rect box = intersect_rect({reach.left - 1, reach.top - 1, reach.right + 1, reach.bottom + 1},
                                    {0, 0, view_width, view_height});
    view_left = box.left, view_top = box.top;
    // Turning again by the same amount (a drag, a redraw) finds a surface of the right size: reuse it.
    const int32_t bw2 = std::max(box.width(), 1), bh2 = std::max(box.height(), 1);
    if (view && view->width() == bw2 && view->height() == bh2) {
        std::fill_n(view->pixels(), size_t(bw2) * size_t(bh2), white_word);
    } else {
        delete view;
        view = piece_box::white_surface(bw2, bh2);
    }
    if (box.empty()) return;
    uint32_t* dst = view->pixels();
    const size_t stride = size_t(view->width());
    if (degrees % 90 == 0) {
        // The turned box sits inside the view's box; memory rows count from the bottom.
        const int32_t below = box.bottom - reach.bottom;
        quarter_turn(src.words, bw, bh, degrees, dst + size_t(below) * stride + size_t(reach.left - box.left),
                     stride);
    } else {
        const Rect area{box.left, view_height - box.bottom, box.right, view_height - box.top};
        free_turn(src, width, height, angle, view_width, view_height, area, dst, stride);
    }
}

void Piece::trim_view() {
    const Rect kept = piece_box::kept_box(*view, {0, 0, view->width(), view->height()});
    if (kept.empty()) {
        delete view;
        view = piece_box::white_surface(1, 1);
        view_left = view_top = 0;
        return;
    }
    // A box that saves little is not worth a copy (and keeps its size for the next turn).
    if (int64_t(kept.width()) * kept.height() * 16 > int64_t(view->width()) * view->height() * 15) return;
    MemDC* smaller = piece_box::copy_out(*view, kept);
    delete view;
    view = smaller;
    view_left += kept.left, view_top += kept.top;
}

void Piece::turn_over(Shading look) {
    restore_image();  // made for the side that lay up until now, then mirrored with it
    angle = 2 * std::numbers::pi - angle;
    turned = 1 - turned;
    mirror();
    set_angle(angle, look);
}

Rect Piece::drag_turn(int32_t x, int32_t y, Shading look) {
    const int32_t gx = grab_x - cx, gy = cy - grab_y;
    const int32_t px = x - cx, py = cy - y;
    const double delta = angle_between(gx, gy, px, py);
    angle += delta;
    const Point g2 = rotate_point(gx, gy, delta);
    const int32_t dx = px - g2.x, dy = py - g2.y;
    set_angle(angle, look);
    offset_rect(rect, dx, -dy);
    cx += dx;
    cy -= dy;
    grab_x = x, grab_y = y;
    note_moved();
    return rect;
}
