// The main menu: its game commands never lose the game in play, setting commands wait for the next game, its
// marks follow the settings, the entries added at creation, the quick right-click pop-ups, the file dialogs' rules,
// web entries and the bitmap exports.
#include <fstream>

#include "graphics/bmp_reader.h"
#include "play/jigwin_support.h"
#include "shell/file_dialogs.h"
#include "shell/menu.h"
#include "shell/shell_test.h"

using namespace jigwintest;
using shelltest::read_file;

namespace {

class Menu : public GameWindowTest {
protected:
    static void command(uint32_t id) {
        ws::send_message(main_window, ws::WM_COMMAND, id, 0);
        ws::test::pump();
    }
    static std::string last_text() { return ws::test::messages().empty() ? "" : ws::test::messages().back().text; }
};

TEST_F(Menu, CancelledOrRefusedCommandsKeepTheGameAndAFailedSaveStillAsksOnClosing) {
    play("pic.bmp");
    Jig* game = current_game;
    command(IDM_FOPEN);  // no answer: the dialog is cancelled
    EXPECT_EQ(ws::test::dialogs().back().title, "選択");
    EXPECT_EQ(ws::test::dialogs().back().filter_index, 1);
    std::ofstream("bad.zlt", std::ios::binary) << "not a saved game at all";
    ws::test::push_file_answer("bad.zlt");
    command(IDM_LOAD);
    EXPECT_NE(last_text().find("bad.zlt"), std::string::npos) << last_text();
    ws::test::push_file_answer("no-such-folder/game.zlt");
    command(IDM_SAVE);
    EXPECT_EQ(ws::test::messages().size(), 2u);  // the failure was told
    EXPECT_EQ(std::tuple(current_game, picture_path, save_path, game_saved), std::tuple(game, "pic.bmp", "", 0));
    ws::test::push_answer(ws::IDCANCEL);
    ws::post_message(main_window, ws::WM_CLOSE, 0, 0);
    ws::test::pump();
    EXPECT_EQ(ws::test::messages().size(), 3u);
    EXPECT_TRUE(ws::is_window(main_window));
    ws::test::advance(2000);  // the refused close left the main window's timer running
    ws::test::push_file_answer(dir_.file("game"));
    command(IDM_SAVE);
    EXPECT_EQ(ws::test::dialogs().back().file_name, "pic.zlt");
    EXPECT_EQ(saved_game_usable("game.zlt"), 1);
    EXPECT_EQ(std::tuple(save_path, game_saved), std::tuple(dir_.file("game.zlt"), 1));
}

TEST_F(Menu, RestartBuildsAResumedGameAgainFromItsPicture) {
    play("pic.bmp");
    ASSERT_EQ(save_game(*current_game, "g.zlt"), 1);
    ws::test::push_file_answer("g.zlt");
    command(IDM_LOAD);
    ASSERT_NE(current_game, nullptr);
    ASSERT_EQ(picture_path, kResumedPictureBmp);
    current_game->items[0].seen = 42;  // a mark only the resumed game carries
    ws::test::push_answer(ws::IDYES);
    command(IDM_RESTART);
    ASSERT_NE(current_game, nullptr);
    EXPECT_NE(current_game->items[0].seen, 42);
    EXPECT_EQ(current_game->cut_count, 4);
    EXPECT_EQ(save_path, "g.zlt");
}

TEST_F(Menu, ANewPieceCountWaitsForTheNextGameAndTheSameOneChangesNothing) {
    write_picture("big.bmp", 320, 240);
    play("big.bmp");
    command(IDM_PIECE_FIRST);  // 4, already set
    EXPECT_TRUE(ws::test::messages().empty());
    command(IDM_PIECE_FIRST + 3);  // 50
    EXPECT_EQ(settings.piece_num, 50);
    EXPECT_EQ(last_text(), "次回より有効となります。");
    EXPECT_EQ(ws::test::messages().back().caption, "設定");
    EXPECT_EQ(current_game->item_count, 4);
    ws::test::push_file_answer(dir_.file("big.bmp"));
    command(IDM_FOPEN);
    ASSERT_NE(current_game, nullptr);
    EXPECT_GT(current_game->item_count, 30);
    EXPECT_EQ(settings.view_dir, dir_.string());
}

TEST_F(Menu, PastedFilesTakeTheNextFreeNameAndAPastedBitmapBecomesTheBackground) {
    fs::create_directories("pictures");
    fs::create_directories("bkimg");
    std::ofstream("pictures/paste_0.jpg") << "taken";
    fs::copy_file(fs::path(ZELTO_SOURCE_DIR) / "data/data/mountains.jpg", "copied.JPG");
    std::ofstream("notes.txt") << "text";
    settings.stretch_size = 200;
    play("pic.bmp");
    ws::test::set_clipboard_files({dir_.file("notes.txt")});
    command(IDM_PASTE);
    EXPECT_EQ(picture_path, "pic.bmp");
    EXPECT_EQ(last_text(), "クリップボードにコピーされていません。（bmpまたはjpgファイルでない）");
    ws::test::set_clipboard_files({dir_.file("copied.JPG")});
    command(IDM_PASTE);
    EXPECT_EQ(picture_path, "pictures\\paste_1.jpg");
    EXPECT_EQ(read_file("pictures/paste_1.jpg"), read_file("copied.JPG"));
    ASSERT_NE(current_game, nullptr);
    EXPECT_NE(current_game->pic_w, 64);  // built on the pasted picture
    EXPECT_EQ(current_game->cut_count, current_game->item_count);
    MemDC copied;
    copied.create(BIT_SCREEN, 8, 6);
    copied.fill(0, 0, 8, 6, 0x123456);
    ASSERT_TRUE(ws::clipboard_set_bitmap(copied));
    command(IDM_PASTE_BACK);
    EXPECT_EQ(std::tuple(settings.back_img, settings.back_type), std::tuple("bkimg\\paste_0.bmp", int32_t(IDM_BACK_IMG_REN)));
    BmpPicture written;
    ASSERT_TRUE(read_bmp_file(settings.back_img.c_str(), written));
    EXPECT_EQ(std::tuple(written.width, written.words[0]), std::tuple(8, colour_to_word(0x123456)));
}

// Checked positions of entry `pos` of "設定(&O)" (or of its entry `sub`).
std::vector<int32_t> checked(int32_t pos, int32_t sub = -1) {
    ws::Hmenu m = ws::get_sub_menu(ws::get_sub_menu(main_menu, 1), pos);
    if (sub >= 0) m = ws::get_sub_menu(m, sub);
    std::vector<int32_t> out;
    for (int32_t i = 0; i < ws::get_menu_item_count(m); ++i)
        if (ws::get_menu_state(m, uint32_t(i), ws::MF_BYPOSITION) & ws::MF_CHECKED) out.push_back(i);
    return out;
}

// Golden table menu_marks: settings, then the positions each pop-up must check.
TEST_F(Menu, EachSettingMarksExactlyItsEntry) {
    open("pic.bmp");
    for (const auto& row : shelltest::golden("menu_marks")) {
        SCOPED_TRACE(row.at(0));
        const std::vector<int32_t> v = shelltest::numbers(row[0]);
        settings.piece_num = v.at(0), settings.stretch_size = v[1], settings.kaiten = v[2], settings.hanten = v[3];
        settings.image = v[4], settings.guide = v[5], settings.nokosu = v[6], settings.back_type = v[7];
        settings.back_gazou = v[8], settings.back_gazou_line = v[9], settings.sound = v.at(10);
        menu_check();
        const std::vector<int32_t> got[] = {
            checked(SETTINGS_PIECES), checked(SETTINGS_STRETCH), checked(SETTINGS_KAITEN),
            checked(SETTINGS_HANTEN), checked(SETTINGS_GUIDE), checked(SETTINGS_NOKOSU),
            checked(SETTINGS_BACK), checked(SETTINGS_BACK, kBackFinishedPicture), checked(SETTINGS_SOUND)};
        ASSERT_EQ(row.size(), std::size(got) + 1);
        for (size_t i = 0; i < std::size(got); ++i) EXPECT_EQ(got[i], shelltest::numbers(row[i + 1])) << "pop-up " << i;
    }
}

TEST_F(Menu, TrayStandsBeforeWebAndAnEmptyWebEntryEndsTheList) {
    settings.web[0] = "https://a.example/", settings.web[1] = "none", settings.web[2] = "";
    settings.web[3] = "https://b.example/";
    for (bool tray : {false, true}) {
        settings.tray = tray;
        open("pic.bmp");
        const int32_t web_at = tray ? 3 : 2;
        EXPECT_EQ(ws::get_menu_item_count(main_menu), web_at + 1);
        if (tray) {
            EXPECT_EQ(ws::get_menu_item_id(main_menu, 2), uint32_t(IDM_TRAY_ADD));
        }
        EXPECT_EQ(ws::get_menu_string(main_menu, uint32_t(web_at), ws::MF_BYPOSITION), "Web");
        const ws::Hmenu web = ws::get_sub_menu(main_menu, web_at);
        ASSERT_EQ(ws::get_menu_item_count(web), 1);
        EXPECT_EQ(ws::get_menu_item_id(web, 0), uint32_t(IDM_WEB_FIRST));
        ws::destroy_window(main_window);
        ws::test::reset();
    }
}

TEST_F(Menu, AQuickRightClickOpensTheFileMenuInTheCornerAndTheSettingsMenuElsewhere) {
    struct Case {
        Point at;
        uint32_t held;
        int32_t popup;  // -1: none
    } const cases[] = {{{3, 2}, 50, 0}, {{3, 7}, 50, 1}, {{3, 2}, 400, -1}};
    open("pic.bmp");
    for (const Case& c : cases) {
        const size_t before = ws::test::popups().size();
        ws::post_message(main_window, ws::WM_RBUTTONDOWN, ws::MK_RBUTTON, ws::make_lparam(c.at.x, c.at.y));
        ws::test::pump();
        ws::test::advance(c.held);
        ws::post_message(main_window, ws::WM_RBUTTONUP, 0, ws::make_lparam(c.at.x, c.at.y));
        ws::test::pump();
        ASSERT_EQ(ws::test::popups().size(), before + (c.popup < 0 ? 0 : 1));
        if (c.popup >= 0) {
            EXPECT_EQ(ws::test::popups().back().menu, ws::get_sub_menu(main_menu, c.popup));
        }
    }
}

// Golden table dialog_names: extensions added only when missing, folders cut at the last separator.
TEST(MenuDialog, ExtensionsAreAddedOnlyWhenMissingAndFoldersCutAtTheLastSeparator) {
    for (const auto& row : shelltest::golden("dialog_names"))
        EXPECT_EQ(row.at(0) == "folder" ? folder_of(row.at(1), "kept") : ensure_extension(row.at(1), row.at(2)),
                  row.back()) << row[1];
}

TEST_F(Menu, ADocumentBesideTheProgramOpensAndAMissingOneIsReported) {
    fs::create_directories("_readme");
    std::ofstream("_readme/readme.htm") << "<html></html>";
    settings.web[0] = "_readme\\README.HTM";
    settings.web[1] = "missing\\page.htm";
    open("pic.bmp");
    command(IDM_WEB_FIRST);
    command(IDM_WEB_FIRST + 1);
    EXPECT_EQ(ws::test::opened(), std::vector<std::string>{"_readme/readme.htm"});
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text, "ファイルを開けませんでした");
}

