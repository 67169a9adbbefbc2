// The road of a game: one piece per IDM_INIT_DISP, the step that starts play, unusable pictures, a game replaced
// while it is being cut, and the end of a game.
#include <algorithm>
#include <fstream>

#include "graphics/cursor.h"
#include "graphics/ddbase.h"
#include "play/jigwin_support.h"

using namespace jigwintest;

namespace {

class Road : public GameWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Road, CutsOnePiecePerStepThenStartsPlayAndTheClock) {
    settings.ddraw = GetParam();
    const int32_t depth = cursor_depth();
    open("pic.bmp");
    ASSERT_NE(current_game, nullptr);
    ASSERT_EQ(current_game->item_count, 4);  // a square picture and 4 pieces: a 2 x 2 grid
    EXPECT_EQ(presenter != nullptr, GetParam());
    EXPECT_GT(cursor_depth(), depth);  // busy while the pieces are cut
    for (int32_t k = 1; k <= 4; ++k) {
        ASSERT_TRUE(deliver_step());
        EXPECT_EQ(current_game->cut_count, k);
        EXPECT_NE(title().find(std::to_string(k) + "ﾋﾟｰｽ"), std::string::npos) << title();
    }
    EXPECT_EQ(plays_of(SOUND_GM_WAIT), 1);
    EXPECT_EQ(plays_of(SOUND_GM_LOAD), 3);
    EXPECT_EQ(plays_of(SOUND_GM_ST), 0);
    ASSERT_TRUE(deliver_step());  // the fifth: play begins
    EXPECT_FALSE(deliver_step()) << "no step may follow the start of play";
    EXPECT_EQ(steps_, 5);
    EXPECT_EQ(current_game->cut_count, 4);
    EXPECT_EQ(plays_of(SOUND_GM_ST), 1);
    EXPECT_EQ(cursor_depth(), depth + 1);  // only the window's own arrow is left
    EXPECT_NE(title().find("残り3ﾋﾟｰｽ  0時0分0秒"), std::string::npos) << title();
    ws::test::advance(2000);
    EXPECT_NE(title().find("0時0分2秒"), std::string::npos) << title();
    // A stray step once play has begun neither cuts nor starts the clock again.
    ws::post_message(game_window, IDM_INIT_DISP, 0, 0);
    ws::test::pump();
    EXPECT_NE(title().find("0時0分2秒"), std::string::npos) << title();
    EXPECT_EQ(plays_of(SOUND_GM_ST), 1);
    std::vector<int32_t> ids;
    for (int32_t i = 0; i < 4; ++i) ids.push_back(current_game->items[i].id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<int32_t>{0, 1, 2, 3}));  // every cell cut exactly once
}

TEST_P(Road, AGameReplacedWhileBeingCutLeavesOneChainOfSteps) {
    settings.ddraw = GetParam();
    const int32_t depth = cursor_depth();
    open("pic.bmp");
    ASSERT_TRUE(deliver_step());
    ASSERT_TRUE(deliver_step());
    write_picture("other.bmp", 96, 64);
    const std::string other = (dir_ / "other.bmp").string();
    ws::test::drop_files(game_window, {other}, {10, 10});
    while (picture_path != other) ASSERT_TRUE(deliver_one());
    // The step the first game left queued serves the new one; no second chain starts.
    steps_ = 0;
    while (deliver_one()) {
    }
    ASSERT_NE(current_game, nullptr);
    EXPECT_EQ(current_game->cut_count, current_game->item_count);
    EXPECT_EQ(steps_, current_game->item_count + 1);
    EXPECT_EQ(plays_of(SOUND_GM_ST), 1);
    EXPECT_EQ(cursor_depth(), depth + 1);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, Road, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "presenter" : "plain"; });

class Unusable : public GameWindowTest {};

