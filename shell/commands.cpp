// WM_COMMAND of the main window: the trace line of each command, and where each one is carried out.
#include <cstdio>

#include "desk/state.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "play/play.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "shell/commands.h"
#include "shell/menu.h"
#include "shell/mywin.h"
#include "windows/tray.h"

namespace {

const char* command_name(uint32_t id) {
    switch (id) {
    case IDM_FOPEN: return "IDM_FOPEN";
    case IDM_ICHIRAN: return "IDM_ICHIRAN";
    case IDM_RESTART: return "IDM_RESTART";
    case IDM_LOAD: return "IDM_LOAD";
    case IDM_SAVE: return "IDM_SAVE";
    case IDM_BMP_WIN: return "IDM_BMP_WIN";
    case IDM_BMP_DESK: return "IDM_BMP_DESK";
    case IDM_BMP_PIECE: return "IDM_BMP_PIECE";
    case IDM_BMP_PIECE_ALL: return "IDM_BMP_PIECE_ALL";
    case IDM_COMP_DATE: return "IDM_COMP_DATE";
    case IDM_EXIT: return "IDM_EXIT";
    case IDM_KAITEN: return "IDM_KAITEN";
    case IDM_KAITEN_NASI: return "IDM_KAITEN_NASI";
    case IDM_KAITEN_90: return "IDM_KAITEN_90";
    case IDM_HANTEN: return "IDM_HANTEN";
    case IDM_HANTEN_NASI: return "IDM_HANTEN_NASI";
    case IDM_IMAGE_ON: return "IDM_IMAGE_ON";
    case IDM_IMAGE_GUIDE: return "IDM_IMAGE_GUIDE";
    case IDM_IMAGE_GUIDE_SHIFT: return "IDM_IMAGE_GUIDE_SHIFT";
    case IDM_IMAGE_OFF: return "IDM_IMAGE_OFF";
    case IDM_BACK_RGB: return "IDM_BACK_RGB";
    case IDM_BACK_IMG_REN: return "IDM_BACK_IMG_REN";
    case IDM_BACK_IMG_CEN: return "IDM_BACK_IMG_CEN";
    case IDM_BACK_IMG_ON: return "IDM_BACK_IMG_ON";
    case IDM_BACK_IMG_LINE: return "IDM_BACK_IMG_LINE";
    case IDM_BACK_IMG_OFF: return "IDM_BACK_IMG_OFF";
    case IDM_SOUND_ON: return "IDM_SOUND_ON";
    case IDM_SOUND_OFF: return "IDM_SOUND_OFF";
    case IDM_TRAY_ADD: return "IDM_TRAY_ADD";
    case IDM_PASTE: return "IDM_PASTE";
    case IDM_PASTE_BACK: return "IDM_PASTE_BACK";
    case IDM_NOKOSU_ON:
    case IDM_NOKOSU_OFF: return "IDM_NOKOSU";
    case IDM_KATACHI: return "IDM_KATACHI";
    default: return nullptr;
    }
}

void trace_command(uint32_t id) {
    if (!graphics.trace_switch) return;
    char text[48];
    if (const int32_t entry = piece_entry(id); entry >= 0) {
        std::snprintf(text, sizeof text, "IDM_%d_PIECE\n", kPieceCounts[entry]);
    } else if (id >= IDM_STRETCH_FIRST && id <= IDM_STRETCH_LAST) {
        std::snprintf(text, sizeof text, "IDM_%d_STRETCH\n", kStretchSizes[id - IDM_STRETCH_FIRST]);
    } else if (id >= IDM_WEB_FIRST && id < IDM_WEB_FIRST + kWebEntries) {
        std::snprintf(text, sizeof text, "IDM_WEB_%02u\n", unsigned(id - IDM_WEB_FIRST));
    } else if (const char* name = command_name(id)) {
        std::snprintf(text, sizeof text, "%s\n", name);
    } else {
        return;
    }
    trace_line("MAIN", text);
}

}  // namespace

bool game_in_progress() { return display.current_game && display.current_game->item_count >= 2; }

void repaint_game_window() {
    if (display.game_window) redraw_whole_window(display.game_window);
}

void notice(const std::string& text, const std::string& title) { ws::message_box(0, text, title, ws::MB_OK); }

void menu_command(ws::Hwnd hwnd, uint32_t id) {
    id &= 0xFFFF;
    trace_command(id);
    if (id >= IDM_WEB_FIRST && id < IDM_WEB_FIRST + kWebEntries) return command_web(int32_t(id - IDM_WEB_FIRST));
    switch (id) {
    case IDM_FOPEN: return command_open();
    case IDM_ICHIRAN: return command_list();
    case IDM_RESTART: return command_restart();
    case IDM_LOAD: return command_load();
    case IDM_SAVE: return command_save();
    case IDM_BMP_WIN: return command_bmp_window();
    case IDM_BMP_DESK: return command_bmp_desk();
    case IDM_BMP_PIECE: return command_bmp_piece();
    case IDM_BMP_PIECE_ALL: return command_bmp_all_pieces();
    case IDM_COMP_DATE: return show_build_date();
    case IDM_EXIT: return close_main_window(hwnd);
    case IDM_TRAY_ADD: return tray_add();
    case IDM_PASTE: return command_paste();
    case IDM_PASTE_BACK: return command_paste_back();
    case IDM_KATACHI: return command_katachi();
    case IDM_ZOOM_IN:
    case IDM_ZOOM_OUT:
    case IDM_ZOOM_FULL:
    case IDM_ZOOM_WHOLE_DESK: return zoom_command(display.game_window, int32_t(id - IDM_ZOOM_IN));
    default: settings_command(id); return;
    }
}
