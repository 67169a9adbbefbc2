// Window scripts of the companion-window tests: the game window with the companions installed, and the guide's and
// the shape chooser's own actions and probes.
#pragma once
#include <cstring>

#include "desk/state.h"
#include "graphics/hooks.h"
#include "play/companions.h"
#include "shell/jigwin_support.h"
#include "play/state.h"
#include "puzzle/lines.h"
#include "puzzle/state.h"
#include "shell/state.h"
#include "windows/guide_state.h"
#include "windows/companions.h"
#include "windows/katachi.h"

namespace windowstest {

namespace fs = std::filesystem;

// Window scripts of data/companions.txt (its head tells the actions and probes added here).
class CompanionScript : public jigwintest::WindowScript {
protected:
    void SetUp() override {
        WindowScript::SetUp();
        install_companions();
    }
    static void to(ws::Hwnd w, uint32_t msg, const Args& a, uintptr_t wparam = 0) {
        ws::send_message(w, msg, wparam, ws::make_lparam(num(a[0]), num(a[1])));
    }
    // Pixels of `colour` in the guide window (in its right 20 columns only with "edge").
    static int32_t guide_pixels(const Args& a) {
        MemDC& s = *ws::client_surface(::play.guide_window);
        const Colour colour = a[0] == "line" ? guide.line_color : Colour(std::stoul(a[0], nullptr, 0));
        int32_t n = 0;
        for (int32_t y = 0; y < s.height(); ++y)
            for (int32_t x = a.size() > 1 ? s.width() - 20 : 0; x < s.width(); ++x) n += s.get_pixel(x, y) == colour;
        return n;
    }
    // The program's own loop: accelerators first, for whichever window the key went to.
    static void program_loop() {
        const ws::Haccel accel = ws::load_accelerators("IDM_ACCEL");
        ws::Msg m;
        while (ws::peek_message(m, ws::PM_REMOVE) && m.message != ws::WM_QUIT)
            if (!ws::translate_accelerator(::display.main_window, accel, m))
                ws::translate_message(m), ws::dispatch_message(m);
    }

public:
    CompanionScript() {
        actions_.insert({
            {"corner", [](const Args&) {
                settings.win_left = ws::screen_width() - 200, settings.win_top = ws::screen_height() - 100;
            }},
            {"guide_size", [](const Args& a) {
                const intptr_t size = ws::make_lparam(num(a[0]), num(a[1]));
                ws::send_message(::play.guide_window, ws::WM_SIZE, uintptr_t(a.size() > 2 ? num(a[2]) : 0), size);
            }},
            {"paint_guide", [](const Args&) { ws::paint_at_once(::play.guide_window, nullptr); }},
            {"move_guide",
             [](const Args& a) { ws::move_window(::play.guide_window, 0, 0, num(a[0]), num(a[1]), true); }},
            {"down", [](const Args& a) { ::play.shift_down = num(a[0]), ::play.f1_down = num(a[1]); }},
            {"hold", [](const Args& a) { g().holding = num(a[0]); }},
            {"place", [](const Args& a) { g().items[num(a[0])].piece->cx = num(a[1]); }},
            {"open_guide", [](const Args&) { hooks.open_guide(::display.game_window); }},
            {"close_guide", [](const Args&) { ws::send_message(::play.guide_window, ws::WM_CLOSE, 0, 0); }},
            {"katachi", [this](const Args&) {
                std::memcpy(line_, settings.line, sizeof line_);
                std::memcpy(shapes_, puzzle.unit_shapes, sizeof shapes_);
                katachi_ = open_katachi(::display.game_window);
            }},
            {"kdown", [this](const Args& a) { to(katachi_, ws::WM_LBUTTONDOWN, a); }},
            {"kmove", [this](const Args& a) {
                to(katachi_, ws::WM_MOUSEMOVE, a, a.size() > 2 ? uintptr_t(ws::MK_LBUTTON) : 0);
            }},
            {"kup", [this](const Args& a) { to(katachi_, ws::WM_LBUTTONUP, a); }},
            {"kclose", [this](const Args&) { ws::send_message(katachi_, ws::WM_CLOSE, 0, 0); }},
            {"companion", [](const Args& a) {  // NAME COMMAND X Y click|box [keyboard]: opened, clicked into, closed
                if (a.size() > 5) ws::test::key(ws::WM_KEYDOWN, ws::VK_MENU), ws::test::key_elsewhere(ws::WM_KEYUP, ws::VK_MENU);
                ws::send_message(::display.main_window, ws::WM_COMMAND, uintptr_t(num(a[1])), 0);
                ws::test::pump();
                const ws::Hwnd w = a[0] == "guide" ? ::play.guide_window : a[0] == "list" ? ::play.list_window
                                   : a[0] == "trays" ? ::play.tray_window[0] : open_katachi(::display.game_window);
                ASSERT_TRUE(ws::is_window(w));
                const Point at = ws::client_to_screen(w, {num(a[2]), num(a[3])});
                ws::test::mouse(ws::WM_LBUTTONDOWN, at), ws::test::mouse(ws::WM_LBUTTONUP, at);
                program_loop();
                if (a[4] == "box") ws::post_message(w, ws::WM_CLOSE, 0, 0);
                program_loop();
                ASSERT_FALSE(ws::is_window(w));
            }},
            {"ctrl", [](const Args& a) {  // KEY pressed with Ctrl, through the program's loop
                const uint32_t key = uint32_t(a[0][0]);
                for (uint32_t vk : {uint32_t(ws::VK_CONTROL), key}) ws::test::key(ws::WM_KEYDOWN, vk);
                for (uint32_t vk : {key, uint32_t(ws::VK_CONTROL)}) ws::test::key(ws::WM_KEYUP, vk);
                program_loop();
            }},
        });
        probes_.insert({
            {"guide_on_screen", [](const Args&) {
                const Rect r = ws::get_window_rect(::play.guide_window);
                return n(r.left >= 0 && r.top >= 0 && r.right <= ws::screen_width() && r.bottom <= ws::screen_height());
            }},
            {"guide_open", [](const Args&) { return n(::play.guide_window != 0); }},
            {"open_dialogs", [](const Args&) {
                const auto& d = ws::test::dialogs();
                return n(std::count_if(d.begin(), d.end(), [](const auto& r) { return r.kind == "open"; }));
            }},
            {"guide_client", [](const Args&) {
                const Rect c = ws::get_client_rect(::play.guide_window);
                return n(c.width()) + " " + n(c.height());
            }},
            {"guide_shows", [](const Args& a) { return n(guide_pixels(a) > 0); }},
            {"thumb", [](const Args&) { return n(guide.thumb_w) + " " + n(guide.thumb_h); }},
            {"guide_lends",
             [](const Args&) { return n(guide.lender == ::display.current_game && !guide.picture.created()); }},
            {"line", [](const Args& a) {
                const Point p = settings.line[num(a[0])][num(a[1])];
                return n(p.x) + " " + n(p.y);
            }},
            {"lines_changed", [this](const Args&) {
                int32_t changed = 0;
                for (int32_t t = 0; t < kLineTemplates; ++t)
                    for (int32_t p = 0; p < kLinePointsMax; ++p) changed += settings.line[t][p] != line_[t][p];
                return n(changed);
            }},
            {"shapes_kept", [this](const Args&) {
                return n(std::memcmp(shapes_, puzzle.unit_shapes, sizeof shapes_) == 0);
            }},
            {"katachi", [this](const Args&) {  // open, and the one a second opening gives
                const bool open = ws::is_window(katachi_);
                return n(open) + " " + n(open && open_katachi(::display.game_window) == katachi_);
            }},
        });
    }

private:
    Point line_[kLineTemplates][kLinePointsMax];
    UnitShape shapes_[unit_shape_count];
    ws::Hwnd katachi_ = 0;
};

}  // namespace windowstest
