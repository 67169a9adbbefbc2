// The road of a game: building it on a request, cutting it a piece (or a frame's worth) per posted step, starting
// play, resuming a saved game, and ending a game.
#include "play/lifecycle.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>
#include <vector>

#include "desk/background.h"
#include "desk/state.h"
#include "desk/title.h"
#include "graphics/hooks.h"
#include "graphics/paths.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/view.h"
#include "play/companions.h"
#include "play/jig.h"
#include "play/jigwin.h"
#include "play/play.h"
#include "play/save.h"
#include "play/sound.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"
#include "ws/cursor.h"

namespace {

constexpr uint32_t kCuttingFrame = 16;  // ms of cutting per step of a large game

bool step_queued = false;    // an IDM_INIT_DISP waits in the queue
bool play_started = false;   // the game in play has been started (a late step must not start its clock again)
int32_t cursor_pushes = 0;   // busy cursors the road pushed and has not given back yet

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("jig", event);
}

void push_busy_cursor() {
    push_cursor(ws::IDC_WAIT);
    ++cursor_pushes;
}

void pop_busy_cursor() {
    if (cursor_pushes < 1) return;
    pop_cursor();
    --cursor_pushes;
}

// Makes a usable new game current and starts its cutting; a game that cannot be played is ended at once.
void begin_cutting(ws::Hwnd hwnd, Jig* game, bool keep_copy) {
    display.current_game = game;
    if (!game || game->item_count < 1) {
        end_game();
        return;
    }
    play.game_saved = 0;
    tell_forget_recovery();  // a new game has replaced the one the recovery file held
    if (keep_copy && settings.view_follow) {
        keep_picture_copy(play.picture_path);
        // The copy holds the same bytes, so the game's picture still holds its file's own pixels.
        if (!game->file_colours.path.empty()) game->file_colours.path = play.picture_path;
    }
    push_busy_cursor();
    queue_cutting(hwnd);
}

// The first cutting step lays the background afresh and shows the whole window.
void prepare_desk(ws::Hwnd hwnd) {
    play_sound(SOUND_GM_WAIT);
    if (settings.back_type == IDM_BACK_RGB) {
        backrgb(0, 1);
    } else {
        backimg(1);
    }
    if (!desk.presenter) ws::paint_at_once(hwnd, nullptr);
}

// One step of the cutting: a piece, or for a game of more than classic_cells as many as a frame's time allows, so
// that the window keeps answering and the title counts on while thousands are cut.
void cut_pieces(ws::Hwnd hwnd, Jig& game) {
    if (game.cut_count == 0) {
        prepare_desk(hwnd);
    } else {
        play_sound(SOUND_GM_LOAD);
    }
    // Zoomed, the view may reach past the desk; the pieces are scattered on it.
    Rect client = view_client(hwnd);
    if (desk.zoom != kZoomFull) client = intersect_rect(client, {0, 0, desk.desk_width, desk.desk_height});
    const uint32_t start = ws::tick_count();
    Rect r;
    do {
        r = union_rect(r, game.cut(client.width(), client.height()));
        game.free_dc();
    } while (game.item_count > classic_cells && game.cut_count < game.item_count &&
             ws::tick_count() - start < kCuttingFrame);
    if (!desk.presenter) {
        const Rect on_window = window_rect_of_desk(r);
        ws::paint_at_once(hwnd, &on_window);
    }
    queue_cutting(hwnd);
    windowtitle(game, TITLE_CUTTING);
}

void start_play(ws::Hwnd hwnd, Jig& game) {
    play_started = true;
    if (!desk.presenter) ws::invalidate_rect(hwnd, nullptr, false);
    if (settings.image) open_guide(hwnd);
    windowtitle(game, TITLE_START);
    pop_busy_cursor();
    play_sound(SOUND_GM_ST);
}

}  // namespace

