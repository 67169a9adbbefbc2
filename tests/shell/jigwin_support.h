// The real main window with its game window, on a pattern picture in a folder of the test's own: games opened,
// cut step by step or played, and window scripts (actions and expectations read from data files) run on them.
#pragma once
#include <chrono>
#include <thread>


#include "desk/background.h"
#include "desk/state.h"
#include "desk/title.h"
#include "graphics/hooks.h"
#include "play/companions.h"
#include "play/jigwin.h"
#include "play/lifecycle.h"
#include "play/play.h"
#include "play/save.h"
#include "shell/state.h"
#include "support/script.h"
#include "windows/viewer_state.h"
#include "ws/cursor.h"

namespace jigwintest {

namespace fs = std::filesystem;
using testsupport::at;

// Settings of a small plain game (4 pieces of a 64 x 64 picture, upright, face up) in a 400 x 300 window, run in
// a folder of the test's own.
class GameWindowTest : public ::testing::Test, public testsupport::Interpreter {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.ok());
        old_dir_ = fs::current_path();
        fs::current_path(dir_.file(""));
        read_settings("shell/data/small_game.rc");
        ::play.picture_path.clear();
        ASSERT_TRUE(testsupport::write_noise_picture("pic.bmp", 64, 64, 0x202020u));
        depth_ = cursor_depth();
        steps_ = 0;
    }
    void TearDown() override {
        if (::display.main_window) ws::destroy_window(::display.main_window);
        ws::test::reset();
        if (::display.current_game) end_game();
        fs::current_path(old_dir_);
    }

    // Creates the main window (and with it the game window) on `picture`; nothing is delivered yet.
    void open(const std::string& picture) {
        ::play.picture_path = picture;
        register_main_window_class();
        ASSERT_TRUE(create_main_window());
        ASSERT_NE(::display.game_window, 0);
    }
    // Delivers one message, counting the cutting steps; false when nothing is left.
    bool deliver_one() {
        ws::Msg m;
        if (!ws::peek_message(m, ws::PM_REMOVE)) return false;
        steps_ += m.message == IDM_INIT_DISP;
        ws::dispatch_message(m);
        return true;
    }
    // The window point of item i's centre, surely inside its shape.
    static Point centre_of(int32_t i) {
        const Piece& p = *::display.current_game->items[i].piece;
        return {p.cx - desk.view_x, p.cy - desk.view_y};
    }

    int32_t steps_ = 0, depth_ = 0;
    testsupport::TempDir dir_;
    fs::path old_dir_;
    testsupport::Guard guard_;
};

inline int32_t guide_paints = 0;  // paints of the stand-in guide window

// Checked positions of pop-up `pos` of "設定(&O)" (or of its pop-up `sub`).
inline std::vector<int32_t> checked(int32_t pos, int32_t sub = -1) {
    ws::Hmenu m = ws::get_sub_menu(ws::get_sub_menu(shell.main_menu, 1), pos);
    if (sub >= 0) m = ws::get_sub_menu(m, sub);
    std::vector<int32_t> out;
    for (int32_t k = 0; k < ws::get_menu_item_count(m); ++k)
        if (ws::get_menu_state(m, uint32_t(k), ws::MF_BYPOSITION) & ws::MF_CHECKED) out.push_back(k);
    return out;
}

// The window scripts of a data file (testsupport::Interpreter), one test a script.
class WindowScript : public GameWindowTest {
protected:
    static int32_t num(const std::string& s) { return std::stoi(s); }
    // "@NAME" is NAME inside the test's folder, as an absolute path.
    std::string path(const std::string& s) const { return s[0] == '@' ? dir_.file(s.substr(1)) : s; }
    static Colour colour_of(uint32_t word) { return ((word & 0xFF) << 16) | (word & 0xFF00) | ((word >> 16) & 0xFF); }
    static std::string places() {
        std::string out;
        for (int32_t i = 0; i < g().item_count; ++i)
            out += n(g().items[i].id) + "," + n(g().items[i].piece->cx) + "," + n(g().items[i].piece->cy) + " ";
        return out;
    }

