// Trays as the scripts of data/trays.txt: putting pieces in, the carousel and its fling, taking pieces out,
// closing, and the refusals of adding one.
#include "desk/state.h"
#include "graphics/hooks.h"
#include "pieces/desk.h"
#include "play/state.h"
#include "support/desk_script.h"
#include "windows/companions.h"
#include "windows/tray.h"
#include "windows/tray_strip.h"

namespace {

using namespace testsupport;

class TrayScripts : public ScriptedDesk {
protected:
    Point tray_screen(const Args& a, size_t k) const {
        return ws::client_to_screen(play.tray_window[i(a, k)], pt(a, k + 1));
    }
    void tray_mouse(uint32_t msg, const Args& a) const {
        ws::test::mouse(msg, tray_screen(a, 0));
        ws::test::pump();
    }
    ws::Hwnd tray(const Args& a) const { return play.tray_window[i(a, 0)]; }

public:
    TrayScripts() {
        actions_.insert({
            {"trays", [this](const Args& a) {  // [K] eight (or K) 60-pixel pieces of colour 0x102030 + id x 0x0A0B0C
                install_companions();
                settings.ddraw = true;
                g().pic_w = g().pic_h = 80;
                g().cols = g().rows = 2;  // cells of 40: trays of 56-pixel cells, five to a tray
                for (int32_t k = 0; k < (a.empty() ? 8 : i(a, 0)); ++k) {
                    const uint32_t word = 0x102030u + uint32_t(k) * 0x0A0B0Cu;
                    const PixelAt solid = [=](int32_t, int32_t) { return word; };
                    Piece& p = add_piece(g(), 60 + 70 * (k % 4), 60 + 70 * (k / 4), 60, 60, solid);
                    p.grab_x = p.cx, p.grab_y = p.cy;
                }
                start_presenter(g());
            }},
            {"add", [](const Args&) { tray_add(), ws::test::pump(); }},
            {"put", [this](const Args& a) {  // K ID X: item id dropped at client x of tray k
                g().items[i(a, 1)].hidden = 1;
                const Point p = ws::screen_to_client(display.game_window, tray_screen({a[0], a[2], "10"}, 0));
                ws::send_message(tray(a), IDM_TRAY_PUT, uintptr_t(i(a, 1)), ws::make_lparam(p.x, p.y));
            }},
            {"tdown", [this](const Args& a) { tray_mouse(ws::WM_LBUTTONDOWN, a); }},
            {"tmove", [this](const Args& a) { tray_mouse(ws::WM_MOUSEMOVE, a); }},
            {"tup", [this](const Args& a) { tray_mouse(ws::WM_LBUTTONUP, a); }},
            {"out", [this](const Args& a) {  // K X Y, then a release at game-window X Y, tray K X Y or screen X Y
                tray_mouse(ws::WM_LBUTTONDOWN, a);
                const Point at = pt(a, 4);
                ws::test::mouse(ws::WM_LBUTTONUP, a[3] == "screen" ? at
                                                  : a[3] == "tray" ? tray_screen(a, 4)
                                                                   : ws::client_to_screen(display.game_window, at));
                ws::test::pump();
            }},
            {"lower", [this](const Args& a) {
                const Rect r = ws::get_window_rect(tray(a));
                ws::move_window(tray(a), r.left, r.top + i(a, 1), r.width(), r.height(), false);
            }},
            {"close", [this](const Args& a) { ws::send_message(tray(a), ws::WM_CLOSE, 0, 0); }},
            {"repaint", [this](const Args& a) {  // tray k's window blacked out, then painted as when shown again
                MemDC& shown = *ws::client_surface(tray(a));
                shown.fill(0, 0, shown.width(), shown.height(), 0);
                ws::invalidate_rect(tray(a), nullptr, false);
                ws::paint_at_once(tray(a), nullptr);
            }},
            {"handle", [this](const Args& a) { handle_ = tray(a); }},
            {"destroy", [this](const Args&) { ws::destroy_window(handle_); }},
        });
        probes_.insert({
            {"items", [this](const Args& a) {
                std::string out;
                for (int32_t k = 0; k < trays.tray_count[i(a, 0)]; ++k) out += n(trays.tray_items[i(a, 0)][k]) + " ";
                return out;
            }},
            {"full", [this](const Args& a) { return n(is_full(i(a, 0))); }},
            {"title", [this](const Args& a) {  // blanks shown as '_'
                std::string t = ws::get_window_text(tray(a));
                std::replace(t.begin(), t.end(), ' ', '_');
                return t;
            }},
            {"strip", [this](const Args& a) {  // the words in the middle of the given cells of tray k
                std::string out;
                for (size_t k = 1; k < a.size(); ++k)
                    out += n(at(*ws::client_surface(tray(a)), (i(a, k) * 2 + 1) * trays.tray_cell / 2,
                                trays.tray_cell / 2) & kWhite) + " ";
                return out;
            }},
            {"turning", [this](const Args& a) {
                return n(trays.tray_speed[i(a, 0)]) + " " + n(trays.tray_scroll[i(a, 0)]);
            }},
            {"timer", [this](const Args& a) { return n(ws::kill_timer(tray(a), kTrayTimer)); }},  // stops it
            {"open", [this](const Args& a) { return n(ws::is_window(a.empty() ? handle_ : tray(a))); }},
            {"trays", [](const Args&) {  // slots holding a window
                return n(kTrayCount - std::count(play.tray_window, play.tray_window + kTrayCount, 0));
            }},
        });
    }
    ws::Hwnd handle_ = 0;
};
TEST_P(TrayScripts, Run) { run(); }

// On a screen of device pixel ratio 2 (the device_pixels_companions entry runs this), a piece put into a tray is
// drawn there in the tray's device pixels from the finer cut: round its centre, the finer picture's own pixels.
class FinerTray : public ScriptedDesk {};

TEST_F(FinerTray, APieceInATrayShowsTheFinerPicture) {
    install_companions();
    settings.ddraw = true;
    settings.kage = false;
    delete display.current_game;
    const Point centres[] = {{50, 40}, {130, 40}, {50, 110}, {130, 110}};
    display.current_game = finer_game(centres);
    start_presenter(g());
    tray_add();
    ws::test::pump();
    const ws::Hwnd tray = play.tray_window[0];
    ASSERT_NE(tray, 0);
    if (ws::device_scale(tray) == 1000) GTEST_SKIP() << "a screen of device pixel ratio 1";
    g().items[1].hidden = 1;
    const Point drop = ws::screen_to_client(display.game_window, ws::client_to_screen(tray, {10, 10}));
    ws::send_message(tray, IDM_TRAY_PUT, 1, ws::make_lparam(drop.x, drop.y));
    ASSERT_EQ(trays.tray_count[0], 1);
    // The piece's picture starts at the margin, down and across: its centre lies that much up and left of the view's.
    const Piece& p = *g().items[1].piece;
    const int32_t cx = p.view_width / 2 - trays.tray_margin, cy = p.view_height / 2 - trays.tray_margin;
    EXPECT_EQ(matching_words(*ws::client_surface(tray), 2 * cx - 8, 2 * cy - 8, *g().fine_picture, 2 * 90 - 8,
                             2 * 23 - 8, 16),
              256);
}
INSTANTIATE_TEST_SUITE_P(Trays, TrayScripts, ::testing::ValuesIn(read_scripts("shell/data/trays.txt")),
                         ScriptedDesk::name);

}  // namespace
