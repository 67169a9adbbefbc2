// Scripts on pieces laid by hand, read from data files, one test per script: a main window holding a game window
// that paints the desk, runs the title clock and, once cutting is over, hands the mouse to the play code; the mouse
// in the layer's test mode, checks of the desk against a fresh drawing, and the set-up lines, mouse actions and
// probes the desk's scripts share. Each test starts on a blank game.
#pragma once

#include <numbers>

#include "desk/background.h"
#include "desk/display.h"
#include "desk/state.h"
#include "desk/title.h"
#include "pieces/view.h"
#include "play/play.h"
#include "puzzle/settings.h"
#include "support/script.h"
#include "ws/ddbase.h"

namespace testsupport {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kBack = 0x808080;  // the desk's single colour
constexpr int32_t kClientW = 400, kClientH = 300;
constexpr double kPi = std::numbers::pi;

inline intptr_t desk_game_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    display.game_window = hwnd;
    Jig* g = display.current_game;
    if (msg == ws::WM_PAINT) return desk_paint(hwnd), 0;
    if (msg == ws::WM_TIMER && wparam == kClockTimer && g) return windowtitle(*g, TITLE_TICK), 0;
    if (g && g->cut_count >= g->item_count && play_message(hwnd, msg, wparam, lparam)) return 0;
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

inline std::vector<ws::Msg> tray_messages;  // what a tray window received
inline intptr_t tray_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    if (msg == IDM_TRAY_PUT) tray_messages.push_back({hwnd, msg, wparam, lparam, 0, 0});
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

class ScriptedDesk : public ::testing::Test, public Interpreter {
public:  // open to the free helpers of the tests
    void SetUp() override {
        read_settings("support/data/desk_window.rc");
        ws::register_class({"TestMain", ws::def_window_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});  // once
        ws::register_class({"TestGame", desk_game_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});
        ws::register_class({"TestTray", tray_proc, 0, ws::IDC_ARROW, 0xFFFFFF, ""});
        display.main_window = ws::create_window("TestMain", "zelto", ws::WS_POPUP | ws::WS_VISIBLE, 0, 0, kClientW + 200,
                                        kClientH + 100, 0, 0);
        display.game_window = ws::create_window("TestGame", "Zelto", ws::WS_CHILD | ws::WS_VISIBLE, 0, 0, kClientW,
                                             kClientH, display.main_window, 0);
        ASSERT_NE(display.game_window, 0);
        init_window();
        reset_gesture();
        tray_messages.clear();
        line_const_init();
        new_blank_game();
    }
    void TearDown() override {
        delete std::exchange(display.current_game, nullptr);
        delete std::exchange(desk.presenter, nullptr);
        finish_window();
        reset_gesture();
        ws::test::reset();  // the guard then puts every record back: the trays, keys, files and windows played
    }

