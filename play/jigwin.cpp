// The game window: its class and creation, the dispatcher of play, dropped files, fitting the main window, and
// the offer to save when it closes.
#include "play/jigwin.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "desk/background.h"
#include "desk/display.h"
#include "desk/state.h"
#include "desk/title.h"
#include "graphics/hooks.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "play/companions.h"
#include "play/lifecycle.h"
#include "play/play.h"
#include "play/save.h"
#include "play/sound.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "puzzle/settings.h"
#include "ws/cursor.h"
#include "ws/ddbase.h"
#include "ws/picture_reader.h"
#include "ws/tr.h"

namespace {

constexpr const char* kClassName = "JigWin";
constexpr const char* kNoticeTitle = ZT_NOOP("play", "zelto 通知");
constexpr const char* kUnusableFileText = ZT_NOOP("play", "扱えない形式の画像です。");
constexpr const char* kSaveQuestion = ZT_NOOP("play", "ゲーム中のデータを保存しますか？\n（保存先 : %s）");
constexpr const char* kSaveQuestionTitle = ZT_NOOP("play", "保存確認");

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("jig", event);
}

std::string upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The whole window drawn again: through the presenter when it is in force, else from the desk image.
void redraw_window(ws::Hwnd hwnd) {
    if (desk.presenter && display.current_game) {
        disp(*display.current_game, nullptr);
    } else if (desk.presenter) {
        dd_back(nullptr, 0, 0);
        desk.presenter->flip(hwnd, nullptr);
    } else {
        ws::paint_at_once(hwnd, nullptr);
    }
}

// What the window does when it is made: the desk, the cutting-line shapes, dropped files, and the first game.
void on_create(ws::Hwnd hwnd) {
    trace("WM_CREATE\n");
    push_cursor(ws::IDC_ARROW);
    reset_road();
    play_sound(SOUND_START);
    line_const_init();
    ws::use_device_pixels(hwnd);  // the desk is drawn in the screen's own pixels
    init_window();
    ws::drag_accept_files(hwnd, true);
    hooks.emergency_save = emergency_save;
    if (play.picture_path.empty()) {
        if (settings.view) open_picture_list(hwnd);
    } else if (file_kind(play.picture_path) == FileKind::saved_game) {
        play.save_path = play.picture_path;
        if (extract_picture(play.save_path, play.picture_path)) ws::post_message(hwnd, IDM_CONTINUE_GAME, 0, 0);
    } else {
        start_first_picture(hwnd, true);
    }
    redraw_window(hwnd);
}

// IDM_VIEW_END: the player clicked a file in the picture list.
void on_view_end(ws::Hwnd hwnd) {
    trace("IDM_VIEW_END\n");
    close_list_window();
    if (play.view_result.empty()) return;
    if (play.view_title != kViewChoose) {
        settings.back_img = play.view_result;
        backimg(1);
        if (!desk.presenter) ws::invalidate_rect(hwnd, nullptr, false);
    } else if (file_kind(play.view_result) == FileKind::saved_game) {
        resume_saved_game(hwnd, play.view_result);
    } else {
        start_listed_picture(hwnd, play.view_result);
        redraw_window(hwnd);
    }
}

// WM_CLOSE: the game may be saved first, or the player may keep the window open.
void on_close(ws::Hwnd hwnd) {
    trace("WM_CLOSE\n");
    if (play.captured) {
        ws::release_capture();
        play.captured = 0;
    }
    if (!confirm_close(hwnd)) return;
    ws::kill_timer(hwnd, kClockTimer);
    play_sound(SOUND_END);
    finish_window();
    ws::destroy_window(hwnd);
    display.game_window = 0;
}

// A window destroyed without being closed (its parent went first) still ends its game and its desk.
void on_destroy(ws::Hwnd hwnd) {
    ws::kill_timer(hwnd, kClockTimer);
    if (display.current_game) end_game();
    if (desk.desk_image) finish_window();
    reset_road();
    if (display.game_window == hwnd) display.game_window = 0;
}

