// The menu's marks (menu_check), the entries added at creation (web pages, trays) and the quick right-click pop-ups.
#include "shell/menu.h"

#include <algorithm>
#include <iterator>

#include "desk/state.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "play/state.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "shell/state.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {

// Marks position `pos` of `sub` with a radio mark and clears the others; pos below 0 clears them all.
void mark_position(ws::Hmenu sub, int32_t pos) {
    const int32_t n = ws::get_menu_item_count(sub);
    if (n < 1) return;
    if (pos >= 0 && pos < n) {
        ws::check_menu_radio_item(sub, 0, uint32_t(n - 1), uint32_t(pos), ws::MF_BYPOSITION);
        return;
    }
    for (int32_t i = 0; i < n; ++i) ws::check_menu_item(sub, uint32_t(i), ws::MF_BYPOSITION | ws::MF_UNCHECKED);
}

template <size_t N>
int32_t index_of(const int32_t (&list)[N], int32_t value) {
    const auto it = std::find(std::begin(list), std::end(list), value);
    return it == std::end(list) ? -1 : int32_t(it - std::begin(list));
}

int32_t finished_picture_position() {
    if (settings.back_gazou && settings.back_gazou_line) return 1;
    return settings.back_gazou ? 0 : 2;
}

}  // namespace

void menu_check() {
    if (graphics.trace_switch) trace_line("MAIN", "menu_check\n");
    const ws::Hmenu set = ws::get_sub_menu(shell.main_menu, 1);
    if (!set) return;
    auto sub = [set](int32_t pos) { return ws::get_sub_menu(set, pos); };
    mark_position(sub(SETTINGS_PIECES), index_of(kPieceCounts, settings.piece_num));
    mark_position(sub(SETTINGS_STRETCH), index_of(kStretchSizes, settings.stretch_size));
    if (settings.kaiten >= int32_t(IDM_KAITEN) && settings.kaiten <= int32_t(IDM_KAITEN_90))
        mark_position(sub(SETTINGS_KAITEN), settings.kaiten - int32_t(IDM_KAITEN));
    mark_position(sub(SETTINGS_HANTEN), settings.hanten ? 0 : 1);
    mark_position(sub(SETTINGS_GUIDE), settings.image ? std::clamp(settings.guide, 0, 2) : 3);
    mark_position(sub(SETTINGS_NOKOSU), settings.nokosu ? 0 : 1);
    const ws::Hmenu back = sub(SETTINGS_BACK);
    if (settings.back_type >= IDM_BACK_RGB && settings.back_type <= IDM_BACK_IMG_CEN) {
        ws::check_menu_radio_item(back, 0, 2, uint32_t(settings.back_type - IDM_BACK_RGB), ws::MF_BYPOSITION);
    }
    mark_position(ws::get_sub_menu(back, kBackFinishedPicture), finished_picture_position());
    mark_position(sub(SETTINGS_SOUND), settings.sound ? 0 : 1);
    if (display.main_window) ws::draw_menu_bar(display.main_window);
}

void build_extra_menus() {
    const ws::Hmenu web = ws::create_popup_menu();
    ws::insert_menu(shell.main_menu, 2, ws::MF_BYPOSITION | ws::MF_POPUP, uintptr_t(web), "Web");
    for (int32_t n = 0; n < kWebEntries && !settings.web[n].empty(); ++n) {
        if (settings.web[n] != "none")
            ws::append_menu(web, ws::MF_STRING, IDM_WEB_FIRST + uint32_t(n), settings.web[n]);
    }
    if (settings.tray)
        ws::insert_menu(shell.main_menu, 2, ws::MF_BYPOSITION | ws::MF_STRING, IDM_TRAY_ADD, ws::tr("shell", "トレイを追加"));
    if (display.main_window) ws::draw_menu_bar(display.main_window);
}

void quick_menu(ws::Hwnd hwnd, Point client, int32_t held_ms) {
    if (held_ms >= settings.click_time) return;
    const int32_t pos = client.x < 5 && client.y < 5 ? 0 : 1;
    const Point at = ws::client_to_screen(hwnd, client);
    ws::track_popup_menu(ws::get_sub_menu(shell.main_menu, pos), ws::TPM_LEFTALIGN | ws::TPM_RIGHTBUTTON, at.x, at.y,
                         hwnd);
}