    // Lays the desk afresh from the background and every item (plain path), as a game shows it after cutting.
    static void draw_desk(Jig& game) {
        desk.desk_image->blit(0, 0, desk.desk_width, desk.desk_height, *desk.desk_back, 0, 0, SRCCOPY);
        disp(game, nullptr);
    }
    // A presenter on the game window for `count` views.
    static void new_presenter(int32_t count) {
        desk.presenter = new DDBase(count);
        desk.presenter->init(display.game_window);
        desk.presenter->table_count = desk.presenter->count;
    }
    // The presenter of the game, with every view handed over and dropped from the piece, as a cut game has it.
    static void start_presenter(Jig& game) {
        new_presenter(max_cells);
        for (int32_t i = 0; i < game.item_count; ++i) upload_view(game.items[i]);
        disp(game, nullptr);
    }
    // The part of the desk in view, the only part the presenter composes.
    static Rect desk_in_view() {
        Rect r = view_client(display.game_window);
        offset_rect(r, desk.view_x + desk.scroll_dx, desk.view_y + desk.scroll_dy);
        return r;
    }
    // The word of an item's picture at (x, y) of its rect: the presenter's image once the view was handed over.
    static uint32_t shown_word(const Item& it, int32_t x, int32_t y) {
        const DDBase* dd = desk.presenter;
        if (it.piece->view || !dd || it.id >= dd->count || !dd->surfaces[size_t(it.id)]) return it.piece->view_at(x, y);
        return colour_to_word(desk.presenter->get_pixel(it.id, x, y));
    }
    // Pixels of `got`, laid with its (0, 0) at desk point `corner`, that differ inside r from the desk as it must
    // be: the background with every shown item's view laid on it in display order (one item left out if asked).
    // `got` is the desk itself, the plain path's save-under of the held item or the presenter's back buffer (the
    // scripts' background is one colour, so where the presenter lays it makes no difference).
    static int64_t faults_in(Jig& game, const MemDC& got, Point corner, Rect r, int32_t without = -1) {
        std::vector<uint32_t> want = top_down(*desk.desk_back);
        for (uint32_t& w : want) w &= kWhite;
        for (int32_t i = 0; i < game.item_count; ++i) {
            const Item& it = game.items[i];
            if (it.hidden == 1 || i == without) continue;
            const Piece& p = *it.piece;
            for (int32_t y = std::max(p.rect.top, 0); y < std::min(p.rect.bottom, desk.desk_height); ++y)
                for (int32_t x = std::max(p.rect.left, 0); x < std::min(p.rect.right, desk.desk_width); ++x) {
                    const uint32_t w = shown_word(it, x - p.rect.left, y - p.rect.top) & kWhite;
                    if (w != kWhite) want[size_t(y) * size_t(desk.desk_width) + size_t(x)] = w;
                }
        }
        int64_t bad = 0;
        for (int32_t y = std::max(r.top, 0); y < std::min(r.bottom, desk.desk_height); ++y)
            for (int32_t x = std::max(r.left, 0); x < std::min(r.right, desk.desk_width); ++x)
                bad += (at(got, x - corner.x, y - corner.y) & kWhite) != want[size_t(y * desk.desk_width + x)];
        return bad;
    }

