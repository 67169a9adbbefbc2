// The desk folder's state: the game in play and the windows it is shown in, the range selection the paint shows,
// the play clock and the colour chooser's colours.
#pragma once
#include <cstdint>

#include "graphics/memdc.h"
#include "ws/ws.h"

struct Jig;

struct Display {
    Jig* current_game = nullptr;  // the puzzle in play, or none
    ws::Hwnd main_window = 0;     // the top-level window; its title is the game's status line
    ws::Hwnd game_window = 0;     // the game window, a child of the main window; 0 while there is none
    // The range selection, in window coordinates, which the paint shows as a dotted rectangle in states 1 and 2.
    // range_state: 0 = none, 1 = being drawn, 2 = drawn and waiting, 3 = its groups are being dragged.
    int32_t range_state = 0;
    int32_t range_x1 = 0, range_y1 = 0, range_x2 = 0, range_y2 = 0;
    uint32_t clock_start = 0;  // tick count when the clock was last started or resumed
    uint32_t clock_now = 0;    // tick count of the last update
    int32_t clock_carry = 0;   // seconds played before the last resume (0 for a new game)
    int32_t play_seconds = 0;  // total seconds played at the last update (what a saved game keeps)
    bool desk_grown = false;   // the desk was made larger than its own size for a large game (fit_desk)
    // The colour chooser's custom colours, kept for the life of the process (all black at start).
    Colour custom_colours[16] = {};

    void reset() { *this = Display{}; }
};
extern Display display;

// Deletes the game in play; its destructor ends it in play (hooks.end_of_laid_game), so each folder's reset from
// here up calls this first, while the records that tell what the game had open are still whole.
void drop_current_game();

// Deletes the game in play, then puts this record and the records of the folders below back to their start values.
// The windows are the window system's: their handles are forgotten, not destroyed.
void reset_desk_state();
