// The main window as scripts of data/main_window.txt (its place, closing, the recovery file and the next run
// offering it back, and the menu: game commands never lose the game in play, setting commands wait for the next
// game, entries added at creation, quick right-click pop-ups, pasting, web entries, bitmap exports); the setting
// commands as the player meets them, as scripts of data/settings_commands.txt (the marks they set, the settings
// file they lead to, the windows they open and what the desk then shows); the menu's marks and the file dialogs'
// name rules.
#include <signal.h>

#include "desk/state.h"
#include "graphics/hooks.h"
#include "graphics/trace.h"
#include "play/companions.h"
#include "shell/jigwin_support.h"
#include "shell/file_dialogs.h"
#include "shell/menu.h"
#include "shell/recover.h"
#include "shell/shell_test.h"
#include "ws/bmp_reader.h"
#include "ws/picture.h"

using namespace jigwintest;

namespace {

using testsupport::at;

// The open window titled `title` ("game" for the game window), or 0.
ws::Hwnd titled(const std::string& title) {
    for (ws::Hwnd h = 1; title != "game" && h < 4096; ++h)
        if (ws::is_window(h) && ws::get_window_text(h) == title) return h;
    return title == "game" ? ::display.game_window : 0;
}

// What a window shows at (x, y) after painting, by name where the game has one for the colour.
std::string shown_at(ws::Hwnd h, int32_t x, int32_t y) {
    ws::paint_at_once(h, nullptr);
    const uint32_t word = at(*ws::client_surface(h), x, y) & 0xFFFFFF;
    const std::map<uint32_t, std::string> names = {{0xFFFFFF, "white"}, {0, "black"}, {0xFF0000, "red"},
        {0x0000FF, "blue"}, {0x9696FF, "lightblue"}, {0x96FF96, "lightgreen"}, {0x808080, "grey"},
        {0x00B000, "arrow"}, {0x90FF90, "lit"}};
    return names.count(word) ? names.at(word) : std::to_string(word);
}

// Game-window words, pieces' rectangles left out, unlike the picture `name` repeated from the window's top left or
// centred on the grey desk.
int32_t unlike_back(const std::string& name, bool centred) {
    MemDC p;
    if (p.create(BIT_SCREEN, 1, 1), !ws::load_picture(p, name.c_str())) return -1;
    ws::paint_at_once(::display.game_window, nullptr);
    const MemDC& shown = *ws::client_surface(::display.game_window);
    const int32_t w = p.width(), h = p.height(), x0 = centred ? shown.width() / 2 - w / 2 : 0;
    const int32_t y0 = centred ? shown.height() / 2 - h / 2 : 0;
    int32_t bad = 0;
    for (int32_t y = 0; y < shown.height(); ++y)
        for (int32_t x = 0; x < shown.width(); ++x) {
            const Rect dot{x + desk.view_x, y + desk.view_y, x + desk.view_x + 1, y + desk.view_y + 1};
            bool on_piece = false;
            for (int32_t k = 0; ::display.current_game && k < ::display.current_game->item_count; ++k)
                on_piece |= !intersect_rect(::display.current_game->items[k].piece->rect, dot).empty();
            const int32_t px = centred ? x - x0 : x % w, py = centred ? y - y0 : y % h;
            const bool inside = px >= 0 && py >= 0 && px < w && py < h;
            bad += !on_piece && (at(shown, x, y) & 0xFFFFFF) != (inside ? at(p, px, py) & 0xFFFFFF : 0x808080u);
        }
    return bad;
}

// The game window's scripts with the menu's own actions and probes added (data/main_window.txt tells them).
class MenuScript : public WindowScript {
protected:
    // The program's own loop: its messages first, then the windows'. The exit code, or -1 when it did not end.
    static int32_t run_loop() {
        ws::Msg m;
        while (ws::peek_message(m, ws::PM_REMOVE)) {
            if (m.message == ws::WM_QUIT) return int32_t(m.wparam);
            if (!recovery_loop_message(m)) ws::dispatch_message(m);
        }
        return -1;
    }
    // A new run finding written.zlt (cut short when `damaged`) as its recovery file, the question answered.
    void next_run(bool yes, bool damaged) {
        ws::test::reset();
        install_recovery();
        ::play.picture_path.clear();
        fs::remove_all(dir_ / "share");
        fs::create_directories(dir_ / "share");
        fs::remove(kRecoveryBadFile);
        fs::copy_file("written.zlt", kRecoveryFile, fs::copy_options::overwrite_existing);
        if (damaged) fs::resize_file(kRecoveryFile, 300);
        ws::test::push_answer(yes ? ws::IDYES : ws::IDNO);
        const bool resuming = ask_recovery();
        ASSERT_TRUE(create_main_window());
        if (resuming) ws::post_message(0, IDM_RECOVERY_SETTLE, 0, 0);
        run_loop();
    }
    void TearDown() override {
        hooks.game_changed = hooks.recovery_due = hooks.forget_recovery = nullptr;
        unsetenv("XDG_DATA_HOME");
        trace_close();
        graphics.trace_switch = 0;
        WindowScript::TearDown();
    }
    MenuScript() {
        actions_.insert({
            {"looping", [](const Args&) { ::play.sound_looping = 1; }},
            {"trace", [](const Args&) { graphics.trace_switch = 1, trace_open("w"); }},
            {"snap", [this](const Args&) { snapped_ = words_shown(); }},
            {"send", [](const Args& a) {  // TITLE MESSAGE [X Y]: a message (at a client point) to that window
                static const std::map<std::string, std::pair<uint32_t, uintptr_t>> kinds = {
                    {"down", {ws::WM_LBUTTONDOWN, 0}}, {"up", {ws::WM_LBUTTONUP, 0}},
                    {"move", {ws::WM_MOUSEMOVE, ws::MK_LBUTTON}}, {"leave", {ws::WM_MOUSELEAVE, 0}},
                    {"close", {ws::WM_CLOSE, 0}}, {"escape", {ws::WM_KEYDOWN, ws::VK_ESCAPE}}};
                const auto [msg, wparam] = kinds.at(a[1]);
                ws::send_message(titled(a[0]), msg, wparam, a.size() > 3 ? ws::make_lparam(num(a[2]), num(a[3])) : 0);
                ws::test::pump();
            }},
            {"file", [this](const Args& a) { ws::test::push_file_answer(path(a[0])); }},
            {"web", [](const Args& a) { settings.web[size_t(num(a[0]))] = rest(a, 1); }},
            {"view", [](const Args& a) {
                 desk.view_x = num(a[0]), desk.view_y = num(a[1]);
                 redraw_whole_window(::display.game_window);
             }},
            {"clipboard_file", [this](const Args& a) { ws::test::set_clipboard_files({path(a[0])}); }},
            {"clipboard_bitmap", [](const Args& a) {  // an 8 x 6 bitmap of one colour
                 MemDC copied;
                 copied.create(BIT_SCREEN, 8, 6);
                 copied.fill(0, 0, 8, 6, std::stoul(a[0], nullptr, 0));
                 ASSERT_TRUE(ws::clipboard_set_bitmap(copied));
             }},
            {"right_click", [](const Args& a) {
                 const intptr_t at = ws::make_lparam(num(a[0]), num(a[1]));
                 ws::post_message(::display.main_window, ws::WM_RBUTTONDOWN, ws::MK_RBUTTON, at);
                 ws::test::pump(), ws::test::advance(uint32_t(num(a[2])));
                 ws::post_message(::display.main_window, ws::WM_RBUTTONUP, 0, at), ws::test::pump();
             }},
            {"tag", [](const Args&) { g().items[0].seen = 42; }},
            {"range", [](const Args& a) {  // the pieces within (X0, Y0)-(X1, Y1) marked and moved by (DX, DY)
                 mark_range(g(), num(a[0]), num(a[1]), num(a[2]), num(a[3]));
                 move_range(g(), num(a[4]), num(a[5]));
             }},
            {"move_loop", [](const Args& a) { ::play.sound_list[SOUND_MOVE - 1].loop = num(a[0]); }},
            {"zoom_key", [](const Args& a) {  // plus|minus|0 [shift]: pressed with Ctrl (and Shift), the program's loop
                 static const std::map<std::string, uint32_t> vk{{"plus", ws::VK_OEM_PLUS},
                                                                 {"minus", ws::VK_OEM_MINUS}};
                 std::vector<uint32_t> keys = {ws::VK_CONTROL};
                 if (a.size() > 1) keys.push_back(ws::VK_SHIFT);
                 keys.push_back(vk.count(a[0]) ? vk.at(a[0]) : uint32_t(a[0][0]));
                 for (const uint32_t k : keys) ws::test::key(ws::WM_KEYDOWN, k);
                 for (auto k = keys.rbegin(); k != keys.rend(); ++k) ws::test::key(ws::WM_KEYUP, *k);
                 const ws::Haccel accel = ws::load_accelerators("IDM_ACCEL");
                 for (ws::Msg m; ws::peek_message(m, ws::PM_REMOVE);)
                     if (!ws::translate_accelerator(::display.main_window, accel, m)) ws::dispatch_message(m);
             }},
            {"wheel", [](const Args& a) {  // X Y DELTA [ctrl]: the wheel turned over a game-window point
                 const uint32_t keys = a.size() > 3 ? uint32_t(ws::MK_CONTROL) : 0u;
                 ws::test::wheel(on_screen({num(a[0]), num(a[1])}), num(a[2]), keys);
                 ws::test::pump();
             }},
            {"recovery", [](const Args&) { install_recovery(); }},
            {"signals", [this](const Args&) {  // caught as the program does; the trash inside the test's folder
                 setenv("XDG_DATA_HOME", (dir_ / "share").c_str(), 1);
                 ASSERT_TRUE(ws::catch_session_events());
             }},
            {"sigterm", [](const Args&) {  // the program's loop must then end with exit code 0
                 raise(SIGTERM);
                 EXPECT_EQ(run_loop(), 0);
                 for (int sig : {SIGTERM, SIGHUP, SIGINT}) signal(sig, SIG_DFL);
             }},
            {"finish_run", [](const Args&) { finish_run(); }},
            {"next_run", [this](const Args& a) { next_run(a[0] == "yes", a.size() > 1); }},
            {"focus_lost", [](const Args&) { recovery_loop_message(ws::Msg{0, ws::WM_ACTIVATEAPP, 0, 0, 0, 0}); }},
            {"drag", [](const Args& a) {  // item I picked up at its centre, put down DX further right after STEPS moves
                 const Point at = on_screen(centre_of(num(a[0])));
                 const int32_t steps = a.size() > 2 ? num(a[2]) : 1;
                 ws::test::mouse(ws::WM_LBUTTONDOWN, at);
                 for (int32_t k = 1; k <= steps; ++k) {  // each delivered: moves waiting together are merged
                     ws::test::mouse(ws::WM_MOUSEMOVE, {at.x + num(a[1]) * k / steps, at.y});
                     ws::test::pump();
                 }
                 ws::test::mouse(ws::WM_LBUTTONUP, {at.x + num(a[1]), at.y});
                 ws::test::pump();
             }}});
        probes_.insert({
            {"traced", [](const Args& a) {  // which of the words stand in the trace log
                 std::string out, log = testsupport::read_file("ZELTOTR.TXT");
                 for (const std::string& w : a) out += n(log.find(w) != std::string::npos) + " ";
                 return out;
             }},
            {"written", [](const Args& a) {  // the line of the settings file the end of the run writes for KEY [N]
                std::istringstream in(write_settings("written.txt") ? testsupport::read_file("written.txt") : "");
                for (std::string line, key = rest(a, 0); std::getline(in, line);)
                    if (line.rfind(key, 0) == 0 && std::isspace(uint8_t(line[key.size()]))) return line;
                return std::string("none");
            }},
            {"window", [](const Args& a) {  // TITLE: visible, and its outer size; or none
                const ws::Hwnd h = titled(a[0]);
                const Rect r = ws::get_window_rect(h);
                return h ? n(ws::is_window_visible(h)) + " " + n(r.width()) + " " + n(r.height()) : "none";
            }},
            {"pixel", [](const Args& a) {  // TITLE X Y...: what the window shows there
                std::string out;
                for (size_t k = 1; k + 1 < a.size(); k += 2)
                    out += shown_at(titled(a[0]), num(a[k]), num(a[k + 1])) + " ";
                return out;
            }},
            {"hash", [](const Args& a) {  // TITLE X0 Y0 X1 Y1: a fingerprint of what the window shows there
                const ws::Hwnd h = titled(a[0]);
                ws::paint_at_once(h, nullptr);
                const int32_t x0 = num(a[1]), y0 = num(a[2]);
                const uint64_t hash = testsupport::frame_hash(num(a[3]) - x0, num(a[4]) - y0, [&](int32_t x, int32_t y) {
                    return at(*ws::client_surface(h), x0 + x, y0 + y) & 0xFFFFFF;
                });
                if (const char* folder = std::getenv("ZELTO_SHOT")) {  // the rectangle for a person to look at
                    std::snprintf(graphics.bmp_name, sizeof graphics.bmp_name, "%s/%llx.bmp", folder, (long long)hash);
                    save_bmp(*ws::client_surface(h), x0, y0, num(a[3]) - x0, num(a[4]) - y0);
                }
                return n(int64_t(hash >> 1));
            }},
            {"unlike_back", [this](const Args& a) { return n(unlike_back(path(a[0]), a[1] == "cen")); }},
            {"changed", [this](const Args&) { return n(words_shown() != snapped_); }},
            {"listed", [](const Args&) { return ::play.view_folder + " " + n(int64_t(viewer.names.size())); }},
            {"stopped", [](const Args&) {  // sounds stopped, and whether one still loops
                const auto& s = ws::test::sounds();
                return n(std::count_if(s.begin(), s.end(), [](const auto& r) { return r.path.empty(); })) + " " +
                       n(::play.sound_looping);
            }},
            {"in_folder", [this](const Args& a) {  // another probe's answer with the test's folder written "@"
                 std::string got = probes_.at(a[0])(Args(a.begin() + 1, a.end()));
                 for (size_t at; (at = got.find(dir_.string())) != std::string::npos;)
                     got.replace(at, dir_.string().size() + (got[at + dir_.string().size()] == '/'), "@");
                 return got;
             }},
            {"dialog", [](const Args&) {  // title, filter, file name of the last file dialog
                 const auto& d = ws::test::dialogs().back();
                 return d.title + " " + n(d.filter_index) + " " + d.file_name;
             }},
            {"offered", [](const Args&) { return default_save_name(); }},
            {"move_plays", [](const Args&) { return n(testsupport::count_played(SOUND_MOVE)); }},
            {"clock", [](const Args&) { return n(display.play_seconds) + " " + n(display.clock_carry); }},
            {"recovery_files", [this](const Args&) {  // the recovery file kept, put aside, in the trash
                 return n(fs::exists(kRecoveryFile)) + " " + n(fs::exists(kRecoveryBadFile)) + " " +
                        n(fs::exists(dir_ / "share/Trash/files" / kRecoveryFile));
             }},
            {"place", [](const Args&) {  // the main window's rectangle, then its place and size in the settings
                 const Rect r = ws::get_window_rect(::display.main_window);
                 return sides(r) + " " + n(settings.win_left) + " " + n(settings.win_top) + " " + n(settings.win_width) +
                        " " + n(settings.win_height);
             }},
            {"tagged", [](const Args&) { return n(::display.current_game && g().items[0].seen == 42); }},
            {"piece_num", [](const Args&) { return n(settings.piece_num); }},
            {"zoom", [](const Args&) { return n(desk.zoom) + " " + n(desk.view_x) + " " + n(desk.view_y); }},
            {"view_dir", [](const Args&) { return settings.view_dir; }},
            {"back", [](const Args&) { return settings.back_img + " " + n(settings.back_type); }},
            {"opened", [](const Args&) { return ws::test::opened().empty() ? "" : ws::test::opened().back(); }},
            {"bmp", [](const Args& a) {  // FILE: its width and first word, or none
                 BmpPicture b;
                 return read_bmp_file(a[0].c_str(), b) ? n(b.width) + " " + n(b.words.at(0) & 0xFFFFFF) : "none";
             }},
            {"window_differs", [](const Args& a) {  // size of bitmap file A[0], its pure white pixels and those
                 BmpPicture shot;                       // unlike the game window's, from the top-left corner
                 const MemDC& w = *ws::client_surface(::display.game_window);
                 if (!read_bmp_file(a[0].c_str(), shot) || shot.width > w.width() || shot.height > w.height())
                     return std::string("none");
                 int32_t white = 0, differing = 0;
                 for (int32_t y = 0; y < shot.height; ++y)
                     for (int32_t x = 0; x < shot.width; ++x) {
                         const uint32_t word = shot.words[size_t((shot.height - 1 - y) * shot.width + x)] & 0xFFFFFF;
                         white += word == 0xFFFFFF;
                         differing += word != (w.words()[size_t((w.height() - 1 - y) * w.width() + x)] & 0xFFFFFF);
                     }
                 return n(shot.width) + " " + n(shot.height) + " " + n(white) + " " + n(differing);
             }},
            {"piece_file", [](const Args& a) {  // whether PIECE_<i>.BMP holds item i's whole view
                 BmpPicture b;
                 if (!read_bmp_file(("PIECE_00" + a[0] + ".BMP").c_str(), b)) return std::string("none");
                 const Piece& p = *g().items[num(a[0])].piece;
                 return n(b.width == p.view_width && b.height == p.view_height);
             }},
            {"menu", [](const Args& a) {  // the count of entries, or entry A[0]'s (or its entry A[1]'s) name, id and
                 if (a.empty()) return n(ws::get_menu_item_count(shell.main_menu));  // the ids of its entries
                 const ws::Hmenu top = a.size() > 1 ? ws::get_sub_menu(shell.main_menu, num(a[0])) : shell.main_menu;
                 const int32_t pos = num(a.back());
                 const ws::Hmenu m = ws::get_sub_menu(top, pos);
                 std::string out = ws::get_menu_string(top, uint32_t(pos), ws::MF_BYPOSITION) + " " +
                                   n(int32_t(ws::get_menu_item_id(top, pos)));
                 for (int32_t k = 0; m && k < ws::get_menu_item_count(m); ++k)
                     out += " " + n(ws::get_menu_item_id(m, k));
                 return out;
             }},
            {"popups", [](const Args&) {  // for each pop-up shown, 0 for the file menu and 1 for another
                 std::string out;
                 const ws::Hmenu file_menu = ws::get_sub_menu(shell.main_menu, 0);
                 for (const auto& p : ws::test::popups()) out += n(p.menu != file_menu) + " ";
                 return out;
             }}});
    }
    std::vector<uint32_t> snapped_;
    static std::vector<uint32_t> words_shown() {
        ws::paint_at_once(::display.game_window, nullptr);
        return testsupport::top_down(*ws::client_surface(::display.game_window));
    }
};
TEST_P(MenuScript, Runs) { run(); }
INSTANTIATE_TEST_SUITE_P(Menu, MenuScript, ::testing::ValuesIn(testsupport::read_scripts("shell/data/main_window.txt")),
                         WindowScript::name);
INSTANTIATE_TEST_SUITE_P(Settings, MenuScript,
                         ::testing::ValuesIn(testsupport::read_scripts("shell/data/settings_commands.txt")),
                         WindowScript::name);

using MenuMarks = GameWindowTest;

// Golden table menu_marks: settings, then the positions each pop-up must check.
TEST_F(MenuMarks, EachSettingMarksExactlyItsEntry) {
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
