// The game's random generator: a linear congruential generator whose draws decide every puzzle's shapes and layout.
//
// One generator serves a whole game: laying the edges seeds it from the window-system clock and cutting goes on
// drawing from it, so a game is reproduced exactly by the same clock value (tests run on the layer's virtual
// clock). A draw is bits 16 to 30 of the state, 0 .. 32767; a pick below n is fmod(draw, n).
#pragma once
#include <cstdint>

struct GameRandom {
    uint32_t state = 1;

    void seed(uint32_t value) { state = value; }
    int32_t next() {
        state = state * 214013u + 2531011u;
        return int32_t((state >> 16) & 0x7FFF);
    }
    // A draw reduced below n, as a floating-point value: whole for whole n, fractional for 2 pi.
    // n <= 0 (a window too small to spread pieces over) still takes its draw and gives 0.
    double pick(double n);
};

// The seed of a new game: in test mode the layer's virtual clock, so a test reproduces its puzzle; otherwise the
// wall clock's milliseconds, which differ from run to run (the layer's clock starts at zero with the program, and
// a picture opened at start-up would be cut in one of a few dozen ways).
uint32_t game_seed();
// The same choice, with the wall clock given: `tick` in test mode, else the low bits of `wall_ms` mixed with `tick`.
uint32_t game_seed(bool test_mode, uint32_t tick, uint64_t wall_ms);
