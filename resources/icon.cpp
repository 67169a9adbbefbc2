// The program icon: one jigsaw piece with two knobs and two sockets, shaded, on a transparent (white) ground.
#include <cmath>

#include "ws/ws.h"
#include "resources/resources.h"

namespace {

// Inside the piece, in units of the icon's side: a square body, knobs out of its top and right, sockets cut
// into its left and bottom.
bool inside(double x, double y) {
    const double lo = 0.2, hi = 0.8, r = 0.12;
    auto in_circle = [r](double px, double py, double cx, double cy) {
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
    };
    const bool body = x >= lo && x <= hi && y >= lo && y <= hi;
    const bool knob = in_circle(x, y, 0.5, lo - 0.07) || in_circle(x, y, hi + 0.07, 0.5);
    const bool socket = in_circle(x, y, lo + 0.07, 0.5) || in_circle(x, y, 0.5, hi - 0.07);
    return (body && !socket) || knob;
}

}  // namespace

void draw_program_icon(MemDC& out, int32_t size) {
    out.create(BIT_SCREEN, size, size);
    out.fill(0, 0, size, size, 0xFFFFFF);
    const double unit = 1.0 / size;
    const double edge = 1.5 * unit;  // the outline's width
    for (int32_t y = 0; y < size; ++y) {
        for (int32_t x = 0; x < size; ++x) {
            const double px = (x + 0.5) * unit, py = (y + 0.5) * unit;
            if (!inside(px, py)) continue;
            const bool border = !inside(px - edge, py) || !inside(px + edge, py) || !inside(px, py - edge) ||
                                !inside(px, py + edge);
            // Light from the top left: orange fading to a deeper orange.
            const int32_t shade = int32_t(60 * (px + py));
            const Colour fill = Colour(0x20 + shade / 2) << 16 | Colour(0xB0 - shade) << 8 | 0xF0;
            out.set_pixel(x, y, border ? Colour(0x103060) : fill);
        }
    }
    out.release_dc();
}

void install_program_icon() {
    MemDC icon;
    draw_program_icon(icon, 64);
    ws::set_program_icon(icon);
    icon.destroy();
}
