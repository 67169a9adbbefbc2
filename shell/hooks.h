// Filling the table of upward calls (graphics/hooks.h) when the program starts.
#pragma once

// Fills the entries the window-system layer provides (ws::fill_hooks): the fatal report's message box and threads,
// the trace log's clock, case-blind file names. Called once, first thing in win_main. The game's emergency save is
// installed by play when the game window is made.
void install_hooks();
