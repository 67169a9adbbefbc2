// Play operations the game window drives: the gesture rules of the mouse, picking up, dragging, dropping,
// joining, quarter turns and turning over, range selection, desk dragging and the unseen-pieces sweep. The
// operations on the game take its record first (Jig& jig).
//
// Terms: a gesture runs from the first button press to the release of the last button. The held item is the
// top-most display item while `holding` is 1. Window coordinates are the game window's client pixels; desk
// coordinates add the view origin. A click is a press released within click_time ms after moving no more than
// click_dxdy pixels in x and in y.
#pragma once
#include <cstdint>

#include "graphics/geometry.h"
#include "play/state.h"
#include "ws/ws.h"

struct Jig;
struct Item;

// Messages the game window sends to itself while it handles the mouse (synchronous, in this order of use).
inline constexpr uint32_t IDM_SELECT = 0xF403;       // wparam key state, lparam pointer: pick up / range start
inline constexpr uint32_t IDM_SELECT_END = 0xF404;   // lparam pointer: drop the held item
inline constexpr uint32_t IDM_P90_KAITEN = 0xF405;   // quarter turn +90 degrees of the held item
inline constexpr uint32_t IDM_M90_KAITEN = 0xF406;   // quarter turn -90 degrees
inline constexpr uint32_t IDM_REV = 0xF407;          // turn the held item over
inline constexpr uint32_t IDM_DRAW = 0xF408;         // lparam pointer: one drag step of the held item
inline constexpr uint32_t IDM_MOVE_SCREEN = 0xF409;  // lparam pointer: one desk-drag step
// Posted to a tray window when a single piece is dropped on it: wparam item id, lparam release point (window).
inline constexpr uint32_t IDM_TRAY_PUT = 0xF41A;

// Width of the band along the game window's edges where a drag scrolls the desk.
inline constexpr int32_t kScrollMargin = 20;

