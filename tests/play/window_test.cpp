// The real game window: the road of a game (one piece per step, then play and the clock), dropped files and saved
// games, the mouse while cutting, closing with or without the save offer, and the end of a game.
#include <algorithm>
#include <fstream>

#include "graphics/cursor.h"
#include "graphics/trace.h"
#include "play/jigwin_support.h"

using namespace jigwintest;

namespace {

class Road : public GameWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Road, CutsOnePiecePerStepThenStartsPlayAndTheClock) {
    settings.ddraw = GetParam();
    const int32_t depth = cursor_depth();
    open("pic.bmp");
    ASSERT_EQ(current_game->item_count, 4);
    EXPECT_EQ(presenter != nullptr, GetParam());
    EXPECT_GT(cursor_depth(), depth) << "busy while the pieces are cut";
    for (int32_t k = 1; k <= 4; ++k) {
        ASSERT_TRUE(deliver_step());
        EXPECT_EQ(current_game->cut_count, k);
        EXPECT_TRUE(title_has(std::to_string(k) + "ﾋﾟｰｽ")) << title();
    }
    EXPECT_EQ((std::vector{plays_of(SOUND_GM_WAIT), plays_of(SOUND_GM_LOAD), plays_of(SOUND_GM_ST)}),
              (std::vector{1, 3, 0}));
    ASSERT_TRUE(deliver_step());  // the fifth: play begins
    EXPECT_FALSE(deliver_step()) << "no step may follow the start of play";
    EXPECT_EQ((std::vector{steps_, current_game->cut_count, plays_of(SOUND_GM_ST)}), (std::vector{5, 4, 1}));
    EXPECT_EQ(cursor_depth(), depth + 1) << "only the window's own arrow is left";
    EXPECT_TRUE(title_has("残り3ﾋﾟｰｽ  0時0分0秒")) << title();
    ws::test::advance(2000);
    ws::post_message(game_window, IDM_INIT_DISP, 0, 0);  // a stray step neither cuts nor restarts the clock
    ws::test::pump();
    EXPECT_TRUE(title_has("0時0分2秒")) << title();
    EXPECT_EQ(plays_of(SOUND_GM_ST), 1);
    std::vector<int32_t> ids;
    for (int32_t i = 0; i < 4; ++i) ids.push_back(current_game->items[i].id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector{0, 1, 2, 3}));
    EXPECT_EQ(window_faults(3), 0) << "the top piece shows in the window";
}

// A picture dropped while the first game is cut replaces it; the step left queued serves the new game.
TEST_P(Road, AGameReplacedWhileBeingCutLeavesOneChainOfSteps) {
    settings.ddraw = GetParam();
    const int32_t depth = cursor_depth();
    open("pic.bmp");
    ASSERT_TRUE(deliver_step());
    const Point at = on_screen(centre_of(0));
    const double angle = current_game->items[0].piece->angle;
    ws::test::mouse(ws::WM_LBUTTONDOWN, at);  // ignored while cutting
    ws::test::mouse(ws::WM_LBUTTONUP, at);
    ASSERT_TRUE(deliver_step());
    ASSERT_TRUE(deliver_one() && deliver_one());  // the click arrives between the second and third cuts
    ASSERT_EQ(current_game->cut_count, 2);
    EXPECT_EQ((std::vector{current_game->holding, plays_of(SOUND_SEL)}), (std::vector{0, 0}));
    EXPECT_EQ(current_game->items[0].piece->angle, angle);
    write_picture("other.bmp", 96, 64);
    const std::string other = dir_.file("other.bmp");
    ws::test::drop_files(game_window, {other}, {10, 10});
    while (picture_path != other) ASSERT_TRUE(deliver_one());
    steps_ = 0;
    while (deliver_one()) {
    }
    ASSERT_NE(current_game, nullptr);
    EXPECT_EQ(current_game->cut_count, current_game->item_count);
    EXPECT_EQ((std::vector{steps_, plays_of(SOUND_GM_ST), cursor_depth()}),
              (std::vector{current_game->item_count + 1, 1, depth + 1}));
    ws::test::mouse(ws::WM_LBUTTONDOWN, on_screen(centre_of(3)));  // once play has begun a press picks up
    ws::test::pump();
    EXPECT_EQ((std::vector{current_game->holding, plays_of(SOUND_SEL)}), (std::vector{1, 1}));
}

