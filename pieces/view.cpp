// The view's zoom levels and the conversions between window pixels and view coordinates.
#include "pieces/view.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "pieces/desk.h"

namespace {

int32_t zoom_now() { return desk.zoom > 0 ? desk.zoom : kZoomFull; }

int32_t origin_x() { return desk.view_x + desk.scroll_dx; }
int32_t origin_y() { return desk.view_y + desk.scroll_dy; }

// The origin with its fraction: the one the last zoom left while the origin has not moved since.
double fine_origin(int32_t origin, double fine, int32_t fine_of) { return origin == fine_of ? fine : origin; }

}  // namespace

int32_t nearest_zoom(int32_t zoom) {
    int32_t best = kZoomLevels[0];
    for (const int32_t level : kZoomLevels)
        if (std::abs(level - zoom) < std::abs(best - zoom)) best = level;
    return best;
}

int32_t zoom_step(int32_t zoom, int32_t steps) {
    int32_t i = 0;
    while (kZoomLevels[i] != nearest_zoom(zoom)) ++i;
    i = std::clamp(i + steps, 0, kZoomLevelCount - 1);
    return kZoomLevels[i];
}

int32_t view_of_window(int32_t window_px) { return int32_t(floor_div(int64_t(window_px) * kZoomFull, zoom_now())); }
int32_t window_of_view(int32_t view_px) { return int32_t(floor_div(int64_t(view_px) * zoom_now(), kZoomFull)); }

Point view_point(Point window) { return {view_of_window(window.x), view_of_window(window.y)}; }

int32_t blend_reach() {
    return zoom_now() != kZoomFull || desk.device != kZoomFull ? 1 : 0;
}

Rect window_rect_of_view(const Rect& view) {
    const int32_t k = blend_reach();
    if (view.empty() || k == 0) return zoomed_rect(view, zoom_now());
    Rect r = zoomed_rect({view.left - k, view.top - k, view.right + k, view.bottom + k}, zoom_now());
    return {r.left - k, r.top - k, r.right + k, r.bottom + k};
}

Rect window_rect_of_desk(const Rect& desk_rect) {
    Rect r = desk_rect;
    offset_rect(r, -origin_x(), -origin_y());
    return window_rect_of_view(r);
}

Rect view_client(ws::Hwnd hwnd) {
    const Rect c = hwnd ? ws::get_client_rect(hwnd) : Rect{};
    return zoom_now() == kZoomFull ? c : unzoomed_rect(c, zoom_now());
}

int32_t view_span(int32_t window_px) {
    const int32_t v = view_of_window(window_px);
    return window_px > 0 ? std::max(v, 1) : v;
}

void zoom_about(int32_t zoom, Point anchor) {
    const double before = double(kZoomFull) / zoom_now(), after = double(kZoomFull) / zoom;
    const double fx = fine_origin(origin_x(), desk.fine_x, desk.fine_of_x) + anchor.x * (before - after);
    const double fy = fine_origin(origin_y(), desk.fine_y, desk.fine_of_y) + anchor.y * (before - after);
    desk.zoom = zoom;
    desk.view_x = int32_t(std::lround(fx)) - desk.scroll_dx;
    desk.view_y = int32_t(std::lround(fy)) - desk.scroll_dy;
    desk.fine_x = fx, desk.fine_y = fy;
    desk.fine_of_x = origin_x(), desk.fine_of_y = origin_y();
}
