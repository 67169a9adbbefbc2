// Helpers of the picture, export and presenter tests: file bytes, a JPEG encoder (the library's compressor, so the
// decoder is checked against an independent writer), channel tolerance and surfaces from words.
#pragma once
#include "support/temp_dir.h"
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "graphics/memdc.h"

namespace pictest {

using TempDir = testsupport::TempDir;
using Bytes = std::vector<uint8_t>;

inline void write_bytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
inline Bytes read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Pixel source: (x, y top-down) -> 0x00RRGGBB (grey takes the blue byte, CMYK all four bytes from the top down).
using PixelAt = std::function<uint32_t(int32_t x, int32_t y)>;

// Encodes with libjpeg's compressor. Components: 1 grey, 3 RGB (YCbCr, no chroma subsampling), 4 CMYK (Adobe marker).
inline Bytes encode_jpeg(int32_t width, int32_t height, int components, const PixelAt& at, int quality = 95,
                         bool progressive = false) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width), cinfo.image_height = JDIMENSION(height), cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(width) * size_t(components));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int32_t x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)  // the lowest `components` bytes, the highest first
                row[size_t(x * components + c)] = JSAMPLE(at(x, int32_t(cinfo.next_scanline)) >> (8 * (components - 1 - c)));
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// Channels of two words differ by at most `tolerance` each, and the top bytes are equal.
inline bool near_word(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    return (a >> 24) == (b >> 24);
}

// The word at (x, y top-down) of a picture stored bottom-up.
inline uint32_t word_at(const std::vector<uint32_t>& words, int32_t width, int32_t height, int32_t x, int32_t y) {
    return words[size_t(height - 1 - y) * size_t(width) + size_t(x)];
}

// A screen-compatible surface of the given size whose pixel (x, y top-down) is at(x, y).
inline void fill_surface(MemDC& surface, int32_t width, int32_t height, const PixelAt& at) {
    surface.create(BIT_SCREEN, width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) surface.words()[size_t(height - 1 - y) * size_t(width) + size_t(x)] = at(x, y);
}

}  // namespace pictest
