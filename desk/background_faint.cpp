// The finished picture laid faintly on the desk background: the colour-model pass over its pixels, and the
// result kept for as long as the game's picture, its cutting lines and the six settings stay the same.
#include <algorithm>
#include <cstring>
#include <memory>

#include "desk/background.h"
#include "desk/state.h"
#include "graphics/colour_model.h"
#include "pieces/desk.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "puzzle/settings.h"
#include "ws/ws.h"

namespace {

// Everything the faint picture is made from. The picture and the lines are compared by a hash of their contents:
// a new game may well get its picture at the address of the last one's.
struct FaintKey {
    int32_t w = 0, h = 0;
    uint64_t picture_hash = 0;
    double numbers[6] = {};
    bool lines = false;
    uint64_t lines_hash = 0;
    bool operator==(const FaintKey& o) const {
        return w == o.w && h == o.h && picture_hash == o.picture_hash && lines == o.lines &&
               lines_hash == o.lines_hash && std::memcmp(numbers, o.numbers, sizeof numbers) == 0;
    }
};

struct FaintPicture {
    FaintKey key;
    std::unique_ptr<MemDC> surface;
};
FaintPicture faint;

// A fast 64-bit hash of words: four independent lanes so that the multiplications overlap.
uint64_t hash_words(const uint32_t* words, size_t count, uint64_t seed) {
    constexpr uint64_t prime = 0x100000001B3ull;
    uint64_t lane[4] = {seed ^ 0x9E3779B97F4A7C15ull, seed + 1, seed + 2, seed + 3};
    size_t i = 0;
    for (; i + 4 <= count; i += 4)
        for (size_t k = 0; k < 4; ++k) lane[k] = (lane[k] ^ words[i + k]) * prime;
    for (; i < count; ++i) lane[0] = (lane[0] ^ words[i]) * prime;
    return (lane[0] * 31 + lane[1]) * 31 * 31 + lane[2] * 31 + lane[3] + count;
}

// The picture's words inside w x h, row by row (the surface may be wider than the trimmed picture).
uint64_t hash_picture(const MemDC& picture, int32_t w, int32_t h) {
    uint64_t hash = 0;
    for (int32_t r = 0; r < h; ++r)
        hash = hash_words(picture.words() + size_t(picture.height() - 1 - r) * size_t(picture.width()), size_t(w),
                          hash);
    return hash;
}

uint64_t hash_lines(const Jig& game) {
    uint64_t hash = uint64_t(game.cols) << 32 | uint32_t(game.rows);
    const int32_t cells = game.live_cells();
    for (int32_t c = 0; c < cells; ++c)
        hash = hash_words(reinterpret_cast<const uint32_t*>(game.cells[c].edges), sizeof game.cells[c].edges / 4,
                          hash);
    return hash ^ uint64_t(line_points());
}

FaintKey key_of(const Jig& game, int32_t w, int32_t h) {
    FaintKey key;
    key.w = w;
    key.h = h;
    key.picture_hash = hash_picture(*game.picture, w, h);
    std::memcpy(key.numbers, settings.back_gazou_v, sizeof key.numbers);
    key.lines = settings.back_gazou_line;
    if (key.lines) key.lines_hash = hash_lines(game);
    return key;
}

// Each pixel through the colour model: saturation, lightness and hue each scaled and offset by the settings.
// With the defaults the hues stay, a tenth of the saturation stays and the lightness moves into the upper half.
void fade_pixels(MemDC& t) {
    const double* v = settings.back_gazou_v;
    uint32_t* p = t.pixels();
    const size_t n = size_t(t.width()) * size_t(t.height());
    for (size_t i = 0; i < n; ++i) {
        const Lhs c = colour_to_lhs(word_to_colour(p[i]));
        p[i] = colour_to_word(lhs_to_colour(v[2] * c.l + v[3], v[4] * c.h + v[5], v[0] * c.s + v[1]));
    }
}

std::unique_ptr<MemDC> make_faint_picture(Jig& game, int32_t w, int32_t h) {
    auto t = std::make_unique<MemDC>();
    t->create(BIT_DIB, w, h);
    t->blit(0, 0, w, h, *game.picture, 0, 0, SRCCOPY);
    fade_pixels(*t);
    if (settings.back_gazou_line) engrave_lines(game, *t, w, h);
    t->release_dc();
    game.picture->release_dc();
    return t;
}

}  // namespace

void draw_faint_picture() {
    Jig* game = display.current_game;
    if (!game || !game->picture || !desk.desk_back) return;
    const int32_t w = std::min(game->pic_w, game->picture->width());
    const int32_t h = std::min(game->pic_h, game->picture->height());
    if (w < 1 || h < 1) return;
    const FaintKey key = key_of(*game, w, h);
    if (!faint.surface || !(faint.key == key)) {
        faint.surface.reset();
        faint.surface = make_faint_picture(*game, w, h);
        faint.key = key;
    }
    // Centred in the window while the view origin is (0, 0); it is laid against the view origin, so on the
    // presenter's window-sized background it stays in one place on the desk as the view moves.
    const Rect client = display.game_window ? ws::get_client_rect(display.game_window) : Rect{};
    const Point origin = background_origin();
    const int32_t x = (client.width() / 2 - w / 2) - origin.x;
    const int32_t y = (client.height() / 2 - h / 2) - origin.y;
    desk.desk_back->blit(x, y, w, h, *faint.surface, 0, 0, SRCCOPY);
    desk.desk_back->release_dc();
    faint.surface->release_dc();
}

void forget_faint_picture() { faint = FaintPicture{}; }
