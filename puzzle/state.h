// The puzzle folder's state: the random generator a game is cut with and the unit shapes of its edges.
#pragma once
#include "puzzle/lines.h"
#include "puzzle/random.h"

struct Puzzle {
    GameRandom game_random;                       // the generator the game's edges and cutting draw from
    UnitShape unit_shapes[unit_shape_count] = {};  // the shapes new games are cut with; rebuilt by line_const_init

    void reset() { *this = Puzzle{}; }
};
extern Puzzle puzzle;

// Puts the settings, this record and the records of the folders below back to their start values. The unit shapes
// are left empty, as at start: line_const_init builds them from the settings.
void reset_puzzle_state();
