// The game in play's life on the desk: a game built on picture_path and laid out, and a resumed game shown. The
// record itself, and how it is fitted and cut, are in puzzle/jig.h.
#pragma once

struct Jig;

// A game on picture_path, built from the settings and laid out; none when even the record cannot be had (treated
// like an unreadable picture), item_count 0 when it is unusable.
Jig* build_game();
// The second half of building a game, once the game in play has ended: the bare desk, the trays emptied, then for
// a usable record the presenter, the cutting lines and the piece count and size the game is built with.
void lay_out(Jig& jig);
// Shows a game that load_game has just filled: background, every group's view at its angle (one after another),
// then the title in resume mode, which restarts the clock.
void continue_game(Jig& jig);
