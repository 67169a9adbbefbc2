// The zoomed copy: a surface shown at another scale, as the game window shows the desk when the player zooms.
//
// Terms: the zoom is in thousandths (kZoomFull = one destination pixel per source pixel). Destination pixel
// (x, y) shows the source square that starts at (origin_x + x * 1000 / zoom, origin_y + y * 1000 / zoom) and is
// 1000 / zoom source pixels wide.
#pragma once
#include <cstdint>

#include "graphics/geometry.h"
#include "graphics/memdc.h"

inline constexpr int32_t kZoomFull = 1000;

// The destination pixels whose squares show any part of the source rectangle r, and the source pixels that the
// squares of the destination rectangle r cover (both measured from the origin, rounded outward).
Rect zoomed_rect(const Rect& r, int32_t zoom);
Rect unzoomed_rect(const Rect& r, int32_t zoom);
// Floor division by a positive divisor, right for negative dividends too (a pointer held left of the window).
int64_t floor_div(int64_t a, int64_t b);
// v times `scale` thousandths, to the nearest whole number (halves up): where a point of the desk lies in device
// pixels.
inline int32_t scaled_nearest(int32_t v, int32_t scale) {
    return int32_t(floor_div(int64_t(v) * scale + kZoomFull / 2, kZoomFull));
}

// Fills `area` of dst (clipped to dst) from src at `zoom` (at least 1). Up to kZoomFull each destination pixel is
// the mean of the source pixels its square covers (a box filter), so detail finer than a pixel averages out
// instead of flickering; above it, a bilinear blend of the four source pixels nearest its centre. Only pixels
// of src are read: a destination pixel whose square (or, zooming in, whose centre) lies off src is `outside`, a
// pixel word 0x00RRGGBB. Written pixels have a zero top byte. `device` (thousandths, at least 1) multiplies the
// zoom for a destination of device pixels: a device pixel (x, y) shows the source from
// origin + (x, y) * 1000 / zoom * 1000 / device, computed whole, so no rounding of the product shifts the picture.
void zoom_copy(MemDC& dst, const Rect& area, const MemDC& src, int32_t origin_x, int32_t origin_y, int32_t zoom,
               uint32_t outside, int32_t device = kZoomFull);
