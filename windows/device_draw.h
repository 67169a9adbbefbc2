// Drawing in device pixels for the companion windows whose surfaces hold the screen's own pixels: figures are
// given in client pixels, and each client pixel becomes the block of device pixels that ws::device_rect gives it,
// so the layout and the look of lines stay as they are while pictures show their own detail.
#pragma once
#include <cstdint>

#include "graphics/memdc.h"
#include "ws/ws.h"

// Fills the client rectangle r of hwnd's picture on s (the window's surface or a copy of its size).
void fill_on_device(MemDC& s, ws::Hwnd hwnd, const Rect& r, Colour colour);
// The one-pixel outline through the corners (x1, y1) and (x2, y2), both drawn, as MemDC::frame draws it (for
// x1 <= x2 and y1 <= y2).
void frame_on_device(MemDC& s, ws::Hwnd hwnd, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour);
// Lays the pixels of `from`, a picture drawn in device pixels (a button, a label), with its top-left on the device
// pixel of client (x, y); white is left out when `white_clear` (a button image's transparent colour).
void lay_device_picture(MemDC& s, ws::Hwnd hwnd, MemDC& from, int32_t x, int32_t y, bool white_clear);
