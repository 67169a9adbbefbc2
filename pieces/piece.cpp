// A piece's lifecycle and plain handling: its image, mirroring, moving, hit testing and releasing its contexts.
#include <algorithm>

#include "graphics/ddbase.h"
#include "pieces/piece.h"
#include "play/jig.h"

namespace {
constexpr Colour white = 0xFFFFFF;
}

Piece::~Piece() {
    delete image;
    delete view;
}

void Piece::set_image(MemDC& src, int32_t w, int32_t h) {
    delete image;
    image = new MemDC;
    if (w < 1 || h < 1) {
        // Nothing to show: a single key-coloured pixel keeps every later step well defined.
        width = height = 1;
        image->create(BIT_DIB, 1, 1);
        image->pixels()[0] = 0x00FFFFFF;
        return;
    }
    width = w, height = h;
    image->create(BIT_DIB, w, h);
    // Parts of the requested block that the source does not have stay white (not part of the piece).
    if (src.width() < w || src.height() < h) std::fill_n(image->pixels(), size_t(w) * size_t(h), 0x00FFFFFFu);
    image->blit(0, 0, w, h, src, 0, 0, SRCCOPY);
    if (turned == 1) mirror();
}

void Piece::mirror() {
    if (!image) return;
    uint32_t* words = image->pixels();
    for (int32_t m = 0; m < height; ++m) std::reverse(words + size_t(m) * width, words + size_t(m + 1) * width);
}

Rect Piece::move_to(int32_t x, int32_t y) {
    const int32_t dx = x - grab_x, dy = y - grab_y;
    offset_rect(rect, dx, dy);
    cx += dx;
    cy += dy;
    grab_x = x, grab_y = y;
    return rect;
}

int32_t Piece::hit(int32_t x, int32_t y, int32_t id) {
    if (!(rect.left < x && x < rect.right && rect.top < y && y < rect.bottom)) return 0;
    const int32_t vx = x - rect.left, vy = y - rect.top;
    Colour c;
    if (presenter) {
        c = presenter->get_pixel(id, vx, vy);
    } else {
        if (!view) return 0;
        c = view->get_pixel(vx, vy);
    }
    return (c & 0xFFFFFF) != white ? 1 : 0;
}

void Piece::release() {
    if (image) image->release_dc();
    if (view) view->release_dc();
}
