// The puzzle folder's records: its own state and the game's settings.
#include "pieces/desk.h"
#include "puzzle/settings.h"
#include "puzzle/state.h"

Puzzle puzzle;
Settings settings;

void reset_puzzle_state() {
    settings.reset();
    puzzle.reset();
    reset_pieces_state();
}
