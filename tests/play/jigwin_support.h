// The real main window with its game window, on a pattern picture in a folder of the test's own: games opened,
// cut step by step or played, and what the layer recorded.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "desk/background.h"
#include "desk/title.h"
#include "graphics/ddbase.h"
#include "pieces/desk.h"
#include "play/jigwin.h"
#include "play/lifecycle.h"
#include "play/play.h"
#include "play/save.h"
#include "play/state.h"
#include "support/cases.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"
#include "ws/ws.h"

namespace jigwintest {

namespace fs = std::filesystem;
using testsupport::at;

inline void write_picture(const std::string& path, int32_t w, int32_t h) {
    ASSERT_TRUE(testsupport::write_noise_picture(path, w, h, 0x202020u));
}

// Settings of a small plain game (4 pieces of a 64 x 64 picture, upright, face up) in a 400 x 300 window.
class RealWindows {
protected:
    void prepare() {
        ASSERT_TRUE(dir_.ok());
        old_dir_ = fs::current_path();
        fs::current_path(dir_.file(""));
        testsupport::read_test_settings("play/data/small_game.rc");
        for (int32_t e = 1; e <= kSoundEvents; ++e)
            ::play.sound_list[size_t(e - 1)].file = "ev" + std::to_string(e) + ".wav";
        ::play.picture_path.clear();
        write_picture("pic.bmp", 64, 64);
    }
    void finish() {
        if (::play.main_window) ws::destroy_window(::play.main_window);
        ws::test::reset();
        if (::play.current_game) end_game();
        fs::current_path(old_dir_);
    }

    // Creates the main window (and with it the game window) on `picture`; nothing is delivered yet.
    void open(const std::string& picture) {
        ::play.picture_path = picture;
        register_main_window_class();
        ASSERT_TRUE(create_main_window());
        ASSERT_NE(::play.game_window, 0);
    }
    // Opens `picture` and delivers everything: the pieces are cut and play has begun.
    void play(const std::string& picture) {
        open(picture);
        ws::test::pump();
        ASSERT_NE(::play.current_game, nullptr);
        ASSERT_EQ(::play.current_game->cut_count, ::play.current_game->item_count);
    }
    // Delivers one message, counting the cutting steps; false when nothing is left.
    bool deliver_one() {
        ws::Msg m;
        if (!ws::peek_message(m, ws::PM_REMOVE)) return false;
        steps_ += m.message == IDM_INIT_DISP;
        ws::dispatch_message(m);
        return true;
    }
    // Delivers until the next cutting step has been handled; false when none came.
    bool deliver_step() {
        const int32_t before = steps_;
        while (steps_ == before)
            if (!deliver_one()) return false;
        return true;
    }
    static int32_t plays_of(int32_t event) {
        int32_t n = 0;
        for (const auto& s : ws::test::sounds()) n += s.path.ends_with("ev" + std::to_string(event) + ".wav");
        return n;
    }
    static std::string title() { return ws::get_window_text(::play.main_window); }
    static bool title_has(const std::string& part) { return title().find(part) != std::string::npos; }
    static Point on_screen(Point client) { return ws::client_to_screen(::play.game_window, client); }
    // The window point of item i's centre, surely inside its shape.
    static Point centre_of(int32_t i) {
        const Piece& p = *::play.current_game->items[i].piece;
        return {p.cx - desk.view_x, p.cy - desk.view_y};
    }
    // Window pixels, sampled every 5th, where the window does not show item i's view laid at its place.
    static int32_t window_faults(int32_t i) {
        ws::paint_at_once(::play.game_window, nullptr);
        const MemDC& win = *ws::client_surface(::play.game_window);
        const Item& it = ::play.current_game->items[i];
        const Piece& p = *it.piece;
        int32_t bad = 0;
        for (int32_t y = 0; y < p.view_height; y += 5)
            for (int32_t x = 0; x < p.view_width; x += 5) {
                const int32_t wx = p.rect.left - desk.view_x + x, wy = p.rect.top - desk.view_y + y;
                const Colour c = desk.presenter ? desk.presenter->get_pixel(it.id, x, y) : colour_of(p.view_at(x, y));
                if (c == 0xFFFFFF || wx < 0 || wy < 0 || wx >= win.width() || wy >= win.height()) continue;
                bad += colour_of(at(win, wx, wy)) != c;
            }
        return bad;
    }
    static Colour colour_of(uint32_t word) { return ((word & 0xFF) << 16) | (word & 0xFF00) | ((word >> 16) & 0xFF); }

    int32_t steps_ = 0;
    testsupport::TempDir dir_;
    fs::path old_dir_;
    testsupport::Guard guard_;
};

class GameWindowTest : public RealWindows, public ::testing::Test {
protected:
    void SetUp() override { prepare(); }
    void TearDown() override { finish(); }
};

}  // namespace jigwintest
