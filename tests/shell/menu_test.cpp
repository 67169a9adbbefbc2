// The main menu: its game commands never lose the game in play, setting commands wait for the next game, its
// marks follow the settings, the entries added at creation, the quick right-click pop-ups, the file dialogs' rules,
// web entries and the bitmap exports.
#include <fstream>
#include <functional>
#include <map>

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
    std::string at(const std::string& v) const { return v == "@" ? dir_.string() : v[0] == '@' ? dir_.file(v.substr(1)) : v; }
    // Runs script `name` of golden/menu_scripts.txt (its format is told at the file's head).
    void run_script(const std::string& name) {
        const auto rows = shelltest::golden("menu_scripts");
        const std::map<std::string, std::function<std::string(const std::string&)>> observe = {
            {"dialog_title", [](auto&) { return ws::test::dialogs().back().title; }},
            {"dialog_filter", [](auto&) { return std::to_string(ws::test::dialogs().back().filter_index); }},
            {"dialog_file", [](auto&) { return ws::test::dialogs().back().file_name; }},
            {"message_mentions", [](auto& a) { return std::to_string(last_text().find(a) != std::string::npos); }},
            {"messages", [](auto&) { return std::to_string(ws::test::messages().size()); }},
            {"message", [](auto&) { return last_text(); }},
            {"caption", [](auto&) { return ws::test::messages().back().caption; }},
            {"same_game", [this](auto&) { return std::to_string(::play.current_game == kept_); }},
            {"picture", [](auto&) { return ::play.picture_path; }},
            {"save_path", [](auto&) { return ::play.save_path; }},
            {"saved", [](auto&) { return std::to_string(::play.game_saved); }},
            {"window", [](auto&) { return std::to_string(ws::is_window(::play.main_window)); }},
            {"usable", [](auto& a) { return std::to_string(saved_game_usable(a)); }},
            {"tagged",
             [](auto&) { return std::to_string(::play.current_game && ::play.current_game->items[0].seen == 42); }},
            {"cut", [](auto&) { return std::to_string(::play.current_game ? ::play.current_game->cut_count : -1); }},
            {"pieces",
             [](auto&) { return std::to_string(::play.current_game ? ::play.current_game->item_count : -1); }},
            {"piece_num", [](auto&) { return std::to_string(settings.piece_num); }},
            {"view_dir", [](auto&) { return settings.view_dir; }},
            {"opened", [](auto&) { return ws::test::opened().empty() ? "" : ws::test::opened().back(); }}};
        bool in = false;
        int steps = 0;
        for (const auto& r : rows) {
            if (r[0] == "script") in = r.at(1) == name;
            if (!in || r[0] == "script") continue;
            ++steps;
            SCOPED_TRACE(r[0] + " " + (r.size() > 1 ? r[1] : ""));
            const std::string& v = r.back();
            if (r[0] == "play") play(v);
            if (r[0] == "open") open(v);
            if (r[0] == "picture") write_picture(r.at(1), std::stoi(r.at(2)), std::stoi(v));
            if (r[0] == "write") shelltest::write_file(r.at(1), v);
            if (r[0] == "web") settings.web[size_t(std::stoi(r.at(1)))] = v;
            if (r[0] == "command") command(uint32_t(std::stoul(r.at(1), nullptr, 0)));
            if (r[0] == "answer") ws::test::push_answer(v == "yes" ? ws::IDYES : v == "no" ? ws::IDNO : ws::IDCANCEL);
            if (r[0] == "file") ws::test::push_file_answer(at(v));
            if (r[0] == "close") ws::post_message(::play.main_window, ws::WM_CLOSE, 0, 0), ws::test::pump();
            if (r[0] == "advance") ws::test::advance(uint32_t(std::stoul(v)));
            if (r[0] == "keep") kept_ = ::play.current_game;
            if (r[0] == "tag") ::play.current_game->items[0].seen = 42;
            if (r[0] == "expect") {
                ASSERT_TRUE(observe.count(r.at(1)));
                EXPECT_EQ(observe.at(r[1])(r.size() > 3 ? r[2] : ""), at(v));
            }
            if (HasFatalFailure()) return;
        }
        EXPECT_GT(steps, 0) << "no script " << name;
    }
    Jig* kept_ = nullptr;
};

TEST_F(Menu, CancelledOrRefusedCommandsKeepTheGame) { run_script("CancelledOrRefusedCommandsKeepTheGame"); }
TEST_F(Menu, RestartBuildsAResumedGameAgain) { run_script("RestartBuildsAResumedGameAgain"); }
TEST_F(Menu, ANewPieceCountWaitsForTheNextGame) { run_script("ANewPieceCountWaitsForTheNextGame"); }
TEST_F(Menu, ADocumentBesideTheProgramOpens) { run_script("ADocumentBesideTheProgramOpens"); }

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

// Golden table dialog_names: extensions added only when missing, folders cut at the last separator.
TEST(MenuDialog, ExtensionsAreAddedOnlyWhenMissingAndFoldersCutAtTheLastSeparator) {
    for (const auto& row : shelltest::golden("dialog_names"))
        EXPECT_EQ(row.at(0) == "folder" ? folder_of(row.at(1), "kept") : ensure_extension(row.at(1), row.at(2)),
                  row.back()) << row[1];
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
