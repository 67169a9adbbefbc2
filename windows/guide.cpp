// The guide window "全体" ("ImageWin"): opening it fitted to the game's picture in the game window's corner,
// resizing, painting the picture or the overview, ESC, and closing.
#include "windows/guide.h"

#include <algorithm>

#include "desk/state.h"
#include "play/jigwin.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"
#include "windows/guide_state.h"
#include "ws/tr.h"

Guide guide;

namespace {

constexpr const char* kClassName = "ImageWin";
constexpr const char* kTitle = ZT_NOOP("windows", "全体");
constexpr uint32_t kStyle = ws::WS_OVERLAPPEDWINDOW;
constexpr int32_t kGuideLeastSide = 64;  // the least width and height of the client area when the guide opens

void free_surfaces() {
    guide.lender = nullptr;
    guide.picture.destroy();
    guide.thumb.destroy();
}

// Gives the window a client area of w x h with its bottom-right corner on that of the game window's client area,
// moved as little as needed to lie wholly on the screen: in a maximized main window that corner lies a little below
// the screen's bottom edge.
void place_guide(ws::Hwnd hwnd, int32_t w, int32_t h) {
    const Rect outer = ws::adjust_window_rect({0, 0, w, h}, kStyle, false);
    const Rect pc = ws::get_client_rect(guide.parent);
    Point at = ws::client_to_screen(guide.parent, {pc.width() - outer.width(), pc.height() - outer.height()});
    at.x = std::max(0, std::min(at.x, ws::screen_width() - outer.width()));
    at.y = std::max(0, std::min(at.y, ws::screen_height() - outer.height()));
    ws::move_window(hwnd, at.x, at.y, outer.width(), outer.height(), true);
}

void on_create(ws::Hwnd hwnd) {
    play.guide_window = hwnd;
    ws::use_device_pixels(hwnd);  // the picture and the lines in the screen's own pixels
    take_picture();
    guide.thumb_w = guide.thumb_h = kGuideStartSide;
    fit_picture();
    // The guide of a thin picture is no thinner than kGuideLeastSide, so that it can be seen and grabbed.
    place_guide(hwnd, std::max(guide.thumb_w - 1, kGuideLeastSide), std::max(guide.thumb_h - 1, kGuideLeastSide));
    const Rect c = ws::get_client_rect(hwnd);
    size_thumb(c.width(), c.height());
    draw_thumb();
}

// Only the player's restored sizes refit the picture; a maximized or minimized guide shows the fit it had. The
// thumb follows every size, so that it never holds more than the window shows.
void on_size(ws::Hwnd hwnd, uintptr_t kind, intptr_t lparam) {
    if (!guide.thumb.created()) return;  // on_create sizes it once the window is placed
    if (!guide.creating && kind == ws::SIZE_RESTORED) {
        const int32_t asked = guide.pic_w0 > guide.pic_h0 ? ws::lparam_x(lparam) : ws::lparam_y(lparam);
        const int32_t screen_side = std::max(std::min(ws::screen_width(), ws::screen_height()), 1);
        guide.thumb_w = guide.thumb_h = std::clamp(asked, 1, screen_side);
        fit_picture();
    }
    size_thumb(ws::lparam_x(lparam), ws::lparam_y(lparam));
    draw_thumb();
    ws::invalidate_rect(hwnd, nullptr, false);
}

bool outline_wanted() {
    return display.current_game && display.current_game->holding == 1 &&
           (settings.guide == 1 || (settings.guide == 2 && play.shift_down == 1));
}

void on_paint(ws::Hwnd hwnd) {
    ws::PaintStruct ps;
    MemDC* dc = ws::begin_paint(hwnd, ps);
    if (!dc) return;
    if (play.f1_down == 1) {
        draw_overview(*dc, ps.paint);
    } else if (guide.thumb.created()) {
        const Rect c = ws::get_client_rect(hwnd);
        if (size_thumb(c.width(), c.height())) draw_thumb();  // a size the window, or its screen, was not told of
        const Rect r = ws::device_rect(hwnd, ps.paint);
        dc->blit(r.left, r.top, r.width(), r.height(), guide.thumb, r.left, r.top, SRCCOPY);
        guide.thumb.release_dc();
        if (outline_wanted()) draw_held_outline(*dc, c.width(), c.height());
    }
    ws::end_paint(hwnd, ps);
}

// ESC here ends the game window as ESC in the main window does: saved without asking, then the program.
void on_escape() {
    play.close_without_asking = 1;
    if (display.game_window) ws::send_message(display.game_window, ws::WM_CLOSE, 0, 0);
    if (!ws::is_window(display.game_window) && display.main_window) ws::destroy_window(display.main_window);
}

void forget(ws::Hwnd hwnd) {
    if (play.guide_window != hwnd) return;
    free_surfaces();
    play.guide_window = 0;  // the menu may open it again
}

intptr_t guide_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    switch (msg) {
    case ws::WM_CREATE: on_create(hwnd); return 0;
    case ws::WM_SIZE: on_size(hwnd, wparam, lparam); return 0;
    case ws::WM_PAINT: on_paint(hwnd); return 0;
    case ws::WM_KEYDOWN:
        if (wparam == ws::VK_ESCAPE) on_escape();
        return 0;
    case ws::WM_CLOSE:
        forget(hwnd);
        ws::destroy_window(hwnd);
        return 0;
    case ws::WM_DESTROY: forget(hwnd); return 0;
    default: return ws::def_window_proc(hwnd, msg, wparam, lparam);
    }
}

void register_guide_class() {
    if (ws::class_registered(kClassName)) return;
    ws::WindowClass wc;
    wc.name = kClassName;
    wc.proc = guide_proc;
    wc.cursor = ws::IDC_ARROW;
    ws::register_class(wc);
}

}  // namespace

ws::Hwnd guide_create(ws::Hwnd parent) {
    register_guide_class();
    if (play.guide_window) ws::send_message(play.guide_window, ws::WM_CLOSE, 0, 0);  // at most one
    guide.parent = parent;
    const int32_t sw = ws::screen_width(), sh = ws::screen_height();
    guide.creating = true;
    const ws::Hwnd hwnd =
        ws::create_window(kClassName, ws::tr("windows", kTitle), kStyle, sw - 100, sh - 100, 100, 100, parent, 0);
    guide.creating = false;
    if (!hwnd) return 0;
    ws::show_window(hwnd, ws::SW_SHOW);
    ws::update_window(hwnd);
    play.guide_window = hwnd;
    return hwnd;
}
