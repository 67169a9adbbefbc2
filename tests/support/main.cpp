// Test entry point: starts the window-system layer in test mode (offscreen, virtual clock), fills the layer's
// entries of the table of upward calls, then runs the tests.
#include <gtest/gtest.h>

#include "graphics/hooks.h"
#include "ws/ws.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    ws::init(argc, argv, true);
    ws::fill_hooks(hooks);  // the layer's services that graphics/ reaches upward, as the program has them
    return RUN_ALL_TESTS();
}
