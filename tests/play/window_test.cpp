// The real game window: the road of a game (one piece per step, then play and the clock), dropped files and saved
// games, the mouse while cutting, closing with or without the save offer, and the end of a game.
#include <algorithm>
#include <fstream>

#include "graphics/cursor.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "play/jigwin_support.h"
#include "play/lifecycle.h"
#include "play/save.h"
#include "play/state.h"

using namespace jigwintest;

namespace {

class Road : public GameWindowTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GameWindowTest::SetUp();
        settings.ddraw = GetParam();
        depth_ = cursor_depth();
    }
    // Drops `file` on the game window and delivers what follows up to the new game's first message.
    void drop(const std::string& file) {
        ws::test::drop_files(::play.game_window, {file}, {10, 10});
        while (::play.picture_path != file) ASSERT_TRUE(deliver_one());
    }
    int32_t depth_ = 0;
};

TEST_P(Road, CutsOnePiecePerStepThenStartsPlayAndTheClock) {
    open("pic.bmp");
    ASSERT_EQ(::play.current_game->item_count, 4);
    EXPECT_EQ(desk.presenter != nullptr, GetParam());
    EXPECT_GT(cursor_depth(), depth_) << "busy while the pieces are cut";
    for (int32_t k = 1; k <= 4; ++k) {
        ASSERT_TRUE(deliver_step());
        EXPECT_EQ(::play.current_game->cut_count, k);
        EXPECT_TRUE(title_has(std::to_string(k) + "ﾋﾟｰｽ")) << title();
    }
    EXPECT_EQ((std::vector{plays_of(SOUND_GM_WAIT), plays_of(SOUND_GM_LOAD), plays_of(SOUND_GM_ST)}),
              (std::vector{1, 3, 0}));
    ASSERT_TRUE(deliver_step());  // the fifth: play begins
    EXPECT_FALSE(deliver_step()) << "no step may follow the start of play";
    EXPECT_EQ((std::vector{steps_, plays_of(SOUND_GM_ST), cursor_depth()}), (std::vector{5, 1, depth_ + 1}));
    EXPECT_TRUE(title_has("残り3ﾋﾟｰｽ  0時0分0秒")) << title();
    ws::test::advance(2000);
    ws::post_message(::play.game_window, IDM_INIT_DISP, 0, 0);  // a stray step neither cuts nor restarts the clock
    ws::test::pump();
    EXPECT_TRUE(title_has("0時0分2秒")) << title();
    EXPECT_EQ(plays_of(SOUND_GM_ST), 1);
    std::vector<int32_t> ids;
    for (int32_t i = 0; i < 4; ++i) ids.push_back(::play.current_game->items[i].id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector{0, 1, 2, 3}));
    EXPECT_EQ(window_faults(3), 0) << "the top piece shows in the window";
}

// A picture dropped while the first game is cut (the mouse ignored meanwhile) or after its last cut replaces it:
// the step left queued serves the new game and only the window's own arrow is left at the end.
TEST_P(Road, AGameReplacedWhileBeingCutLeavesOneChainOfStepsAndNoBusyCursor) {
    write_picture("other.bmp", 96, 64);
    for (const int32_t cuts : {1, 3}) {  // the drop lands after the second or after the last cut
        depth_ = cursor_depth();
        open("pic.bmp");
        for (int32_t k = 0; k < cuts; ++k) ASSERT_TRUE(deliver_step());
        for (const uint32_t msg : {ws::WM_LBUTTONDOWN, ws::WM_LBUTTONUP})  // ignored while cutting
            if (cuts == 1) ws::test::mouse(msg, on_screen(centre_of(0)));
        drop("other.bmp");
        EXPECT_EQ((std::vector{::play.current_game->holding, plays_of(SOUND_SEL)}), (std::vector{0, 0}));
        steps_ = 0;
        while (deliver_one()) {
        }
        ASSERT_EQ(::play.current_game->cut_count, ::play.current_game->item_count);
        EXPECT_EQ((std::vector{steps_, plays_of(SOUND_GM_ST), cursor_depth()}),
                  (std::vector{::play.current_game->item_count + 1, 1, depth_ + 1})) << cuts;
        ws::test::mouse(ws::WM_LBUTTONDOWN, on_screen(centre_of(3)));  // once play has begun a press picks up
        ws::test::pump();
        EXPECT_EQ((std::vector{::play.current_game->holding, plays_of(SOUND_SEL)}), (std::vector{1, 1}));
        finish();
        prepare();
    }
}

