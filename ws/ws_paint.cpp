// Painting: client surfaces sized to the client area, the part waiting to be painted, begin/end paint, showing.
#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QScreen>

#include "graphics/zoom.h"
#include "ws/ws_widget.h"

namespace ws {
namespace detail {
namespace {

Rect unite(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

Rect clip(const Rect& r, const Rect& to) {
    Rect c{std::max(r.left, to.left), std::max(r.top, to.top), std::min(r.right, to.right), std::min(r.bottom, to.bottom)};
    return c.empty() ? Rect{} : c;
}

bool contains(const Rect& outer, const Rect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

Rect client_rect_of(const Window& w) { return {0, 0, w.client->width(), w.client->height()}; }

void fill_words(MemDC& s, uint32_t word) { std::fill(s.words(), s.words() + size_t(s.width()) * size_t(s.height()), word); }

// Copies the overlapping top-left part of `from` into `to` (rows are bottom-up in both).
void copy_top_left(const MemDC& from, MemDC& to) {
    int32_t w = std::min(from.width(), to.width()), h = std::min(from.height(), to.height());
    for (int32_t y = 0; y < h; ++y) {
        const uint32_t* src = from.words() + size_t(from.height() - 1 - y) * size_t(from.width());
        uint32_t* dst = to.words() + size_t(to.height() - 1 - y) * size_t(to.width());
        std::copy(src, src + w, dst);
    }
}

}  // namespace

void fit_surface(Window& w) {
    w.device_scale = w.device_pixels ? std::max(int32_t(std::lround(w.client->devicePixelRatioF() * 1000)), 1) : 1000;
    const Rect client{0, 0, std::max(w.client->width(), 1), std::max(w.client->height(), 1)};
    const Rect all = zoomed_rect(client, w.device_scale);
    const int32_t cw = all.right, ch = all.bottom;
    if (w.surface && w.surface->created() && w.surface->width() == cw && w.surface->height() == ch) return;
    auto fresh = std::make_unique<MemDC>();
    fresh->create(BIT_SCREEN, cw, ch);
    // A grown window shows its background (white without one) until its program paints; what was there stays.
    Colour bg = w.cls->background == NO_BACKGROUND ? 0xFFFFFF : Colour(w.cls->background);
    fill_words(*fresh, colour_to_word(bg));
    if (w.surface && w.surface->created()) copy_top_left(*w.surface, *fresh);
    fresh->release_dc();
    w.surface = std::move(fresh);
    w.invalid = client_rect_of(w);
    w.erase = true;
}

bool wants_paint(const Window& w) { return !w.invalid.empty() && w.client->isVisible(); }

void after_paint_dispatch(Hwnd hwnd, const Rect& before) {
    // A procedure that ignored WM_PAINT would get it forever; treat it as painted, as the default handling would.
    Window* w = find_window(hwnd);
    if (w && w->invalid == before) validate_rect(hwnd, nullptr);
}

}  // namespace detail

using namespace detail;

bool invalidate_rect(Hwnd hwnd, const Rect* rect, bool erase) {
    Window* w = find_window(hwnd);
    if (!w) return false;
    Rect r = rect ? clip(*rect, client_rect_of(*w)) : client_rect_of(*w);
    if (r.empty()) return true;
    w->invalid = unite(w->invalid, r);
    w->erase = w->erase || erase;
    return true;
}

bool validate_rect(Hwnd hwnd, const Rect* rect) {
    Window* w = find_window(hwnd);
    if (!w) return false;
    if (!rect || contains(*rect, w->invalid)) {
        w->invalid = {};
        w->erase = false;
    }
    return true;
}

bool get_update_rect(Hwnd hwnd, Rect& rect) {
    Window* w = find_window(hwnd);
    rect = w ? w->invalid : Rect{};
    return !rect.empty();
}

MemDC* begin_paint(Hwnd hwnd, PaintStruct& ps) {
    Window* w = find_window(hwnd);
    if (!w) {
        ps = {};
        return nullptr;
    }
    ps.paint = w->invalid;
    ps.erase = w->erase;
    ps.surface = w->surface.get();
    w->painting = w->invalid;
    w->invalid = {};
    w->erase = false;
    if (ps.erase && !ps.paint.empty()) ps.erase = send_message(hwnd, WM_ERASEBKGND, 0, 0) == 0;
    return ps.surface;
}

void end_paint(Hwnd hwnd, const PaintStruct& ps) {
    Window* w = find_window(hwnd);
    if (!w) return;
    w->painting = {};
    // On the screen at once, as painting on the platform's own window would be: a long piece of work that paints
    // step by step (groups appearing one after another) is seen step by step.
    if (!ps.paint.empty()) w->client->repaint(QRect(ps.paint.left, ps.paint.top, ps.paint.width(), ps.paint.height()));
}

bool update_window(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    if (!w) return false;
    if (w->invalid.empty()) return true;
    Rect before = w->invalid;
    send_message(hwnd, WM_PAINT, 0, 0);
    after_paint_dispatch(hwnd, before);
    return true;
}

void paint_at_once(Hwnd hwnd, const Rect* rect) {
    invalidate_rect(hwnd, rect, false);
    update_window(hwnd);
}

void use_device_pixels(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    if (!w || w->device_pixels) return;
    w->device_pixels = true;
    fit_surface(*w);
}

int32_t device_scale(Hwnd hwnd) {
    const Window* w = find_window(hwnd);
    return w ? w->device_scale : 1000;
}

int32_t screen_device_scale() {
    const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? std::max(int32_t(std::lround(screen->devicePixelRatio() * 1000)), 1) : 1000;
}

Rect device_rect(Hwnd hwnd, const Rect& r) { return zoomed_rect(r, device_scale(hwnd)); }

MemDC* client_surface(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    return w ? w->surface.get() : nullptr;
}

void show_surface(Hwnd hwnd, const Rect* rect) {
    Window* w = find_window(hwnd);
    if (!w) return;
    Rect r = rect ? clip(*rect, client_rect_of(*w)) : client_rect_of(*w);
    if (!r.empty()) w->client->repaint(QRect(r.left, r.top, r.width(), r.height()));
}

}  // namespace ws