// A dropped saved game resumes with its groups where they lay, its own piece count and size, its time, and is
// drawn in the window on both paths.
TEST_P(Road, ADroppedSavedGameResumesAndIsDrawn) {
    settings.ddraw = GetParam();
    play("pic.bmp");
    current_game->items[2].piece->cx += 37;
    ws::test::advance(5000);
    ASSERT_EQ(save_game(*current_game, "game.zlt"), 1);
    std::vector<int32_t> before;
    for (int32_t i = 0; i < 4; ++i) {
        const Item& it = current_game->items[i];
        before.insert(before.end(), {it.id, it.piece->cx, it.piece->cy});
    }
    settings.piece_num = 20;
    settings.stretch_size = 300;
    ws::test::advance(7000);  // time between saving and resuming is not play time
    ws::test::drop_files(game_window, {"game.ZLT"}, {5, 5});
    ws::test::pump();
    ASSERT_NE(current_game, nullptr);
    std::vector<int32_t> after;
    for (int32_t i = 0; i < current_game->item_count; ++i) {
        const Item& it = current_game->items[i];
        after.insert(after.end(), {it.id, it.piece->cx, it.piece->cy});
        EXPECT_EQ(it.piece->view == nullptr, GetParam()) << "the presenter keeps the views";
    }
    EXPECT_EQ(after, before);
    EXPECT_EQ((std::vector{current_game->pic_w, current_game->cols}), (std::vector{64, 2}));
    EXPECT_EQ(save_path, "game.ZLT");
    EXPECT_EQ(picture_path, kResumedPictureBmp);
    EXPECT_TRUE(title_has("残り3ﾋﾟｰｽ  0時0分5秒")) << title();
    EXPECT_EQ(window_faults(3), 0);
}

// A game replaced after its last cut but before the step that starts play gives its busy cursor back.
TEST_P(Road, AGameReplacedAfterItsLastCutLeavesNoBusyCursor) {
    settings.ddraw = GetParam();
    const int32_t depth = cursor_depth();
    open("pic.bmp");
    for (int32_t k = 0; k < 3; ++k) ASSERT_TRUE(deliver_step());
    write_picture("other.bmp", 96, 64);
    ws::test::drop_files(game_window, {"other.bmp"}, {10, 10});  // lands after the fourth and last cut
    ws::test::pump();
    ASSERT_EQ(picture_path, "other.bmp");
    EXPECT_EQ(cursor_depth(), depth + 1);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, Road, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "presenter" : "plain"; });

class Window : public GameWindowTest {};

TEST_F(Window, DroppedFilesStartAGameOrAreRefused) {
    play("pic.bmp");
    Jig* game = current_game;
    std::ofstream("notes.txt") << "not a picture";
    ASSERT_EQ(save_game(*current_game, "broken.zlt"), 1);
    fs::resize_file("broken.zlt", 700);  // cut off inside the cell tables
    for (const char* refused : {"notes.txt", "broken.zlt"}) ws::test::drop_files(game_window, {refused}, {5, 5});
    ws::test::pump();
    ASSERT_EQ(ws::test::messages().size(), 2u);
    const auto& box = ws::test::messages()[0];
    EXPECT_EQ((std::vector<std::string>{box.text, box.caption}),
              (std::vector<std::string>{"扱えない形式の画像です。", "zelto 通知"}));
    EXPECT_EQ((std::vector<int64_t>{int64_t(box.owner), box.type & 0xF}), (std::vector<int64_t>{0, ws::MB_OK}));
    EXPECT_NE(ws::test::messages()[1].text.find("再開できません"), std::string::npos);
    EXPECT_EQ(current_game, game);
    EXPECT_EQ((std::vector<std::string>{picture_path, save_path}), (std::vector<std::string>{"pic.bmp", ""}));
    write_picture("wide.bmp", 128, 64);
    ws::test::drop_files(game_window, {"\"wide.bmp\""}, {5, 5});
    ws::test::pump();
    EXPECT_EQ(picture_path, "wide.bmp");
    EXPECT_EQ(current_game->pic_w, 128);
    EXPECT_EQ(current_game->cut_count, current_game->item_count);
}

