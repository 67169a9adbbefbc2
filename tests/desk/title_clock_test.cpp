// The window title in its four modes and the play clock: counted on the game window's timer, carried across a
// save and resume, stopped on completion, untouched while the pieces are cut.
#include "desk/state.h"
#include "play/state.h"
#include "support/desk_window.h"

namespace {

using namespace testsupport;

class Title : public DeskWindow {
protected:
    // A 600 x 400 picture cut into 5 x 4 pieces with 7 groups left.
    Jig& game() {
        Jig& g = new_blank_game();
        g.pic_w = 600, g.pic_h = 400, g.cols = 5, g.rows = 4;
        g.item_count = 7, g.cut_count = 20;
        return g;
    }
    static std::string title() { return ws::get_window_text(play.main_window); }
    static std::string playing(int32_t left, const char* time) {
        return "zelto 600×400 20ﾋﾟｰｽ(5×4) 残り" + std::to_string(left) + "ﾋﾟｰｽ  " + time;
    }
};

TEST_F(Title, CuttingProgressShowsPiecesCutAndLeavesTheClockAlone) {
    Jig& g = game();
    g.cut_count = 3;
    display.clock_start = 5, display.clock_now = 6, display.clock_carry = 7, display.play_seconds = 8;
    g.windowtitle(TITLE_CUTTING);
    ws::test::advance(3000);
    EXPECT_EQ(title(), "zelto 600×400 20ﾋﾟｰｽ(5×4) 3ﾋﾟｰｽ");
    EXPECT_EQ((std::vector<int64_t>{display.clock_start, display.clock_now, display.clock_carry, display.play_seconds}),
              (std::vector<int64_t>{5, 6, 7, 8}));
}

// The clock counts whole seconds from the start; a resume shows the carried time at once and counts on from it;
// time between saving and resuming is not counted; the last join stops it with its final time.
TEST_F(Title, TheClockCountsPlayTimeOnlyWhilePlaying) {
    Jig& g = game();
    display.clock_carry = 100;
    g.windowtitle(TITLE_START);
    EXPECT_EQ(display.clock_carry, 0);
    EXPECT_EQ(title(), playing(6, "0時0分0秒"));
    ws::test::advance(999);
    EXPECT_EQ(title(), playing(6, "0時0分0秒"));
    ws::test::advance(1);
    EXPECT_EQ(title(), playing(6, "0時0分1秒"));
    ws::test::advance(3599000);
    EXPECT_EQ(title(), playing(6, "1時0分0秒"));
    ws::test::advance(125000);
    EXPECT_EQ(title(), playing(6, "1時2分5秒"));
    const int32_t saved = display.play_seconds;
    EXPECT_EQ(saved, 3725);
    ws::kill_timer(play.game_window, kClockTimer);  // saved and closed: the timer goes with the game
    ws::test::advance(60000);
    Jig& resumed = game();
    display.clock_carry = saved;
    resumed.windowtitle(TITLE_RESUME);
    EXPECT_EQ(title(), playing(6, "1時2分5秒"));
    ws::test::advance(4000);
    resumed.item_count = 1;  // the last join
    ws::test::advance(1000);
    EXPECT_EQ(title(), playing(0, "1時2分10秒"));
    ws::test::advance(10000);
    EXPECT_EQ(title(), playing(0, "1時2分10秒")) << "the final time stays";
    EXPECT_EQ(display.play_seconds, 3730);
}

}  // namespace
