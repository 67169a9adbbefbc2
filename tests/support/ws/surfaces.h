// Surfaces and pictures made for tests: words read and written top-down, busy patterns, BMP files written from
// chosen pixels, and the sounds the layer's test mode recorded.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "graphics/memdc.h"
#include "graphics/state.h"
#include "ws/bmpsave.h"
#include "ws/ws.h"

namespace testsupport {

// Word (x, y) of a surface, top-down.
inline uint32_t& at(MemDC& s, int32_t x, int32_t y) {
    return s.words()[size_t(s.height() - 1 - y) * size_t(s.width()) + size_t(x)];
}
inline uint32_t at(const MemDC& s, int32_t x, int32_t y) { return at(const_cast<MemDC&>(s), x, y); }

// How many times the sound of `event` was asked for since the test began (the tests name each event's sound
// "evN.wav").
inline int32_t count_played(int32_t event) {
    int32_t n = 0;
    for (const auto& s : ws::test::sounds()) n += s.path.ends_with("ev" + std::to_string(event) + ".wav");
    return n;
}

// All words of a surface, top row first.
inline std::vector<uint32_t> top_down(const MemDC& s) {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = 0; x < s.width(); ++x) out.push_back(at(s, x, y));
    return out;
}

using PixelAt = std::function<uint32_t(int32_t x, int32_t y)>;  // top-down (x, y) -> pixel word

// How many words of the side x side block of `shown` at (x, y) equal those of the block of `picture` at (px, py).
inline int32_t matching_words(const MemDC& shown, int32_t x, int32_t y, const MemDC& picture, int32_t px, int32_t py,
                              int32_t side) {
    int32_t same = 0;
    for (int32_t j = 0; j < side; ++j)
        for (int32_t i = 0; i < side; ++i) same += at(shown, x + i, y + j) == at(picture, px + i, py + j);
    return same;
}

// FNV-1a over every word of a w x h frame, so that one number stands for a whole picture.
inline uint64_t frame_hash(int32_t w, int32_t h, const PixelAt& word) {
    uint64_t hash = 1469598103934665603ull;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) hash = (hash ^ word(x, y)) * 1099511628211ull;
    return hash;
}

// A busy colour for picture pixel (x, y): neighbours differ, and it is never pure black or pure white.
inline uint32_t pattern_word(int32_t x, int32_t y) {
    const uint32_t h = uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u;
    const uint32_t word = ((h ^ (h >> 13)) & 0xFFFFFFu) | 0x010101u;
    return word == 0xFFFFFFu ? 0xFEFEFEu : word;
}

// A new w x h surface of the given kind whose pixels come from `pixel`.
inline MemDC* surface_of(int32_t w, int32_t h, const PixelAt& pixel, int32_t kind = BIT_DIB) {
    auto* s = new MemDC;
    s->create(kind, w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) at(*s, x, y) = pixel(x, y);
    return s;
}

// Writes a w x h BMP of the given pixels. False when the file could not be written.
inline bool write_picture(const std::string& path, int32_t w, int32_t h, const PixelAt& pixel) {
    MemDC* s = surface_of(w, h, pixel);
    std::snprintf(graphics.bmp_name, sizeof graphics.bmp_name, "%s", path.c_str());
    const bool ok = path.size() < sizeof graphics.bmp_name && save_bmp(*s, 0, 0, 0, 0) == 1;
    delete s;
    return ok;
}

// Writes a w x h BMP whose neighbouring pixels differ and which holds neither pure black nor pure white (every
// channel at least `floor`, below 0x80 + floor). False when the file could not be written.
inline bool write_noise_picture(const std::string& path, int32_t w, int32_t h, uint32_t floor) {
    return write_picture(path, w, h, [floor](int32_t x, int32_t y) {
        return ((uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u) & 0x7F7F7Fu) | floor;
    });
}

}  // namespace testsupport
