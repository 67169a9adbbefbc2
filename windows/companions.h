// Fills in the entries of the table of upward calls (graphics/hooks.h) through which the game window reaches the
// companion windows.
#pragma once

void install_companions();
