// The presenter DDBase: keyed item images, the composing back buffer and presenting into a window's client surface.
#include "ws/ddbase.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "graphics/trace.h"
#include "graphics/zoom.h"
#include "ws/ws.h"

namespace {

const char* const kModule = "ddbase";
constexpr uint32_t kRgbMask = 0x00FFFFFF;
constexpr Colour kWhite = 0x00FFFFFF;

int32_t live_item_surfaces = 0;
char step_text[256];  // formatted step texts are made here before the report

[[noreturn]] void fail(int line, const char* step) { fatal_error(kModule, line, step, 0); }

[[noreturn]] void fail_id(int line, const char* format, int32_t id) {
    std::snprintf(step_text, sizeof step_text, format, int(id));
    fatal_error(kModule, line, step_text, 0);
}

MemDC* create_surface(int32_t width, int32_t height) {
    auto* surface = new MemDC;
    surface->create(BIT_SCREEN, width, height);
    ++live_item_surfaces;
    return surface;
}

void release_surface(MemDC*& surface) {
    if (!surface) return;
    surface->destroy();
    delete surface;
    surface = nullptr;
    --live_item_surfaces;
}

void destroy_back(MemDC*& back) {
    if (!back) return;
    back->destroy();
    delete back;
    back = nullptr;
}

// The key is whatever word the surface stores for `colour`, so a surface that cannot hold the colour exactly
// still keys out the pixels that were meant to be that colour.
uint32_t set_key(MemDC& surface, Colour colour) {
    if (surface.width() < 1 || surface.height() < 1) return colour_to_word(colour) & kRgbMask;
    const Colour saved = surface.get_pixel(0, 0);
    surface.set_pixel(0, 0, colour);
    const uint32_t key = surface.words()[size_t(surface.height() - 1) * size_t(surface.width())] & kRgbMask;
    surface.set_pixel(0, 0, saved);
    return key;
}

// Clips a destination rectangle to the back buffer and its source offset to a source of src_w x src_h:
// a negative left or top moves the source on, a negative source offset moves the destination on.
// False when nothing is left to copy.
bool clip_copy(Rect& dst, int32_t& sx, int32_t& sy, int32_t src_w, int32_t src_h, int32_t back_w, int32_t back_h) {
    int64_t left = dst.left, top = dst.top, right = dst.right, bottom = dst.bottom, x = sx, y = sy;
    if (left < 0) { x -= left; left = 0; }
    if (top < 0) { y -= top; top = 0; }
    right = std::min<int64_t>(right, back_w);
    bottom = std::min<int64_t>(bottom, back_h);
    if (x < 0) { left -= x; x = 0; }
    if (y < 0) { top -= y; y = 0; }
    const int64_t width = std::min(right - left, src_w - x), height = std::min(bottom - top, src_h - y);
    if (width < 1 || height < 1) return false;
    dst = {int32_t(left), int32_t(top), int32_t(left + width), int32_t(top + height)};
    sx = int32_t(x);
    sy = int32_t(y);
    return true;
}

// The colour-keyed copy of `draw`; the rectangle is already inside both surfaces. Memory rows run bottom-up:
// the rows go from the bottom, so that both surfaces are read in rising addresses, which the processor fetches
// ahead far better than falling ones.
void keyed_copy(MemDC& dst, const Rect& r, const MemDC& src, int32_t sx, int32_t sy, uint32_t key) {
    using Quad = uint32_t __attribute__((vector_size(16)));  // four pixels, one vector compare and blend
    const int32_t width = r.width();
    for (int32_t row = r.height() - 1; row >= 0; --row) {
        const uint32_t* s = src.words() + size_t(src.height() - 1 - (sy + row)) * size_t(src.width()) + sx;
        uint32_t* d = dst.words() + size_t(dst.height() - 1 - (r.top + row)) * size_t(dst.width()) + r.left;
        int32_t i = 0;
        for (; i + 4 <= width; i += 4) {
            Quad sv, dv;
            std::memcpy(&sv, s + i, sizeof sv);
            std::memcpy(&dv, d + i, sizeof dv);
            const Quad keyed = Quad((sv & kRgbMask) == key);  // all ones where the image shows nothing
            dv = (dv & keyed) | (sv & ~keyed);
            std::memcpy(d + i, &dv, sizeof dv);
        }
        for (; i < width; ++i) d[i] = (s[i] & kRgbMask) == key ? d[i] : s[i];
    }
}

}  // namespace

