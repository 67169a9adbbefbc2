// Fills in the doors through which the game window reaches the companion windows.
#pragma once

void install_companions();
