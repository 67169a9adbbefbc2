// MemDC: surface lifecycle, device-context bookkeeping, pens and brushes, and the drawing operations.
#include "graphics/memdc.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>

#include "graphics/raster.h"
#include "graphics/trace.h"

namespace {

// Live device contexts, pens, brushes and bitmaps of the whole process (surfaces may be made on the thumbnail
// loader's thread, hence atomics).
std::atomic<int32_t> live_dcs{0}, live_pens{0}, live_brushes{0}, live_bitmaps{0};

// The largest surface we agree to hold: 2^28 words (1 GiB).
constexpr int64_t max_words = int64_t(1) << 28;

const char* creation_step(int32_t bit_type) {
    if (bit_type == BIT_MONO) return "CreateBitmap";
    if (bit_type == BIT_DIB) return "CreateDIBSection";
    return "CreateCompatibleBitmap";
}

// Monochrome surfaces take the nearer of black and white: white when R + G + B >= 383.
bool nearer_white(Colour c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) >= 383; }

}  // namespace

MemDC::~MemDC() { destroy(); }

int32_t MemDC::live_objects() { return live_dcs + live_pens + live_brushes + live_bitmaps; }

int32_t MemDC::create(int32_t type, int32_t width, int32_t height, Where w) {
    if (type != BIT_SCREEN && type != BIT_MONO && type != BIT_DIB) fatal_error(module_name(w), int(w.line()), "bit_type error", 0);
    if (width < 0 || height < 0 || int64_t(width) * height > max_words)
        fatal_error(module_name(w), int(w.line()), creation_step(type), 0);
    destroy();
    // New bitmaps start black, as fresh bitmaps and sections do on the platform.
    store_.assign(size_t(width) * size_t(height), 0);
    width_ = width;
    height_ = height;
    bit_type = type;
    bits = type == BIT_DIB ? store_.data() : nullptr;
    created_ = true;
    ++live_bitmaps;
    dc_ = false;
    return attach(w);
}

int32_t MemDC::attach(Where w) {
    if (dc_) return 1;
    // Selecting a bitmap that does not exist is the call that fails on the platform.
    if (!created_) fatal_error(module_name(w), int(w.line()), "SelectObject", 0);
    dc_ = true;
    ++live_dcs;
    // A fresh device context: stock black pen, white brush, black text on white.
    pen_colour_ = 0;
    pen_width_ = 1;
    brush_colour_ = 0xFFFFFF;
    text_colour_ = 0;
    bk_colour_ = 0xFFFFFF;
    return 1;
}

void MemDC::drop_pen() {
    if (!pen_) return;
    pen_ = false;
    --live_pens;
}

void MemDC::drop_brush() {
    if (!brush_) return;
    brush_ = false;
    --live_brushes;
}

void MemDC::drop_dc() {
    drop_pen();
    drop_brush();
    if (!dc_) return;
    dc_ = false;
    --live_dcs;
}

void MemDC::release_dc() { drop_dc(); }

void MemDC::destroy() {
    if (!created_) return;
    drop_dc();
    std::vector<uint32_t>().swap(store_);
    width_ = height_ = 0;
    bits = nullptr;
    created_ = false;
    --live_bitmaps;
}

uint32_t* MemDC::pixels(Where w) {
    attach(w);
    if (bit_type != BIT_DIB) fatal_error(module_name(w), int(w.line()), "NOT DIB FORMAT", 0);
    return bits;
}

raster::Surface MemDC::view() { return {store_.data(), width_, height_}; }

uint32_t MemDC::ink(Colour c) const {
    if (bit_type == BIT_MONO) return nearer_white(c) ? 0xFFFFFFu : 0u;
    return colour_to_word(c);
}

int32_t MemDC::set_pen(Colour colour, int32_t width, Where w) {
    attach(w);
    drop_pen();
    pen_ = true;
    ++live_pens;
    pen_colour_ = colour;
    pen_width_ = std::max(width, 1);  // width 0 is the one-pixel pen, as on the platform
    return 1;
}

int32_t MemDC::set_pen1(Colour colour, Where w) { return set_pen(colour, 1, w); }

int32_t MemDC::set_brush(Colour colour, Where w) {
    attach(w);
    drop_brush();
    brush_ = true;
    ++live_brushes;
    brush_colour_ = colour;
    return 1;
}

void MemDC::set_text_colour(Colour c, Where w) {
    attach(w);
    text_colour_ = c;
}

void MemDC::set_bk_colour(Colour c, Where w) {
    attach(w);
    bk_colour_ = c;
}

int32_t MemDC::fill(int32_t x, int32_t y, int32_t width, int32_t height, Colour colour, Where w) {
    set_brush(colour, w);
    raster::fill_rect(view(), x, y, width, height, ink(colour));
    return 1;
}

raster::Transfer MemDC::transfer_from(const MemDC& src, uint32_t rop, const char* step, const Where& w) const {
    raster::Transfer t;
    switch (rop) {
    case SRCCOPY: t.rop = raster::Rop::copy; break;
    case NOTSRCCOPY: t.rop = raster::Rop::not_copy; break;
    case SRCPAINT: t.rop = raster::Rop::paint; break;
    case SRCAND: t.rop = raster::Rop::and_op; break;
    case PATCOPY: t.rop = raster::Rop::pattern; break;
    default: fatal_error(module_name(w), int(w.line()), step, 0);
    }
    const bool mono_dst = bit_type == BIT_MONO, mono_src = src.bit_type == BIT_MONO;
    if (mono_dst && !mono_src) {
        t.convert = raster::Convert::colour_to_mono;
        t.key = colour_to_word(src.bk_colour_);
    } else if (!mono_dst && mono_src) {
        t.convert = raster::Convert::mono_to_colour;
        t.zero = colour_to_word(text_colour_);
        t.one = colour_to_word(bk_colour_);
    }
    t.pattern = ink(brush_colour_);
    t.mask = mono_dst ? 0x00FFFFFFu : 0xFFFFFFFFu;
    return t;
}

