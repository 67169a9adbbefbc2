// The view: how much of the desk the game window shows and how large, and the conversions between the window's
// pixels and the desk.
//
// Terms: view coordinates are desk coordinates less the view origin (view_x + scroll_dx, view_y + scroll_dy).
// At 100 % they are the window's pixels; at another zoom the window pixel (x, y) shows the view point
// (x * 1000 / zoom, y * 1000 / zoom). Drawing, hit tests and the presenter's composing all work in view or desk
// coordinates; only painting the window, the pointer's messages and distances the player measures on the screen
// (the click's travel, the scrolling band) are in window pixels.
#pragma once
#include <cstdint>

#include "graphics/geometry.h"
#include "graphics/zoom.h"
#include "ws/ws.h"

// The zoom levels, in thousandths, smallest first: each about 1.25 times the one before, exactly twice every
// three steps.
inline constexpr int32_t kZoomLevels[] = {125,  160,  200,  250,  320,  400,  500,  640,
                                          800,  1000, 1250, 1600, 2000, 2500, 3200, 4000};
inline constexpr int32_t kZoomLevelCount = int32_t(sizeof kZoomLevels / sizeof kZoomLevels[0]);

// The level nearest to `zoom` (ties to the smaller).
int32_t nearest_zoom(int32_t zoom);
// The level `steps` levels above (below, when negative) the one nearest to `zoom`, kept within the table.
int32_t zoom_step(int32_t zoom, int32_t steps);

// Window pixels to view coordinates at the current zoom (rounded down), and back (rounded down).
int32_t view_of_window(int32_t window_px);
int32_t window_of_view(int32_t view_px);
Point view_point(Point window);
// The window pixels that show any part of a view rectangle, or blend it into theirs: when the window is drawn
// scaled (zoomed, or in device pixels), a pixel also shows the desk pixels around its own.
Rect window_rect_of_view(const Rect& view);
// How far around a view rectangle a scaled drawing reads: 1 view pixel when the window is drawn scaled, else 0.
int32_t blend_reach();
// The window pixels that show any part of a desk rectangle.
Rect window_rect_of_desk(const Rect& desk_rect);
// The part of the view the window's client area shows, in view coordinates (rounded out); the client rectangle
// itself at 100 %.
Rect view_client(ws::Hwnd hwnd);
// A distance of `window_px` window pixels, in view coordinates (at least 1 for a positive distance).
int32_t view_span(int32_t window_px);

// Sets the zoom to `zoom` (a level) keeping the desk point under the window point `anchor` where it is. The origin
// is kept with its fraction, so zooming out and back in again returns exactly to the view it started from.
void zoom_about(int32_t zoom, Point anchor);
