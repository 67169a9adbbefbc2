// The main menu: its game commands never lose the game in play, setting commands wait for the next game, its
// marks follow the settings, the entries added at creation, the quick right-click pop-ups, pasting, the file
// dialogs' rules, web entries and the bitmap exports (the window's one exactly what the window shows).
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

using Row = std::vector<std::string>;

// Width and first word of a bitmap file, or "none" when it does not read.
std::string bmp_of(const std::string& name) {
    BmpPicture b;
    if (!read_bmp_file(name.c_str(), b)) return "none";
    char out[40];
    std::snprintf(out, sizeof out, "%d 0x%06X", int(b.width), unsigned(b.words.at(0) & 0xFFFFFF));
    return out;
}

class Menu : public GameWindowTest {
protected:
    static void command(uint32_t id) {
        ws::send_message(::play.main_window, ws::WM_COMMAND, id, 0);
        ws::test::pump();
    }
    static std::string last_text() { return ws::test::messages().empty() ? "" : ws::test::messages().back().text; }
    std::string at(const std::string& v) const {
        return v == "@" ? dir_.string() : v[0] == '@' ? dir_.file(v.substr(1)) : v;
    }
    static void right_click(int32_t x, int32_t y, uint32_t held) {
        ws::post_message(::play.main_window, ws::WM_RBUTTONDOWN, ws::MK_RBUTTON, ws::make_lparam(x, y));
        ws::test::pump();
        ws::test::advance(held);
        ws::post_message(::play.main_window, ws::WM_RBUTTONUP, 0, ws::make_lparam(x, y));
        ws::test::pump();
    }
    static std::string n(int64_t v) { return std::to_string(v); }
    static Jig* game() { return ::play.current_game; }
    // Runs script `name` of golden/menu_scripts.txt (its format is told at the file's head).
    void run_script(const std::string& name) {
        using Probe = std::function<std::string(const std::string&)>;
        const std::map<std::string, Probe> observe = {
            {"dialog_title", [](auto&) { return ws::test::dialogs().back().title; }},
            {"dialog_filter", [](auto&) { return n(ws::test::dialogs().back().filter_index); }},
            {"dialog_file", [](auto&) { return ws::test::dialogs().back().file_name; }},
            {"messages", [](auto&) { return n(int64_t(ws::test::messages().size())); }},
            {"message", [](auto&) { return last_text(); }},
            {"caption", [](auto&) { return ws::test::messages().back().caption; }},
            {"same_game", [this](auto&) { return n(game() == kept_); }},
            {"picture", [](auto&) { return ::play.picture_path; }},
            {"save_path", [](auto&) { return ::play.save_path; }},
            {"saved", [](auto&) { return n(::play.game_saved); }},
            {"window", [](auto&) { return n(ws::is_window(::play.main_window)); }},
            {"usable", [](auto& a) { return n(saved_game_usable(a)); }},
            {"tagged", [](auto&) { return n(game() && game()->items[0].seen == 42); }},
            {"cut", [](auto&) { return n(game() ? game()->cut_count : -1); }},
            {"pieces", [](auto&) { return n(game() ? game()->item_count : -1); }},
            {"pic_w", [](auto&) { return n(game() ? game()->pic_w : -1); }},
            {"piece_num", [](auto&) { return n(settings.piece_num); }},
            {"view_dir", [](auto&) { return settings.view_dir; }},
            {"back", [](auto&) { return settings.back_img + " " + n(settings.back_type); }},
            {"opened", [](auto&) { return ws::test::opened().empty() ? "" : ws::test::opened().back(); }},
            {"bytes_of", [](auto& a) { return read_file(a); }},
            {"bmp", [](auto& a) { return bmp_of(a); }},
            // Pixels of bitmap file a that differ from what the game window shows, "none" when it does not read.
            {"window_differs",
             [](auto& a) {
                 BmpPicture shot;
                 const MemDC& window = *ws::client_surface(::play.game_window);
                 if (!read_bmp_file(a.c_str(), shot) || shot.words.size() != size_t(window.width() * window.height()))
                     return std::string("none");
                 int32_t differing = 0;
                 for (size_t i = 0; i < shot.words.size(); ++i)
                     differing += (shot.words[i] ^ window.words()[i]) & 0xFFFFFF;
                 return n(differing);
             }},
            // Whether PIECE_<i>.BMP holds item i's whole view, "none" when no such file reads.
            {"piece_file",
             [](auto& a) {
                 const std::string b = bmp_of("PIECE_00" + a + ".BMP");
                 return b == "none" ? b : n(std::stoi(b) == game()->items[std::stoi(a)].piece->view_width);
             }},
            {"menu_entries", [](auto&) { return n(ws::get_menu_item_count(shell.main_menu)); }},
            {"menu_id", [](auto& a) { return n(ws::get_menu_item_id(shell.main_menu, std::stoi(a))); }},
            {"menu_name",
             [](auto& a) { return ws::get_menu_string(shell.main_menu, std::stoul(a), ws::MF_BYPOSITION); }},
            {"entry_ids",
             [](auto& a) {
                 const ws::Hmenu m = ws::get_sub_menu(shell.main_menu, std::stoi(a));
                 std::string ids;
                 for (int32_t i = 0; i < ws::get_menu_item_count(m); ++i)
                     ids += (i ? " " : "") + n(ws::get_menu_item_id(m, i));
                 return ids;
             }},
            {"popups", [](auto&) { return n(int64_t(ws::test::popups().size())); }},
            {"popup",
             [](auto&) { return n(ws::test::popups().back().menu == ws::get_sub_menu(shell.main_menu, 0) ? 0 : 1); }}};
        const std::map<std::string, std::function<void(const Row&)>> act = {
            {"play", [this](auto& r) { play(r[1]); }},
            {"open", [this](auto& r) { open(r[1]); }},
            {"picture", [](auto& r) { write_picture(r.at(1), std::stoi(r.at(2)), std::stoi(r.at(3))); }},
            {"write", [](auto& r) { shelltest::write_file(r.at(1), r.at(2)); }},
            {"copy", [](auto& r) { fs::copy_file(fs::path(ZELTO_SOURCE_DIR) / r.at(1), r.at(2)); }},
            {"mkdir", [](auto& r) { fs::create_directories(r.at(1)); }},
            {"web", [](auto& r) { settings.web[size_t(std::stoi(r.at(1)))] = r.at(2); }},
            {"tray", [](auto& r) { settings.tray = r[1] == "1"; }},
            {"stretch", [](auto& r) { settings.stretch_size = std::stoi(r[1]); }},
            {"ddraw", [](auto& r) { settings.ddraw = r[1] == "1"; }},
            {"view",
             [](auto& r) {
                 desk.view_x = std::stoi(r.at(1)), desk.view_y = std::stoi(r.at(2));
                 redraw_whole_window(::play.game_window);
             }},
            {"command", [](auto& r) { command(uint32_t(std::stoul(r.at(1), nullptr, 0))); }},
            {"answer",
             [](auto& r) {
                 ws::test::push_answer(r[1] == "yes" ? ws::IDYES : r[1] == "no" ? ws::IDNO : ws::IDCANCEL);
             }},
            {"file", [this](auto& r) { ws::test::push_file_answer(at(r[1])); }},
            {"clipboard_file", [this](auto& r) { ws::test::set_clipboard_files({at(r[1])}); }},
            {"clipboard_bitmap",
             [](auto& r) {
                 MemDC copied;
                 copied.create(BIT_SCREEN, 8, 6);
                 copied.fill(0, 0, 8, 6, std::stoul(r.at(1), nullptr, 0));
                 ASSERT_TRUE(ws::clipboard_set_bitmap(copied));
             }},
            {"right_click", [](auto& r) { right_click(std::stoi(r.at(1)), std::stoi(r.at(2)), std::stoul(r.at(3))); }},
            {"close", [](auto&) { ws::post_message(::play.main_window, ws::WM_CLOSE, 0, 0), ws::test::pump(); }},
            {"advance", [](auto& r) { ws::test::advance(uint32_t(std::stoul(r[1]))); }},
            {"keep", [this](auto&) { kept_ = game(); }},
            {"tag", [](auto&) { game()->items[0].seen = 42; }},
            {"unselect", [](auto&) { ::play.last_selected = game()->item_count; }},
            {"expect", [&](auto& r) {
                 ASSERT_TRUE(observe.count(r.at(1)));
                 EXPECT_EQ(observe.at(r[1])(r.size() > 3 ? r[2] : ""), at(r.back()));
             }}};
        bool in = false;
        for (const auto& r : shelltest::golden("menu_scripts")) {
            if (r[0] == "script") in = r.at(1) == name;
            if (!in || r[0] == "script") continue;
            SCOPED_TRACE(r[0] + " " + (r.size() > 1 ? r[1] : ""));
            ASSERT_TRUE(act.count(r[0])) << "no action " << r[0];
            act.at(r[0])(r.size() > 1 ? r : Row{r[0], ""});
            if (HasFatalFailure()) return;
        }
    }
    Jig* kept_ = nullptr;
};

// Every script of golden/menu_scripts.txt is a test of its own.
std::vector<std::string> script_names() {
    std::vector<std::string> names;
    for (const auto& r : shelltest::golden("menu_scripts"))
        if (r[0] == "script") names.push_back(r.at(1));
    return names;
}
class MenuScript : public Menu, public ::testing::WithParamInterface<std::string> {};
TEST_P(MenuScript, Runs) { run_script(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Menu, MenuScript, ::testing::ValuesIn(script_names()), [](auto& i) { return i.param; });

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

// Golden table dialog_names: extensions added only when missing, folders cut at the last separator.
TEST(MenuDialog, ExtensionsAreAddedOnlyWhenMissingAndFoldersCutAtTheLastSeparator) {
    for (const auto& row : shelltest::golden("dialog_names"))
        EXPECT_EQ(row.at(0) == "folder" ? folder_of(row.at(1), "kept") : ensure_extension(row.at(1), row.at(2)),
                  row.back()) << row[1];
}

}  // namespace
