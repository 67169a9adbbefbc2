// The main window: its creation with the game window, painting, the window settings, the keys and closing.
#include "shell/mywin.h"

#include <cstdio>

#include "desk/background.h"
#include "desk/state.h"
#include "graphics/hooks.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "play/companions.h"
#include "play/jigwin.h"
#include "play/play.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "resources/resources.h"
#include "shell/commands.h"
#include "shell/menu.h"
#include "shell/settings.h"
#include "shell/skin.h"
#include "shell/state.h"
#include "windows/companions.h"
#include "windows/guide_state.h"
#include "ws/cursor.h"
#include "ws/ddbase.h"

Shell shell;

void reset_shell_state() {
    drop_current_game();
    delete shell.main_back;
    shell.reset();
    reset_windows_state();
}

namespace {

constexpr uint32_t kMainStyle = ws::WS_OVERLAPPEDWINDOW | ws::WS_CLIPCHILDREN;
constexpr uint32_t kSkinStyle = ws::WS_POPUP | ws::WS_CLIPCHILDREN;  // the skin draws the whole window

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("MAIN", event);
}

void trace_key(const char* name, uintptr_t key) {
    if (!graphics.trace_switch) return;
    char text[32];
    std::snprintf(text, sizeof text, "%s %d\n", name, int(key));
    trace_line("MAIN", text);
}

// Stores the window rectangle in the window settings unless the window lies beyond the screen's right edge.
void keep_window_rect(ws::Hwnd hwnd) {
    Rect r = ws::get_window_rect(hwnd);
    if (r.left > ws::screen_width()) return;
    settings.win_left = r.left;
    settings.win_top = r.top;
    settings.win_width = r.width();
    settings.win_height = r.height();
}

intptr_t on_create(ws::Hwnd hwnd) {
    shell.main_back = new MemDC;
    shell.main_back->create(BIT_SCREEN, ws::screen_width(), ws::screen_height());
    shell.main_back->fill(0, 0, shell.main_back->width(), shell.main_back->height(), 0xFFFFFF);
    shell.main_back->release_dc();
    draw_skin();
    hooks.settings_changed = menu_check;  // a resumed game brings its own piece count and picture size
    menu_check();
    build_extra_menus();
    register_game_window();
    Rect area;
    create_game_window(hwnd, skin_game_rect(area) ? &area : nullptr);
    return 0;
}

void repaint_guide_window() {
    if (play.guide_window && ws::is_window(play.guide_window)) ws::paint_at_once(play.guide_window, nullptr);
}

bool game_in_play() { return display.current_game && display.current_game->cut_count >= display.current_game->item_count; }

// The engraved finished picture on the desk is drawn in the line colour, so it follows a change of colour.
void set_line_colour(Colour colour) {
    guide.line_color = colour;
    repaint_guide_window();  // the held group's outline there is drawn in the line colour too
    if (!settings.back_gazou_line) return;
    if (settings.back_type == IDM_BACK_RGB) {
        backrgb(0, 1);
    } else {
        backimg(1);
    }
    repaint_game_window();
}

// ESC saves a game in progress without asking and ends the program. Should that save fail (the player has been
// told), the game window stays and so does the program, with the game.
void escape(ws::Hwnd hwnd) {
    play.close_without_asking = 1;
    if (display.game_window) ws::send_message(display.game_window, ws::WM_CLOSE, 0, 0);
    if (display.game_window && ws::is_window(display.game_window)) {
        play.close_without_asking = 0;
        return;
    }
    ws::destroy_window(hwnd);
}

void on_paint(ws::Hwnd hwnd) {
    ws::PaintStruct ps;
    MemDC* surface = ws::begin_paint(hwnd, ps);
    if (surface && shell.main_back)
        surface->blit(ps.paint.left, ps.paint.top, ps.paint.width(), ps.paint.height(), *shell.main_back, ps.paint.left,
                      ps.paint.top, SRCCOPY);
    ws::end_paint(hwnd, ps);
}

void on_size(ws::Hwnd hwnd, uintptr_t kind) {
    if (kind == ws::SIZE_MAXIMIZED) {
        settings.win_left = settings.win_top = settings.win_width = settings.win_height = 0;
    } else if (kind == ws::SIZE_RESTORED) {
        keep_window_rect(hwnd);
    }
    if (display.game_window) ws::post_message(display.game_window, IDM_FIT_PARENT, 0, 0);
}

// A maximized window keeps win_width 0 (so the next run starts maximized again), whatever order the toolkit
// reports the move and the size of maximizing in.
void on_move(ws::Hwnd hwnd) {
    if (!ws::is_zoomed(hwnd)) keep_window_rect(hwnd);
}

// The busy cursor holds over the main window too (the skin's frame and buttons), whatever a window left showing.
void on_mouse_move(uintptr_t wparam, intptr_t lparam) {
    show_top_cursor();
    const int32_t x = ws::lparam_x(lparam), y = ws::lparam_y(lparam);
    if (wparam & ws::MK_LBUTTON) {
        skin_drag(x, y);
    } else {
        skin_hover(x, y);
    }
}

