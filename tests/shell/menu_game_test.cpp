// The menu's game commands never lose the game in play: cancelled or failed opens, saves, resumes and pastes
// keep it; restart builds a resumed game again; setting commands wait for the next game.
#include <fstream>

#include "graphics/bmp_reader.h"
#include "play/jigwin_support.h"
#include "play/state.h"
#include "shell/menu.h"
#include "shell/shell_fixture.h"

using namespace jigwintest;

namespace {

class MenuGame : public GameWindowTest {
protected:
    static void command(uint32_t id) {
        ws::send_message(::play.main_window, ws::WM_COMMAND, id, 0);
        ws::test::pump();
    }
    static std::string last_text() { return ws::test::messages().empty() ? "" : ws::test::messages().back().text; }
};

TEST_F(MenuGame, ACancelledOpenKeepsTheGameAndItCanStillBeSaved) {
    play("pic.bmp");
    Jig* game = ::play.current_game;
    command(IDM_FOPEN);  // no answer: the dialog is cancelled
    EXPECT_EQ(::play.current_game, game);
    EXPECT_EQ(::play.picture_path, "pic.bmp");
    const auto& open = ws::test::dialogs().back();
    EXPECT_EQ(open.title, "選択");
    EXPECT_EQ(open.filter_index, 1);
    ws::test::push_file_answer(dir_.file("game"));
    command(IDM_SAVE);
    EXPECT_EQ(ws::test::dialogs().back().file_name, "pic.zlt");
    EXPECT_EQ(saved_game_usable("game.zlt"), 1);
    EXPECT_EQ(::play.save_path, dir_.file("game.zlt"));
    EXPECT_EQ(::play.game_saved, 1);
}

TEST_F(MenuGame, AFailedSaveLeavesTheGameUnsavedAndTheCloseStillAsks) {
    play("pic.bmp");
    ws::test::push_file_answer("no-such-folder/game.zlt");
    command(IDM_SAVE);
    EXPECT_EQ(::play.game_saved, 0);
    EXPECT_EQ(::play.save_path, "");
    EXPECT_EQ(ws::test::messages().size(), 1u);  // the failure was told
    ws::test::push_answer(ws::IDCANCEL);
    ws::post_message(::play.main_window, ws::WM_CLOSE, 0, 0);
    ws::test::pump();
    EXPECT_EQ(ws::test::messages().size(), 2u);
    EXPECT_TRUE(ws::is_window(::play.main_window));
    ws::test::advance(2000);  // the refused close left the main window's timer running
}

TEST_F(MenuGame, AMalformedSavedGameIsRefusedAndTheGameGoesOn) {
    play("pic.bmp");
    Jig* game = ::play.current_game;
    std::ofstream("bad.zlt", std::ios::binary) << "not a saved game at all";
    ws::test::push_file_answer("bad.zlt");
    command(IDM_LOAD);
    EXPECT_EQ(::play.current_game, game);
    EXPECT_EQ(::play.picture_path, "pic.bmp");
    EXPECT_EQ(::play.save_path, "");
    EXPECT_NE(last_text().find("bad.zlt"), std::string::npos) << last_text();
}

TEST_F(MenuGame, RestartBuildsAResumedGameAgainFromItsPicture) {
    play("pic.bmp");
    ASSERT_EQ(save_game(*::play.current_game, "g.zlt"), 1);
    ws::test::push_file_answer("g.zlt");
    command(IDM_LOAD);
    ASSERT_NE(::play.current_game, nullptr);
    ASSERT_EQ(::play.picture_path, kResumedPictureBmp);
    ::play.current_game->items[0].seen = 42;  // a mark only the resumed game carries
    ws::test::push_answer(ws::IDYES);
    command(IDM_RESTART);
    ASSERT_NE(::play.current_game, nullptr);
    EXPECT_NE(::play.current_game->items[0].seen, 42);
    EXPECT_EQ(::play.current_game->cut_count, 4);
    EXPECT_EQ(::play.save_path, "g.zlt");
}

TEST_F(MenuGame, ANewPieceCountWaitsForTheNextGameAndTheSameOneChangesNothing) {
    write_picture("big.bmp", 320, 240);
    play("big.bmp");
    command(IDM_PIECE_FIRST);  // 4, already set
    EXPECT_TRUE(ws::test::messages().empty());
    command(IDM_PIECE_FIRST + 3);  // 50
    EXPECT_EQ(settings.piece_num, 50);
    EXPECT_EQ(last_text(), "次回より有効となります。");
    EXPECT_EQ(ws::test::messages().back().caption, "設定");
    EXPECT_EQ(::play.current_game->item_count, 4);
    ws::test::push_file_answer(dir_.file("big.bmp"));
    command(IDM_FOPEN);
    ASSERT_NE(::play.current_game, nullptr);
    EXPECT_GT(::play.current_game->item_count, 30);
    EXPECT_EQ(settings.view_dir, dir_.string());
}

TEST_F(MenuGame, APastedJpegFileTakesTheNextFreeNameAndATextFileIsRefused) {
    fs::create_directories("pictures");
    std::ofstream("pictures/paste_0.jpg") << "taken";
    fs::copy_file(fs::path(ZELTO_SOURCE_DIR) / "data/data/mountains.jpg", "copied.JPG");
    std::ofstream("notes.txt") << "text";
    settings.stretch_size = 200;
    play("pic.bmp");
    Jig* game = ::play.current_game;
    ws::test::set_clipboard_files({dir_.file("notes.txt")});
    command(IDM_PASTE);
    EXPECT_EQ(::play.current_game, game);
    EXPECT_EQ(last_text(), "クリップボードにコピーされていません。（bmpまたはjpgファイルでない）");
    ws::test::set_clipboard_files({dir_.file("copied.JPG")});
    command(IDM_PASTE);
    EXPECT_EQ(::play.picture_path, "pictures\\paste_1.jpg");
    EXPECT_EQ(read_file("pictures/paste_1.jpg"), read_file("copied.JPG"));
    ASSERT_NE(::play.current_game, nullptr);
    EXPECT_NE(::play.current_game->pic_w, 64);  // built on the pasted picture
    EXPECT_EQ(::play.current_game->cut_count, ::play.current_game->item_count);
}

TEST_F(MenuGame, APastedBitmapBecomesTheBackgroundAsAFileOfItsOwn) {
    fs::create_directories("bkimg");
    play("pic.bmp");
    MemDC copied;
    copied.create(BIT_SCREEN, 8, 6);
    copied.fill(0, 0, 8, 6, 0x123456);
    ASSERT_TRUE(ws::clipboard_set_bitmap(copied));
    command(IDM_PASTE_BACK);
    EXPECT_EQ(settings.back_img, "bkimg\\paste_0.bmp");
    EXPECT_EQ(settings.back_type, int32_t(IDM_BACK_IMG_REN));
    BmpPicture written;
    ASSERT_TRUE(read_bmp_file(settings.back_img.c_str(), written));
    EXPECT_EQ(written.width, 8);
    EXPECT_EQ(written.words[0], colour_to_word(0x123456));
}

}  // namespace
