// The main menu: its game commands never lose the game in play, setting commands wait for the next game, its
// marks follow the settings, the entries added at creation, the quick right-click pop-ups, the file dialogs' rules,
// web entries and the bitmap exports.
#include <fstream>

#include "graphics/bmp_reader.h"
#include "pieces/desk.h"
#include "play/jigwin_support.h"
#include "play/state.h"
#include "shell/file_dialogs.h"
#include "shell/menu.h"
#include "shell/shell_test.h"
#include "shell/state.h"

using namespace jigwintest;
using shelltest::read_file;

namespace {

class Menu : public GameWindowTest {
protected:
    static void command(uint32_t id) {
        ws::send_message(::play.main_window, ws::WM_COMMAND, id, 0);
        ws::test::pump();
    }
    static std::string last_text() { return ws::test::messages().empty() ? "" : ws::test::messages().back().text; }
};

TEST_F(Menu, CancelledOrRefusedCommandsKeepTheGameAndAFailedSaveStillAsksOnClosing) {
    play("pic.bmp");
    Jig* game = ::play.current_game;
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
    EXPECT_EQ(std::tuple(::play.current_game, ::play.picture_path, ::play.save_path, ::play.game_saved),
              std::tuple(game, "pic.bmp", "", 0));
    ws::test::push_answer(ws::IDCANCEL);
    ws::post_message(::play.main_window, ws::WM_CLOSE, 0, 0);
    ws::test::pump();
    EXPECT_EQ(ws::test::messages().size(), 3u);
    EXPECT_TRUE(ws::is_window(::play.main_window));
    ws::test::advance(2000);  // the refused close left the main window's timer running
    ws::test::push_file_answer(dir_.file("game"));
    command(IDM_SAVE);
    EXPECT_EQ(ws::test::dialogs().back().file_name, "pic.zlt");
    EXPECT_EQ(saved_game_usable("game.zlt"), 1);
    EXPECT_EQ(std::tuple(::play.save_path, ::play.game_saved), std::tuple(dir_.file("game.zlt"), 1));
}

TEST_F(Menu, RestartBuildsAResumedGameAgainFromItsPicture) {
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

TEST_F(Menu, ANewPieceCountWaitsForTheNextGameAndTheSameOneChangesNothing) {
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
    EXPECT_EQ(::play.picture_path, "pic.bmp");
    EXPECT_EQ(last_text(), "クリップボードにコピーされていません。（bmpまたはjpgファイルでない）");
    ws::test::set_clipboard_files({dir_.file("copied.JPG")});
    command(IDM_PASTE);
    EXPECT_EQ(::play.picture_path, "pictures\\paste_1.jpg");
    EXPECT_EQ(read_file("pictures/paste_1.jpg"), read_file("copied.JPG"));
    ASSERT_NE(::play.current_game, nullptr);
    EXPECT_NE(::play.current_game->pic_w, 64);  // built on the pasted picture
    EXPECT_EQ(::play.current_game->cut_count, ::play.current_game->item_count);
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
    ws::Hmenu m = ws::get_sub_menu(ws::get_sub_menu(shell.main_menu, 1), pos);
    if (sub >= 0) m = ws::get_sub_menu(m, sub);
    std::vector<int32_t> out;
    for (int32_t i = 0; i < ws::get_menu_item_count(m); ++i)
        if (ws::get_menu_state(m, uint32_t(i), ws::MF_BYPOSITION) & ws::MF_CHECKED) out.push_back(i);
    return out;
}

TEST_F(Menu, EachSettingMarksExactlyItsEntry) {
    using V = std::vector<int32_t>;
    struct Case {
        int32_t pieces, stretch, kaiten;
        bool hanten, image;
        int32_t guide;
        bool nokosu;
        int32_t back;
        bool gazou, line, sound;
        std::vector<V> marks;  // pieces, stretch, rotation, turning over, guide, seams, background, finished, sound
    };
    const Case cases[] = {
        {50, 0, 234, true, true, 2, true, 245, true, true, true, {{3}, {0}, {0}, {0}, {2}, {0}, {2}, {1}, {0}}},
        {600, 1000, 236, false, false, 1, false, 243, true, false, false, {{12}, {9}, {2}, {1}, {3}, {1}, {0}, {0}, {1}}},
        // Values no entry offers clear their pop-up; an unknown rotation leaves the last mark.
        {33, 250, 99, true, true, 0, false, 244, false, true, true, {{}, {}, {2}, {0}, {0}, {1}, {1}, {2}, {0}}},
    };
    open("pic.bmp");
    for (const Case& c : cases) {
        settings.piece_num = c.pieces, settings.stretch_size = c.stretch, settings.kaiten = c.kaiten;
        settings.hanten = c.hanten, settings.image = c.image, settings.guide = c.guide, settings.nokosu = c.nokosu;
        settings.back_type = c.back, settings.back_gazou = c.gazou, settings.back_gazou_line = c.line;
        settings.sound = c.sound;
        menu_check();
        const V got[] = {checked(SETTINGS_PIECES), checked(SETTINGS_STRETCH), checked(SETTINGS_KAITEN),
                         checked(SETTINGS_HANTEN), checked(SETTINGS_GUIDE), checked(SETTINGS_NOKOSU),
                         checked(SETTINGS_BACK), checked(SETTINGS_BACK, kBackFinishedPicture), checked(SETTINGS_SOUND)};
        for (size_t i = 0; i < c.marks.size(); ++i) EXPECT_EQ(got[i], c.marks[i]) << c.pieces << " pop-up " << i;
    }
}

TEST_F(Menu, TrayStandsBeforeWebAndAnEmptyWebEntryEndsTheList) {
    settings.web[0] = "https://a.example/", settings.web[1] = "none", settings.web[2] = "";
    settings.web[3] = "https://b.example/";
    for (bool tray : {false, true}) {
        settings.tray = tray;
        open("pic.bmp");
        const int32_t web_at = tray ? 3 : 2;
        EXPECT_EQ(ws::get_menu_item_count(shell.main_menu), web_at + 1);
        if (tray) {
            EXPECT_EQ(ws::get_menu_item_id(shell.main_menu, 2), uint32_t(IDM_TRAY_ADD));
        }
        EXPECT_EQ(ws::get_menu_string(shell.main_menu, uint32_t(web_at), ws::MF_BYPOSITION), "Web");
        const ws::Hmenu web = ws::get_sub_menu(shell.main_menu, web_at);
        ASSERT_EQ(ws::get_menu_item_count(web), 1);
        EXPECT_EQ(ws::get_menu_item_id(web, 0), uint32_t(IDM_WEB_FIRST));
        ws::destroy_window(::play.main_window);
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
        ws::post_message(::play.main_window, ws::WM_RBUTTONDOWN, ws::MK_RBUTTON, ws::make_lparam(c.at.x, c.at.y));
        ws::test::pump();
        ws::test::advance(c.held);
        ws::post_message(::play.main_window, ws::WM_RBUTTONUP, 0, ws::make_lparam(c.at.x, c.at.y));
        ws::test::pump();
        ASSERT_EQ(ws::test::popups().size(), before + (c.popup < 0 ? 0 : 1));
        if (c.popup >= 0) {
            EXPECT_EQ(ws::test::popups().back().menu, ws::get_sub_menu(shell.main_menu, c.popup));
        }
    }
}

TEST(MenuDialog, ExtensionsAreAddedOnlyWhenMissingAndFoldersCutAtTheLastSeparator) {
    const struct { const char *path, *ext, *want; } extensions[] = {
        {"cat", ".bmp", "cat.bmp"}, {"cat.jpg", ".bmp", "cat.jpg.bmp"}, {"a/cat.Bmp", ".bmp", "a/cat.Bmp"},
        {".zlt", ".zlt", ".zlt.zlt"}, {"game.ZLT", ".zlt", "game.ZLT"}};
    for (const auto& c : extensions) EXPECT_EQ(ensure_extension(c.path, c.ext), c.want) << c.path;
    const struct { const char *path, *want; } folders[] = {
        {"/home/p/cat.jpg", "/home/p"}, {"D:\\pics\\cat.jpg", "D:\\pics"}, {"a\\b/c.bmp", "a\\b"},
        {"/cat.jpg", "/"}, {"cat.jpg", "kept"}};
    for (const auto& c : folders) EXPECT_EQ(folder_of(c.path, "kept"), c.want) << c.path;
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
        desk.view_x = 37, desk.view_y = 21;
        redraw_whole_window(::play.game_window);
        ws::test::push_file_answer(dir_.file("shot"));
        command(IDM_BMP_WIN);
        BmpPicture shot;
        ASSERT_TRUE(read_bmp_file("shot.bmp", shot)) << ddraw;
        MemDC& window = *ws::client_surface(::play.game_window);
        ASSERT_EQ(std::pair(shot.width, shot.height), std::pair(window.width(), window.height()));
        int32_t differing = 0;
        for (size_t i = 0; i < shot.words.size(); ++i) differing += (shot.words[i] ^ window.words()[i]) & 0xFFFFFF;
        EXPECT_EQ(differing, 0) << "presenter " << ddraw;
        ws::destroy_window(::play.main_window);
        ws::test::reset();
    }
}

// The all-pieces export writes one file per display item; with no piece chosen the single export asks for one.
TEST_F(Menu, AllPiecesGiveOneFileEachAndANoPieceChoiceIsAsked) {
    play("pic.bmp");
    ::play.last_selected =
        ::play.current_game->item_count;  // joins left the index beyond the items: no piece is chosen
    command(IDM_BMP_PIECE);
    EXPECT_EQ(last_text(), "どれかピースを選択してください。");
    command(IDM_BMP_PIECE_ALL);
    for (int32_t i = 0; i < 5; ++i) {
        BmpPicture piece;
        char name[32];
        std::snprintf(name, sizeof name, "PIECE_%03d.BMP", int(i));
        EXPECT_EQ(read_bmp_file(name, piece), i < 4) << name;
        EXPECT_EQ(piece.width, i < 4 ? ::play.current_game->items[i].piece->view_width : 0) << name;
    }
}

}  // namespace
