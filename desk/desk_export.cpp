// Making the plain desk image and single piece views valid for export while the presenter shows the desk.
#include <algorithm>

#include "desk/display.h"
#include "desk/state.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"
#include "ws/bmpsave.h"

namespace {

// The presenter keeps its own copy of each view and the piece may have dropped its own: render one for the
// moment. Returns whether the piece had a view before.
bool rebuild_view(Piece& piece) {
    const bool had_view = piece.view != nullptr;
    piece.set_angle(piece.angle, settings_shading());
    return had_view;
}

void drop_view_unless(Piece& piece, bool keep) {
    piece.release();
    piece.drop_image();
    if (keep) return;
    delete piece.view;
    piece.view = nullptr;
}

Item* live_item(int32_t i) {
    Jig* game = display.current_game;
    if (!game || i < 0 || i >= game->live_items() || !game->items[i].piece) return nullptr;
    return &game->items[i];
}

}  // namespace

void redraw_all_gdi() {
    if (!desk.desk_image || !desk.desk_back) return;
    keep_desk_image(true);  // a large game's presenter holds none between exports
    desk.desk_image->blit(0, 0, desk.desk_image->width(), desk.desk_image->height(), *desk.desk_back, 0, 0, SRCCOPY);
    const int32_t n = display.current_game ? display.current_game->live_items() : 0;
    for (int32_t i = 0; i < n; ++i) {
        Item* item = live_item(i);
        if (!item || item->hidden == 1) continue;
        const bool had_view = rebuild_view(*item->piece);
        item->piece->disp();
        drop_view_unless(*item->piece, had_view);
    }
    desk.desk_image->release_dc();
    desk.desk_back->release_dc();
}

int32_t prepare_item_gdi(int32_t i) {
    Item* item = live_item(i);
    if (!item) return 0;
    const bool had_view = rebuild_view(*item->piece);
    MemDC whole;  // the piece keeps only part of its view; the file shows all of it
    item->piece->full_view(whole);
    const int32_t written = save_bmp(whole, 0, 0, 0, 0);
    drop_view_unless(*item->piece, had_view);
    return written;
}
