// Where the guide window opens: at the game window's corner, but never past the screen's edges.
#include "play/companions.h"
#include "play/state.h"
#include "windows/windows_support.h"

namespace {

using namespace windowstest;

TEST_F(CompanionTest, TheGuideStaysOnTheScreenWhenTheGameWindowRunsPastItsCorner) {
    const int32_t sw = ws::screen_width(), sh = ws::screen_height();
    settings.image = true;
    settings.win_left = sw - 200, settings.win_top = sh - 100;  // the main window runs past the bottom right
    play("pic.bmp");
    ASSERT_NE(::play.guide_window, 0);
    const Rect g = ws::get_window_rect(::play.guide_window);
    EXPECT_TRUE(g.left >= 0 && g.top >= 0 && g.right <= sw && g.bottom <= sh)
        << g.left << "," << g.top << " " << g.right << "," << g.bottom << " on " << sw << "x" << sh;
}

}  // namespace