int32_t MemDC::blit(int32_t x, int32_t y, int32_t width, int32_t height, MemDC& src, int32_t sx, int32_t sy,
                    uint32_t rop, Where w) {
    attach(w);
    src.attach(w);
    const raster::Transfer t = transfer_from(src, rop, "BitBlt", w);
    raster::transfer_rect(view(), x, y, width, height, src.view(), sx, sy, t);
    return 1;
}

int32_t MemDC::stretch_blit(int32_t x, int32_t y, int32_t width, int32_t height, MemDC& src, int32_t sx,
                            int32_t sy, int32_t sw, int32_t sh, uint32_t rop, Where w) {
    attach(w);
    src.attach(w);
    const raster::Transfer t = transfer_from(src, rop, "StretchBlt", w);
    raster::stretch_rect(view(), x, y, width, height, src.view(), sx, sy, sw, sh, t);
    return 1;
}

int32_t MemDC::get_info(BitmapInfo& out, Where w) {
    attach(w);
    out.type = 0;
    out.width = width_;
    out.height = height_;
    out.planes = 1;
    if (bit_type == BIT_MONO) {
        // One bit per pixel, rows padded to 16 bits, as the platform describes monochrome bitmaps.
        out.bits_pixel = 1;
        out.width_bytes = (width_ + 15) / 16 * 2;
    } else {
        out.bits_pixel = 32;
        out.width_bytes = width_ * 4;
    }
    out.bits = bit_type == BIT_DIB ? bits : nullptr;
    return 1;
}

int32_t MemDC::bezier(const Point* points, int32_t count, Where w) {
    attach(w);
    if (!points || count < 1 || (count - 1) % 3 != 0) fatal_error(module_name(w), int(w.line()), "PolyBezier", 0);
    thread_local std::vector<Point> flat;  // kept from one chain to the next: outlines are drawn by the hundred
    flat.clear();
    raster::flatten_bezier(points, count, flat);
    raster::draw_polyline(view(), flat.data(), int32_t(flat.size()), {ink(pen_colour_), pen_width_});
    return 1;
}

int32_t MemDC::polyline(const Point* points, int32_t count, Where w) {
    attach(w);
    if (points) raster::draw_polyline(view(), points, count, {ink(pen_colour_), pen_width_});
    return 1;
}

int32_t MemDC::line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Where w) {
    attach(w);
    raster::draw_line(view(), {x1, y1}, {x2, y2}, {ink(pen_colour_), pen_width_});
    return 1;
}

int32_t MemDC::flood_fill(int32_t x, int32_t y, Colour colour, int32_t mode, Where w) {
    attach(w);
    if (mode != FLOODFILLBORDER && mode != FLOODFILLSURFACE)
        fatal_error(module_name(w), int(w.line()), "ExtFloodFill", 0);
    // A seed on the border colour (or off the surface) paints nothing and is not an error.
    raster::flood_fill(view(), x, y, ink(colour), mode == FLOODFILLSURFACE, ink(brush_colour_));
    return 1;
}

int32_t MemDC::frame(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Where w) {
    const Point corners[5] = {{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}, {x1, y1}};
    return polyline(corners, 5, w);
}

void MemDC::snap_to_held(int32_t x, int32_t y, int32_t width, int32_t height) {
    const raster::Surface v = view();
    for (int64_t r = std::max(y, 0); r < std::min<int64_t>(int64_t(y) + height, height_); ++r)
        for (int64_t c = std::max(x, 0); c < std::min<int64_t>(int64_t(x) + width, width_); ++c) {
            uint32_t& word = v.row(int32_t(r))[c];
            word = ink(word_to_colour(word));
        }
}

int32_t MemDC::ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Where w) {
    attach(w);
    raster::draw_ellipse(view(), {x1, y1, x2, y2}, {ink(pen_colour_), pen_width_}, ink(brush_colour_));
    return 1;
}

Colour MemDC::get_pixel(int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFF;
    return word_to_colour(row(y)[x]);
}

void MemDC::set_pixel(int32_t x, int32_t y, Colour colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    row(y)[x] = ink(colour);
}

void MemDC::take_pixels(MemDC& from) {
    if (!from.created_ || from.bit_type == BIT_MONO || &from == this) return;
    replace_pixels(from.width_, from.height_, std::move(from.store_));
    from.destroy();
}

void MemDC::replace_pixels(int32_t width, int32_t height, std::vector<uint32_t>&& words) {
    if (width < 0 || height < 0 || words.size() != size_t(width) * size_t(height)) return;
    if (!created_) {
        created_ = true;
        ++live_bitmaps;
    }
    store_ = std::move(words);
    width_ = width;
    height_ = height;
    // The pixel pointer follows the new pixels, so it never dangles after a load.
    bits = bit_type == BIT_DIB ? store_.data() : nullptr;
}