// A dropped saved game resumes with its groups where they lay, its own piece count and size, its time, and is
// drawn in the window on both paths.
TEST_P(Road, ADroppedSavedGameResumesAndIsDrawn) {
    play("pic.bmp");
    ::play.current_game->items[2].piece->cx += 37;
    ws::test::advance(5000);
    ASSERT_EQ(save_game(*::play.current_game, "game.zlt"), 1);
    const auto places = [] {
        std::vector<int32_t> out;
        for (int32_t i = 0; i < ::play.current_game->item_count; ++i) {
            const Item& it = ::play.current_game->items[i];
            out.insert(out.end(), {it.id, it.piece->cx, it.piece->cy, it.piece->view == nullptr});
        }
        return out;
    };
    std::vector<int32_t> before = places();
    for (size_t i = 3; i < before.size(); i += 4) before[i] = GetParam();  // the presenter keeps the views
    settings.piece_num = 20;
    settings.stretch_size = 300;
    ws::test::advance(7000);  // time between saving and resuming is not play time
    ws::test::drop_files(::play.game_window, {"game.ZLT"}, {5, 5});
    ws::test::pump();
    ASSERT_NE(::play.current_game, nullptr);
    EXPECT_EQ(places(), before);
    EXPECT_EQ((std::vector{::play.current_game->pic_w, ::play.current_game->cols}), (std::vector{64, 2}));
    EXPECT_EQ((std::vector<std::string>{::play.save_path, ::play.picture_path}),
              (std::vector<std::string>{"game.ZLT", kResumedPictureBmp}));
    EXPECT_TRUE(title_has("残り3ﾋﾟｰｽ  0時0分5秒")) << title();
    EXPECT_EQ(window_faults(3), 0);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, Road, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "presenter" : "plain"; });

class Window : public GameWindowTest {
protected:
    static void close_window() { ws::send_message(::play.main_window, ws::WM_CLOSE, 0, 0); }
    static std::string question(const std::string& name) {
        return "ゲーム中のデータを保存しますか？\n（保存先 : " + name + "）";
    }
};

TEST_F(Window, DroppedFilesStartAGameOrAreRefused) {
    play("pic.bmp");
    Jig* game = ::play.current_game;
    std::ofstream("notes.txt") << "not a picture";
    ASSERT_EQ(save_game(*::play.current_game, "broken.zlt"), 1);
    fs::resize_file("broken.zlt", 700);  // cut off inside the cell tables
    for (const char* refused : {"notes.txt", "broken.zlt"}) ws::test::drop_files(::play.game_window, {refused}, {5, 5});
    ws::test::pump();
    ASSERT_EQ(ws::test::messages().size(), 2u);
    const auto& box = ws::test::messages()[0];
    EXPECT_EQ((std::vector<std::string>{box.text, box.caption}),
              (std::vector<std::string>{"扱えない形式の画像です。", "zelto 通知"}));
    EXPECT_EQ((std::vector<int64_t>{int64_t(box.owner), box.type & 0xF}), (std::vector<int64_t>{0, ws::MB_OK}));
    EXPECT_NE(ws::test::messages()[1].text.find("再開できません"), std::string::npos);
    EXPECT_EQ(::play.current_game, game);
    EXPECT_EQ((std::vector<std::string>{::play.picture_path, ::play.save_path}),
              (std::vector<std::string>{"pic.bmp", ""}));
    write_picture("wide.bmp", 128, 64);
    ws::test::drop_files(::play.game_window, {"\"wide.bmp\""}, {5, 5});
    ws::test::pump();
    EXPECT_EQ(::play.picture_path, "wide.bmp");
    EXPECT_EQ((std::vector{::play.current_game->pic_w, ::play.current_game->cut_count}),
              (std::vector{128, ::play.current_game->item_count}));
    // A saved game named at start is resumed.
    ASSERT_EQ(save_game(*::play.current_game, "start.zlt"), 1);
    finish();
    prepare();
    play("start.zlt");
    EXPECT_EQ((std::vector<int64_t>{::play.current_game->pic_w, ::play.save_path == "start.zlt"}),
              (std::vector<int64_t>{128, 1}));
    EXPECT_EQ(graphics.emergency_save_hook, &emergency_save);
}