TEST_F(Window, ASavedGameNamedAtStartIsResumed) {
    play("pic.bmp");
    ASSERT_EQ(save_game(*current_game, "start.zlt"), 1);
    finish();
    prepare();
    play("start.zlt");
    EXPECT_EQ(save_path, "start.zlt");
    EXPECT_EQ(current_game->item_count, 4);
    EXPECT_EQ(emergency_save_hook, &emergency_save);
}

TEST_F(Window, FillsTheMainWindowAndCountsShiftAndF1OnlyWithTheGuideOpen) {
    play("pic.bmp");
    ws::move_window(main_window, 0, 0, 520, 410, true);
    ws::test::pump();
    const Rect main = ws::get_client_rect(main_window), game = ws::get_client_rect(game_window);
    EXPECT_EQ((std::vector{game.width(), game.height()}), (std::vector{main.width() + 1, main.height() + 1}));
    const auto keys = [](uint32_t msg) {
        ws::test::key(msg, ws::VK_SHIFT);
        ws::test::key(msg, ws::VK_F1);
        ws::test::pump();
        return std::vector{shift_down, f1_down};
    };
    EXPECT_EQ(keys(ws::WM_KEYDOWN), (std::vector{0, 0}));
    static const bool registered = ws::register_class({"TestGuide", ws::def_window_proc, 0, 0, 0, ""});
    (void)registered;
    guide_window = ws::create_window("TestGuide", "guide", ws::WS_POPUP, 0, 0, 50, 50, 0, 0);
    ws::set_focus(main_window);
    EXPECT_EQ(keys(ws::WM_KEYDOWN), (std::vector{1, 1}));
    EXPECT_EQ(keys(ws::WM_KEYUP), (std::vector{0, 0}));
}

std::string question(const std::string& name) { return "ゲーム中のデータを保存しますか？\n（保存先 : " + name + "）"; }

TEST_F(Window, EscapeSavesBesideThePictureWithoutAskingAndEndsTheProgram) {
    play("pic.bmp");
    ws::test::key(ws::WM_KEYDOWN, ws::VK_ESCAPE);
    ws::test::pump();
    EXPECT_TRUE(ws::test::messages().empty());
    EXPECT_EQ(saved_game_usable("pic.zlt"), 1);
    EXPECT_EQ(save_path, "pic.zlt");
    EXPECT_EQ(current_game, nullptr);
    EXPECT_EQ((std::vector{game_window, main_window}), (std::vector<ws::Hwnd>{0, 0}));
    EXPECT_TRUE(ws::test::quit_requested());
    EXPECT_EQ(plays_of(SOUND_END), 1);
}