void end_game() {
    // Whatever the road pushed for this game goes with it: a game ended after its last cut but before the step
    // that starts play still holds the busy cursor of its cutting.
    while (cursor_pushes > 0) pop_busy_cursor();
    delete display.current_game;
    display.current_game = nullptr;
    play_started = false;
    reset_gesture();
}

void reset_road() { step_queued = false; }

void queue_cutting(ws::Hwnd hwnd) {
    if (step_queued) return;
    step_queued = ws::post_message(hwnd, IDM_INIT_DISP, 0, 0);
}

bool replace_game(ws::Hwnd hwnd, const std::string& picture, bool keep_copy) {
    const std::string file = picture;  // the caller may pass a value that ending the game or the list changes
    std::unique_ptr<Jig> next(new (std::nothrow) Jig(file));
    if (!next || next->item_count < 1) return false;
    if (!offer_save(hwnd)) return false;
    close_list_window();
    end_game();
    play.picture_path = file;
    play.save_path.clear();
    lay_out(*next);
    begin_cutting(hwnd, next.release(), keep_copy);
    return true;
}

void start_dropped_picture(ws::Hwnd hwnd, const std::string& file) {
    if (replace_game(hwnd, file, true)) ws::set_foreground_window(ws::get_parent(hwnd) ? ws::get_parent(hwnd) : hwnd);
}

void start_first_picture(ws::Hwnd hwnd, bool keep_copy) {
    begin_cutting(hwnd, build_game(), keep_copy);
}

void start_listed_picture(ws::Hwnd hwnd, const std::string& file) { replace_game(hwnd, file, false); }

void open_picture_list(ws::Hwnd hwnd) {
    if (!hooks.open_list) return;
    play.view_folder = settings.view_dir + "\\";
    play.view_title = kViewChoose;
    play.view_result.clear();
    play.list_window = hooks.open_list(hwnd);
}

void open_guide(ws::Hwnd hwnd) {
    close_guide_window();
    if (hooks.open_guide && !play.picture_path.empty()) play.guide_window = hooks.open_guide(hwnd);
}

int32_t resume_saved_game(ws::Hwnd hwnd, const std::string& file) {
    const int32_t ok = begin_resume(file, [hwnd] {
        if (!offer_save(hwnd)) return false;
        close_list_window();
        end_game();
        return true;
    });
    if (ok) ws::post_message(hwnd, IDM_CONTINUE_GAME, 0, 0);
    return ok;
}

void init_disp_step(ws::Hwnd hwnd) {
    step_queued = false;
    Jig* game = display.current_game;
    if (!game) return;  // the game was ended while its step waited
    if (graphics.trace_switch) {
        char text[64];
        std::snprintf(text, sizeof text, "IDM_INIT_DISP %d\n", int(game->cut_count));
        trace(text);
    }
    if (game->cut_count < game->item_count) {
        cut_pieces(hwnd, *game);
    } else if (game->item_count < 1) {
        end_game();  // nothing to play: no title, no clock
        pop_busy_cursor();
    } else if (!play_started) {
        start_play(hwnd, *game);
    }
}

void continue_saved_game() {
    trace("IDM_CONTINUE_GAME\n");
    if (play.save_path.empty()) return;
    settings.piece_num = play.game_piece_num;
    settings.stretch_size = play.game_stretch_size;
    tell_settings_changed();
    if (display.current_game) {
        // A game started after the resume was asked for: ending it deletes the resumed game's picture too.
        end_game();
        if (!extract_picture(play.save_path, play.picture_path)) return;
    }
    tell_forget_recovery();
    push_busy_cursor();
    display.current_game = build_game();
    play.game_saved = 0;
    Jig* game = display.current_game;
    if (!game || game->item_count < 1 || !load_game(*game, play.save_path)) {
        end_game();
        pop_busy_cursor();
        return;
    }
    continue_game(*display.current_game);
    play_started = true;
    pop_busy_cursor();
}
