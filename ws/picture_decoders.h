// The decoders of the newer picture formats behind read_picture_bytes: Qt's image readers and libheif.
#pragma once
#include <cstddef>
#include <cstdint>

struct Picture;

// PNG, GIF (its first frame), WebP and TIFF through Qt's readers, orientation applied, transparency laid on white.
bool read_qt_picture(const uint8_t* data, size_t size, Picture& out, int64_t max_pixels);

// Whether the bytes begin as a HEIF file (HEIC, AVIF) does.
bool is_heif(const uint8_t* data, size_t size);
// HEIC and AVIF through libheif, with the file's own rotation and mirroring, transparency laid on white.
bool read_heif_picture(const uint8_t* data, size_t size, Picture& out, int64_t max_pixels);

// A straight-alpha 0xAARRGGBB word laid on white, as a transparent picture looks on paper.
inline uint32_t on_white(uint32_t argb) {
    const uint32_t a = argb >> 24;
    if (a == 255) return argb & 0x00FFFFFFu;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t c = argb >> shift & 0xFF;
        out |= (c * a + 255 * (255 - a) + 127) / 255 << shift;
    }
    return out;
}
