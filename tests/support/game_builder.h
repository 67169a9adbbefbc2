// Games laid by hand for tests and benchmarks: a blank current game, display items with chosen pixels, pictures,
// and a guard that keeps the process-wide values a test changes from reaching the next one.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "desk/state.h"
#include "graphics/memdc.h"
#include "graphics/state.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "puzzle/random.h"
#include "puzzle/settings.h"
#include "puzzle/state.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "shell/sound.h"
#include "shell/startup.h"
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

// A new game with no picture, made the current one (the previous one is deleted).
inline Jig& new_blank_game() {
    delete display.current_game;
    display.current_game = new Jig(blank_game);
    return *display.current_game;
}

// Words of a piece's whole image or view frame, top row first (the piece keeps only part of them).
inline std::vector<uint32_t> image_words(const Piece& p) {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x) out.push_back(p.image_at(x, y));
    return out;
}
inline std::vector<uint32_t> view_words(const Piece& p) {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < p.view_height; ++y)
        for (int32_t x = 0; x < p.view_width; ++x) out.push_back(p.view_at(x, y));
    return out;
}

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

// Builds the unit shapes from the settings; restores, when it goes, the settings, sounds and game-wide values a
// test may change, and clears the current game.
class Guard {
public:
    Guard() : settings_(settings), sounds_(play.sound_list), random_(puzzle.game_random), picture_(play.picture_path) {
        line_const_init();
    }
    ~Guard() {
        delete display.current_game;
        display.current_game = nullptr;
        settings = settings_;
        play.sound_list = sounds_;
        puzzle.game_random = random_;
        play.picture_path = picture_;
        play.save_path.clear();
        desk.view_x = desk.view_y = desk.scroll_dx = desk.scroll_dy = 0;
        play.game_saved = play.close_without_asking = play.ctrl_down = play.shift_down = play.f1_down = 0;
        line_const_init();
    }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    Settings settings_;
    std::array<SoundEntry, kSoundEvents> sounds_;
    GameRandom random_;
    std::string picture_;
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

}  // namespace testsupport
