// Shared pieces of the saved-game tests: a private folder with the game's globals restored, cut games, joins.
#pragma once
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desk/state.h"
#include "desk/title.h"
#include "graphics/bmpsave.h"
#include "graphics/memdc.h"
#include "graphics/state.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "play/lifecycle.h"
#include "play/save.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "puzzle/random.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "ws/ws.h"

namespace save_test {

namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

inline Bytes read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void write_bytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Little-endian fields at a byte offset, read and written the way the file lays them out.
inline int32_t le32(const Bytes& b, size_t at) {
    return int32_t(uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
                   uint32_t(b.at(at + 3)) << 24);
}
inline void set_le32(Bytes& b, size_t at, int32_t v) {
    for (int k = 0; k < 4; ++k) b.at(at + size_t(k)) = uint8_t(uint32_t(v) >> (8 * k));
}
inline double le_double(const Bytes& b, size_t at) {
    uint64_t u = 0;
    for (int k = 7; k >= 0; --k) u = (u << 8) | b.at(at + size_t(k));
    double d = 0;
    std::memcpy(&d, &u, sizeof d);
    return d;
}
inline void set_le_double(Bytes& b, size_t at, double d) {
    uint64_t u = 0;
    std::memcpy(&u, &d, sizeof u);
    for (int k = 0; k < 8; ++k) b.at(at + size_t(k)) = uint8_t(u >> (8 * k));
}

// Byte offsets of the Part's layout, written out independently of the writer.
inline size_t cell_at(int32_t k, int32_t points) { return 48 + size_t(k) * (4 + 32 * size_t(points)); }
inline size_t item_at(int32_t i, int32_t cells, int32_t points) { return cell_at(cells, points) + 80 * size_t(i); }

// A picture whose neighbouring pixels differ and that holds neither pure black nor pure white.
inline uint32_t pattern_word(int32_t x, int32_t y) {
    const uint32_t h = uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u;
    const uint32_t word = (h ^ (h >> 13)) & 0xFFFFFFu;
    return word == 0xFFFFFFu || word == 0 ? 0x808081u : word;
}

inline void write_pattern_bmp(const std::string& path, int32_t w, int32_t h) {
    MemDC s;
    s.create(BIT_DIB, w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) s.words()[size_t(h - 1 - y) * size_t(w) + size_t(x)] = pattern_word(x, y);
    std::snprintf(graphics.bmp_name, sizeof graphics.bmp_name, "%s", path.c_str());
    ASSERT_EQ(save_bmp(s, 0, 0, 0, 0), 1);
    s.destroy();
}

// The folder the source tree lies in (for the bundled pictures).
inline std::string source_root() { return ZELTO_SOURCE_DIR; }

// A mark of this run, shared with the child processes of death tests (they inherit the environment), so that a
// child works in the same folder as its parent.
inline std::string run_tag() {
    if (!std::getenv("ZELTO_SAVE_TEST_TAG")) setenv("ZELTO_SAVE_TEST_TAG", std::to_string(getpid()).c_str(), 0);
    return std::getenv("ZELTO_SAVE_TEST_TAG");
}

// Memory-backed scratch space when there is some: the tests write many small files and save with fsync.
inline fs::path scratch_root() {
    std::error_code ec;
    if (fs::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return fs::temp_directory_path();
}

// Each test runs in a fresh folder of its own (the temporary pictures and the emergency save are written to the
// current folder), on a desk of its own, with the settings and the game's globals put back afterwards.
class SaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_dir_ = fs::current_path();
        dir_ = scratch_root() /
               ("zelto_save_" + run_tag() + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
        saved_settings_ = settings;
        SetUpSettings();
        desk_images_create(900, 700);
        play.save_path.clear();
        play.picture_path.clear();
        desk.view_x = desk.view_y = 0;
        display.play_seconds = display.clock_carry = 0;
    }
    void SetUpSettings() {
        settings.kage = false;
        settings.ddraw = false;
        settings.stretch_size = 0;
        settings.hanten = true;
        settings.kaiten = 234;  // free rotation: pieces land at any angle
        settings.seiretu = false;
        settings.back_type = 243;  // a plain colour: no background picture to find
        settings.line_num = 10;
        line_const_init();
    }
    void TearDown() override {
        play.current_game = nullptr;
        settings = saved_settings_;
        line_const_init();
        play.save_path.clear();
        play.picture_path.clear();
        desk.view_x = desk.view_y = 0;
        display.play_seconds = display.clock_carry = 0;
        desk_images_destroy();
        ws::test::reset();
        fs::current_path(old_dir_);
        fs::remove_all(dir_);
    }

    std::string file(const std::string& name) const { return (dir_ / name).string(); }

    // A game built and cut the way a new game is, on the picture file `picture`.
    std::unique_ptr<Jig> cut_game(const std::string& picture, int32_t piece_num) {
        play.picture_path = picture;
        settings.piece_num = piece_num;
        auto game = std::make_unique<Jig>();
        play.game_piece_num = settings.piece_num;
        play.game_stretch_size = settings.stretch_size;
        while (game->item_count > 0 && game->cut_count < game->item_count) game->cut(640, 480);
        return game;
    }

    // The road of a resume after the game in play is gone: the check and the picture taken out, then the game
    // window's own handler builds the game with the file's piece count and stretch size and shows it. Null when
    // any step refuses.
    std::unique_ptr<Jig> resume(const std::string& saved) {
        if (!begin_resume(saved, [] {})) return nullptr;
        settings.piece_num = settings.stretch_size = -1;  // the handler must take them from the file
        continue_saved_game();
        std::unique_ptr<Jig> game(play.current_game);
        play.current_game = nullptr;
        return game;
    }

    fs::path old_dir_, dir_;
    Settings saved_settings_;
};

// Picks up item i the way a press does (raised to the top of the display list) and holds it.
inline void hold(Jig& game, int32_t i) {
    std::rotate(game.items + i, game.items + i + 1, game.items + game.item_count);
    game.holding = 1;
}

// Joins the group of item d onto the group of item t, and turns item i over, with the game's own operations.
inline void join_items(Jig& game, int32_t t, int32_t d) {
    const int32_t target = game.items[t].id;
    hold(game, d);
    game.joint(target);
    game.holding = 0;
}
inline void turn_item(Jig& game, int32_t i) {
    hold(game, i);
    game.hanten();
    game.holding = 0;
}

// The words of a surface, for comparing pictures.
inline std::vector<uint32_t> words_of(const MemDC* s) {
    if (!s || !s->created()) return {};
    return std::vector<uint32_t>(s->words(), s->words() + size_t(s->width()) * size_t(s->height()));
}

}  // namespace save_test