// The name of the first dropped file, without the double quotes some shells wrap names in.
std::string dropped_name(ws::Hdrop drop) {
    std::string name = ws::drag_query_file(drop, 0);
    ws::drag_finish(drop);
    if (!name.empty() && name.front() == '"') name = name.size() < 2 ? "" : name.substr(1, name.size() - 2);
    return name;
}

void on_drop(ws::Hwnd hwnd, ws::Hdrop drop) {
    const std::string name = dropped_name(drop);
    if (name.empty()) return;
    switch (file_kind(name)) {
    case FileKind::picture: start_dropped_picture(hwnd, name); break;
    case FileKind::saved_game: resume_saved_game(hwnd, name); break;
    case FileKind::other:
        ws::message_box(0, ws::tr("play", kUnusableFileText), ws::tr("play", kNoticeTitle), ws::MB_OK);
        break;
    }
}

// The main window changed size: the game window keeps filling its client area.
void on_fit_parent(ws::Hwnd hwnd) {
    if (settings.skin || !display.main_window) return;
    const Rect r = ws::get_client_rect(display.main_window);
    ws::move_window(hwnd, r.left, r.top, r.width() + 1, r.height() + 1, true);
    if (desk.presenter) {
        redraw_window(hwnd);
    } else {
        ws::invalidate_rect(hwnd, nullptr, false);
    }
}

void on_clock_tick(uintptr_t id) {
    if (id == kRecoveryTimer && hooks.recovery_due) hooks.recovery_due();
    if (id != kClockTimer) return;
    windowtitle(*display.current_game, TITLE_TICK);
    display.current_game->free_dc();
}

// The trace line of a message handed to play, or nullptr for one that is not traced.
const char* play_trace_text(uint32_t msg) {
    switch (msg) {
    case ws::WM_LBUTTONDOWN: return "IDM_LBUTTONDOWN\n";
    case ws::WM_RBUTTONDOWN: return "IDM_RBUTTONDOWN\n";
    case ws::WM_MBUTTONDOWN: return "IDM_MBUTTONDOWN\n";
    case ws::WM_LBUTTONUP: return "IDM_LBUTTONUP\n";
    case ws::WM_RBUTTONUP: return "IDM_RBUTTONUP\n";
    case ws::WM_MBUTTONUP: return "IDM_MBUTTONUP\n";
    case ws::WM_MOUSEMOVE: return "IDM_MOUSEMOVE\n";
    case IDM_SELECT: return "IDM_IDM_SELECT\n";
    case IDM_SELECT_END: return "IDM_SELECT_END\n";
    case IDM_P90_KAITEN: return "IDM_P90_KAITEN\n";
    case IDM_M90_KAITEN: return "IDM_M90_KAITEN\n";
    case IDM_REV: return "IDM_REV\n";
    case IDM_DRAW: return "IDM_DRAW\n";
    case IDM_MOVE_SCREEN: return "IDM_MOVE_SCREEN\n";
    default: return nullptr;
    }
}

// Input and the clock reach the game only once every piece lies on the desk.
intptr_t play_or_default(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    if (msg == ws::WM_MOUSEMOVE && play.list_window)
        ws::send_message(play.list_window, IDM_LIST_MOUSE, wparam, lparam);
    Jig* game = display.current_game;
    if (!game || game->cut_count < game->item_count) return ws::def_window_proc(hwnd, msg, wparam, lparam);
    if (msg == ws::WM_TIMER) {
        on_clock_tick(wparam);
        return 0;
    }
    if (const char* text = play_trace_text(msg)) trace(text);
    if (play_message(hwnd, msg, wparam, lparam)) return 0;
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

// Saves the game under `name` before it ends; false when the save failed (the player has been told).
bool save_for_close(const std::string& name) {
    if (!save_game(*display.current_game, name)) return false;
    play.save_path = name;
    close_list_window();
    close_guide_window();
    return true;
}

// The game stays: its clock runs on and a later close asks again.
int32_t keep_game(ws::Hwnd hwnd) {
    ws::set_timer(hwnd, kClockTimer, kClockPeriod);
    play.close_without_asking = 0;
    return 0;
}

}  // namespace

