// Helpers of the desk display, background and title tests: a main window holding a game window that paints the
// desk, games laid by hand with plain pieces, the presenter set up as a game sets it up, and small BMP files.
#pragma once
#include "support/game_builder.h"
#include "support/temp_dir.h"
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "desk/background.h"
#include "desk/desk.h"
#include "desk/display.h"
#include "desk/title.h"
#include "graphics/ddbase.h"
#include "graphics/ws.h"
#include "pieces/piece.h"
#include "play/jig.h"
#include "shell/mywin.h"
#include "shell/settings.h"

namespace desktest {

namespace fs = std::filesystem;

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr int32_t kClientW = 320, kClientH = 240;  // the game window's client area
constexpr int32_t kDeskW = 640, kDeskH = 480;

using testsupport::at;

// All words of a surface, top row first.
inline std::vector<uint32_t> top_down(MemDC& s) {
    std::vector<uint32_t> out;
    out.reserve(size_t(s.width()) * size_t(s.height()));
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = 0; x < s.width(); ++x) out.push_back(at(s, x, y));
    return out;
}

using testsupport::PixelAt;

// Writes a 24-bit BMP of w x h from pixel words.
inline void write_bmp(const std::string& path, int32_t w, int32_t h, const PixelAt& pixel) {
    const int32_t row = (w * 3 + 3) / 4 * 4;
    std::vector<uint8_t> b(54 + size_t(row) * size_t(h), 0);
    const auto put32 = [&](size_t o, uint32_t v) {
        for (int k = 0; k < 4; ++k) b[o + size_t(k)] = uint8_t(v >> (8 * k));
    };
    b[0] = 'B', b[1] = 'M';
    put32(2, uint32_t(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    b[26] = 1, b[28] = 24;
    put32(34, uint32_t(row * h));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t p = pixel(x, h - 1 - y);
            const size_t o = 54 + size_t(y) * size_t(row) + size_t(x) * 3;
            b[o] = uint8_t(p), b[o + 1] = uint8_t(p >> 8), b[o + 2] = uint8_t(p >> 16);
        }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

using TempDir = testsupport::TempDir;

// The game window of the tests: paints the desk and passes clock ticks to the title, as the game window does.
inline intptr_t game_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    game_window = hwnd;
    if (msg == ws::WM_PAINT) {
        desk_paint(hwnd);
        return 0;
    }
    if (msg == ws::WM_TIMER && wparam == kClockTimer && current_game) {
        current_game->windowtitle(TITLE_TICK);
        return 0;
    }
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

// A main window holding a kClientW x kClientH game window; the desk is kDeskW x kDeskH in a single grey and the
// plain drawing path is in force until a test starts a presenter.
class DeskWindow : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = settings;
        settings.kage = settings.smooth = settings.nokosu = false;
        settings.ddraw = false;
        settings.desk_w = kDeskW;
        settings.desk_h = kDeskH;
        settings.back_type = IDM_BACK_RGB;
        settings.back_color = 0x808080;
        settings.back_gazou = settings.back_gazou_line = false;
        static const bool registered = [] {
            ws::register_class({"DeskTestMain", ws::def_window_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});
            ws::register_class({"DeskTestGame", game_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});
            return true;
        }();
        (void)registered;
        main_window = ws::create_window("DeskTestMain", "zelto", ws::WS_OVERLAPPEDWINDOW | ws::WS_VISIBLE, 0, 0,
                                        kClientW + 80, kClientH + 80, 0, 0);
        game_window = ws::create_window("DeskTestGame", "Zelto", ws::WS_CHILD | ws::WS_VISIBLE, 0, 0, kClientW,
                                        kClientH, main_window, 0);
        ASSERT_NE(game_window, 0);
        init_window();
    }

    void TearDown() override {
        delete current_game;
        current_game = nullptr;
        delete presenter;
        presenter = nullptr;
        finish_window();
        ws::test::reset();
        main_window = game_window = 0;
        view_x = view_y = scroll_dx = scroll_dy = 0;
        range_state = 0;
        clock_start = clock_now = 0;
        clock_carry = play_seconds = 0;
        settings = saved_;
    }

    Jig& new_game() { return testsupport::new_blank_game(); }
    Piece& add_piece(Jig& game, int32_t cx, int32_t cy, int32_t w, int32_t h, const PixelAt& pixel) {
        return testsupport::add_piece(game, cx, cy, w, h, pixel);
    }
    Piece& add_solid(Jig& game, int32_t cx, int32_t cy, int32_t size, uint32_t word) {
        return testsupport::add_solid(game, cx, cy, size, word);
    }

    // The presenter of the game, with every view handed over and dropped from the piece, as a cut game has it.
    void start_presenter(Jig& game) {
        presenter = new DDBase(game.item_count);
        presenter->init(game_window);
        presenter->table_count = presenter->count;
        for (int32_t i = 0; i < game.item_count; ++i) {
            Piece& p = *game.items[i].piece;
            p.hand_over_view(game.items[i].id);
        }
    }

    // What the game window shows after painting all of it now.
    std::vector<uint32_t> window_picture() {
        ws::paint_at_once(game_window, nullptr);
        return top_down(*ws::client_surface(game_window));
    }
    uint32_t window_at(int32_t x, int32_t y) { return at(*ws::client_surface(game_window), x, y); }

private:
    Settings saved_;
};

}  // namespace desktest