DDBase::DDBase(int32_t slot_count)
    : count(std::max(slot_count, 0)),
      surfaces(size_t(count), nullptr),
      widths(size_t(count), 0),
      surface_widths(size_t(count), 0),
      heights(size_t(count), 0),
      surface_heights(size_t(count), 0),
      lefts(size_t(count), 0),
      tops(size_t(count), 0),
      keys_(size_t(count), kWhite) {}

DDBase::~DDBase() { finish(); }

int32_t DDBase::live_surfaces() { return live_item_surfaces; }

void DDBase::forget(int32_t id) {
    surfaces[size_t(id)] = nullptr;
    widths[size_t(id)] = surface_widths[size_t(id)] = 0;
    heights[size_t(id)] = surface_heights[size_t(id)] = 0;
    lefts[size_t(id)] = tops[size_t(id)] = 0;
    keys_[size_t(id)] = kWhite;
}

void DDBase::init(ws::Hwnd hwnd) {
    destroy_back(back);
    window = hwnd;
    clip_left = clip_top = 0;
    zoom = device = kZoomFull;
    frame_x = frame_y = 0;
    screen_width = std::max(ws::screen_width(), 1);
    screen_height = std::max(ws::screen_height(), 1);
    back = new MemDC;
    back->create(BIT_SCREEN, screen_width, screen_height);
    ++writes;
    for (int32_t id = 0; id < count; ++id) forget(id);
    table_count = 0;
}

void DDBase::finish() {
    for (int32_t id = 0; id < count; ++id) {
        release_surface(surfaces[size_t(id)]);
        forget(id);
    }
    destroy_back(back);
    window = 0;
}

void DDBase::set_img(int32_t id, MemDC* view, int32_t left, int32_t top, int32_t width, int32_t height) {
    if (id < 0 || id >= count) fail_id(__LINE__, "set_img noが不正 no=%d", id);
    if (!view) fail_id(__LINE__, "set_img ビットマップポインタが不正(NULL) no=%d", id);
    BitmapInfo info;
    view->get_info(info);
    const size_t i = size_t(id);
    place(id, left, top, width, height, info.width, info.height);
    release_surface(surfaces[i]);
    surfaces[i] = create_surface(info.width, info.height);
    keys_[i] = set_key(*surfaces[i], kWhite);
    surfaces[i]->blit(0, 0, info.width, info.height, *view, 0, 0, SRCCOPY);
    surfaces[i]->release_dc();
}

void DDBase::place(int32_t id, int32_t left, int32_t top, int32_t width, int32_t height, int32_t surface_w,
                   int32_t surface_h) {
    const size_t i = size_t(id);
    lefts[i] = left;
    tops[i] = top;
    surface_widths[i] = surface_w;
    surface_heights[i] = surface_h;
    // The whole image reaches at least to the surface's far edges.
    widths[i] = std::max(width, left + surface_w);
    heights[i] = std::max(height, top + surface_h);
}

void DDBase::take_img(int32_t id, MemDC*& view, int32_t left, int32_t top, int32_t width, int32_t height) {
    if (id < 0 || id >= count) fail_id(__LINE__, "set_img noが不正 no=%d", id);
    if (!view || !view->created()) fail_id(__LINE__, "set_img ビットマップポインタが不正(NULL) no=%d", id);
    const size_t i = size_t(id);
    release_surface(surfaces[i]);
    surfaces[i] = view;
    view = nullptr;
    ++live_item_surfaces;
    place(id, left, top, width, height, surfaces[i]->width(), surfaces[i]->height());
    keys_[i] = set_key(*surfaces[i], kWhite);
    surfaces[i]->release_dc();
}

