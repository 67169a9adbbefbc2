// The game in play for tests of the desk's display: a blank current game.
#pragma once

#include "desk/state.h"
#include "support/puzzle/games.h"

namespace testsupport {

// A new game with no picture, made the current one (the previous one is deleted).
inline Jig& new_blank_game() {
    delete display.current_game;
    display.current_game = new Jig(blank_game);
    return *display.current_game;
}

}  // namespace testsupport
