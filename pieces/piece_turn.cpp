// Turning a piece: the rotation helpers, rendering the view at an angle, turning over and turning by dragging.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "graphics/cursor.h"
#include "graphics/trace.h"
#include "graphics/ws.h"
#include "pieces/piece.h"

namespace {

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

// Makes *slot a 32-bit surface of w x h, keeping the one there when it already has that size.
void fit_surface(MemDC*& slot, int32_t w, int32_t h) {
    if (slot && slot->created() && slot->width() == w && slot->height() == h) return;
    delete slot;
    slot = new MemDC;
    slot->create(BIT_DIB, w, h);
}

// Fixed-point value with 32 fraction bits, so stepping along a row adds exactly what multiplying would give.
int64_t to_fixed(float v) { return std::llround(std::ldexp(double(v), 32)); }

// Rounds a fixed-point value to a whole number, halves away from zero.
int64_t fixed_round(int64_t v) { return (v + (int64_t(1) << 31) + (v >> 63)) >> 32; }

// Quarter turns move whole words without arithmetic. Coordinates here are top-down; memory rows run bottom-up.
void quarter_turn(const uint32_t* src, int32_t w, int32_t h, int32_t degrees, uint32_t* dst) {
    const size_t n = size_t(w) * size_t(h);
    if (degrees == 180) {
        std::reverse_copy(src, src + n, dst);
        return;
    }
    // The view is h wide and w high. Top-down row y of the view lies at memory row (w - 1 - y).
    for (int32_t y = 0; y < w; ++y) {
        uint32_t* out = dst + size_t(w - 1 - y) * size_t(h);
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

// Nearest-neighbour rendering at a free angle; view positions whose source lies outside the image become white.
void free_turn(const uint32_t* src, int32_t w, int32_t h, double theta, uint32_t* dst, int32_t vw, int32_t vh) {
    const int64_t c = to_fixed(float(std::cos(theta)));
    const int64_t s = to_fixed(float(std::sin(theta)));
    const int32_t half_w = w / 2, half_h = h / 2;
    for (int32_t m = 0; m < vh; ++m) {
        const int64_t v = vh / 2 - m;
        const int64_t u0 = -(vw / 2);
        int64_t along = u0 * c - v * s;   // source column offset, fixed point
        int64_t across = v * c + u0 * s;  // source row offset (towards the top of the screen), fixed point
        uint32_t* out = dst + size_t(m) * size_t(vw);
        for (int32_t x = 0; x < vw; ++x, along += c, across += s) {
            const int64_t sx = half_w + fixed_round(along);
            const int64_t sm = half_h - fixed_round(across);
            out[x] = (uint64_t(sx) < uint64_t(w) && uint64_t(sm) < uint64_t(h)) ? src[sm * w + sx] : white_word;
        }
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

void Piece::set_angle(double a) {
    const Where here = Where::current();
    if (!image) fatal_error(module_name(here), int(here.line()), "Piece::set_angle pointer of image is NULL", 0);
    // An angle that is not a number cannot be drawn; the piece lies upright instead.
    angle = std::isfinite(a) ? a : 0.0;
    push_cursor(ws::IDC_WAIT);
    const int32_t degrees = whole_degrees(angle);
    const uint32_t* src = image->pixels();
    if (degrees == 0 || degrees == 180) {
        view_width = width, view_height = height;
    } else if (degrees == 90 || degrees == 270) {
        view_width = height, view_height = width;
    } else {
        const Size s = turned_size(width, height, angle);
        view_width = s.cx, view_height = s.cy;
    }
    fit_surface(view, view_width, view_height);
    uint32_t* dst = view->pixels();
    if (degrees == 0)
        std::memcpy(dst, src, size_t(width) * size_t(height) * sizeof(uint32_t));
    else if (degrees % 90 == 0)
        quarter_turn(src, width, height, degrees, dst);
    else
        free_turn(src, width, height, angle, dst, view_width, view_height);
    rect.left = cx - view_width / 2;
    rect.top = cy - view_height / 2;
    rect.right = rect.left + view_width;
    rect.bottom = rect.top + view_height;
    shade();
    pop_cursor();
}

void Piece::turn_over() {
    angle = 2 * std::numbers::pi - angle;
    turned = 1 - turned;
    mirror();
    set_angle(angle);
}

Rect Piece::drag_turn(int32_t x, int32_t y) {
    const int32_t gx = grab_x - cx, gy = cy - grab_y;
    const int32_t px = x - cx, py = cy - y;
    const double delta = angle_between(gx, gy, px, py);
    angle += delta;
    const Point g2 = rotate_point(gx, gy, delta);
    const int32_t dx = px - g2.x, dy = py - g2.y;
    set_angle(angle);
    offset_rect(rect, dx, -dy);
    cx += dx;
    cy -= dy;
    grab_x = x, grab_y = y;
    return rect;
}
