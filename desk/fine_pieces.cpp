// The finer pieces: on a screen of more device pixels than the desk has at full size, the pieces the window shows
// are drawn again over the scaled desk from their finer cut, so they show the picture's own detail.
#include <vector>

#include "desk/display.h"
#include "desk/state.h"
#include "graphics/zoom.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "puzzle/jig.h"

void draw_fine_pieces(ws::Hwnd, MemDC& surface, const Rect& client_area, int32_t device) {
    Jig* game = display.current_game;
    if (!game || desk.zoom != kZoomFull || device <= kZoomFull || !game->fine_picture || game->fine_scale != device)
        return;
    const int32_t ox = desk.view_x + desk.scroll_dx, oy = desk.view_y + desk.scroll_dy;
    Rect on_desk = client_area;
    offset_rect(on_desk, ox, oy);
    const Rect area = intersect_rect(zoomed_rect(client_area, device), {0, 0, surface.width(), surface.height()});
    // A finer piece lies at its centre times the scale; the surface's (0, 0) shows the view origin times the scale.
    const int32_t dx = scaled_nearest(ox, device), dy = scaled_nearest(oy, device);
    static std::vector<int32_t> order;
    game->items_over(on_desk, order);
    for (const int32_t k : order) {
        if (game->items[k].hidden == 1) continue;
        const Piece* fine = game->fine_piece(k, device);
        if (!fine) continue;
        Rect r = fine->rect;
        offset_rect(r, -dx, -dy);
        r = intersect_rect(r, area);
        if (r.empty()) continue;
        put_keyed(surface, r.left, r.top, r.width(), r.height(), *fine->view,
                  r.left + dx - fine->rect.left - fine->view_left, r.top + dy - fine->rect.top - fine->view_top);
    }
}
