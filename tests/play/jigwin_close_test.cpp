// Closing the game window: the save offer, ESC saving without asking, Cancel keeping the game and its clock, and
// a save that fails keeping the game.
#include <fstream>

#include "play/jigwin_support.h"

using namespace jigwintest;

namespace {

class Close : public GameWindowTest {
protected:
    std::string question(const std::string& name) const {
        return "ゲーム中のデータを保存しますか？\n（保存先 : " + name + "）";
    }
};

TEST_F(Close, EscapeSavesBesideThePictureWithoutAskingAndEndsTheProgram) {
    play("pic.bmp");
    ws::test::key(ws::WM_KEYDOWN, ws::VK_ESCAPE);
    ws::test::pump();
    EXPECT_TRUE(ws::test::messages().empty());
    EXPECT_EQ(saved_game_usable("pic.zlt"), 1);
    EXPECT_EQ(save_path, "pic.zlt");
    EXPECT_EQ(current_game, nullptr);
    EXPECT_EQ(game_window, 0);
    EXPECT_EQ(main_window, 0);
    EXPECT_TRUE(ws::test::quit_requested());
    EXPECT_EQ(plays_of(SOUND_END), 1);
}

TEST_F(Close, CancelKeepsTheGameAndItsClockAndALaterCloseAsksAgain) {
    play("pic.bmp");
    Jig* game = current_game;
    ws::test::push_answer(ws::IDCANCEL);
    ws::post_message(main_window, ws::WM_CLOSE, 0, 0);
    ws::test::pump();
    ASSERT_EQ(ws::test::messages().size(), 1u);
    const auto& box = ws::test::messages()[0];
    EXPECT_EQ(box.text, question("pic.zlt"));
    EXPECT_EQ(box.caption, "保存確認");
    EXPECT_EQ(box.type & 0xF, uint32_t(ws::MB_YESNOCANCEL));
    EXPECT_EQ(box.owner, game_window);
    EXPECT_TRUE(ws::is_window(main_window));
    EXPECT_TRUE(ws::is_window(game_window));
    EXPECT_EQ(current_game, game);
    EXPECT_FALSE(fs::exists("pic.zlt"));
    ws::test::advance(3000);
    EXPECT_NE(title().find("0時0分3秒"), std::string::npos) << title();

    ws::test::push_answer(ws::IDNO);
    ws::post_message(main_window, ws::WM_CLOSE, 0, 0);
    ws::test::pump();
    EXPECT_EQ(ws::test::messages().size(), 2u);
    EXPECT_FALSE(fs::exists("pic.zlt"));
    EXPECT_EQ(current_game, nullptr);
    EXPECT_EQ(main_window, 0);
}

TEST_F(Close, YesSavesUnderTheNameOfTheSavedGameTheGameCameFrom) {
    play("pic.bmp");
    ASSERT_EQ(save_game(*current_game, "kept.zlt"), 1);
    ws::test::drop_files(game_window, {"kept.zlt"}, {5, 5});
    ws::test::pump();
    ASSERT_NE(current_game, nullptr);
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

TEST_F(Close, AGameSavedSinceItsLastChangeOrNotYetCutClosesWithoutAQuestion) {
    play("pic.bmp");
    game_saved = 1;
    ws::send_message(main_window, ws::WM_CLOSE, 0, 0);
    EXPECT_TRUE(ws::test::messages().empty());
    EXPECT_EQ(main_window, 0);

    game_saved = 0;
    open("pic.bmp");  // closed while the pieces are still being cut
    ws::send_message(main_window, ws::WM_CLOSE, 0, 0);
    EXPECT_TRUE(ws::test::messages().empty());
    EXPECT_EQ(current_game, nullptr);
    EXPECT_FALSE(fs::exists("pic.zlt"));
}

TEST_F(Close, ASaveThatFailsIsReportedAndTheGameStaysEvenAfterEscape) {
    play("pic.bmp");
    Jig* game = current_game;
    fs::remove("pic.bmp");  // the picture the save copies from is gone
    ws::test::key(ws::WM_KEYDOWN, ws::VK_ESCAPE);
    ws::test::pump();
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text, "ゲーム中のデータを保存できませんでした。\n（保存先 : pic.zlt）");
    EXPECT_TRUE(ws::is_window(main_window));
    EXPECT_TRUE(ws::is_window(game_window));
    EXPECT_EQ(current_game, game);
    EXPECT_EQ(close_without_asking, 0);
    EXPECT_FALSE(ws::test::quit_requested());
    const std::string before = title();
    ws::test::advance(2000);
    EXPECT_NE(title(), before) << "the clock runs on";
}

}  // namespace