    static std::string title() { return ws::get_window_text(::display.main_window); }

public:
    WindowScript() {
        names_ = {{"end", SOUND_END}, {"st", SOUND_GM_ST}, {"sel", SOUND_SEL}, {"wait", SOUND_GM_WAIT},
                  {"load", SOUND_GM_LOAD}};
        actions_.insert({
        {"open", [this](const Args& a) { open(a[0]); }},
        {"start", [this](const Args&) { open(""); }},  // the main window without a picture
        {"command", [](const Args& a) {
            ws::send_message(::display.main_window, ws::WM_COMMAND, uintptr_t(std::stoul(a[0], nullptr, 0)), 0);
            ws::test::pump();
        }},
        {"copy", [](const Args& a) { fs::copy_file(fs::path(ZELTO_SOURCE_DIR) / a[0], a[1]); }},
        {"mark", [this](const Args&) { objects_ = MemDC::live_objects(); }},
        {"load", [](const Args& a) {  // [N]: the list's timer runs on the virtual clock, its loader in real time
            const auto due = [&] { return a.empty() ? viewer.loading : viewer.thumbs.size() < size_t(num(a[0])); };
            for (int32_t k = 0; k < 5000 && due(); ++k)
                ws::test::advance(100), std::this_thread::sleep_for(std::chrono::milliseconds(2));
            ASSERT_FALSE(due());
        }},
        {"play", [this](const Args& a) {  // opened and everything delivered: the pieces are cut and play has begun
            open(a[0]);
            ws::test::pump();
            ASSERT_NE(::display.current_game, nullptr);
            ASSERT_EQ(g().cut_count, g().item_count);
        }},
        {"restart", [this](const Args&) { TearDown(), SetUp(); }},
        {"step", [this](const Args&) {  // delivers up to the end of the next cutting step
            for (const int32_t before = steps_; steps_ == before;) ASSERT_TRUE(deliver_one());
        }},
        {"drain", [this](const Args&) { while (deliver_one()) {} }},
        {"count", [this](const Args&) { steps_ = 0; }},
        {"stray", [](const Args&) { ws::post_message(::display.game_window, IDM_INIT_DISP, 0, 0), ws::test::pump(); }},
        {"mouse", [](const Args& a) {  // down|up, at item I's centre or at window point X Y; not delivered
            const Point p = a.size() > 2 ? Point{num(a[1]), num(a[2])} : centre_of(num(a[1]));
            ws::test::mouse(a[0] == "down" ? ws::WM_LBUTTONDOWN : ws::WM_LBUTTONUP, on_screen(p));
        }},
        {"key", [](const Args& a) {
            static const std::map<std::string, uint32_t> keys{{"shift", ws::VK_SHIFT}, {"f1", ws::VK_F1},
                {"escape", ws::VK_ESCAPE}};
            ws::test::key(a[0] == "down" ? ws::WM_KEYDOWN : ws::WM_KEYUP, keys.at(a[1]));
            ws::test::pump();
        }},
        {"drop", [this](const Args& a) {
            ws::test::drop_files(::display.game_window, {path(a[0])}, {5, 5}), ws::test::pump();
        }},
        {"drop_until", [this](const Args& a) {  // delivers up to the new game's first message
            ws::test::drop_files(::display.game_window, {a[0]}, {10, 10});
            while (::play.picture_path != a[0]) ASSERT_TRUE(deliver_one());
        }},
        {"picture", [this](const Args& a) {
            ASSERT_TRUE(testsupport::write_noise_picture(a[0], i(a, 1), i(a, 2), 0x202020u));
        }},
        {"write", [](const Args& a) { std::ofstream(a[0]) << rest(a, 1); }},
        {"truncate", [](const Args& a) { fs::resize_file(a[0], uintmax_t(num(a[1]))); }},
        {"rename", [](const Args& a) { fs::rename(a[0], a[1]); }},
        {"mkdir", [](const Args& a) { fs::create_directories(a[0]); }},
        {"save", [](const Args& a) { ASSERT_EQ(save_game(g(), a[0]), 1); }},
        {"keep", [this](const Args&) {
            kept_ = ::display.current_game;
            places_ = places();
            title_ = title();
        }},
        {"nudge", [](const Args& a) { g().items[num(a[0])].piece->cx += num(a[1]); }},
        {"selected", [](const Args& a) { ::play.last_selected = num(a[0]); }},
        {"answer", [](const Args& a) {
            ws::test::push_answer(a[0] == "yes" ? ws::IDYES : a[0] == "no" ? ws::IDNO : ws::IDCANCEL);
        }},
        {"close", [](const Args&) { ws::send_message(::display.main_window, ws::WM_CLOSE, 0, 0); }},
        {"resize", [](const Args& a) {
            ws::move_window(::display.main_window, 0, 0, num(a[0]), num(a[1]), true);
            ws::test::pump();
        }},
        {"guide", [](const Args&) {  // a stand-in guide window counting its paints; the focus back on the main window
            const auto proc = [](ws::Hwnd h, uint32_t m, uintptr_t w, intptr_t l) {
                guide_paints += m == ws::WM_PAINT;
                return ws::def_window_proc(h, m, w, l);
            };
            static const bool registered = ws::register_class({"TestGuide", proc, 0, 0, 0, ""});
            guide_paints = 0;
            ::play.guide_window = registered ? ws::create_window("TestGuide", "", ws::WS_POPUP, 0, 0, 50, 50, 0, 0) : 0;
            ws::set_focus(::display.main_window);
        }},
        {"finished", [](const Args& a) {  // one group left (or N)
            const int32_t left = a.empty() ? 1 : num(a[0]);
            for (int32_t i = left; i < g().item_count; ++i) delete std::exchange(g().items[i].piece, nullptr);
            g().item_count = left;
        }},
        {"temp_pictures", [](const Args&) { for (const char* name : kTempPictures) std::ofstream(name) << "x"; }},
        {"end", [](const Args&) { end_game(); }},
        {"destroy", [](const Args&) { ws::destroy_window(::display.main_window); }},
        {"keep_copy", [this](const Args& a) { kept_path_ = path(a[0]), keep_picture_copy(kept_path_); }},
        {"flip", [](const Args& a) {  // byte AT of file NAME changed, the size kept
            std::fstream f(a[0], std::ios::in | std::ios::out | std::ios::binary);
            f.seekg(num(a[1]));
            const char c = char(f.get());
            f.seekp(num(a[1]));
            f.put(char(c ^ 1));
        }},
        {"busy_move", [](const Args& a) {  // PUSHED SHOWN: PUSHED on the busy stack, SHOWN set, a move over the window
            push_cursor(num(a[0])), ws::set_cursor(num(a[1]));
            ws::send_message(::display.main_window, ws::WM_MOUSEMOVE, 0, ws::make_lparam(3, 4));
        }},
        {"pop_cursor", [](const Args&) { pop_cursor(); }},
        {"chosen", [this](const Args& a) {  // FILE clicked in the picture list to play it
            ::play.view_title = kViewChoose;
            ::play.view_result = path(a[0]);
            ws::post_message(::display.game_window, IDM_VIEW_END, 0, 0);
            ws::test::pump();
        }},
        });
        probes_.insert({
        {"marks", [](const Args& a) {
            std::string out;
            for (int32_t pos : checked(num(a[0]), a.size() > 1 ? num(a[1]) : -1)) out += n(pos) + " ";
            return out;
        }},
        {"objects", [this](const Args&) {  // live surfaces and their objects against the count at mark
            const int32_t now = MemDC::live_objects();
            return std::string(now == objects_ ? "same" : now < objects_ ? "fewer" : "more");
        }},
        {"pieces", [](const Args&) { return n(::display.current_game ? g().item_count : -1); }},
        {"cut", [](const Args&) { return n(g().cut_count); }},
        {"cut_all", [](const Args&) { return n(g().cut_count == g().item_count); }},
        {"left_part", [](const Args&) {  // every piece's centre on the left three fifths of the window
            const int32_t limit = ws::get_client_rect(::display.game_window).right * 3 / 5 + desk.view_x;
            for (int32_t i = 0; i < g().cut_count; ++i)
                if (g().items[size_t(i)].piece->cx >= limit) return std::string("0");
            return std::string("1");
        }},
        {"presenter", [](const Args&) { return n(desk.presenter != nullptr); }},
        {"busy", [this](const Args&) { return n(cursor_depth() - depth_); }},  // cursors pushed since the start
        {"cursor", [](const Args&) { return n(ws::get_cursor()); }},
        {"title", [](const Args&) { return title(); }},
        {"title_kept", [this](const Args&) { return n(title() == title_); }},
        {"steps", [this](const Args&) { return n(steps_); }},
        {"ids", [](const Args&) {  // in order of id
            std::vector<double> ids;
            for (int32_t i = 0; i < g().item_count; ++i) ids.push_back(g().items[i].id);
            std::sort(ids.begin(), ids.end());
            return list(ids);
        }},
        {"faults", [this](const Args& a) {  // window pixels, every 5th, unlike item a[0]'s view at its place
            ws::paint_at_once(::display.game_window, nullptr);
            const MemDC& win = *ws::client_surface(::display.game_window);
            const Item& it = g().items[i(a, 0)];
            const Piece& p = *it.piece;
            int32_t bad = 0;
            for (int32_t y = 0; y < p.view_height; y += 5)
                for (int32_t x = 0; x < p.view_width; x += 5) {
                    const int32_t wx = p.rect.left - desk.view_x + x, wy = p.rect.top - desk.view_y + y;
                    const Colour c =
                        desk.presenter ? desk.presenter->get_pixel(it.id, x, y) : colour_of(p.view_at(x, y));
                    if (c == 0xFFFFFF || wx < 0 || wy < 0 || wx >= win.width() || wy >= win.height()) continue;
                    bad += colour_of(at(win, wx, wy)) != c;
                }
            return n(bad);
        }},
        {"places_kept", [this](const Args&) { return n(places() == places_); }},
        {"views", [](const Args&) {
            int32_t v = 0;
            for (int32_t i = 0; i < g().item_count; ++i) v += g().items[i].piece->view != nullptr;
            return n(v);
        }},
        {"size", [](const Args&) { return n(g().pic_w) + " " + n(g().pic_h) + " " + n(g().cols) + " " + n(g().rows); }},
        {"picture", [](const Args&) { return ::play.picture_path; }},
        {"save_path", [](const Args&) { return ::play.save_path; }},
        {"same_game", [this](const Args&) { return n(::display.current_game == kept_); }},
        {"game", [](const Args&) { return n(::display.current_game != nullptr); }},
        {"windows", [](const Args&) {  // main and game window
            return n(ws::is_window(::display.main_window)) + " " + n(ws::is_window(::display.game_window));
        }},
        {"window_handles", [](const Args&) {
            return n(int64_t(::display.main_window)) + " " + n(int64_t(::display.game_window));
        }},
        {"emergency_hook", [](const Args&) { return n(hooks.emergency_save == &emergency_save); }},
        {"overhang", [](const Args&) {  // how far the game window's client passes the main window's
            const Rect m = ws::get_client_rect(::display.main_window), w = ws::get_client_rect(::display.game_window);
            return n(w.width() - m.width()) + " " + n(w.height() - m.height());
        }},
        {"keys", [](const Args&) { return n(::play.shift_down) + " " + n(::play.f1_down); }},
        {"quit", [](const Args&) { return n(ws::test::quit_requested()) + " " + n(::play.close_without_asking); }},
        {"usable", [](const Args& a) { return n(saved_game_usable(a[0])); }},
        {"exists", [](const Args& a) { return n(fs::exists(a[0])); }},
        {"text", [](const Args& a) { return testsupport::read_file(a[0]); }},
        {"kept_is", [this](const Args& a) { return n(fs::equivalent(kept_path_, a[0])); }},
        {"picture_is", [](const Args& a) { return n(fs::equivalent(::play.picture_path, a[0])); }},
        {"same_size", [](const Args& a) { return n(fs::file_size(a[0]) == fs::file_size(a[1])); }},
        {"kept", [this](const Args&) { return kept_path_; }},
        {"guide", [](const Args&) { return n(int64_t(::play.guide_window)); }},
        {"guide_paints", [](const Args&) { return n(guide_paints); }},
        {"list", [](const Args&) { return n(::play.list_window != 0); }},
        {"temp_pictures", [](const Args&) {
            int32_t left = 0;
            for (const char* name : kTempPictures) left += fs::exists(name);
            return n(left);
        }},
        {"desk", [](const Args&) {  // images and presenter left
            return n(desk.desk_image != nullptr) + " " + n(desk.desk_back != nullptr) + " " +
                   n(desk.presenter != nullptr);
        }},
        });
    }

protected:
    Jig* kept_ = nullptr;
    int32_t objects_ = 0;
    std::string places_, title_, kept_path_;
};

}  // namespace jigwintest
