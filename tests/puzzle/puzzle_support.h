// Shared pieces of the puzzle tests: a settings guard, test pictures and games laid by hand on a given picture.
#pragma once
#include "support/temp_dir.h"
#include <cstdint>
#include <memory>
#include <string>

#include "desk/desk.h"
#include "graphics/memdc.h"
#include "play/jig.h"
#include "puzzle/lines.h"
#include "puzzle/random.h"
#include "shell/settings.h"

namespace puzzle_test {

// Restores the settings, the unit shapes and the process-wide game values a test changes.
class Restore {
public:
    Restore() : settings_(settings), random_(game_random), path_(picture_path) { line_const_init(); }
    ~Restore() {
        settings = settings_;
        game_random = random_;
        picture_path = path_;
        view_x = view_y = scroll_dx = scroll_dy = 0;
        line_const_init();
    }

private:
    Settings settings_;
    GameRandom random_;
    std::string path_;
};

// A colour for picture pixel (x, y): a busy pattern that tells neighbouring pixels apart and holds no pure white.
inline uint32_t pattern_word(int32_t x, int32_t y) {
    const uint32_t h = uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u;
    const uint32_t word = (h ^ (h >> 13)) & 0xFFFFFFu;
    return word == 0xFFFFFFu ? 0xFFFFFEu : word;
}

// Word at (x, y), row 0 at the top, of any surface.
inline uint32_t word_at(const MemDC& s, int32_t x, int32_t y) {
    return s.words()[size_t(s.height() - 1 - y) * size_t(s.width()) + size_t(x)];
}
inline void set_word(MemDC& s, int32_t x, int32_t y, uint32_t word) {
    s.words()[size_t(s.height() - 1 - y) * size_t(s.width()) + size_t(x)] = word;
}

// A screen-compatible w x h surface holding pattern_word.
inline MemDC* pattern_picture(int32_t w, int32_t h) {
    auto* s = new MemDC;
    s->create(BIT_SCREEN, w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) set_word(*s, x, y, pattern_word(x, y));
    return s;
}

// A game on a w x h pattern picture with piece_num n, built in the order a new game is: pure black and white
// (planted on every 7th and 11th pixel) moved to the near greys, grid made, edges laid; nothing cut.
inline std::unique_ptr<Jig> laid_game(int32_t w, int32_t h, int32_t n) {
    auto game = std::make_unique<Jig>(blank_game);
    game->picture = pattern_picture(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            if ((x + 3 * y) % 7 == 0) set_word(*game->picture, x, y, 0xFFFFFF);
            if ((x + 5 * y) % 11 == 0) set_word(*game->picture, x, y, 0x000000);
        }
    game->pic_w = w;
    game->pic_h = h;
    game->replace_black_white();
    settings.piece_num = n;
    game->make_grid();
    game->line_init();
    return game;
}

// Writes a w x h picture file (BMP) whose pixels come from `word(x, y)`.
bool write_bmp(const std::string& path, int32_t w, int32_t h, uint32_t (*word)(int32_t, int32_t));

using TempDir = testsupport::TempDir;

}  // namespace puzzle_test
