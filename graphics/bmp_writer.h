// Writing a rectangle of a surface as an uncompressed 24-bit BMP file to the export file name (save_bmp in ws/
// shows the hourglass around it).
#pragma once
#include <cstdint>

#include "graphics/memdc.h"

// Writes the rectangle (x, y, width, height) of `surface` to the file named by bmp_name (through the path resolver):
// the 54-byte header, then the rows bottom row first, each pixel as blue, green, red, each row padded with zeros to a
// multiple of 4 bytes. width 0 writes the whole surface from (0, 0). Pixels of the rectangle that lie outside the
// surface are written white; a negative width or height counts as 0. The file is written beside an old one of that
// name and replaces it only once it is whole on the disk. Returns 1 when the whole file was written, 0 when it could
// not be created or a write failed (an old file of that name is then as it was, and no part of the new one is left).
int32_t write_bmp(MemDC& surface, int32_t x, int32_t y, int32_t width, int32_t height);