TEST_F(Window, CancelKeepsTheGameAndItsClockNoClosesWithoutSaving) {
    play("pic.bmp");
    Jig* game = current_game;
    ws::test::push_answer(ws::IDCANCEL);
    ws::post_message(main_window, ws::WM_CLOSE, 0, 0);
    ws::test::pump();
    ASSERT_EQ(ws::test::messages().size(), 1u);
    const auto& box = ws::test::messages()[0];
    EXPECT_EQ((std::vector<std::string>{box.text, box.caption}),
              (std::vector<std::string>{question("pic.zlt"), "保存確認"}));
    EXPECT_EQ(box.type & 0xF, uint32_t(ws::MB_YESNOCANCEL));
    EXPECT_EQ(box.owner, game_window);
    EXPECT_TRUE(ws::is_window(main_window) && ws::is_window(game_window));
    EXPECT_EQ(current_game, game);
    ws::test::advance(3000);
    EXPECT_TRUE(title_has("0時0分3秒")) << title();
    ws::test::push_answer(ws::IDNO);
    ws::post_message(main_window, ws::WM_CLOSE, 0, 0);
    ws::test::pump();
    EXPECT_EQ(ws::test::messages().size(), 2u);
    EXPECT_FALSE(fs::exists("pic.zlt"));
    EXPECT_EQ(current_game, nullptr);
    EXPECT_EQ(main_window, 0);
}

TEST_F(Window, YesSavesUnderTheNameOfTheSavedGameTheGameCameFrom) {
    play("pic.bmp");
    ASSERT_EQ(save_game(*current_game, "kept.zlt"), 1);
    ws::test::drop_files(game_window, {"kept.zlt"}, {5, 5});
    ws::test::pump();
    ASSERT_EQ(save_path, "kept.zlt");
    fs::remove("kept.zlt");
    ws::test::push_answer(ws::IDYES);
    ws::send_message(main_window, ws::WM_CLOSE, 0, 0);
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text, question("kept.zlt"));
    EXPECT_EQ(saved_game_usable("kept.zlt"), 1);
    EXPECT_FALSE(fs::exists("pic.zlt"));
    EXPECT_EQ(main_window, 0);
}

// No question when nothing can be lost: saved since the last change, finished, still being cut, or dtsave off.
TEST_F(Window, ClosingAsksNothingWhenThereIsNothingToSave) {
    for (int32_t k = 0; k < 4; ++k) {
        if (k == 2) {
            open("pic.bmp");
        } else {
            play("pic.bmp");
        }
        if (k == 0) game_saved = 1;
        if (k == 1) {  // finished: one group left
            for (int32_t i = 1; i < 4; ++i) delete std::exchange(current_game->items[i].piece, nullptr);
            current_game->item_count = 1;
        }
        if (k == 3) settings.dtsave = false;
        ws::send_message(main_window, ws::WM_CLOSE, 0, 0);
        EXPECT_TRUE(ws::test::messages().empty()) << "case " << k;
        EXPECT_EQ(current_game, nullptr) << "case " << k;
        EXPECT_EQ(main_window, 0) << "case " << k;
        EXPECT_FALSE(fs::exists("pic.zlt")) << "case " << k;
        finish();
        prepare();
    }
}

TEST_F(Window, ASaveThatFailsIsReportedAndTheGameStaysEvenAfterEscape) {
    play("pic.bmp");
    Jig* game = current_game;
    fs::remove("pic.bmp");  // the picture the save copies from is gone
    ws::test::key(ws::WM_KEYDOWN, ws::VK_ESCAPE);
    ws::test::pump();
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text, "ゲーム中のデータを保存できませんでした。\n（保存先 : pic.zlt）");
    EXPECT_TRUE(ws::is_window(main_window) && ws::is_window(game_window));
    EXPECT_EQ(current_game, game);
    EXPECT_EQ(close_without_asking, 0);
    EXPECT_FALSE(ws::test::quit_requested());
    const std::string before = title();
    ws::test::advance(2000);
    EXPECT_NE(title(), before) << "the clock runs on";
}

