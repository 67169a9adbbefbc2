// Saving a rectangle of a surface as a BMP file under the hourglass: the export commands' save_bmp.
#pragma once
#include <cstdint>

#include "graphics/memdc.h"

// Shows the hourglass (push_cursor), writes the rectangle (x, y, width, height) of `surface` to the file named by
// bmp_name with write_bmp (graphics/bmp_writer.h: width 0 is the whole surface) and goes back to the cursor shown
// before. Returns what write_bmp returns: 1 when the whole file was written, 0 when it was not.
int32_t save_bmp(MemDC& surface, int32_t x, int32_t y, int32_t width, int32_t height);