void DDBase::release_img(int32_t id) {
    if (id < 0 || id >= count) return;
    release_surface(surfaces[size_t(id)]);
    forget(id);
}

void DDBase::back_clear(const Rect* rect, MemDC* source, int32_t sx, int32_t sy) {
    if (!source) fail(__LINE__, "back_clear ビットマップポインタが不正(NULL)");
    if (!back) return;
    ++writes;
    Rect dst = rect ? *rect : Rect{0, 0, screen_width, screen_height};
    offset_rect(dst, frame_x, frame_y);
    if (!clip_copy(dst, sx, sy, source->width(), source->height(), back->width(), back->height())) return;
    back->blit(dst.left, dst.top, dst.width(), dst.height(), *source, sx, sy, SRCCOPY);
    back->release_dc();
}

void DDBase::draw(const Rect* rect, int32_t id, int32_t sx, int32_t sy) {
    if (id < 0 || id >= count) fail_id(__LINE__, "draw noが不正 no=%d", id);
    MemDC* image = surfaces[size_t(id)];
    if (!back || !image) return;
    ++writes;
    Rect dst = rect ? *rect : Rect{0, 0, screen_width, screen_height};
    offset_rect(dst, frame_x, frame_y);
    // The table's size is the one to honour; the image's own size only guards against a stale borrowed table.
    // Only the kept surface has pixels to draw: the whole image is white around it.
    const size_t i = size_t(id);
    const int32_t src_w = std::min(widths[i] - lefts[i], image->width());
    const int32_t src_h = std::min(heights[i] - tops[i], image->height());
    sx -= lefts[i], sy -= tops[i];
    if (!clip_copy(dst, sx, sy, src_w, src_h, back->width(), back->height())) return;
    keyed_copy(*back, dst, *image, sx, sy, keys_[size_t(id)]);
}

void DDBase::set_frame(int32_t zoom_now, int32_t fx, int32_t fy, int32_t back_w, int32_t back_h,
                       uint32_t outside_word, int32_t device_now) {
    if (zoom_now == kZoomFull) back_w = screen_width, back_h = screen_height, fx = fy = 0;
    if (zoom_now != zoom || device_now != device || fx != frame_x || fy != frame_y) ++writes;
    zoom = zoom_now;
    device = device_now;
    frame_x = fx, frame_y = fy;
    outside = outside_word;
    if (!back || (back->width() == back_w && back->height() == back_h)) return;
    destroy_back(back);
    back = new MemDC;
    back->create(BIT_SCREEN, std::max(back_w, 1), std::max(back_h, 1));
    ++writes;
}

Rect DDBase::on_back(const Rect& rect) const {
    Rect r = rect;
    offset_rect(r, frame_x, frame_y);
    return intersect_rect(r, {0, 0, back->width(), back->height()});
}

void DDBase::save_back(const Rect& rect, MemDC*& keep) const {
    const int32_t w = std::max(rect.width(), 1), h = std::max(rect.height(), 1);
    if (!keep || keep->width() != w || keep->height() != h) {
        delete keep;
        keep = new MemDC;
        keep->create(BIT_SCREEN, w, h);
    }
    if (!back) return;
    const Rect r = on_back(rect);
    if (r.empty()) return;
    keep->blit(r.left - rect.left - frame_x, r.top - rect.top - frame_y, r.width(), r.height(), *back, r.left, r.top,
               SRCCOPY);
    keep->release_dc();
}

