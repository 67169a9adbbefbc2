// The trays' strips: the pieces each tray holds left to right, its carousel scroll and fling, and its drawing.
//
// Terms: a tray's number k (0..9) is its slot in tray_window. A tray cell is the square one piece takes in the
// strip. A tray is full when its pieces fill its width or more; a full tray scrolls and wraps round like a
// carousel, one that is not full shows its pieces left-aligned. Coordinates are the tray's client pixels.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/geometry.h"
#include "play/play.h"
#include "puzzle/jig.h"
#include "ws/ddbase.h"
#include "ws/ws.h"

inline constexpr uintptr_t kTrayTimer = 0xF41B;  // 15 ms steps of a fling
inline constexpr uint32_t kTrayTick = 15;

// The trays' state (the windows themselves are play.tray_window).
struct Trays {
    Point tray_origin;                               // screen point where the next tray window opens
    int32_t tray_count[kTrayCount] = {};             // pieces in each tray
    std::vector<int32_t> tray_items[kTrayCount];     // their ids, left to right (tray_count of them)
    int32_t tray_scroll[kTrayCount] = {};            // carousel offset in pixels
    int32_t tray_speed[kTrayCount] = {};             // fling speed in pixels per tick; 0 = still
    DDBase* tray_view[kTrayCount] = {};              // each open tray's presenter, borrowing the game's images
    std::string tray_name[kTrayCount];               // "トレイ<k>"
    int32_t tray_cell = 0;    // side of a tray cell
    int32_t tray_margin = 0;  // cut off a piece's picture at the top and left so the piece sits in its cell

    void reset() { *this = Trays{}; }
};
extern Trays trays;

// The slot of a tray window, or -1.
int32_t tray_slot_of(ws::Hwnd hwnd);
// The first free slot, or -1 when ten trays are open.
int32_t first_free_tray();
bool is_full(int32_t k);
// The strip position under client x, or -1 (an empty tray, or beyond the last piece of a tray that is not full).
int32_t slot_at(int32_t k, int32_t x);
// Turns the carousel by d pixels (positive to the right) and redraws.
void scroll_by(int32_t k, int32_t d);
// Inserts `id` at the strip position under the game-window client point (after the last piece when none is
// there), updates the title and redraws. Ignored when the tray cannot hold more.
void tray_insert(int32_t k, int32_t id, Point game_client);
// Removes the piece at position `slot`, updates the title and redraws; gives its id, or -1 for no such slot.
int32_t tray_remove(int32_t k, int32_t slot);
// Brings the scroll offset back within the strip (0 when it is not full) and stops a fling that has nothing left
// to turn.
void keep_scroll_in_range(int32_t k);
// "トレイ<k>  n ﾋﾟｰｽ".
void tray_set_title(int32_t k);
// Draws tray k: the desk background, then its pieces from the game's presenter, then shows it.
void tray_draw(int32_t k);
