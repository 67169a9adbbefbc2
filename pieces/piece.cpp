// A piece's lifecycle and plain handling: its image, mirroring, moving, hit testing and releasing its contexts.
#include <algorithm>
#include <vector>

#include "graphics/trace.h"
#include "graphics/word_scan.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "pieces/piece_box.h"
#include "ws/ddbase.h"

namespace piece_box {

int32_t first_kept(const uint32_t* row, int32_t n) {
    return word_scan::first_differing<~0u, true>(row, 0, n, plain_white);
}

int32_t last_kept(const uint32_t* row, int32_t n) { return word_scan::last_differing<~0u, true>(row, n, plain_white); }

// The first and last rows with something kept are found first; between them only the parts of a row beyond the
// columns found so far are searched.
Rect kept_box(const MemDC& s, const Rect& area) {
    const int32_t w = area.width(), h = area.height();
    const auto row = [&](int32_t y) {
        return s.words() + size_t(s.height() - 1 - (area.top + y)) * size_t(s.width()) + area.left;
    };
    int32_t top = 0, bottom = h - 1;
    while (top < h && first_kept(row(top), w) == w) ++top;
    if (top == h) return {};
    while (first_kept(row(bottom), w) == w) --bottom;
    int32_t left = w, right = 0;
    for (int32_t y = top; y <= bottom; ++y) {
        const uint32_t* r = row(y);
        left = first_kept(r, left);
        right += last_kept(r + right, w - right) + 1;
    }
    return {left, top, right, bottom + 1};
}

MemDC* copy_out(const MemDC& s, const Rect& box) {
    // The words are gathered straight into the new surface's storage, bottom row first, with no clearing before.
    std::vector<uint32_t> words;
    words.reserve(size_t(box.width()) * size_t(box.height()));
    for (int32_t y = box.height() - 1; y >= 0; --y) {
        const uint32_t* row = s.words() + size_t(s.height() - 1 - (box.top + y)) * size_t(s.width()) + box.left;
        words.insert(words.end(), row, row + box.width());
    }
    auto* out = new MemDC;
    out->bit_type = BIT_DIB;
    out->replace_pixels(box.width(), box.height(), std::move(words));
    return out;
}

MemDC* white_surface(int32_t w, int32_t h) {
    // Made white at once rather than created black and then whitened: views are made often and can be large.
    auto* out = new MemDC;
    out->bit_type = BIT_DIB;
    out->replace_pixels(w, h, std::vector<uint32_t>(size_t(w) * size_t(h), plain_white));
    return out;
}

}  // namespace piece_box

namespace {
constexpr Colour white = 0xFFFFFF;
using piece_box::plain_white;

// Word (x, y), top-down, of a frame whose surface s holds the box at (left, top): plain white elsewhere.
uint32_t frame_word(const MemDC* s, int32_t left, int32_t top, int32_t x, int32_t y) {
    if (!s) return plain_white;
    x -= left, y -= top;
    if (x < 0 || y < 0 || x >= s->width() || y >= s->height()) return plain_white;
    return s->words()[size_t(s->height() - 1 - y) * size_t(s->width()) + size_t(x)];
}
}  // namespace

Piece::~Piece() {
    note_moved();
    delete image;
    delete view;
    delete fine;
}

void Piece::set_image(MemDC& src, int32_t w, int32_t h, int32_t sx, int32_t sy) {
    delete image;
    image = nullptr;
    image_left = image_top = 0;
    if (w < 1 || h < 1) {
        // Nothing to show: a single key-coloured pixel keeps every later step well defined.
        width = height = 1;
        image = piece_box::white_surface(1, 1);
        return;
    }
    width = w, height = h;
    // Parts of the block that the source does not have are white (not part of the piece), so only the part on
    // the source is searched for the words worth keeping.
    const Rect on_src = intersect_rect({sx, sy, sx + w, sy + h}, {0, 0, src.width(), src.height()});
    const Rect box = on_src.empty() ? Rect{} : piece_box::kept_box(src, on_src);
    if (box.empty()) {
        image = piece_box::white_surface(1, 1);
        return;
    }
    const Rect on_frame{on_src.left + box.left, on_src.top + box.top, on_src.left + box.right, on_src.top + box.bottom};
    if (src.bit_type == BIT_MONO) {
        // A monochrome source goes through the blit, which turns its black and white into this surface's.
        image = new MemDC;
        image->create(BIT_DIB, box.width(), box.height());
        image->blit(0, 0, box.width(), box.height(), src, on_frame.left, on_frame.top, SRCCOPY);
    } else {
        image = piece_box::copy_out(src, on_frame);
    }
    image_left = on_src.left - sx + box.left;
    image_top = on_src.top - sy + box.top;
    if (turned == 1) mirror();
}

void Piece::take_image(MemDC* box, int32_t w, int32_t h, int32_t left, int32_t top) {
    delete image;
    image = box;
    image->release_dc();  // the pixels are all a piece keeps
    width = w, height = h;
    image_left = left, image_top = top;
    if (turned == 1) mirror();
}

void Piece::mirror() {
    if (!image) return;
    uint32_t* words = image->pixels();
    const int32_t bw = image->width(), bh = image->height();
    for (int32_t m = 0; m < bh; ++m) std::reverse(words + size_t(m) * bw, words + size_t(m + 1) * bw);
    image_left = width - image_left - bw;
}

void Piece::drop_image() {
    if (!recut) return;
    delete image;
    image = nullptr;
}

void Piece::restore_image() {
    if (!image && recut) recut(*this);
}

Rect Piece::move_to(int32_t x, int32_t y) {
    const int32_t dx = x - grab_x, dy = y - grab_y;
    offset_rect(rect, dx, dy);
    cx += dx;
    cy += dy;
    grab_x = x, grab_y = y;
    note_moved();
    return rect;
}

Rect Piece::centre_rect() {
    rect.left = cx - view_width / 2;
    rect.top = cy - view_height / 2;
    rect.right = rect.left + view_width;
    rect.bottom = rect.top + view_height;
    note_moved();
    return rect;
}

int32_t Piece::hit(int32_t x, int32_t y, int32_t id) {
    if (!(rect.left < x && x < rect.right && rect.top < y && y < rect.bottom)) return 0;
    const int32_t vx = x - rect.left, vy = y - rect.top;
    Colour c;
    if (desk.presenter) {
        c = desk.presenter->get_pixel(id, vx, vy);
    } else {
        if (!view) return 0;
        c = word_to_colour(view_at(vx, vy));
    }
    return (c & 0xFFFFFF) != white ? 1 : 0;
}

void Piece::release() {
    if (image) image->release_dc();
    if (view) view->release_dc();
}

uint32_t Piece::image_at(int32_t x, int32_t y) const { return frame_word(image, image_left, image_top, x, y); }
uint32_t Piece::view_at(int32_t x, int32_t y) const { return frame_word(view, view_left, view_top, x, y); }

void Piece::full_view(MemDC& out) const {
    const Where here = Where::current();
    if (!view) fatal_error(module_name(here), int(here.line()), "Piece::full_view pointer of rot is NULL", 0);
    const int32_t w = std::max(view_width, 1), h = std::max(view_height, 1);
    out.create(BIT_DIB, w, h);
    std::fill_n(out.words(), size_t(w) * size_t(h), plain_white);
    out.blit(view_left, view_top, view->width(), view->height(), *view, 0, 0, SRCCOPY);
}

void Piece::hand_over_view(int32_t id) {
    if (!desk.presenter || !view) return;
    desk.presenter->take_img(id, view, view_left, view_top, view_width, view_height);
}
