// The desk's two images, its size and view origin, the measured near-black and near-white, and the transparent copy.
#include <algorithm>
#include <cstring>

#include "pieces/desk.h"

#include "graphics/state.h"

Desk desk;

void reset_pieces_state() {
    desk_images_destroy();
    desk.reset();
    reset_graphics_state();
}

namespace {

// The darkest grey desk_image does not show as black: write greys upwards from black and read them back.
Colour measure_near_black(MemDC& surface) {
    for (uint32_t i = 0; i <= 254; ++i) {
        surface.set_pixel(0, 0, i | (i << 8) | (i << 16));
        const Colour c = surface.get_pixel(0, 0);
        if (c != 0) return c;
    }
    return 0;
}

// The lightest grey desk_image does not show as white, found the same way downwards from white.
Colour measure_near_white(MemDC& surface) {
    for (int32_t i = 255; i >= 0; --i) {
        const uint32_t g = uint32_t(i);
        surface.set_pixel(0, 0, g | (g << 8) | (g << 16));
        const Colour c = surface.get_pixel(0, 0);
        if (c != 0xFFFFFF) return c;
    }
    return 0xFFFFFF;
}

// One row of the transparent copy. The mask whitens the desk where the source is not white; the source then ANDs
// its pixel in (what the two mask blits do). Four pixels at a time where the row allows: GCC and Clang turn the
// vector type into SIMD instructions.
void lay_row(const uint32_t* s, uint32_t* d, int32_t n) {
    using Quad = uint32_t __attribute__((vector_size(16)));
    int32_t i = 0;
    for (; i + 4 <= n; i += 4) {
        Quad sv, dv;
        std::memcpy(&sv, s + i, sizeof sv);
        std::memcpy(&dv, d + i, sizeof dv);
        const Quad white = Quad((sv & 0x00FFFFFFu) == 0x00FFFFFFu);  // all ones where the source is white
        dv = (dv | (~white & 0x00FFFFFFu)) & sv;
        std::memcpy(d + i, &dv, sizeof dv);
    }
    for (; i < n; ++i) {
        const uint32_t mask = (s[i] & 0x00FFFFFF) == 0x00FFFFFF ? 0 : 0x00FFFFFF;
        d[i] = (d[i] | mask) & s[i];
    }
}

MemDC* new_desk_surface(int32_t width, int32_t height) {
    MemDC* s = new MemDC;
    s->create(BIT_SCREEN, width, height);
    return s;
}

}  // namespace

void desk_images_create(int32_t width, int32_t height) {
    desk_images_destroy();
    desk.desk_width = std::max(width, 1);
    desk.desk_height = std::max(height, 1);
    desk.view_x = desk.view_y = 0;
    desk.desk_image = new_desk_surface(desk.desk_width, desk.desk_height);
    desk.desk_back = new_desk_surface(desk.desk_width, desk.desk_height);
    desk.near_black = measure_near_black(*desk.desk_image);
    desk.near_white = measure_near_white(*desk.desk_image);
}

void keep_desk_image(bool whole) {
    if (!desk.desk_image) return;
    const int32_t w = whole ? desk.desk_width : 1, h = whole ? desk.desk_height : 1;
    if (desk.desk_image->width() != w || desk.desk_image->height() != h) desk.desk_image->create(BIT_SCREEN, w, h);
}

void desk_images_destroy() {
    delete desk.desk_image;
    delete desk.desk_back;
    desk.desk_image = desk.desk_back = nullptr;
}

void put_keyed(MemDC& dst, int32_t x, int32_t y, int32_t w, int32_t h, const MemDC& src, int32_t sx, int32_t sy) {
    // Clip once here so the copy below touches only pixels both surfaces have.
    const int32_t left = std::max({0, -x, -sx}), top = std::max({0, -y, -sy});
    const int32_t right = std::min({w, dst.width() - x, src.width() - sx});
    const int32_t bottom = std::min({h, dst.height() - y, src.height() - sy});
    if (right <= left || bottom <= top) return;
    const int32_t dw = dst.width(), sw = src.width();
    const int32_t dh = dst.height(), sh = src.height();
    const int32_t n = right - left;
    // Memory rows run bottom-up: the block's rows are laid from its bottom, so that both surfaces are read in
    // rising addresses, which the processor fetches ahead far better than falling ones.
    for (int32_t r = bottom - 1; r >= top; --r) {
        const uint32_t* s = src.words() + size_t(sh - 1 - (sy + r)) * size_t(sw) + size_t(sx + left);
        uint32_t* d = dst.words() + size_t(dh - 1 - (y + r)) * size_t(dw) + size_t(x + left);
        lay_row(s, d, n);
    }
}

void put_transparent(int32_t x, int32_t y, int32_t w, int32_t h, MemDC& src, int32_t sx, int32_t sy) {
    if (desk.desk_image) put_keyed(*desk.desk_image, x, y, w, h, src, sx, sy);
}
