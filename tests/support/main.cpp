// Test entry point: starts the window-system layer in test mode (offscreen, virtual clock), then runs the tests.
#include <gtest/gtest.h>

#include "ws/ws.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    ws::init(argc, argv, true);
    return RUN_ALL_TESTS();
}