    static void input(uint32_t msg, Point client) {  // the mouse, at a game-window point
        ws::test::mouse(msg, on_screen(client));
        ws::test::pump();
    }
    Guard guard_;

protected:
    using Values = std::vector<double>;
    Piece& piece(const Args& a) const { return *g().items[i(a, 0)].piece; }
    Item& item(const Args& a) const { return g().items[i(a, 0)]; }
    Point pt(const Args& a, size_t k = 0) const { return {i(a, k), i(a, k + 1)}; }
    // The button named at a[k] (l, r or m; l when none).
    static uint32_t down(const Args& a, size_t k) {
        const char b = a.size() > k ? a[k][0] : 'l';
        return b == 'r' ? ws::WM_RBUTTONDOWN : b == 'm' ? ws::WM_MBUTTONDOWN : ws::WM_LBUTTONDOWN;
    }
    // Every item's value in display order, or only item a[0]'s.
    template <class F>
    std::string each(F f, const Args& a) const {
        Values v;
        for (int32_t k = 0; k < g().item_count; ++k) v.push_back(f(g().items[k]));
        return list(a.empty() ? v : Values{v.at(size_t(i(a, 0)))});
    }
    // Window words at each x y after a paint (or as last composed), or desk words.
    std::string pixels(const Args& a, int32_t paint) const {
        if (paint > 0) ws::paint_at_once(display.game_window, nullptr);
        Values v;
        for (size_t k = 0; k + 1 < a.size(); k += 2)
            v.push_back(paint < 0 ? at(*desk.desk_image, i(a, k), i(a, k + 1))
                                  : at(*ws::client_surface(display.game_window), i(a, k), i(a, k + 1)) & kWhite);
        return list(v);
    }

public:
    ScriptedDesk() {
        names_ = {{"back", kBack}, {"beyond", kBeyondDeskColour}, {"white", kWhite}, {"left", SOUND_LEFT},
            {"right", SOUND_RIGHT}, {"hanten", SOUND_HANTEN}, {"sel", SOUND_SEL}, {"move", SOUND_MOVE},
            {"draw", SOUND_GM_DRAW}, {"joint", SOUND_JOINT}, {"end", SOUND_GM_END}, {"screen_w", ws::screen_width()},
            {"screen_h", ws::screen_height()}};
        actions_.insert({
            {"piece", [this](const Args& a) {  // cx cy w h word [columns rows [word]]: a top-left block, or white
                const uint32_t word = uint32_t(value(a[4])), other = a.size() > 7 ? uint32_t(value(a[7])) : kWhite;
                const int32_t cols = a.size() > 5 ? i(a, 5) : 0, rows = a.size() > 6 ? i(a, 6) : 0;
                add_piece(g(), i(a, 0), i(a, 1), i(a, 2), i(a, 3),
                          [=](int32_t x, int32_t y) { return x < cols && y < rows ? other : word; });
            }},
            {"angle", [this](const Args& a) { piece(a).set_angle(value(a[1]) * kPi / 180, settings_shading()); }},
            {"hidden", [this](const Args& a) { item(a).hidden = i(a, 1); }},
            {"merged", [this](const Args& a) { item(a).merged = i(a, 1); }},
            {"banded", [this](const Args& a) { item(a).banded = i(a, 1); }},
            {"offset", [this](const Args& a) { item(a).home_dx = item(a).join_dx = i(a, 1); }},
            {"picw", [this](const Args& a) { g().pic_w = i(a, 0); }},
            {"draw", [](const Args&) { g().reset_sweep(), draw_desk(g()); }},
            {"presenter", [](const Args&) { start_presenter(g()); }},
            {"ctrl", [this](const Args& a) { play.ctrl_down = i(a, 0); }},
            {"view", [this](const Args& a) { desk.view_x = i(a, 0), desk.view_y = i(a, 1); }},
            {"zoom", [this](const Args& a) { zoom_view(display.game_window, i(a, 0), pt(a, 1)); }},
            {"press", [this](const Args& a) { input(down(a, 2), pt(a)); }},
            {"release", [this](const Args& a) { input(down(a, 2) + 1, pt(a)); }},
            {"drag", [this](const Args& a) { input(ws::WM_MOUSEMOVE, pt(a)); }},
            {"click", [this](const Args& a) {  // a quick one, 100 ms
                input(down(a, 2), pt(a));
                ws::test::advance(100);
                input(down(a, 2) + 1, pt(a));
            }},
            {"range", [this](const Args& a) {  // a left drag from x1 y1 to x2 y2
                input(ws::WM_LBUTTONDOWN, pt(a));
                input(ws::WM_MOUSEMOVE, {(i(a, 0) + i(a, 2)) / 2, (i(a, 1) + i(a, 3)) / 2});
                input(ws::WM_MOUSEMOVE, pt(a, 2));
                input(ws::WM_LBUTTONUP, pt(a, 2));
            }},
            {"space", [](const Args&) { show_unseen(g()); }},
            {"sweep", [this](const Args& a) { g().sweep_reset = i(a, 0); }},
            {"game", [](const Args&) { new_blank_game(); }},
            {"end", [](const Args&) { delete std::exchange(display.current_game, nullptr); }},
            {"initwindow", [](const Args&) { init_window(); }},
            {"tray", [this](const Args& a) {
                play.tray_window[3] = ws::create_window("TestTray", "", ws::WS_CHILD | ws::WS_VISIBLE, i(a, 0), i(a, 1),
                                                        120, 120, display.main_window, 0);
            }},
        });
        probes_.insert({
            {"angle", [this](const Args& a) { return list({piece(a).angle * 180 / kPi}); }},
            {"turned", [this](const Args& a) { return n(piece(a).turned); }},
            {"offset", [this](const Args& a) { return n(item(a).home_dx) + " " + n(item(a).join_dx); }},
            {"at", [this](const Args& a) { return n(piece(a).cx) + " " + n(piece(a).cy); }},
            {"grab", [this](const Args& a) { return n(piece(a).grab_x - desk.view_x); }},
            {"xs", [this](const Args& a) { return each([](const Item& it) { return it.piece->cx; }, a); }},
            {"ys", [this](const Args& a) { return each([](const Item& it) { return it.piece->cy; }, a); }},
            {"ids", [this](const Args& a) { return each([](const Item& it) { return it.id; }, a); }},
            {"banded", [this](const Args& a) { return each([](const Item& it) { return it.banded; }, a); }},
            {"merged", [this](const Args& a) { return each([](const Item& it) { return it.merged; }, a); }},
            {"hidden", [this](const Args& a) { return each([](const Item& it) { return it.hidden; }, a); }},
            {"seen", [this](const Args& a) { return each([](const Item& it) { return it.seen; }, a); }},
            {"shown", [this](const Args& a) { return pixels(a, 1); }},
            {"window", [this](const Args& a) { return pixels(a, 0); }},
            {"desk", [this](const Args& a) { return pixels(a, -1); }},
            {"faults", [](const Args&) {
                const Rect whole{0, 0, desk.desk_width, desk.desk_height};
                if (!desk.presenter) return n(faults_in(g(), *desk.desk_image, {}, whole));
                const DDBase& dd = *desk.presenter;
                const Point o{desk.view_x + desk.scroll_dx, desk.view_y + desk.scroll_dy};
                return n(faults_in(g(), *dd.back, {o.x - dd.frame_x, o.y - dd.frame_y}, desk_in_view()));
            }},
            // The save-under of the held item (-1 when there is none; on the presenter -2 when it no longer agrees
            // with the back buffer), where it was taken: the plain path's at the item's rect, the presenter's over the
            // part in view.
            {"cachefaults", [](const Args&) {
                const int32_t top = g().item_count - 1;
                const Rect& r = desk.presenter ? g().under_rect : g().items[top].piece->rect;
                if (!g().under_cache) return n(-1);
                if (desk.presenter && g().under_writes != desk.presenter->writes) return n(-2);
                const Rect part = desk.presenter ? intersect_rect(r, desk_in_view()) : r;
                return n(faults_in(g(), *g().under_cache, {r.left, r.top}, part, top));
            }},
            {"cached", [](const Args&) { return n(g().under_cache != nullptr); }},
            {"relaid", [this](const Args& a) {  // laid round its centre as a turn lays it
                const Rect r = piece(a).rect;
                piece(a).set_angle(piece(a).angle, settings_shading());
                return n(piece(a).rect == r);
            }},
            {"moved", [](const Args&) { return n(play.moved_far); }},
            {"phase", [](const Args&) { return n(play.button_phase); }},
            {"view", [](const Args&) { return n(desk.view_x) + " " + n(desk.view_y); }},
            {"zoom", [](const Args&) { return n(desk.zoom); }},
            {"scroll", [](const Args&) { return n(desk.scroll_dx) + " " + n(desk.scroll_dy); }},
            {"range", [](const Args&) {
                return list({double(display.range_state), double(display.range_x1), double(display.range_y1),
                             double(display.range_x2), double(display.range_y2)});
            }},
            {"sweep", [](const Args&) { return n(g().sweep_reset); }},
            {"tray", [](const Args&) {  // messages to the tray; the last one's window, count of pieces and point
                std::string out = n(int64_t(tray_messages.size()));
                if (tray_messages.empty()) return out;
                const ws::Msg& m = tray_messages.back();
                return out + " " + n(m.hwnd == play.tray_window[3]) + " " + n(int64_t(m.wparam)) + " " +
                       n(ws::lparam_x(m.lparam)) + " " + n(ws::lparam_y(m.lparam));
            }},
        });
    }
};

}  // namespace testsupport
