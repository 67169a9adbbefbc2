// The player's language, chosen from the desktop's when the program starts: the play title, a menu and a message.
// CTest runs the program once per language, each with its own environment and filter (the desktop's language is
// read once per process): Japanese.* under LANGUAGE=ja, English.* under an English desktop and the C locale.
#include <gtest/gtest.h>

#include <string>

#include "desk/state.h"
#include "desk/title.h"
#include "puzzle/jig.h"
#include "resources/resources.h"
#include "ws/picture.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {

// What the player sees: the play title of a 5×4 game of 400×300 with 18 joins missing after 65 seconds, the
// menu bar's two entries, the message of a file whose name is no picture's, and the word for yes.
std::vector<std::string> shown() {
    ws::test::reset();
    ws::register_class({"LanguageTestWin", ws::def_window_proc, 0, 0, ws::NO_BACKGROUND, ""});
    display.main_window = ws::create_window("LanguageTestWin", "", ws::WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, 0, 0);
    Jig game(blank_game);
    game.on_desk = false;
    game.pic_w = 400, game.pic_h = 300, game.cols = 5, game.rows = 4, game.item_count = 19;
    display.clock_carry = 65;
    windowtitle(game, TITLE_RESUME);
    std::vector<std::string> s = {ws::get_window_text(display.main_window)};
    register_resources();
    const ws::Hmenu menu = ws::load_menu("IDM_MAIN_MENU");
    for (uint32_t k : {0u, 1u}) s.push_back(ws::get_menu_string(menu, k, ws::MF_BYPOSITION));
    ws::destroy_menu(menu);
    MemDC surface;
    surface.create(BIT_SCREEN, 1, 1);
    EXPECT_EQ(ws::load_picture(surface, "notes.txt"), 0);
    s.push_back(ws::test::messages().empty() ? "" : ws::test::messages().back().text);
    s.push_back(ws::tr("ws", "はい"));
    ws::test::reset();
    display.main_window = 0;
    return s;
}

TEST(Japanese, TextsAreThoseOfTheCodeByteForByte) {
    EXPECT_EQ(shown(), (std::vector<std::string>{"zelto 400×300 20ﾋﾟｰｽ(5×4) 残り18ﾋﾟｰｽ  0時1分5秒", "ﾌｧｲﾙ(&F)", "設定(&O)",
                                                 "画像が読み込めません。\n(拡張子が.BMP .JPG .JPEGでない)", "はい"}));
    EXPECT_FALSE(ws::english());
}

TEST(English, EveryTextShownIsEnglish) {
    EXPECT_EQ(shown(), (std::vector<std::string>{"zelto 400×300 20 pieces (5×4) 18 left 0:01:05", "&File", "&Options",
                                                 "Cannot read the picture.\n(The extension is not .BMP, .JPG or .JPEG)",
                                                 "Yes"}));
    EXPECT_TRUE(ws::english());
}

}  // namespace