// ---- play operations on the game (select.cpp, joint_check.cpp, rotate.cpp, range.cpp, take_out.cpp) ----
// Picks up the top-most shown item whose shape covers the desk point and raises it to the top.
Rect select(Jig& jig, int32_t x, int32_t y);
// Moves the held item's grab point to the desk point (turning it when rotation is free); draw 0 = no drawing.
Rect moveto(Jig& jig, int32_t x, int32_t y, int32_t draw);
// The sweep move: the held item moves plainly and pulls nearby groups along, each less than the last.
Rect mmoveto(Jig& jig, int32_t x, int32_t y);
// Drops the held item (tray or desk with the join test); point in window coordinates.
Rect selectend(Jig& jig, Point point);
// The id of a group the top-most item fits onto, or -1; joins it in.
int32_t joint_check(Jig& jig);
Rect joint(Jig& jig, int32_t target);
// Quarter turn of the held item (dir +90 or -90) and turning it over.
Rect kaiten(Jig& jig, int32_t dir);
Rect hanten(Jig& jig);
// Range selection: marks the groups whose centres lie inside (window rectangle), moves the marked ones.
void mark_range(Jig& jig, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void move_range(Jig& jig, int32_t dx, int32_t dy);
// Space: moves the view to the next part of the desk with pieces not yet looked at.
void show_unseen(Jig& jig);
// Puts the item `id`, dragged out of a tray, down at the screen point (x, y): into the tray lying there, or
// onto the desk under the point (brought inside the part of the desk the window shows).
void take_out(Jig& jig, int32_t id, int32_t x, int32_t y);

// ---- zoom (zoom.cpp) ----
// What the zoom commands do.
enum : int32_t { ZOOM_IN = 0, ZOOM_OUT = 1, ZOOM_FULL = 2, ZOOM_WHOLE_DESK = 3 };
// Sets the zoom to the level nearest `zoom`, keeping the desk point under the window point `anchor` in place (a
// held group stays under the pointer) and showing the desk anew. Nothing happens while a game is being cut.
void zoom_view(ws::Hwnd hwnd, int32_t zoom, Point anchor);
// WM_MOUSEWHEEL with Ctrl held: a level up or down per notch, about the pointer.
void zoom_wheel(ws::Hwnd hwnd, uintptr_t wparam, intptr_t lparam);
// The keys' and the menu's steps, about the window's centre; ZOOM_WHOLE_DESK fits the whole desk in the window.
void zoom_command(ws::Hwnd hwnd, int32_t which);

// ---- trays ----
// The tray slot whose window lies under the screen point, or -1.
int32_t tray_at_point(Point screen);

// The rotation setting (kaiten): the menu command that chose it.
enum : int32_t { KAITEN_FREE = 234, KAITEN_NONE = 235, KAITEN_QUARTER = 236 };

// Clears the gesture and range state (a new game, or a test starting afresh).
void reset_gesture();

// ---- gesture rules: the game window calls these for its mouse messages once cutting is finished ----
// WM_LBUTTONDOWN / WM_RBUTTONDOWN / WM_MBUTTONDOWN.
void gesture_button_down(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);
// WM_MOUSEMOVE.
void gesture_mouse_move(ws::Hwnd hwnd, uintptr_t wparam, intptr_t lparam);
// WM_LBUTTONUP / WM_RBUTTONUP / WM_MBUTTONUP (acts only when no button is left down in wparam).
void gesture_button_up(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);

// ---- handlers of the messages above (the window procedure calls them; each returns nothing) ----
void on_select(ws::Hwnd hwnd, uintptr_t wparam, intptr_t lparam);  // IDM_SELECT
void on_select_end(ws::Hwnd hwnd, intptr_t lparam);                // IDM_SELECT_END
void on_p90_kaiten(ws::Hwnd hwnd);                                 // IDM_P90_KAITEN
void on_m90_kaiten(ws::Hwnd hwnd);                                 // IDM_M90_KAITEN
void on_rev(ws::Hwnd hwnd);                                        // IDM_REV
void on_draw(ws::Hwnd hwnd, intptr_t lparam);                      // IDM_DRAW
void on_move_screen(ws::Hwnd hwnd, intptr_t lparam);               // IDM_MOVE_SCREEN

// ---- range selection steps of a gesture with no item held (range.cpp) ----
// A pointer move with the left button down and the right one up: widens the range being drawn, or drags the
// groups of a grabbed range (scrolling at the window's edges).
void range_move(ws::Hwnd hwnd, Point p);
// The release that ends such a gesture: a drawn range stays shown, a shown or dragged one ends.
void range_release(ws::Hwnd hwnd);

// One door for all of the above: handles the three button-downs, the three button-ups, WM_MOUSEMOVE and
// IDM_SELECT .. IDM_MOVE_SCREEN for `hwnd` and gives true; any other message gives false untouched.
// Call it only with a current game whose cutting is finished.
bool play_message(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);

// ---- helpers shared by the play operations ----
// The smallest rectangle holding both; an empty one adds nothing.
Rect union_rect(const Rect& a, const Rect& b);
// Repaints the desk rectangle r (desk coordinates) in the window at once; an empty r paints nothing.
void repaint_desk_rect(ws::Hwnd hwnd, const Rect& r);
// Shows the whole desk anew: the presenter composes and presents it; the plain path paints the window at once.
void redraw_whole_window(ws::Hwnd hwnd);
// Repaints the guide image window at once when one is open.
void refresh_guide();
// Plain path: makes under_cache the desk under the held item's rect without that item, then draws the item
// there, so desk_image and under_cache agree again after a step that did not keep them.
void take_under_cache(Jig& game);
// Shows the held item after it changed from `old` (where it was last drawn) to its rect now; view_rebuilt: its
// view was rendered anew. Puts back under_cache at old, keeps the desk under the new rect and draws the item over
// the union; the presenter, when its back buffer was written meanwhile, composes the union afresh instead, and
// presents it. Gives the union.
Rect show_held(Jig& game, const Rect& old, bool view_rebuilt);
// Presenter path: hands the item's freshly rendered view to the presenter and drops it from the piece.
void upload_view(Item& item);
// The join branch of a drop: joins the top-most item onto the first fitting group (sound, busy cursor,
// completion with its sound and the used-up saved game deleted). Gives the rectangle to repaint, empty for none.
Rect drop_join(Jig& game);
