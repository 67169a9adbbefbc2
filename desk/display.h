// Showing the desk: setting it up with the game window and ending it, painting the window, the presenter's
// composing steps, the redraw of a game's items, the redraw that makes the plain desk image valid for export, and
// the range rectangle.
//
// Terms: window coordinates are the game window's client pixels; the window's (0, 0) shows the desk point at the
// view origin (view_x + scroll_dx, view_y + scroll_dy). On the presenter path desk_back holds the background as
// seen through the window (window coordinates); on the plain path it is in desk coordinates. Wherever the window
// shows a place beyond the desk it shows kBeyondDeskColour.
#pragma once
#include <cstdint>

#include "graphics/geometry.h"
#include "graphics/memdc.h"
#include "ws/ws.h"

struct Jig;

// What the window shows beyond the edges of the desk.
inline constexpr Colour kBeyondDeskColour = 0x404040;
// Largest desk side the settings may ask for; larger values are brought down to it.
inline constexpr int32_t kDeskSideMax = 8192;
// A large game's desk: the picture's sides this many times (1.8 times its area), room enough to spread the pieces
// with few of them on top of each other, in as little memory as that allows.
inline constexpr double kLargeDeskSpread = 1.35;

// Creates the desk (size from desk_w/desk_h, else the screen), measures near_black/near_white, renders the
// background and, with the ddraw setting, shows it once through a short-lived presenter. Called while the game
// window (game_window) is created, before any game exists.
void init_window();
// Destroys the desk images and ends the presenter's presentation, if one exists.
void finish_window();
// The desk `game` is to be laid on: the settings' size, or, for a game of more than classic_cells pieces, room to
// spread them all over (each side of the picture kLargeDeskSpread times, or twice and a cell laid in rows; never
// less than the settings' size). Makes the desk images and the background anew when the desk's size changes; a
// desk never grown is left as it was made. A large game on the presenter keeps no whole desk_image.
Size desk_size_for(const Jig& game);
void fit_desk(const Jig& game);

// The game window's WM_PAINT: the plain path copies desk_image from the view origin into the paint rectangle;
// the presenter path presents its back buffer (unless the window is minimised). On a screen of more device pixels
// both then draw the finer pieces over it (draw_fine_pieces), and both draw the range.
void desk_paint(ws::Hwnd hwnd);

// On a screen of more device pixels than the desk has at full size (device above 1000, at 100 %): draws over
// `client_area` of the game window's surface, which already shows the desk scaled, every piece shown there again
// from the game's finer cut. Does nothing at another zoom or without a finer picture of that scale.
void draw_fine_pieces(ws::Hwnd hwnd, MemDC& surface, const Rect& client_area, int32_t device);

// Presenter path: copies desk_back from (x, y) into the back buffer at rect (window coordinates). With no rect the
// background is rendered afresh first and laid over the whole client area from desk_back's (0, 0). Does nothing
// without a presenter.
void dd_back(const Rect* rect, int32_t x, int32_t y);
// Presenter path: draws display item i into the back buffer within clip (desk coordinates; none = the client
// area), unless it is hidden, and presents that part when flip is set. Does nothing without a presenter or for
// an index that is not a live item with a piece.
void dd_draw_item(const Rect* clip, int32_t i, bool flip);

// Redraws the game's display items within `clip` (desk coordinates; none = everything) onto the desk: through the
// presenter when there is one, else onto desk_image. Gives the rectangle redrawn.
Rect disp(Jig& jig, const Rect* clip = nullptr);

// Makes desk_image the whole desk drawn the plain way (background, then every shown item with its view rebuilt),
// for exporting it while the presenter is in force. A piece that had no view is left without one again.
void redraw_all_gdi();
// Rebuilds item i's view and writes it to the BMP file named by bmp_name. Returns 1 when written, 0 otherwise
// (also for an index that is not a live item).
int32_t prepare_item_gdi(int32_t i);
