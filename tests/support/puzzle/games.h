// Games laid by hand for tests and benchmarks: display items with chosen pixels, games on a pattern picture, and a
// guard that builds the unit shapes and puts the records back to their start values when a test ends.
#pragma once
#include <cstdint>

#include "pieces/piece.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "puzzle/settings.h"
#include "puzzle/state.h"
#include "support/pieces/pieces.h"
#include "support/ws/surfaces.h"

namespace testsupport {

// Adds the next display item: a w x h piece centred at (cx, cy) with the given pixels; its id is its index.
inline Piece& add_piece(Jig& game, int32_t cx, int32_t cy, int32_t w, int32_t h, const PixelAt& pixel) {
    const int32_t i = game.item_count++;
    game.cut_count = game.item_count;
    MemDC* src = surface_of(w, h, pixel);
    auto* piece = new Piece;
    piece->cx = cx, piece->cy = cy;
    piece->set_image(*src, w, h);
    piece->set_angle(0, settings_shading());
    delete src;
    game.items[i].piece = piece;
    game.items[i].id = i;
    return *piece;
}

// Builds the unit shapes from the settings; when it goes, puts the records back to their start values through
// `Reset` (the reset_<folder>_state of the highest folder the test program links) and builds the shapes again.
template <void (*Reset)()>
class ResetGuard {
public:
    ResetGuard() { line_const_init(); }
    ~ResetGuard() {
        Reset();
        line_const_init();
    }
    ResetGuard(const ResetGuard&) = delete;
    ResetGuard& operator=(const ResetGuard&) = delete;
};

// A game on a w x h pattern picture with piece_num n, built in the order a new game is (pure black and white moved
// to the near greys, grid made, edges laid); nothing cut. Not made the current game.
inline Jig* laid_game(int32_t w, int32_t h, int32_t n, const PixelAt& pixel = pattern_word) {
    auto* game = new Jig(blank_game);
    game->picture = surface_of(w, h, pixel, BIT_SCREEN);
    game->pic_w = w;
    game->pic_h = h;
    game->replace_black_white();
    settings.piece_num = n;
    game->make_grid();
    game->line_init();
    return game;
}

// A laid game of 120 x 90 pixels in four cells of 60 x 45, with a finer picture of noise twice its size (as on a
// screen of device pixel ratio 2), each piece cut upright and centred on its point; the fitted picture is the laid
// pattern, so only the finer cut can show the noise.
inline Jig* finer_game(const Point (&centres)[4]) {
    Jig* game = laid_game(120, 90, 4);
    game->fine_picture = surface_of(240, 180, [](int32_t x, int32_t y) {
        return (uint32_t(x * 7919 + y * 104729) * 2654435761u >> 8 & 0xFEFEFEu) | 0x010101u;
    });
    game->fine_scale = 2000;
    for (int32_t k = 0; k < 4; ++k) {
        game->items[k].piece = new Piece;
        game->items[k].id = k;
        game->cut_piece(k, k);
        Piece& p = *game->items[k].piece;
        p.cx = centres[k].x, p.cy = centres[k].y;
        p.set_angle(0, settings_shading());
    }
    game->cut_count = 4;
    return game;
}

}  // namespace testsupport
