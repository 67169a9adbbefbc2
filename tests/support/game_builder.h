// Games laid by hand for the tests that drive the whole game, with the helpers of every level below (pictures,
// pieces, laid games, a blank current game), and the guard that puts every record of the program back to its start
// values when a test ends.
#pragma once
#include <array>

#include "pieces/desk.h"
#include "play/state.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "shell/sound.h"
#include "shell/startup.h"
#include "shell/state.h"
#include "support/desk/games.h"

namespace testsupport {

// Builds the unit shapes from the settings; when it goes, resets the whole program (reset_shell_state) and builds
// the shapes again.
using Guard = ResetGuard<reset_shell_state>;

}  // namespace testsupport
