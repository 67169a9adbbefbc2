// JPEG decoding through libjpeg into pixel words 0x00RRGGBB, rows bottom-up; damage kept or refused.
#pragma once
#include <cstdint>
#include <cstdio>
#include <vector>

#include "graphics/damage.h"

// Pictures larger than this many pixels (256 MB of words) are refused rather than allocated.
inline constexpr int64_t kJpegMaxPixels = int64_t(1) << 26;

struct JpegPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> words;  // width * height words, bottom row first; rows never decoded stay 0
    int32_t rows_decoded = 0;     // picture rows stored, counted from the top
    int32_t warnings = 0;         // corrupt-data warnings of the library (a truncated file is one)
    bool damaged = false;         // the library gave up with an error part way
    int32_t orientation = 1;      // the EXIF orientation tag of the file (1-8); the words are stored as decoded
};

enum class JpegResult {
    loaded,      // at least one row was decoded (the picture may be partial: see `damaged` and `warnings`)
    open_error,  // the file could not be opened
    unreadable,  // not a JPEG, too damaged to give a single row, too large, or a colour model we cannot show
};

// Decodes the JPEG stream read from `file` (left open) from where it stands to its end. Grey-scale, YCbCr, RGB and
// CMYK/YCCK pictures all come out as 0x00RRGGBB words. Never throws and never ends the program.
// Damage::kept: the library's own message goes to stderr; true when at least one row was decoded.
// Damage::refused: the first warning (a file that ends early is one) or error stops the decoding, nothing is
// printed, and true only when every row was decoded without either.
bool read_jpeg(std::FILE* file, JpegPicture& out, int64_t max_pixels = kJpegMaxPixels, Damage damage = Damage::kept);

// Opens `path` (binary, through the path resolver) and decodes it with read_jpeg, damage kept.
JpegResult read_jpeg_file(const char* path, JpegPicture& out, int64_t max_pixels = kJpegMaxPixels);

// A picture that read_jpeg gave with damage kept lacks rows or holds grey ones: a warning, an error or rows missing.
inline bool jpeg_damaged(const JpegPicture& p) { return p.warnings > 0 || p.damaged || p.rows_decoded < p.height; }
