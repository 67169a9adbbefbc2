// The main window: its creation with the game window, painting, the window settings, the keys and closing.
#include "shell/mywin.h"

#include "desk/background.h"
#include "graphics/ddbase.h"
#include "play/jig.h"
#include "play/jigwin.h"
#include "shell/settings.h"

ws::Hwnd main_window = 0;
ws::Hwnd game_window = 0;
ws::Hmenu main_menu = 0;
MemDC* main_back = nullptr;
int32_t press_time = 0;
int32_t shift_down = 0, ctrl_down = 0, f1_down = 0;
int32_t close_without_asking = 0;
int32_t game_saved = 0;
Colour line_color = 0x0000FF;

namespace {

constexpr uint32_t kMainStyle = ws::WS_OVERLAPPEDWINDOW | ws::WS_CLIPCHILDREN;

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
    main_back = new MemDC;
    main_back->create(BIT_SCREEN, ws::screen_width(), ws::screen_height());
    main_back->fill(0, 0, main_back->width(), main_back->height(), 0xFFFFFF);
    main_back->release_dc();
    register_game_window();
    create_game_window(hwnd);
    return 0;
}

// The game window shows the desk afresh: through the presenter when a game has one, else from the desk image.
void repaint_game_window() {
    if (!game_window) return;
    if (presenter && current_game) {
        current_game->disp(nullptr);
    } else {
        ws::paint_at_once(game_window, nullptr);
    }
}

void repaint_guide_window() {
    if (guide_window && ws::is_window(guide_window)) ws::paint_at_once(guide_window, nullptr);
}

bool game_in_play() { return current_game && current_game->cut_count >= current_game->item_count; }

// The engraved finished picture on the desk is drawn in the line colour, so it follows a change of colour.
void set_line_colour(Colour colour) {
    line_color = colour;
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
    close_without_asking = 1;
    if (game_window) ws::send_message(game_window, ws::WM_CLOSE, 0, 0);
    if (game_window && ws::is_window(game_window)) {
        close_without_asking = 0;
        return;
    }
    ws::destroy_window(hwnd);
}

void on_paint(ws::Hwnd hwnd) {
    ws::PaintStruct ps;
    MemDC* surface = ws::begin_paint(hwnd, ps);
    if (surface && main_back)
        surface->blit(ps.paint.left, ps.paint.top, ps.paint.width(), ps.paint.height(), *main_back, ps.paint.left,
                      ps.paint.top, SRCCOPY);
    ws::end_paint(hwnd, ps);
}

void on_size(ws::Hwnd hwnd, uintptr_t kind) {
    if (kind == ws::SIZE_MAXIMIZED) {
        settings.win_left = settings.win_top = settings.win_width = settings.win_height = 0;
    } else if (kind == ws::SIZE_RESTORED) {
        keep_window_rect(hwnd);
    }
    if (game_window) ws::post_message(game_window, IDM_FIT_PARENT, 0, 0);
}

// A maximized window keeps win_width 0 (so the next run starts maximized again), whatever order the toolkit
// reports the move and the size of maximizing in.
void on_move(ws::Hwnd hwnd) {
    if (!ws::is_zoomed(hwnd)) keep_window_rect(hwnd);
}

void on_close(ws::Hwnd hwnd) {
    ws::kill_timer(hwnd, kSkinTimer);
    if (game_window) {
        ws::send_message(game_window, ws::WM_CLOSE, 0, 0);
        if (ws::is_window(game_window)) return;  // the game window refused: the program stays open
    }
    ws::destroy_window(hwnd);
}

void on_key_down(ws::Hwnd hwnd, uintptr_t key) {
    switch (key) {
    case ws::VK_SHIFT:
        if (!guide_window) break;
        shift_down = 1;
        repaint_guide_window();
        break;
    case ws::VK_CONTROL: ctrl_down = 1; break;
    case ws::VK_ESCAPE: escape(hwnd); break;
    case ws::VK_SPACE:
        if (!game_in_play()) break;
        current_game->show_unseen();
        repaint_game_window();
        break;
    case 'R': set_line_colour(0x0000FF); break;
    case 'G': set_line_colour(0x00FF00); break;
    case 'B': set_line_colour(0xFF0000); break;
    case 'W': set_line_colour(0xFFFFFF); break;
    case 'Z': set_line_colour(0x000000); break;
    case ws::VK_F1:
        if (!guide_window || f1_down) break;
        f1_down = 1;
        repaint_guide_window();
        break;
    default: break;
    }
}

void on_key_up(uintptr_t key) {
    switch (key) {
    case ws::VK_SHIFT:
        shift_down = 0;
        repaint_guide_window();
        break;
    case ws::VK_CONTROL: ctrl_down = 0; break;
    case ws::VK_F1:
        f1_down = 0;
        repaint_guide_window();
        break;
    default: break;
    }
}

}  // namespace

intptr_t main_window_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    switch (msg) {
    case ws::WM_CREATE:
        main_window = hwnd;
        on_create(hwnd);
        ws::set_timer(hwnd, kSkinTimer, 1000);
        return 0;
    case ws::WM_PAINT: on_paint(hwnd); return 0;
    case ws::WM_SIZE: on_size(hwnd, wparam); return 0;
    case ws::WM_MOVE: on_move(hwnd); return 0;
    case ws::WM_KEYDOWN: on_key_down(hwnd, wparam); return 0;
    case ws::WM_KEYUP: on_key_up(wparam); return 0;
    case ws::WM_LBUTTONDOWN:
    case ws::WM_RBUTTONDOWN: press_time = int32_t(ws::message_time()); return 0;
    case ws::WM_TIMER: return 0;  // the skin's hover check; nothing to do without a skin
    case ws::WM_CLOSE: on_close(hwnd); return 0;
    case ws::WM_DESTROY:
        if (main_back) main_back->destroy();
        delete main_back;
        main_back = nullptr;
        main_window = 0;
        ws::post_quit_message(0);
        return 0;
    default: return ws::def_window_proc(hwnd, msg, wparam, lparam);
    }
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

bool create_main_window() {
    Rect r = main_window_rect();
    bool by_layer = r.left == ws::CW_USEDEFAULT;
    main_menu = ws::load_menu("IDM_MAIN_MENU");
    ws::Hwnd hwnd = ws::create_window("MyWin", "zelto", kMainStyle, r.left, r.top,
                                      by_layer ? ws::CW_USEDEFAULT : r.width(),
                                      by_layer ? ws::CW_USEDEFAULT : r.height(), 0, main_menu);
    if (!hwnd) return false;
    ws::show_window(hwnd, settings.win_width == 0 ? ws::SW_SHOWMAXIMIZED : ws::SW_SHOWNORMAL);
    ws::update_window(hwnd);
    return true;
}