void DDBase::restore_back(const Rect& rect, MemDC& keep) {
    if (!back) return;
    ++writes;
    const Rect kept{rect.left, rect.top, rect.left + keep.width(), rect.top + keep.height()};
    const Rect r = on_back(intersect_rect(rect, kept));
    if (r.empty()) return;
    back->blit(r.left, r.top, r.width(), r.height(), keep, r.left - rect.left - frame_x, r.top - rect.top - frame_y,
               SRCCOPY);
    back->release_dc();
}

// The scaled presentation: the window pixels that show `rect` (view coordinates) drawn from the back buffer, in
// the client surface's own (device) pixels.
void DDBase::flip_zoomed(ws::Hwnd hwnd, const Rect* rect) {
    MemDC* client = ws::client_surface(hwnd);
    if (!back || !client) return;
    const Rect all = ws::get_client_rect(hwnd);
    if (rect && rect->empty()) return;
    Rect r = all;
    if (rect) {
        // Scaled up, a window pixel blends the back buffer's pixels around its own: those next to the rectangle
        // changed too.
        r = zoomed_rect({rect->left - 1, rect->top - 1, rect->right + 1, rect->bottom + 1}, zoom);
        r = intersect_rect({r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, all);
    }
    if (r.empty()) return;
    zoom_copy(*client, zoomed_rect(r, device), *back, frame_x, frame_y, zoom, outside, device);
    if (overlay) overlay(hwnd, *client, r, device);
    ws::show_surface(hwnd, &r);
}

int32_t DDBase::flip(ws::Hwnd hwnd, const Rect* rect) {
    if (zoom != kZoomFull || device != kZoomFull) {
        flip_zoomed(hwnd, rect);
        return 1;
    }
    Rect r = rect ? *rect : ws::get_client_rect(hwnd);
    if (r.width() < 1 || r.height() < 1) return 1;
    r.right = r.left + std::min(r.width(), screen_width - clip_left);
    r.bottom = r.top + std::min(r.height(), screen_height - clip_top);
    MemDC* client = ws::client_surface(hwnd);
    if (!back || !client) return 1;
    // Only the part that exists in both the back buffer and the client surface can be copied.
    r = intersect_rect(r, Rect{0, 0, back->width(), back->height()});
    r = intersect_rect(r, Rect{0, 0, client->width(), client->height()});
    if (r.empty()) return 1;
    client->blit(r.left, r.top, r.width(), r.height(), *back, r.left, r.top, SRCCOPY);
    ws::show_surface(hwnd, &r);
    return 1;
}

Colour DDBase::get_pixel(int32_t id, int32_t x, int32_t y) {
    MemDC* surface = id < 0 ? back : (id < count ? surfaces[size_t(id)] : nullptr);
    if (!surface) return kWhite;
    if (id >= 0) x -= lefts[size_t(id)], y -= tops[size_t(id)];
    if (x < 0 || y < 0 || x >= surface->width() || y >= surface->height()) return kWhite;
    const Colour colour = surface->get_pixel(x, y);
    surface->release_dc();
    return colour;
}

void DDBase::copy_table(const DDBase& other) {
    const int32_t n = std::min(other.table_count, count);
    for (int32_t id = 0; id < n; ++id) {
        const size_t i = size_t(id);
        surfaces[i] = other.surfaces[i];
        widths[i] = other.widths[i];
        surface_widths[i] = other.surface_widths[i];
        heights[i] = other.heights[i];
        surface_heights[i] = other.surface_heights[i];
        lefts[i] = other.lefts[i];
        tops[i] = other.tops[i];
        keys_[i] = other.keys_[i];
    }
    // Entries past the new count were borrowed from an earlier, longer table: forget them, so that a later
    // clear_table and finish cannot release images this presenter never owned.
    for (int32_t id = n; id < std::min(table_count, count); ++id) forget(id);
    table_count = n;
}

void DDBase::clear_table() {
    for (int32_t id = 0; id < std::min(table_count, count); ++id) forget(id);
}
