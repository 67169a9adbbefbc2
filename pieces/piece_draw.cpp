// Drawing a piece on the desk: laying its view, erasing it, and keeping and restoring what lies under it.
#include <algorithm>

#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/piece.h"

Rect Piece::disp(const Rect* clip) {
    const Where here = Where::current();
    if (!view) fatal_error(module_name(here), int(here.line()), "Piece::disp pointer of rot is NULL", 0);
    const Rect r = clip ? intersect_rect(rect, *clip) : rect;
    if (r.empty()) return Rect{};
    // Beyond the view's kept box everything is white and nothing is drawn: put_transparent clips to the box.
    put_transparent(r.left, r.top, r.width(), r.height(), *view, r.left - rect.left - view_left,
                    r.top - rect.top - view_top);
    return r;
}

Rect Piece::erase() {
    if (desk.desk_image && desk.desk_back)
        desk.desk_image->blit(rect.left, rect.top, rect.width(), rect.height(), *desk.desk_back, rect.left, rect.top,
                              SRCCOPY);
    return rect;
}

Rect Piece::save_under(MemDC*& slot, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    delete slot;
    slot = new MemDC;
    slot->create(BIT_DIB, std::max(view_width, 1), std::max(view_height, 1));
    slot->fill(0, 0, slot->width(), slot->height(), 0xFFFFFF);
    if (desk.desk_image) slot->blit(0, 0, right - left, bottom - top, *desk.desk_image, left, top, SRCCOPY);
    return {left, top, right, bottom};
}

Rect Piece::restore_under(MemDC& surface, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (desk.desk_image) desk.desk_image->blit(left, top, right - left, bottom - top, surface, 0, 0, SRCCOPY);
    return {left, top, right, bottom};
}
