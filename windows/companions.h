// Fills in the entries of the table of upward calls (graphics/hooks.h) through which the game window reaches the
// companion windows.
#pragma once

void install_companions();

// Deletes the game in play (drop_current_game), then puts the companion windows' records (guide, viewer, trays) and those of the folders below back to their start
// values.
void reset_windows_state();
