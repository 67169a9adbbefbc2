// Shared pieces of the shell's tests: a folder of the test's own made current with the process-wide values put
// back, little-endian fields, golden tables, and games cut, saved and resumed the real way.
#pragma once
#include <gtest/gtest.h>

#include <cstring>

#include "desk/state.h"
#include "play/jig.h"
#include "play/lifecycle.h"
#include "play/play.h"
#include "play/save.h"
#include "shell/state.h"
#include "support/cases.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace shelltest {

namespace fs = std::filesystem;

using testsupport::read_file;
using testsupport::read_text;
using testsupport::write_file;

// Little-endian fields at a byte offset, read and written the way saved games lay them out.
inline int32_t le32(const std::string& b, size_t at) {
    return int32_t(uint8_t(b.at(at)) | uint8_t(b.at(at + 1)) << 8 | uint8_t(b.at(at + 2)) << 16 |
                   uint32_t(uint8_t(b.at(at + 3))) << 24);
}
template <class T>
std::string with_le(std::string b, size_t at, T value) {
    uint64_t u = 0;
    std::memcpy(&u, &value, sizeof value);
    for (size_t k = 0; k < sizeof value; ++k) b.at(at + k) = char(u >> (8 * k));
    return b;
}

// Byte offsets of cell k and item i of a saved game of four cells whose edges have ten points each.
inline size_t cell_at(int32_t k) { return 48 + size_t(k) * (4 + 32 * 10); }
inline size_t item_at(int32_t i) { return cell_at(4) + 80 * size_t(i); }

// Rows of the golden table tests/shell/golden/NAME.txt: fields split at tabs; "\xNN", "\n", "\t", "\\" and "\0"
// stand for their bytes; blank lines and lines starting with "#" are skipped.
inline std::vector<std::vector<std::string>> golden(const std::string& name) {
    std::ifstream in(std::string(ZELTO_SOURCE_DIR) + "/tests/shell/golden/" + name + ".txt", std::ios::binary);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        rows.emplace_back(1);
        for (size_t i = 0; i < line.size(); ++i) {
            char c = line[i];
            if (c == '\t') { rows.back().emplace_back(); continue; }
            if (c == '\\' && i + 1 < line.size()) {
                const char e = line[++i];
                c = e == 'n' ? '\n' : e == 't' ? '\t' : e == '0' ? '\0' : e == 'r' ? '\r' : e;
                if (e == 'x') c = char(std::stoi(line.substr(i + 1, 2), nullptr, 16)), i += 2;
            }
            rows.back().back() += c;
        }
    }
    EXPECT_FALSE(rows.empty()) << name;
    return rows;
}
// The whole numbers of a golden field, written in decimal or 0x hexadecimal and parted by blanks.
inline std::vector<int32_t> numbers(const std::string& field) {
    std::istringstream in(field);
    std::vector<int32_t> out;
    for (std::string n; in >> n;) out.push_back(int32_t(std::stoll(n, nullptr, 0)));
    return out;
}

// Each test runs in a folder of its own made current, from the default settings with no sounds; the settings,
// sounds, paths, clock and current game are put back afterwards.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.ok());
        old_dir_ = fs::current_path();
        fs::current_path(dir_.string());
        settings = Settings{};
        play.sound_list = {};
        play.sound_looping = 0;
        ws::test::reset();
    }
    void TearDown() override {
        fs::current_path(old_dir_);
        shell.read_skin_file = skin_reader_;
        play.sound_looping = display.play_seconds = display.clock_carry = 0;
        ws::test::reset();
    }
    std::string file(const std::string& name) const { return dir_.file(name); }

    testsupport::TempDir dir_;
    fs::path old_dir_;
    testsupport::Guard guard_;
    void (*skin_reader_)(std::FILE*) = shell.read_skin_file;
};

// Saved games: plain settings with free rotation and turning over, a desk to lay the pieces on, games cut the way
// a new one is and resumed through the game window's own road.
class SaveTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        settings.kage = settings.ddraw = settings.seiretu = false;
        settings.stretch_size = 0;
        settings.hanten = true;
        settings.kaiten = 234;     // free rotation: pieces land at any angle
        settings.back_type = 243;  // a plain colour: no background picture to find
        line_const_init();
        desk_images_create(900, 700);
    }
    void TearDown() override {  // the guard deletes the game
        desk_images_destroy();
        ShellTest::TearDown();
    }
    // A w x h pattern picture `name` (none written when w is 0) and the game on it with `pieces`, made the current
    // game, its first `cuts` pieces cut (all by default).
    Jig& cut_game(const std::string& name, int32_t w, int32_t h, int32_t pieces, int32_t cuts = max_cells) {
        EXPECT_TRUE(w == 0 || testsupport::write_picture(file(name), w, h, testsupport::pattern_word));
        delete display.current_game;
        play.picture_path = file(name);
        settings.piece_num = pieces;
        display.current_game = build_game();
        play.game_piece_num = settings.piece_num;
        play.game_stretch_size = settings.stretch_size;
        for (Jig& g = *display.current_game; g.item_count > 0 && g.cut_count < std::min(g.item_count, cuts);)
            g.cut(640, 480);
        return *display.current_game;
    }
    // Resumes `saved` as the menu does; the game window's handler must take the piece count and stretch size from
    // the file. Null when any step refuses.
    static Jig* resume(const std::string& saved) {
        if (!begin_resume(saved, [] { return end_game(), true; })) return nullptr;
        settings.piece_num = settings.stretch_size = -1;
        continue_saved_game();
        return display.current_game;
    }
    // Resumes `saved`, expecting a game of `items` groups on a picture `pic_w` wide.
    static void expect_resumes(const std::string& saved, int32_t items, int32_t pic_w) {
        const Jig* back = resume(saved);
        ASSERT_TRUE(back);
        EXPECT_EQ(std::tie(back->item_count, back->pic_w), std::tie(items, pic_w));
    }
    // Item i picked up (raised to the top) and joined onto the group of item t, or turned over when t < 0.
    static void join(Jig& g, int32_t t, int32_t i) {
        const int32_t target = t < 0 ? -1 : g.items[t].id;
        std::rotate(g.items.begin() + i, g.items.begin() + i + 1, g.items.begin() + g.item_count);
        g.holding = 1;
        target < 0 ? hanten(g) : joint(g, target);
        g.holding = 0;
    }
};

}  // namespace shelltest
