// The puzzle folder's records: its own state and the game's settings.
#include "puzzle/settings.h"
#include "puzzle/state.h"

Puzzle puzzle;
Settings settings;
