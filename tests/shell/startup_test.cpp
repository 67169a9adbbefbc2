// Start-up: the argument quote rule, the first run without settings, and the main window's own rules.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "play/save.h"
#include "play/state.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "ws/ws.h"

namespace fs = std::filesystem;

TEST(StartupArguments, QuotesAreRemovedAndBlanksKept) {
    EXPECT_EQ(picture_from_argument("\"D:\\pics\\a b.jpg\""), "D:\\pics\\a b.jpg");
    EXPECT_EQ(picture_from_argument("two words.jpg"), "two words.jpg");
    EXPECT_EQ(picture_from_argument("\""), "");
    EXPECT_EQ(picture_from_argument(""), "");
    char a0[] = "zelto", a1[] = "my", a2[] = "picture.jpg";
    char* argv[] = {a0, a1, a2};
    EXPECT_EQ(argument_text(3, argv), "my picture.jpg");
    EXPECT_EQ(argument_text(1, argv), "");
}

class FirstRun : public ::testing::Test {
protected:
    void SetUp() override {
        old_dir_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("zelto_startup_" + std::to_string(getpid()));
        fs::create_directories(dir_);
        saved_ = settings;
    }
    void TearDown() override {
        fs::current_path(old_dir_);
        fs::remove_all(dir_);
        settings = saved_;
        ws::test::reset();
    }
    fs::path old_dir_, dir_;
    Settings saved_;
};

TEST_F(FirstRun, MissingSettingsGiveDefaultsAndTheFileIsWrittenAtTheEnd) {
    settings = Settings();
    startup(dir_.string(), "\"x y.jpg\"");
    EXPECT_EQ(fs::current_path(), dir_);
    EXPECT_EQ(play.picture_path, "x y.jpg");
    EXPECT_EQ(settings.piece_num, 20);
    for (const char* name : kTempPictures) std::ofstream(dir_ / name) << "x";
    finish_run();
    EXPECT_TRUE(fs::exists(dir_ / "ZELTORC.TXT"));
    for (const char* name : kTempPictures) EXPECT_FALSE(fs::exists(dir_ / name)) << name;
}

TEST_F(FirstRun, AMissingFolderLeavesTheCurrentOne) {
    startup((dir_ / "no_such_folder").string(), "");
    EXPECT_EQ(fs::current_path(), old_dir_);
    EXPECT_EQ(play.picture_path, "");
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = settings;
        settings.win_left = 40, settings.win_top = 30, settings.win_width = 400, settings.win_height = 300;
        register_main_window_class();
        ASSERT_TRUE(create_main_window());
        ASSERT_NE(play.main_window, 0);
    }
    void TearDown() override {
        if (play.main_window) ws::destroy_window(play.main_window);
        settings = saved_;
        ws::test::reset();
    }
    // Runs the loop until it ends; true when the quit message came.
    bool loop_quits() {
        ws::Msg msg;
        while (ws::get_message(msg)) ws::dispatch_message(msg);
        return msg.message == ws::WM_QUIT;
    }
    Settings saved_;
};

TEST_F(MainWindow, TitleAndPlacementComeFromTheSettings) {
    EXPECT_EQ(ws::get_window_text(play.main_window), "zelto");
    ws::move_window(play.main_window, 70, 80, 500, 350, true);
    ws::test::pump();
    const Rect r = ws::get_window_rect(play.main_window);
    EXPECT_EQ((Rect{settings.win_left, settings.win_top, settings.win_left + settings.win_width,
                    settings.win_top + settings.win_height}),
              r);
    EXPECT_EQ(r.width(), 500);
}

TEST_F(MainWindow, EscapeOrCloseEndsTheProgram) {
    play.close_without_asking = 0;
    ws::send_message(play.main_window, ws::WM_KEYDOWN, ws::VK_ESCAPE, 0);
    EXPECT_EQ(play.close_without_asking, 1);
    EXPECT_TRUE(loop_quits());
    EXPECT_EQ(play.main_window, 0);
    ASSERT_TRUE(create_main_window());
    ws::post_message(play.main_window, ws::WM_CLOSE, 0, 0);
    EXPECT_TRUE(loop_quits());
    EXPECT_EQ(play.main_window, 0);
}
