// Taking a piece out of a tray: into the tray under the pointer, or back onto the desk where the pointer is.
#include <algorithm>

#include "desk/display.h"
#include "desk/state.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/view.h"
#include "pieces/piece.h"
#include "play/play.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "ws/ws.h"

namespace {

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("tray", event);
}

// The desk point for a game-window client point, brought inside the part of the desk the window shows (and
// inside the desk), so that a piece let go over no window of the game can still be reached.
Point visible_desk_point(Point client) {
    const Rect c = view_client(display.game_window);
    Rect shown = intersect_rect(Rect{desk.view_x, desk.view_y, desk.view_x + c.width(), desk.view_y + c.height()},
                                Rect{0, 0, desk.desk_width, desk.desk_height});
    if (shown.empty()) shown = Rect{0, 0, std::max(desk.desk_width, 1), std::max(desk.desk_height, 1)};
    const Point v = view_point(client);
    return {std::clamp(v.x + desk.view_x, shown.left, shown.right - 1),
            std::clamp(v.y + desk.view_y, shown.top, shown.bottom - 1)};
}

}  // namespace

void take_out(Jig& jig, int32_t id, int32_t x, int32_t y) {
    trace("take_out start\n");
    const int32_t at = jig.item_of(id);
    Item* item = at >= 0 && jig.items[at].piece ? &jig.items[at] : nullptr;
    if (!item || !display.game_window) return;
    const Point client = ws::screen_to_client(display.game_window, {x, y});
    const int32_t k = tray_at_point({x, y});
    if (k >= 0) {
        // It stays hidden and moves on to that tray.
        ws::post_message(play.tray_window[k], IDM_TRAY_PUT, uintptr_t(id), ws::make_lparam(client.x, client.y));
        trace("take_out end (tray)\n");
        return;
    }
    item->hidden = 0;
    const Point spot = visible_desk_point(client);
    const Rect r = item->piece->move_to(spot.x, spot.y);
    disp(jig, &r);
    if (!desk.presenter) {
        const Rect on_window = window_rect_of_desk(r);
        ws::paint_at_once(display.game_window, &on_window);
    }
    trace("take_out end\n");
}
