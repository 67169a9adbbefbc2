// Games laid by hand for tests and benchmarks: a blank current game, display items with chosen pixels, pictures.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "graphics/bmpsave.h"
#include "graphics/memdc.h"
#include "pieces/piece.h"
#include "play/jig.h"

namespace testsupport {

// Word (x, y) of a surface, top-down.
inline uint32_t& at(MemDC& s, int32_t x, int32_t y) {
    return s.words()[size_t(s.height() - 1 - y) * size_t(s.width()) + size_t(x)];
}

using PixelAt = std::function<uint32_t(int32_t x, int32_t y)>;  // top-down (x, y) -> pixel word

// A new game with no picture, made the current one (the previous one is deleted).
inline Jig& new_blank_game() {
    delete current_game;
    current_game = new Jig(blank_game);
    return *current_game;
}

// Adds the next display item: a w x h piece centred at (cx, cy) with the given pixels; its id is its index.
inline Piece& add_piece(Jig& game, int32_t cx, int32_t cy, int32_t w, int32_t h, const PixelAt& pixel) {
    const int32_t i = game.item_count++;
    game.cut_count = game.item_count;
    MemDC src;
    src.create(BIT_DIB, w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) at(src, x, y) = pixel(x, y);
    auto* piece = new Piece;
    piece->cx = cx, piece->cy = cy;
    piece->set_image(src, w, h);
    piece->set_angle(0);
    game.items[i].piece = piece;
    game.items[i].id = i;
    return *piece;
}

inline Piece& add_solid(Jig& game, int32_t cx, int32_t cy, int32_t size, uint32_t word) {
    return add_piece(game, cx, cy, size, size, [word](int32_t, int32_t) { return word; });
}

// Writes a w x h BMP whose neighbouring pixels differ and which holds neither pure black nor pure white (every
// channel at least `floor`, below 0x80 + floor). False when the file could not be written.
inline bool write_noise_picture(const std::string& path, int32_t w, int32_t h, uint32_t floor) {
    MemDC s;
    s.create(BIT_DIB, w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t v = (uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u) & 0x7F7F7Fu;
            s.words()[size_t(y) * size_t(w) + size_t(x)] = v | floor;
        }
    std::snprintf(bmp_name, sizeof bmp_name, "%s", path.c_str());
    return save_bmp(s, 0, 0, 0, 0) == 1;
}

}  // namespace testsupport