FileKind file_kind(const std::string& path) {
    if (is_picture_name(path)) return FileKind::picture;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos) return FileKind::other;
    if (upper(path.substr(dot)) == ".ZLT") return FileKind::saved_game;
    return FileKind::other;
}

void close_guide_window() {
    if (!play.guide_window) return;
    ws::send_message(play.guide_window, ws::WM_CLOSE, 0, 0);
    play.guide_window = 0;
}

void close_list_window() {
    if (!play.list_window) return;
    ws::send_message(play.list_window, ws::WM_CLOSE, 0, 0);
    play.list_window = 0;
}

bool offer_save(ws::Hwnd hwnd) {
    const Jig* game = display.current_game;
    // A game still being cut cannot be saved yet; a complete one or one saved since its last change loses nothing.
    if (!game || game->cut_count < game->item_count || game->item_count < 2) return true;
    if (!settings.dtsave || play.game_saved != 0) return true;
    const std::string name = default_save_name();
    int32_t answer = ws::IDYES;
    if (!play.close_without_asking) {
        char text[1200];
        std::snprintf(text, sizeof text, ws::tr("play", kSaveQuestion).c_str(), name.c_str());
        answer = ws::message_box(hwnd, text, ws::tr("play", kSaveQuestionTitle), ws::MB_YESNOCANCEL);
    }
    if (answer == ws::IDCANCEL) return false;
    return answer != ws::IDYES || save_for_close(name);
}

int32_t confirm_close(ws::Hwnd hwnd) {
    if (!display.current_game) return 1;
    if (!offer_save(hwnd)) return keep_game(hwnd);
    tell_forget_recovery();  // the game ends at the player's word
    end_game();
    return 1;
}

bool register_game_window() {
    if (ws::class_registered(kClassName)) return true;
    ws::WindowClass wc;
    wc.name = kClassName;
    wc.proc = game_window_proc;
    wc.style = 0;
    wc.cursor = ws::IDC_ARROW;
    wc.background = ws::NO_BACKGROUND;
    wc.menu_name = "IDM_MAIN_MENU";
    return ws::register_class(wc);
}

ws::Hwnd create_game_window(ws::Hwnd parent, const Rect* area) {
    const Rect r = area ? *area : ws::get_client_rect(parent);
    const ws::Hwnd hwnd = ws::create_window(kClassName, "Zelto", ws::WS_CHILD | ws::WS_CLIPSIBLINGS, r.left, r.top,
                                            r.width() + 1, r.height() + 1, parent, 0);
    if (!hwnd) return 0;
    ws::show_window(hwnd, ws::SW_SHOWNORMAL);
    ws::update_window(hwnd);
    return hwnd;
}

intptr_t game_window_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    display.game_window = hwnd;
    switch (msg) {
    case IDM_INIT_DISP: init_disp_step(hwnd); return 0;
    case ws::WM_CLOSE: on_close(hwnd); return 0;
    case ws::WM_CREATE: on_create(hwnd); return 0;
    case ws::WM_DESTROY: on_destroy(hwnd); return 0;
    case ws::WM_PAINT:
        trace("WM_PAINT\n");
        desk_paint(hwnd);
        return 0;
    case ws::WM_DROPFILES: on_drop(hwnd, ws::Hdrop(wparam)); return 0;
    case IDM_CONTINUE_GAME: continue_saved_game(); return 0;
    case IDM_FIT_PARENT: on_fit_parent(hwnd); return 0;
    case IDM_VIEW_END: on_view_end(hwnd); return 0;
    case ws::WM_MOUSEWHEEL:
        if (!(wparam & ws::MK_CONTROL)) return ws::def_window_proc(hwnd, msg, wparam, lparam);
        zoom_wheel(hwnd, wparam, lparam);
        return 0;
    default: return play_or_default(hwnd, msg, wparam, lparam);
    }
}
