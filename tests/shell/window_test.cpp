// The real game window: the road of a game (one piece per step, then play and the clock), dropped files and saved
// games, the mouse while cutting, closing with or without the save offer, and the end of a game, as the scripts
// of data/window.txt.
#include "shell/jigwin_support.h"

namespace {

using jigwintest::WindowScript;

class GameWindow : public WindowScript {};
TEST_P(GameWindow, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Window, GameWindow, ::testing::ValuesIn(testsupport::read_scripts("shell/data/window.txt")),
                         WindowScript::name);

}  // namespace
