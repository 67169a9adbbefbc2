// BMP decoding through QtGui's BMP reader into pixel words 0x00RRGGBB, rows bottom-up; short pixel data told.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/damage.h"

// Pictures larger than this many pixels (256 MB of words) are refused rather than allocated.
inline constexpr int64_t kBmpMaxPixels = int64_t(1) << 26;

struct BmpPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> words;  // width * height words, bottom row first
    bool incomplete = false;      // the pixel data ends before the rows its header gives (uncompressed: those black)
};

// Decodes a BMP held in memory: 1, 4, 8, 16, 24 and 32 bits per pixel, bit-field masks, RLE4/RLE8 and top-down
// rows. Every byte read comes from [data, data + size); a malformed file gives false and an empty picture, never
// a crash. Colour bytes are taken as they are (an alpha channel is ignored). Pixel data shorter than the header
// says is `incomplete` with damage kept, and refused (false) with damage refused.
bool read_bmp(const uint8_t* data, size_t size, BmpPicture& out, int64_t max_pixels = kBmpMaxPixels,
              Damage damage = Damage::kept);

// Reads the whole file `path` (through the path resolver) and decodes it with read_bmp, damage kept. False when it
// cannot be read.
bool read_bmp_file(const char* path, BmpPicture& out, int64_t max_pixels = kBmpMaxPixels);
