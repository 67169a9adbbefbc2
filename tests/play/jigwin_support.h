// Helpers of the game-window and lifecycle tests: a private folder with a pattern picture, the real main window
// with its game window, the cutting steps counted one by one, and what the layer recorded.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/game_builder.h"
#include "desk/background.h"
#include "desk/desk.h"
#include "desk/title.h"
#include "graphics/bmpsave.h"
#include "graphics/ddbase.h"
#include "graphics/memdc.h"
#include "graphics/trace.h"
#include "graphics/ws.h"
#include "pieces/piece.h"
#include "play/jig.h"
#include "play/jigwin.h"
#include "play/lifecycle.h"
#include "play/play.h"
#include "shell/mywin.h"
#include "shell/save.h"
#include "shell/settings.h"
#include "shell/sound.h"
#include "shell/startup.h"

namespace jigwintest {

namespace fs = std::filesystem;

constexpr int32_t kClientW = 400, kClientH = 300;

// A picture whose neighbouring pixels differ and that holds neither pure black nor pure white.
inline void write_picture(const std::string& path, int32_t w, int32_t h) {
    ASSERT_TRUE(testsupport::write_noise_picture(path, w, h, 0x202020u));
}

// The real main window and game window on a 4-piece puzzle of a 64 x 64 picture, in a folder of the test's own.
class GameWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_dir_ = fs::current_path();
        dir_ = fs::temp_directory_path() /
               ("zelto_jigwin_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
        saved_ = settings;
        saved_sounds_ = sound_list;
        settings.kage = settings.smooth = settings.nokosu = false;
        settings.ddraw = false;
        settings.desk_w = 640;
        settings.desk_h = 480;
        settings.win_left = settings.win_top = 0;
        settings.win_width = kClientW;
        settings.win_height = kClientH;
        settings.back_type = IDM_BACK_RGB;
        settings.back_gazou = settings.back_gazou_line = false;
        settings.view = settings.view_follow = settings.image = false;
        settings.view_dir = "pictures";
        settings.dtsave = true;
        settings.stretch_size = 0;
        settings.piece_num = 4;
        settings.kaiten = 236;
        settings.hanten = false;
        settings.seiretu = false;
        settings.line_num = 10;
        settings.sound = true;
        for (int32_t e = 1; e <= 13; ++e) sound_list[size_t(e - 1)].file = "ev" + std::to_string(e) + ".wav";
        picture_path.clear();
        save_path.clear();
        game_saved = close_without_asking = 0;
        write_picture("pic.bmp", 64, 64);
    }
    void TearDown() override {
        if (main_window) ws::destroy_window(main_window);
        ws::test::reset();
        if (current_game) end_game();
        picture_path.clear();
        save_path.clear();
        game_saved = close_without_asking = 0;
        settings = saved_;
        sound_list = saved_sounds_;
        fs::current_path(old_dir_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // Creates the main window (and with it the game window) on `picture`; nothing is delivered yet.
    void open(const std::string& picture) {
        picture_path = picture;
        register_main_window_class();
        ASSERT_TRUE(create_main_window());
        ASSERT_NE(game_window, 0);
    }
    // Opens `picture` and delivers everything: the pieces are cut and play has begun.
    void play(const std::string& picture) {
        open(picture);
        ws::test::pump();
        ASSERT_NE(current_game, nullptr);
        ASSERT_EQ(current_game->cut_count, current_game->item_count);
    }

    // Delivers one message; IDM_INIT_DISP arrivals are counted. False when nothing is left.
    bool deliver_one() {
        ws::Msg m;
        if (!ws::peek_message(m, ws::PM_REMOVE)) return false;
        if (m.message == IDM_INIT_DISP) ++steps_;
        ws::dispatch_message(m);
        return true;
    }
    // Delivers until the next IDM_INIT_DISP has been handled; false when none came.
    bool deliver_step() {
        const int32_t before = steps_;
        while (steps_ == before)
            if (!deliver_one()) return false;
        return true;
    }

    // How many times the sound of `event` was asked for.
    static int32_t plays_of(int32_t event) {
        int32_t n = 0;
        for (const auto& s : ws::test::sounds())
            if (s.path == sound_list[size_t(event - 1)].file) ++n;
        return n;
    }
    static std::string title() { return ws::get_window_text(main_window); }
    static Point on_screen(Point client) { return ws::client_to_screen(game_window, client); }
    // A desk point of item i's piece that is surely inside its shape: its centre.
    static Point piece_centre_on_window(int32_t i) {
        const Piece& p = *current_game->items[i].piece;
        return {p.cx - view_x, p.cy - view_y};
    }

    int32_t steps_ = 0;
    fs::path old_dir_, dir_;
    Settings saved_;
    std::array<SoundEntry, kSoundEvents> saved_sounds_;
};

}  // namespace jigwintest