// Ending a game closes its companions, its presenter and its clock and deletes the temporary pictures; a window
// destroyed without a close (its parent went first) lets its desk go too.
TEST_F(Window, EndingTheGameOrDestroyingTheWindowLetsEverythingGo) {
    settings.ddraw = true;
    play("pic.bmp");
    static const bool registered = ws::register_class({"TestGuideEnd", ws::def_window_proc, 0, 0, 0, ""});
    (void)registered;
    guide_window = ws::create_window("TestGuideEnd", "guide", ws::WS_POPUP, 0, 0, 50, 50, 0, 0);
    const ws::Hwnd guide = guide_window;
    for (const char* name : kTempPictures) std::ofstream(name) << "x";
    last_selected = 2;
    ASSERT_GT(DDBase::live_surfaces(), 0);
    end_game();
    EXPECT_EQ(current_game, nullptr);
    EXPECT_EQ(presenter, nullptr);
    EXPECT_EQ(DDBase::live_surfaces(), 0);
    EXPECT_FALSE(ws::is_window(guide));
    EXPECT_EQ((std::vector<int64_t>{int64_t(guide_window), last_selected}), (std::vector<int64_t>{0, -1}));
    for (const char* name : kTempPictures) EXPECT_FALSE(fs::exists(name)) << name;
    const std::string before = title();
    ws::test::advance(3000);
    EXPECT_EQ(title(), before) << "the clock stopped with the game";
    finish();
    prepare();
    play("pic.bmp");
    ASSERT_NE(desk_image, nullptr);
    ws::destroy_window(main_window);
    EXPECT_EQ((std::vector<const void*>{desk_image, desk_back, current_game, presenter}),
              (std::vector<const void*>{nullptr, nullptr, nullptr, nullptr}));
    EXPECT_EQ(game_window, 0);
}

TEST_F(Window, APictureIsKeptInThePictureFolderUnderAFreeName) {
    fs::create_directory("pictures");
    const std::string taken = "another picture of that name";
    std::ofstream("pictures/pic.bmp") << taken;
    std::ofstream("pictures/pic1.bmp") << "and another";
    std::string path = dir_.file("pic.bmp");
    keep_picture_copy(path);
    EXPECT_EQ(fs::canonical(path), fs::canonical("pictures/pic2.bmp"));
    EXPECT_EQ(fs::file_size("pictures/pic2.bmp"), fs::file_size("pic.bmp"));
    EXPECT_EQ(fs::file_size("pictures/pic.bmp"), taken.size()) << "never overwritten";
    std::string inside = "pictures/pic2.bmp";  // already in the folder: no second copy
    keep_picture_copy(inside);
    EXPECT_EQ(inside, "pictures/pic2.bmp");
    EXPECT_FALSE(fs::exists("pictures/pic21.bmp"));
    settings.view_dir = "missing";  // no folder: played from where it lies
    std::string lying = "pic.bmp";
    keep_picture_copy(lying);
    EXPECT_EQ(lying, "pic.bmp");
    settings.view_dir = "pictures";
    play("pic.bmp");
    settings.view_follow = true;  // a dropped picture is played from its copy
    ws::test::drop_files(game_window, {dir_.file("pic.bmp")}, {5, 5});
    ws::test::pump();
    EXPECT_EQ(fs::canonical(picture_path), fs::canonical("pictures/pic3.bmp"));
    EXPECT_EQ(save_path, "");
}

TEST_F(Window, AnUnreadablePictureLeavesNoGameAndTheMouseDoesNothing) {
    std::ofstream("broken.bmp") << "BM this is not a picture";
    const int32_t depth = cursor_depth();
    open("broken.bmp");
    ws::test::drop_files(game_window, {"broken.bmp"}, {10, 10});
    ws::test::mouse(ws::WM_LBUTTONDOWN, on_screen({50, 50}));
    ws::test::mouse(ws::WM_LBUTTONUP, on_screen({50, 50}));
    ws::test::pump();
    EXPECT_EQ(current_game, nullptr);
    EXPECT_EQ((std::vector{steps_, cursor_depth()}), (std::vector{0, depth + 1}));
    EXPECT_EQ(title(), "zelto");
}

}  // namespace