TEST_F(Unusable, AnUnreadablePictureLeavesNoGameAndTheMouseDoesNothing) {
    std::ofstream("broken.bmp") << "BM this is not a picture";
    const int32_t depth = cursor_depth();
    open("broken.bmp");
    EXPECT_EQ(current_game, nullptr);
    ws::test::drop_files(game_window, {"broken.bmp"}, {10, 10});
    ws::test::pump();
    EXPECT_EQ(current_game, nullptr);
    EXPECT_EQ(steps_, 0);
    ws::test::mouse(ws::WM_LBUTTONDOWN, on_screen({50, 50}));
    ws::test::mouse(ws::WM_LBUTTONUP, on_screen({50, 50}));
    ws::test::pump();
    EXPECT_EQ(current_game, nullptr);
    EXPECT_EQ(cursor_depth(), depth + 1);
    EXPECT_EQ(ws::get_window_text(main_window), "zelto");
}

class GameEnd : public GameWindowTest {};

TEST_F(GameEnd, EndingAGameClosesItsCompanionsAndDeletesTheTemporaryPictures) {
    settings.ddraw = true;
    play("pic.bmp");
    static const bool registered = ws::register_class({"JigwinGuide", ws::def_window_proc, 0, 0, 0, ""});
    (void)registered;
    guide_window = ws::create_window("JigwinGuide", "guide", ws::WS_POPUP, 0, 0, 50, 50, 0, 0);
    const ws::Hwnd guide = guide_window;
    for (const char* name : kTempPictures) std::ofstream(name) << "x";
    last_selected = 2;
    ASSERT_GT(DDBase::live_surfaces(), 0);
    end_game();
    EXPECT_EQ(current_game, nullptr);
    EXPECT_EQ(presenter, nullptr);
    EXPECT_EQ(DDBase::live_surfaces(), 0);
    EXPECT_FALSE(ws::is_window(guide));
    EXPECT_EQ(guide_window, 0);
    EXPECT_EQ(last_selected, -1);
    for (const char* name : kTempPictures) EXPECT_FALSE(fs::exists(name)) << name;
    // The clock stopped with the game: time passing changes nothing.
    const std::string before = title();
    ws::test::advance(3000);
    EXPECT_EQ(title(), before);
}

TEST_F(GameEnd, APictureIsKeptInThePictureFolderUnderAFreeName) {
    fs::create_directory("pictures");
    const std::string taken = "another picture of that name";
    std::ofstream("pictures/pic.bmp") << taken;
    std::ofstream("pictures/pic1.bmp") << "and another";
    std::string path = (dir_ / "pic.bmp").string();
    keep_picture_copy(path);
    EXPECT_EQ(fs::canonical(path), fs::canonical("pictures/pic2.bmp"));
    EXPECT_EQ(fs::file_size("pictures/pic2.bmp"), fs::file_size("pic.bmp"));
    EXPECT_EQ(fs::file_size("pictures/pic.bmp"), taken.size());  // never overwritten

    // A picture already in the folder is played from there, without a second copy.
    std::string inside = "pictures/pic2.bmp";
    keep_picture_copy(inside);
    EXPECT_EQ(inside, "pictures/pic2.bmp");
    EXPECT_FALSE(fs::exists("pictures/pic21.bmp"));

    // No folder to copy into: the picture is played from where it lies.
    settings.view_dir = "missing";
    std::string lying = "pic.bmp";
    keep_picture_copy(lying);
    EXPECT_EQ(lying, "pic.bmp");
}

TEST_F(GameEnd, ADroppedPictureIsPlayedFromItsCopyWhenTheFolderKeepsThem) {
    fs::create_directory("pictures");
    std::ofstream("pictures/pic.bmp") << "taken";
    play("pic.bmp");
    settings.view_follow = true;
    ws::test::drop_files(game_window, {(dir_ / "pic.bmp").string()}, {5, 5});
    ws::test::pump();
    ASSERT_NE(current_game, nullptr);
    EXPECT_EQ(fs::canonical(picture_path), fs::canonical("pictures/pic1.bmp"));
    EXPECT_EQ(save_path, "");
}

}  // namespace
