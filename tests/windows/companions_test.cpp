// The guide window (where it opens, the held group's outline, the overview, its fitting and close box) and the
// piece shape chooser (dragging a point, "キャンセル", closing), as the scripts of data/companions.txt.
#include "windows/windows_support.h"

namespace {

using windowstest::CompanionScript;

class Companions : public CompanionScript {};
TEST_P(Companions, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Windows, Companions,
                         ::testing::ValuesIn(testsupport::read_scripts("windows/data/companions.txt")),
                         CompanionScript::name);

}  // namespace
