// The desk folder's state: the range selection the paint shows, the play clock and the colour chooser's colours.
#pragma once
#include <cstdint>

#include "graphics/memdc.h"

struct Display {
    // The range selection, in window coordinates, which the paint shows as a dotted rectangle in states 1 and 2.
    // range_state: 0 = none, 1 = being drawn, 2 = drawn and waiting, 3 = its groups are being dragged.
    int32_t range_state = 0;
    int32_t range_x1 = 0, range_y1 = 0, range_x2 = 0, range_y2 = 0;
    uint32_t clock_start = 0;  // tick count when the clock was last started or resumed
    uint32_t clock_now = 0;    // tick count of the last update
    int32_t clock_carry = 0;   // seconds played before the last resume (0 for a new game)
    int32_t play_seconds = 0;  // total seconds played at the last update (what a saved game keeps)
    // The colour chooser's custom colours, kept for the life of the process (all black at start).
    Colour custom_colours[16] = {};

    void reset() { *this = Display{}; }
};
extern Display display;