// The window export holds exactly what the window shows with the view moved, on both presentation paths.
TEST_F(Menu, TheWindowExportIsWhatTheWindowShows) {
    for (bool ddraw : {false, true}) {
        settings.ddraw = ddraw;
        play("pic.bmp");
        view_x = 37, view_y = 21;
        redraw_whole_window(game_window);
        ws::test::push_file_answer(dir_.file("shot"));
        command(IDM_BMP_WIN);
        BmpPicture shot;
        ASSERT_TRUE(read_bmp_file("shot.bmp", shot)) << ddraw;
        MemDC& window = *ws::client_surface(game_window);
        ASSERT_EQ(std::pair(shot.width, shot.height), std::pair(window.width(), window.height()));
        int32_t differing = 0;
        for (size_t i = 0; i < shot.words.size(); ++i) differing += (shot.words[i] ^ window.words()[i]) & 0xFFFFFF;
        EXPECT_EQ(differing, 0) << "presenter " << ddraw;
        ws::destroy_window(main_window);
        ws::test::reset();
    }
}

// The all-pieces export writes one file per display item; with no piece chosen the single export asks for one.
TEST_F(Menu, AllPiecesGiveOneFileEachAndANoPieceChoiceIsAsked) {
    play("pic.bmp");
    last_selected = current_game->item_count;  // joins left the index beyond the items: no piece is chosen
    command(IDM_BMP_PIECE);
    EXPECT_EQ(last_text(), "どれかピースを選択してください。");
    command(IDM_BMP_PIECE_ALL);
    for (int32_t i = 0; i < 5; ++i) {
        BmpPicture piece;
        char name[32];
        std::snprintf(name, sizeof name, "PIECE_%03d.BMP", int(i));
        EXPECT_EQ(read_bmp_file(name, piece), i < 4) << name;
        EXPECT_EQ(piece.width, i < 4 ? current_game->items[i].piece->view_width : 0) << name;
    }
}

}  // namespace