TEST_F(Window, FillsTheMainWindowAndCountsShiftAndF1OnlyWithTheGuideOpen) {
    play("pic.bmp");
    ws::move_window(::play.main_window, 0, 0, 520, 410, true);
    ws::test::pump();
    const Rect main = ws::get_client_rect(::play.main_window), game = ws::get_client_rect(::play.game_window);
    EXPECT_EQ((std::vector{game.width(), game.height()}), (std::vector{main.width() + 1, main.height() + 1}));
    const auto keys = [](uint32_t msg) {
        ws::test::key(msg, ws::VK_SHIFT);
        ws::test::key(msg, ws::VK_F1);
        ws::test::pump();
        return std::vector{::play.shift_down, ::play.f1_down};
    };
    EXPECT_EQ(keys(ws::WM_KEYDOWN), (std::vector{0, 0}));
    static const bool registered = ws::register_class({"TestGuide", ws::def_window_proc, 0, 0, 0, ""});
    (void)registered;
    ::play.guide_window = ws::create_window("TestGuide", "guide", ws::WS_POPUP, 0, 0, 50, 50, 0, 0);
    ws::set_focus(::play.main_window);
    EXPECT_EQ(keys(ws::WM_KEYDOWN), (std::vector{1, 1}));
    EXPECT_EQ(keys(ws::WM_KEYUP), (std::vector{0, 0}));
}

// Escape saves beside the picture without asking and ends the program; a save that fails is told and the game
// stays, its clock running.
TEST_F(Window, EscapeSavesWithoutAskingOrTellsWhyItCouldNot) {
    for (const bool picture_gone : {true, false}) {
        play("pic.bmp");
        if (picture_gone) fs::rename("pic.bmp", "away.bmp");  // the picture the save copies from is gone
        ws::test::key(ws::WM_KEYDOWN, ws::VK_ESCAPE);
        ws::test::pump();
        if (picture_gone) {
            ASSERT_EQ(ws::test::messages().size(), 1u);
            EXPECT_EQ(ws::test::messages()[0].text, "ゲーム中のデータを保存できませんでした。\n（保存先 : pic.zlt）");
            EXPECT_TRUE(ws::is_window(::play.game_window) && ::play.current_game);
            EXPECT_EQ((std::vector<int64_t>{::play.close_without_asking, ws::test::quit_requested()}),
                      (std::vector<int64_t>{0, 0}));
            const std::string before = title();
            ws::test::advance(2000);
            EXPECT_NE(title(), before) << "the clock runs on";
            finish();
            prepare();
            continue;
        }
        EXPECT_TRUE(ws::test::messages().empty());
        EXPECT_EQ((std::vector<int64_t>{saved_game_usable("pic.zlt"), ::play.save_path == "pic.zlt",
                                        ::play.current_game == nullptr}),
                  (std::vector<int64_t>{1, 1, 1}));
        EXPECT_EQ((std::vector{::play.game_window, ::play.main_window}), (std::vector<ws::Hwnd>{0, 0}));
        EXPECT_TRUE(ws::test::quit_requested());
        EXPECT_EQ(plays_of(SOUND_END), 1);
    }
}

