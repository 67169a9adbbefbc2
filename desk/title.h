// The main window's title as the game's status line, and the play clock that runs on the game window's timer.
//
// Terms: the clock counts play time in seconds. It runs from clock_start (ticks of the window layer's clock) and
// adds clock_carry, the seconds played before the game was saved and resumed; the time between saving and resuming
// is not counted.
#pragma once
#include <cstdint>

// The game window's one-second timer: every tick updates the title (mode 1) and then releases the pieces'
// device contexts.
inline constexpr uintptr_t kClockTimer = 0xF402;
inline constexpr uint32_t kClockPeriod = 1000;  // ms

// What a title update does to the clock (the argument of windowtitle).
enum : int32_t {
    TITLE_START = 0,     // play of a new game begins: the clock starts from 0
    TITLE_TICK = 1,      // a clock tick: the time shown moves on
    TITLE_RESUME = 2,    // a saved game was resumed: the clock restarts, keeping clock_carry
    TITLE_CUTTING = 3,   // a piece was cut: shows the progress, the clock is left alone
};

struct Jig;

// Sets the main window's title from the game's counts and keeps the play clock (mode: one of the above).
void windowtitle(Jig& jig, int32_t mode);
