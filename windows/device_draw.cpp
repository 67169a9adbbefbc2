// Drawing client-pixel figures in device pixels (see device_draw.h).
#include "windows/device_draw.h"

void fill_on_device(MemDC& s, ws::Hwnd hwnd, const Rect& r, Colour colour) {
    const Rect d = ws::device_rect(hwnd, r);
    s.fill(d.left, d.top, d.width(), d.height(), colour);
}

void frame_on_device(MemDC& s, ws::Hwnd hwnd, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) {
    fill_on_device(s, hwnd, {x1, y1, x1 + 1, y2 + 1}, colour);
    fill_on_device(s, hwnd, {x2, y1, x2 + 1, y2 + 1}, colour);
    fill_on_device(s, hwnd, {x1, y1, x2 + 1, y1 + 1}, colour);
    fill_on_device(s, hwnd, {x1, y2, x2 + 1, y2 + 1}, colour);
}

void lay_device_picture(MemDC& s, ws::Hwnd hwnd, MemDC& from, int32_t x, int32_t y, bool white_clear) {
    const Rect at = ws::device_rect(hwnd, {x, y, x + 1, y + 1});
    for (int32_t j = 0; j < from.height(); ++j)
        for (int32_t i = 0; i < from.width(); ++i)
            if (const Colour c = from.get_pixel(i, j); !white_clear || c != 0xFFFFFF)
                s.set_pixel(at.left + i, at.top + j, c);
}