TEST_F(Window, CancelKeepsTheGameAndItsClockNoClosesWithoutSaving) {
    ::play.game_saved = 1;  // left by an earlier game: a new one starts unsaved
    play("pic.bmp");
    Jig* game = ::play.current_game;
    ws::test::push_answer(ws::IDCANCEL);
    close_window();
    ASSERT_EQ(ws::test::messages().size(), 1u);
    const auto& box = ws::test::messages()[0];
    EXPECT_EQ((std::vector<std::string>{box.text, box.caption}),
              (std::vector<std::string>{question("pic.zlt"), "保存確認"}));
    EXPECT_EQ((std::vector<int64_t>{box.type & 0xF, int64_t(box.owner)}),
              (std::vector<int64_t>{ws::MB_YESNOCANCEL, int64_t(::play.game_window)}));
    EXPECT_TRUE(ws::is_window(::play.main_window) && ::play.current_game == game);
    ws::test::advance(3000);
    EXPECT_TRUE(title_has("0時0分3秒")) << title();
    ws::test::push_answer(ws::IDNO);
    close_window();
    EXPECT_EQ(ws::test::messages().size(), 2u);
    EXPECT_FALSE(fs::exists("pic.zlt"));
    EXPECT_TRUE(!::play.current_game && !::play.main_window);
}

TEST_F(Window, YesSavesUnderTheNameOfTheSavedGameTheGameCameFrom) {
    play("pic.bmp");
    ASSERT_EQ(save_game(*::play.current_game, "kept.zlt"), 1);
    ws::test::drop_files(::play.game_window, {"kept.zlt"}, {5, 5});
    ws::test::pump();
    ASSERT_EQ(::play.save_path, "kept.zlt");
    fs::remove("kept.zlt");
    ws::test::push_answer(ws::IDYES);
    close_window();
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text, question("kept.zlt"));
    EXPECT_EQ(saved_game_usable("kept.zlt"), 1);
    EXPECT_FALSE(fs::exists("pic.zlt"));
    EXPECT_EQ(::play.main_window, 0);
}

// No question when nothing can be lost: saved since the last change, finished, still being cut, or dtsave off.
TEST_F(Window, ClosingAsksNothingWhenThereIsNothingToSave) {
    for (int32_t k = 0; k < 4; ++k) {
        k == 2 ? open("pic.bmp") : play("pic.bmp");
        if (k == 0) ::play.game_saved = 1;
        if (k == 1) {  // finished: one group left
            for (int32_t i = 1; i < 4; ++i) delete std::exchange(::play.current_game->items[i].piece, nullptr);
            ::play.current_game->item_count = 1;
        }
        if (k == 3) settings.dtsave = false;
        close_window();
        EXPECT_TRUE(ws::test::messages().empty()) << "case " << k;
        EXPECT_TRUE(!::play.current_game && !::play.main_window) << "case " << k;
        EXPECT_FALSE(fs::exists("pic.zlt")) << "case " << k;
        finish();
        prepare();
    }
}