void on_key_down(ws::Hwnd hwnd, uintptr_t key) {
    trace_key("WM_KEYDOWN", key);
    switch (key) {
    case ws::VK_SHIFT:
        if (!play.guide_window) break;
        play.shift_down = 1;
        repaint_guide_window();
        break;
    case ws::VK_CONTROL: play.ctrl_down = 1; break;
    case ws::VK_ESCAPE: escape(hwnd); break;
    case ws::VK_SPACE:
        if (!game_in_play()) break;
        show_unseen(*display.current_game);
        repaint_game_window();
        break;
    case 'R': set_line_colour(0x0000FF); break;
    case 'G': set_line_colour(0x00FF00); break;
    case 'B': set_line_colour(0xFF0000); break;
    case 'W': set_line_colour(0xFFFFFF); break;
    case 'Z': set_line_colour(0x000000); break;
    case ws::VK_F1:
        if (!play.guide_window || play.f1_down) break;
        play.f1_down = 1;
        repaint_guide_window();
        break;
    default: break;
    }
}

void on_key_up(uintptr_t key) {
    trace_key("WM_KEYUP", key);
    switch (key) {
    case ws::VK_SHIFT:
        play.shift_down = 0;
        repaint_guide_window();
        break;
    case ws::VK_CONTROL: play.ctrl_down = 0; break;
    case ws::VK_F1:
        play.f1_down = 0;
        repaint_guide_window();
        break;
    default: break;
    }
}

}  // namespace

intptr_t main_window_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    switch (msg) {
    case ws::WM_CREATE:
        trace("WM_CREATE\n");
        display.main_window = hwnd;
        on_create(hwnd);
        ws::set_timer(hwnd, kSkinTimer, 1000);
        return 0;
    case ws::WM_COMMAND: menu_command(hwnd, uint32_t(wparam & 0xFFFF)); return 0;
    case ws::WM_PAINT: on_paint(hwnd); return 0;
    case ws::WM_SIZE: trace("WM_SIZE\n"); on_size(hwnd, wparam); return 0;
    case ws::WM_MOVE: trace("WM_MOVE\n"); on_move(hwnd); return 0;
    case ws::WM_KEYDOWN: on_key_down(hwnd, wparam); return 0;
    case ws::WM_KEYUP: on_key_up(wparam); return 0;
    case ws::WM_LBUTTONDOWN:
        ws::set_capture(hwnd);
        play.press_time = int32_t(ws::message_time());
        skin_press(ws::lparam_x(lparam), ws::lparam_y(lparam));
        return 0;
    case ws::WM_LBUTTONUP:
        ws::release_capture();
        skin_release(ws::lparam_x(lparam), ws::lparam_y(lparam), int32_t(ws::message_time()) - play.press_time);
        return 0;
    case ws::WM_MOUSEMOVE: on_mouse_move(wparam, lparam); return 0;
    case ws::WM_RBUTTONDOWN: play.press_time = int32_t(ws::message_time()); return 0;
    case ws::WM_RBUTTONUP:
        quick_menu(hwnd, {ws::lparam_x(lparam), ws::lparam_y(lparam)}, int32_t(ws::message_time()) - play.press_time);
        return 0;
    case ws::WM_TIMER:
        if (wparam == kSkinTimer) skin_timer();
        return 0;
    case ws::WM_CLOSE: trace("WM_CLOSE\n"); close_main_window(hwnd); return 0;
    case ws::WM_DESTROY:
        trace("WM_DESTROY\n");
        if (shell.main_back) shell.main_back->destroy();
        delete shell.main_back;
        shell.main_back = nullptr;
        display.main_window = 0;
        ws::post_quit_message(0);
        return 0;
    default: return ws::def_window_proc(hwnd, msg, wparam, lparam);
    }
}

// The game window may offer to save and may refuse to close; then the program stays open, its skin timer with it.
void close_main_window(ws::Hwnd hwnd) {
    if (display.game_window) {
        ws::send_message(display.game_window, ws::WM_CLOSE, 0, 0);
        if (display.game_window && ws::is_window(display.game_window)) return;
    }
    ws::kill_timer(hwnd, kSkinTimer);
    ws::destroy_window(hwnd);
}

Rect main_window_rect() {
    if (settings.win_width < 0)
        return {ws::CW_USEDEFAULT, ws::CW_USEDEFAULT, ws::CW_USEDEFAULT, ws::CW_USEDEFAULT};
    if (settings.win_width == 0) return {0, 0, ws::screen_width(), ws::screen_height()};
    return {settings.win_left, settings.win_top, settings.win_left + settings.win_width,
            settings.win_top + settings.win_height};
}

bool register_main_window_class() {
    ws::WindowClass wc;
    wc.name = "MyWin";
    wc.proc = main_window_proc;
    return ws::register_class(wc);
}

// With a skin in force the window is frameless and shows no menu bar; the menu still exists for the pop-ups.
bool create_main_window() {
    register_resources();
    install_program_icon();
    Rect r = main_window_rect();
    const bool skinned = skin_window_rect(r);
    const bool by_layer = !skinned && r.left == ws::CW_USEDEFAULT;
    shell.main_menu = ws::load_menu("IDM_MAIN_MENU");
    ws::Hwnd hwnd = ws::create_window("MyWin", "zelto", skinned ? kSkinStyle : kMainStyle, r.left, r.top,
                                      by_layer ? ws::CW_USEDEFAULT : r.width(),
                                      by_layer ? ws::CW_USEDEFAULT : r.height(), 0, skinned ? 0 : shell.main_menu);
    if (!hwnd) return false;
    const bool maximized = !skinned && settings.win_width == 0;
    ws::show_window(hwnd, maximized ? ws::SW_SHOWMAXIMIZED : ws::SW_SHOWNORMAL);
    ws::update_window(hwnd);
    return true;
}
