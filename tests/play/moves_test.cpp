// Play with the mouse on pieces laid by hand, as the scripts of data/moves.txt: the click rule and its quarter
// turns, turning over, picking up, dragging plain, turning, at the margins, the Ctrl sweep, into a tray, the desk
// drag, ranges and the jump to unseen groups.
#include "play/state.h"
#include "support/desk_script.h"

namespace {

using namespace testsupport;

class MoveScripts : public ScriptedDesk {};
TEST_P(MoveScripts, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Moves, MoveScripts, ::testing::ValuesIn(read_scripts("play/data/moves.txt")),
                         ScriptedDesk::name);

}  // namespace
