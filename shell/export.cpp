// Bitmap exports: what the game window shows, the whole desk, the last piece picked up, and every piece.
#include <algorithm>
#include <cstdio>

#include "desk/display.h"
#include "desk/state.h"
#include "graphics/state.h"
#include "graphics/zoom.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "shell/commands.h"
#include "shell/file_dialogs.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "ws/bmpsave.h"
#include "ws/ddbase.h"
#include "ws/tr.h"

namespace {

constexpr const char* kChoosePiece = ZT_NOOP("shell", "どれかピースを選択してください。");
constexpr const char* kNotWritten = ZT_NOOP("shell", "ファイルを書き込めませんでした。\n%s");

// Asks for the export file; false when the player cancelled.
bool choose_export_file() {
    std::string name;
    if (!out_file_select(name)) return false;
    std::snprintf(graphics.bmp_name, sizeof graphics.bmp_name, "%s", name.c_str());
    return true;
}

void report_unless(int32_t written) {
    if (written) return;
    char text[sizeof graphics.bmp_name + 64];
    std::snprintf(text, sizeof text, ws::tr("shell", kNotWritten).c_str(), graphics.bmp_name);
    notice(text, "zelto");
}

// Writes item i's piece as it looks now to bmp_name (its whole view, rendered for the moment when the presenter
// holds it); 0 when it could not be written.
int32_t write_piece(int32_t i) { return prepare_item_gdi(i); }

// Exports start from the plain desk image, which the presenter leaves behind until it is drawn again; a large
// game's presenter gives the whole image up again once the export is done.
struct CurrentDeskImage {
    CurrentDeskImage() {
        if (desk.presenter) redraw_all_gdi();
    }
    ~CurrentDeskImage() {
        if (desk.presenter && display.desk_grown) keep_desk_image(false);
    }
    CurrentDeskImage(const CurrentDeskImage&) = delete;
    CurrentDeskImage& operator=(const CurrentDeskImage&) = delete;
};

}  // namespace

// What the window shows: the desk from the view origin, as far as the player sees the game window. That window
// reaches one pixel past the main window's client area on purpose; the main window clips it there.
void command_bmp_window() {
    if (!display.current_game || !desk.desk_image) return;
    const CurrentDeskImage current;
    if (!choose_export_file()) return;
    Rect shown = ws::get_client_rect(display.game_window);
    if (display.main_window) {
        Rect parent = ws::get_client_rect(display.main_window);
        const Point game_at = ws::client_to_screen(display.game_window, {0, 0});
        const Point parent_at = ws::client_to_screen(display.main_window, {0, 0});
        offset_rect(parent, parent_at.x - game_at.x, parent_at.y - game_at.y);  // in the game window's coordinates
        shown = intersect_rect(shown, parent);
    }
    const int32_t ox = desk.view_x + desk.scroll_dx, oy = desk.view_y + desk.scroll_dy;
    if (desk.zoom == kZoomFull) {
        report_unless(save_bmp(*desk.desk_image, ox + shown.left, oy + shown.top, std::max(shown.width(), 1),
                               std::max(shown.height(), 1)));
        return;
    }
    // Zoomed, the file holds the window's pixels as they are shown.
    MemDC window;
    window.create(BIT_SCREEN, std::max(shown.right, 1), std::max(shown.bottom, 1));
    zoom_copy(window, shown, *desk.desk_image, ox, oy, desk.zoom, colour_to_word(kBeyondDeskColour));
    report_unless(save_bmp(window, shown.left, shown.top, std::max(shown.width(), 1), std::max(shown.height(), 1)));
}

void command_bmp_desk() {
    if (!display.current_game || !desk.desk_image) return;
    const CurrentDeskImage current;
    if (!choose_export_file()) return;
    report_unless(save_bmp(*desk.desk_image, 0, 0, 0, 0));
}

// The last piece picked up; joins may have left that index beyond the live items, which counts as none picked.
void command_bmp_piece() {
    if (!display.current_game) return;
    const int32_t live = display.current_game->live_items();
    if (play.last_selected < 0 || play.last_selected >= live || !display.current_game->items[play.last_selected].piece) {
        ws::message_box(display.game_window, ws::tr("shell", kChoosePiece), "zelto", ws::MB_OK);
        return;
    }
    if (!choose_export_file()) return;
    report_unless(write_piece(play.last_selected));
}

// Every piece into PIECE_000.BMP, PIECE_001.BMP, ... in the current folder, replacing files of those names.
void command_bmp_all_pieces() {
    if (!display.current_game || display.current_game->item_count < 1) return;
    const int32_t live = display.current_game->live_items();
    for (int32_t i = 0; i < live; ++i) {
        if (!display.current_game->items[i].piece) continue;
        std::snprintf(graphics.bmp_name, sizeof graphics.bmp_name, "PIECE_%03d.BMP", int(i));
        if (!write_piece(i)) {
            report_unless(0);
            return;
        }
    }
}
