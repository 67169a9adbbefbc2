// The game in play's life on the desk: building a game from the picture and laying it out, ending it, showing a
// resumed game, and keeping a copy of a played picture in the picture folder.
#include "play/jig.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>
#include <utility>
#include <vector>

#include "desk/background.h"
#include "desk/display.h"
#include "desk/state.h"
#include "desk/title.h"
#include "graphics/hooks.h"
#include "graphics/memdc.h"
#include "graphics/paths.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/view.h"
#include "pieces/piece.h"
#include "play/companions.h"
#include "play/jigwin.h"
#include "play/lifecycle.h"
#include "play/play.h"
#include "play/save.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"
#include "ws/ddbase.h"
#include "ws/ws.h"

Play play;

void reset_play_state() {
    drop_current_game();
    delete std::exchange(desk.presenter, nullptr);
    play.reset();
    reset_desk_state();
}

namespace {

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("jig", event);
}

// A new game starts on the bare background, seen from the desk's top-left corner.
void lay_bare_desk() {
    desk.view_x = desk.view_y = 0;
    if (!desk.desk_image || !desk.desk_back) return;
    desk.desk_image->blit(0, 0, desk.desk_image->width(), desk.desk_image->height(), *desk.desk_back, 0, 0, SRCCOPY);
    desk.desk_image->release_dc();
    desk.desk_back->release_dc();
}

// The presenter of a game keeps one image per cell: a group's image sits in the slot of its id.
void start_presenter(int32_t slots) {
    delete desk.presenter;  // one left behind by a game that was not ended can only be stale
    desk.presenter = new DDBase(slots);
    desk.presenter->init(display.game_window);
    desk.presenter->table_count = desk.presenter->count;
}

// Trays hold pieces of this game only: they are emptied and closed before the presenter's images they borrow go.
void end_presenter() {
    if (hooks.close_trays) hooks.close_trays();
    for (ws::Hwnd& tray : play.tray_window) {  // a program without trays installed can still hold none open
        if (tray && ws::is_window(tray)) ws::destroy_window(tray);
        tray = 0;
    }
    for (int32_t id = 0; id < desk.presenter->count; ++id) desk.presenter->release_img(id);
    desk.presenter->finish();
    delete desk.presenter;
    desk.presenter = nullptr;
}

// Draws item i of a resumed game at its saved angle and shows it at once, so the groups appear one by one.
void show_resumed_item(Jig& game, int32_t i) {
    Item& item = game.items[i];
    if (!item.piece) return;
    Piece& p = *item.piece;
    p.set_angle(p.angle, settings_shading());
    p.drop_image();
    if (desk.presenter) {
        p.hand_over_view(item.id);
        dd_draw_item(&p.rect, i, true);
        return;
    }
    p.disp(&p.rect);
    p.release();
    if (!display.game_window) return;
    const Rect on_window = window_rect_of_desk(p.rect);
    ws::paint_at_once(display.game_window, &on_window);
}

// A laid-out game leaves the desk: its clock stops, its guide closes, its pieces go and then the trays and the
// presenter whose images they borrowed, and the temporary pictures of the game are removed.
void end_on_desk(Jig& game) {
    if (display.game_window) ws::kill_timer(display.game_window, kClockTimer);
    close_guide_window();
    const int32_t live = game.live_items();
    for (int32_t i = 0; i < live; ++i) {
        delete game.items[i].piece;
        game.items[i].piece = nullptr;
    }
    if (desk.presenter) end_presenter();
    for (const char* name : kTempPictures) std::remove(name);
    play.last_selected = -1;
}

// Installed with the play record itself, so every program that plays a game has it before its first game ends.
[[maybe_unused]] const bool end_installed = (hooks.end_of_laid_game = end_on_desk, true);

}  // namespace

Jig* build_game() {
    Jig* game = new (std::nothrow) Jig(play.picture_path);
    if (game) lay_out(*game);
    return game;
}

void lay_out(Jig& jig) {
    jig.on_desk = true;
    fit_desk(jig);
    lay_bare_desk();
    for (ws::Hwnd& tray : play.tray_window) tray = 0;
    if (jig.item_count < 1) return;
    if (settings.ddraw) start_presenter(jig.item_count);
    jig.cut_count = 0;
    jig.line_init();
    play.game_piece_num = settings.piece_num;
    play.game_stretch_size = settings.stretch_size;
    if (desk.presenter) disp(jig, nullptr);
    jig.reset_sweep();
    trace("Jig end\n");
}

void continue_game(Jig& jig) {
    trace("continue_game start\n");
    // The groups have no views yet, so the background is laid without drawing them; they follow one by one.
    backimg(0);
    if (desk.presenter) {
        disp(jig, nullptr);
    } else if (display.game_window) {
        ws::paint_at_once(display.game_window, nullptr);
    }
    const int32_t n = jig.live_items();
    for (int32_t i = 0; i < n; ++i) show_resumed_item(jig, i);
    if (settings.image && display.game_window) open_guide(display.game_window);
    windowtitle(jig, TITLE_RESUME);
    trace("continue_game end\n");
}

bool same_file_bytes(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path pa = resolve_path(a), pb = resolve_path(b);
    const uintmax_t size = fs::file_size(pa, ec);
    if (ec || fs::file_size(pb, ec) != size || ec) return false;
    std::ifstream fa(pa, std::ios::binary), fb(pb, std::ios::binary);
    char ba[1 << 14], bb[1 << 14];
    while (fa && fb) {
        fa.read(ba, sizeof ba);
        fb.read(bb, sizeof bb);
        if (fa.gcount() != fb.gcount() || std::memcmp(ba, bb, size_t(fa.gcount())) != 0) return false;
    }
    return fa.eof() && fb.eof();
}

void keep_picture_copy(std::string& path) {
    namespace fs = std::filesystem;
    const size_t slash = path.find_last_of("\\/");
    const size_t name_at = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < name_at) dot = path.size();
    const std::string base = path.substr(name_at, dot - name_at), extension = path.substr(dot);
    const fs::path source = resolve_path(path);
    const fs::path folder = resolve_path(settings.view_dir);
    std::error_code ec;
    if (fs::equivalent(source.parent_path().empty() ? fs::path(".") : source.parent_path(), folder, ec)) return;
    // A copy made on an earlier day is played again, wherever it lies among the numbered names (one may have been
    // deleted since); only a picture the folder does not hold yet is copied, under the first free name.
    std::vector<fs::path> free;
    for (int32_t n = 0; n <= 100; ++n) {
        const std::string suffix = n == 0 ? std::string() : std::to_string(n);
        const fs::path target = folder / (base + suffix + extension);
        if (!fs::exists(target, ec)) {
            if (ec) return;  // the folder cannot be looked into
            free.push_back(target);
        } else if (same_file_bytes(source.string(), target.string())) {
            path = target.string();
            return;
        }
    }
    for (const fs::path& target : free) {
        if (fs::copy_file(source, target, fs::copy_options::none, ec) && !ec) {
            path = target.string();
            return;
        }
        if (ec == std::errc::file_exists) continue;  // made by someone else meanwhile
        // The folder or the picture cannot be used; a half-made copy is ours to remove.
        std::error_code ignored;
        fs::remove(target, ignored);
        return;
    }
}