// Ending a game closes its companions, its presenter and its clock and deletes the temporary pictures; a window
// destroyed without a close (its parent went first) lets its desk go too.
TEST_F(Window, EndingTheGameOrDestroyingTheWindowLetsEverythingGo) {
    settings.ddraw = true;
    play("pic.bmp");
    static const bool registered = ws::register_class({"TestGuideEnd", ws::def_window_proc, 0, 0, 0, ""});
    (void)registered;
    ::play.guide_window = ws::create_window("TestGuideEnd", "guide", ws::WS_POPUP, 0, 0, 50, 50, 0, 0);
    const ws::Hwnd guide = ::play.guide_window;
    for (const char* name : kTempPictures) std::ofstream(name) << "x";
    ::play.last_selected = 2;
    ASSERT_GT(DDBase::live_surfaces(), 0);
    ws::test::mouse(ws::WM_LBUTTONDOWN, on_screen(centre_of(3)));  // ended while a piece is held
    ws::test::pump();
    end_game();
    EXPECT_EQ(ws::get_capture(), 0) << "the mouse is given back";
    EXPECT_EQ((std::vector<const void*>{::play.current_game, desk.presenter}),
              (std::vector<const void*>{nullptr, nullptr}));
    EXPECT_EQ((std::vector<int64_t>{DDBase::live_surfaces(), ws::is_window(guide), int64_t(::play.guide_window),
                                    ::play.last_selected}),
              (std::vector<int64_t>{0, 0, 0, -1}));
    for (const char* name : kTempPictures) EXPECT_FALSE(fs::exists(name)) << name;
    const std::string before = title();
    ws::test::advance(3000);
    EXPECT_EQ(title(), before) << "the clock stopped with the game";
    finish();
    prepare();
    play("pic.bmp");
    ASSERT_NE(desk.desk_image, nullptr);
    ws::destroy_window(::play.main_window);
    EXPECT_EQ((std::vector<const void*>{desk.desk_image, desk.desk_back, ::play.current_game, desk.presenter}),
              (std::vector<const void*>{nullptr, nullptr, nullptr, nullptr}));
    EXPECT_EQ(::play.game_window, 0);
}

TEST_F(Window, APictureIsKeptInThePictureFolderUnderAFreeName) {
    fs::create_directory("pictures");
    const std::string taken = "another picture of that name";
    std::ofstream("pictures/pic.bmp") << taken;
    std::ofstream("pictures/pic1.bmp") << "and another";
    std::string path = dir_.file("pic.bmp"), inside = "pictures/pic2.bmp", lying = "pic.bmp";
    keep_picture_copy(path);
    EXPECT_EQ(fs::canonical(path), fs::canonical("pictures/pic2.bmp"));
    EXPECT_EQ((std::vector{fs::file_size("pictures/pic2.bmp"), fs::file_size("pictures/pic.bmp")}),
              (std::vector{fs::file_size("pic.bmp"), taken.size()})) << "copied, never overwriting";
    keep_picture_copy(inside);  // already in the folder: no second copy
    EXPECT_FALSE(fs::exists("pictures/pic21.bmp"));
    settings.view_dir = "missing";  // no folder: played from where it lies
    keep_picture_copy(lying);
    EXPECT_EQ((std::vector<std::string>{inside, lying}), (std::vector<std::string>{"pictures/pic2.bmp", "pic.bmp"}));
    settings.view_dir = "pictures";
    play("pic.bmp");
    settings.view_follow = true;  // a dropped picture is played from its copy
    ws::test::drop_files(::play.game_window, {dir_.file("pic.bmp")}, {5, 5});
    ws::test::pump();
    EXPECT_EQ(fs::canonical(::play.picture_path), fs::canonical("pictures/pic3.bmp"));
    EXPECT_EQ(::play.save_path, "");
}

TEST_F(Window, AnUnreadablePictureLeavesNoGameAndTheMouseDoesNothing) {
    std::ofstream("broken.bmp") << "BM this is not a picture";
    const int32_t depth = cursor_depth();
    open("broken.bmp");
    ws::test::drop_files(::play.game_window, {"broken.bmp"}, {10, 10});
    ws::test::mouse(ws::WM_LBUTTONDOWN, on_screen({50, 50}));
    ws::test::mouse(ws::WM_LBUTTONUP, on_screen({50, 50}));
    ws::test::pump();
    EXPECT_EQ(::play.current_game, nullptr);
    EXPECT_EQ((std::vector{steps_, cursor_depth()}), (std::vector{0, depth + 1}));
    EXPECT_EQ(title(), "zelto");
}

}  // namespace
