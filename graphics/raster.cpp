// Lines, polylines, Bézier chains and ellipses on pixel words (the pen side of the rasteriser).
#include "graphics/raster.h"

#include <algorithm>
#include <cstdlib>

namespace raster {
namespace {

// Calls f(x, y) for each pixel of the one-pixel path from a to b that lies in [lo_x, hi_x) x [lo_y, hi_y).
//
// A line is x-major when |dx| > |dy|, else y-major (so exact diagonals are y-major). Pixel k of the |major| pixels
// sits at minor offset floor((2k|minor| + |major| - 1 + bias) / (2|major|)): a rounding whose exact halves fall to
// the smaller coordinate whichever way the line runs (bias 1 for x-major lines going up and y-major lines going
// left). The offset is computed in closed form, so the loop visits only the pixels whose major coordinate is in
// the clip box, however far away the end points lie.
template <class F>
void for_each_line_pixel(Point a, Point b, int64_t lo_x, int64_t lo_y, int64_t hi_x, int64_t hi_y, F&& f) {
    const int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
    const int64_t adx = std::llabs(dx), ady = std::llabs(dy);
    const bool x_major = adx > ady;
    const int64_t major = x_major ? adx : ady, minor = x_major ? ady : adx;
    if (major == 0) return;
    const int64_t bias = x_major ? (dy < 0 ? 1 : 0) : (dx < 0 ? 1 : 0);
    const int64_t step_major = (x_major ? dx : dy) < 0 ? -1 : 1;
    const int64_t step_minor = (x_major ? dy : dx) < 0 ? -1 : 1;
    const int64_t start_major = x_major ? a.x : a.y, start_minor = x_major ? a.y : a.x;
    const int64_t lo = x_major ? lo_x : lo_y, hi = x_major ? hi_x : hi_y;
    // k range whose major coordinate start + step * k lies in [lo, hi).
    int64_t k0 = 0, k1 = major;
    if (step_major > 0) {
        k0 = std::max(k0, lo - start_major);
        k1 = std::min(k1, hi - start_major);
    } else {
        k0 = std::max(k0, start_major - hi + 1);
        k1 = std::min(k1, start_major - lo + 1);
    }
    if (k0 >= k1) return;
    const int64_t lo_minor = x_major ? lo_y : lo_x, hi_minor = x_major ? hi_y : hi_x;
    // The offset's numerator grows by 2|minor| per pixel; its first value may need more than 64 bits, though not
    // for the short lines that make up most drawing, which take the cheaper 64-bit division.
    const int64_t den = 2 * major;
    int64_t offset, rest;
    if (major <= (int64_t(1) << 30)) {
        const int64_t first = 2 * k0 * minor + major - 1 + bias;
        offset = first / den, rest = first % den;
    } else {
        const __int128 first = __int128(2) * k0 * minor + major - 1 + bias;
        offset = int64_t(first / den), rest = int64_t(first % den);
    }
    for (int64_t k = k0; k < k1; ++k) {
        const int64_t m = start_minor + step_minor * offset;
        if (m >= lo_minor && m < hi_minor) {
            const int64_t g = start_major + step_major * k;
            if (x_major)
                f(int32_t(g), int32_t(m));
            else
                f(int32_t(m), int32_t(g));
        }
        rest += 2 * minor;
        if (rest >= den) {
            rest -= den;
            ++offset;
        }
    }
}

// Where a wide pen's square reaches from the path pixel.
int32_t pen_reach_before(const Pen& pen) { return (std::max(pen.width, 1) - 1) / 2; }
int32_t pen_reach_after(const Pen& pen) { return std::max(pen.width, 1) / 2; }

void plot(const Surface& s, int64_t x, int64_t y, const Pen& pen) {
    if (pen.width <= 1) {
        if (x >= 0 && y >= 0 && x < s.width && y < s.height) s.row(int32_t(y))[x] = pen.word;
        return;
    }
    const int64_t w = std::max(pen.width, 1);
    fill_rect(s, int64_t(x) - pen_reach_before(pen), int64_t(y) - pen_reach_before(pen), w, w, pen.word);
}

// Bézier points in sixteenths of a pixel.
struct Fixed {
    int64_t x, y;
};

Fixed midpoint(Fixed a, Fixed b) { return {(a.x + b.x + 1) / 2, (a.y + b.y + 1) / 2}; }

// A control point is close enough when it lies between the end points along the chord's major axis and within one
// pixel of the chord. The slope is taken as an integer (0, or 1 for exact diagonals), which errs on the side of
// splitting more often, never less.
bool control_point_flat(Fixed p0, Fixed p3, Fixed c) {
    const int64_t dx = p3.x - p0.x, dy = p3.y - p0.y;
    if (std::llabs(dx) > std::llabs(dy)) {
        if (c.x < std::min(p0.x, p3.x) || c.x > std::max(p0.x, p3.x)) return false;
        const int64_t slope = dy / dx;
        return std::llabs(c.y - (p0.y + slope * (c.x - p0.x))) <= 16;
    }
    if (c.y < std::min(p0.y, p3.y) || c.y > std::max(p0.y, p3.y)) return false;
    const int64_t slope = dy == 0 ? 0 : dx / dy;
    return std::llabs(c.x - (p0.x + slope * (c.y - p0.y))) <= 16;
}

Point round_fixed(Fixed p) { return {int32_t((p.x + 8) >> 4), int32_t((p.y + 8) >> 4)}; }

void flatten_segment(Fixed p0, Fixed p1, Fixed p2, Fixed p3, int depth, std::vector<Point>& out) {
    if (depth >= 8 || (control_point_flat(p0, p3, p1) && control_point_flat(p0, p3, p2))) {
        out.push_back(round_fixed(p3));
        return;
    }
    const Fixed p01 = midpoint(p0, p1), p12 = midpoint(p1, p2), p23 = midpoint(p2, p3);
    const Fixed p012 = midpoint(p01, p12), p123 = midpoint(p12, p23);
    const Fixed m = midpoint(p012, p123);
    flatten_segment(p0, p01, p012, m, depth + 1, out);
    flatten_segment(m, p123, p23, p3, depth + 1, out);
}

Fixed to_fixed(Point p) { return {int64_t(p.x) * 16, int64_t(p.y) * 16}; }

// The first quadrant of the integer ellipse with semi-axes a and b (both >= 1), from (0, b) to (a, 0), by the
// midpoint method in integers scaled by 4. The trace may stop short of x = a on the last row of a very flat
// ellipse; the row is then run out to a, so the outline touches all four sides of its box.
void ellipse_quadrant(int64_t a, int64_t b, std::vector<Point>& out) {
    const int64_t a2 = a * a, b2 = b * b;
    int64_t x = 0, y = b;
    int64_t dx = 0, dy = 2 * a2 * y;
    int64_t d = 4 * b2 - 4 * a2 * b + a2;
    while (dx < dy) {
        out.push_back({int32_t(x), int32_t(y)});
        ++x;
        dx += 2 * b2;
        if (d < 0) {
            d += 4 * (dx + b2);
        } else {
            --y;
            dy -= 2 * a2;
            d += 4 * (dx - dy + b2);
        }
    }
    d = b2 * (2 * x + 1) * (2 * x + 1) + 4 * a2 * (y - 1) * (y - 1) - 4 * a2 * b2;
    while (y >= 0) {
        out.push_back({int32_t(x), int32_t(y)});
        --y;
        dy -= 2 * a2;
        if (d > 0) {
            d += 4 * (a2 - dy);
        } else {
            ++x;
            dx += 2 * b2;
            d += 4 * (dx - dy + a2);
        }
    }
    for (int64_t rx = out.back().x + 1; out.back().y == 0 && rx <= a; ++rx) out.push_back({int32_t(rx), 0});
}

}  // namespace

void draw_line(const Surface& s, Point a, Point b, const Pen& pen) {
    if (pen.width <= 1) {
        for_each_line_pixel(a, b, 0, 0, s.width, s.height, [&](int32_t x, int32_t y) { s.row(y)[x] = pen.word; });
        return;
    }
    // A wide pen also reaches the surface from path pixels just outside it.
    const int64_t before = pen_reach_before(pen), after = pen_reach_after(pen);
    for_each_line_pixel(a, b, -after, -after, int64_t(s.width) + before, int64_t(s.height) + before,
                        [&](int32_t x, int32_t y) { plot(s, x, y, pen); });
}

void draw_polyline(const Surface& s, const Point* points, int32_t count, const Pen& pen) {
    for (int32_t i = 1; i < count; ++i) draw_line(s, points[i - 1], points[i], pen);
}

// Each cubic is split in half (midpoints rounded up, in sixteenths of a pixel) until its control points hug the
// chord, at most 8 levels deep; the end point of every flat piece is one polyline point.
void flatten_bezier(const Point* points, int32_t count, std::vector<Point>& out) {
    if (count < 1) return;
    out.push_back(points[0]);
    for (int32_t i = 0; i + 3 < count; i += 3)
        flatten_segment(to_fixed(points[i]), to_fixed(points[i + 1]), to_fixed(points[i + 2]),
                        to_fixed(points[i + 3]), 0, out);
}

namespace {

// The ellipse of draw_ellipse; `brush` null leaves the inside as it was.
void ellipse_in_box(const Surface& s, Rect box, const Pen& pen, const uint32_t* brush) {
    if (box.left > box.right) std::swap(box.left, box.right);
    if (box.top > box.bottom) std::swap(box.top, box.bottom);
    const int64_t w = int64_t(box.right) - box.left, h = int64_t(box.bottom) - box.top;
    // Beyond 65536 pixels across the integer trace would overflow; such boxes are not drawn.
    if (w <= 0 || h <= 0 || w > 65536 || h > 65536) return;
    if (w <= 2 || h <= 2) {
        const int64_t pw = std::max(pen.width, 1);
        fill_rect(s, int64_t(box.left) - pen_reach_before(pen), int64_t(box.top) - pen_reach_before(pen),
                  w + pw - 1, h + pw - 1, pen.word);
        return;
    }
    const int64_t a = (w - 1) / 2, b = (h - 1) / 2;
    // Even sizes have two centre columns (rows); each half of the outline is mirrored round its own one.
    const int64_t cx0 = box.left + a, cx1 = box.right - 1 - a, cy0 = box.top + b, cy1 = box.bottom - 1 - b;
    std::vector<Point> quadrant;
    ellipse_quadrant(a, b, quadrant);
    std::vector<int64_t> reach(size_t(b) + 1, -1);
    for (const Point& p : quadrant) reach[size_t(p.y)] = std::max<int64_t>(reach[size_t(p.y)], p.x);
    for (int64_t y = 0; y <= b; ++y) {
        if (reach[size_t(y)] < 0) continue;
        const int64_t left = cx0 - reach[size_t(y)], width = cx1 + reach[size_t(y)] - left + 1;
        if (!brush) break;
        fill_rect(s, left, cy0 - y, width, 1, *brush);
        fill_rect(s, left, cy1 + y, width, 1, *brush);
    }
    for (const Point& p : quadrant) {
        plot(s, cx1 + p.x, cy1 + p.y, pen);
        plot(s, cx0 - p.x, cy1 + p.y, pen);
        plot(s, cx1 + p.x, cy0 - p.y, pen);
        plot(s, cx0 - p.x, cy0 - p.y, pen);
    }
}

}  // namespace

void draw_ellipse(const Surface& s, Rect box, const Pen& pen, uint32_t brush) { ellipse_in_box(s, box, pen, &brush); }

void draw_ellipse_outline(const Surface& s, Rect box, const Pen& pen) { ellipse_in_box(s, box, pen, nullptr); }

}  // namespace raster
