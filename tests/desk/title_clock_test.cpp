// The window title in its four modes and the play clock: counted on the game window's timer, carried across a
// save and resume, stopped on completion, untouched while the pieces are cut.
#include <gtest/gtest.h>

#include <string>

#include "display_support.h"

namespace {

using namespace desktest;

const std::string kSize = "zelto 600×400 20ﾋﾟｰｽ(5×4) ";

class Title : public DeskWindow {
protected:
    // A 600 x 400 picture cut into 5 x 4 pieces with 7 groups left.
    Jig& game() {
        Jig& g = new_game();
        g.pic_w = 600, g.pic_h = 400, g.cols = 5, g.rows = 4;
        g.item_count = 7, g.cut_count = 20;
        return g;
    }
    std::string title() { return ws::get_window_text(main_window); }
    std::string playing(int32_t left, const char* time) { return kSize + "残り" + std::to_string(left) + "ﾋﾟｰｽ  " + time; }
};

TEST_F(Title, CuttingProgressShowsPiecesCutAndLeavesTheClockAlone) {
    Jig& g = game();
    g.cut_count = 3;
    clock_start = 5, clock_now = 6, clock_carry = 7, play_seconds = 8;
    g.windowtitle(TITLE_CUTTING);
    EXPECT_EQ(title(), kSize + "3ﾋﾟｰｽ");
    EXPECT_EQ(clock_start, 5u);
    EXPECT_EQ(clock_now, 6u);
    EXPECT_EQ(clock_carry, 7);
    EXPECT_EQ(play_seconds, 8);
    ws::test::advance(3000);
    EXPECT_EQ(title(), kSize + "3ﾋﾟｰｽ") << "no clock runs while cutting";
}

TEST_F(Title, StartCountsPlayTimeOnTheTimerFromZero) {
    Jig& g = game();
    clock_carry = 100;
    g.windowtitle(TITLE_START);
    EXPECT_EQ(clock_carry, 0);
    EXPECT_EQ(title(), playing(6, "0時0分0秒"));
    ws::test::advance(999);
    EXPECT_EQ(title(), playing(6, "0時0分0秒"));
    ws::test::advance(1);
    EXPECT_EQ(title(), playing(6, "0時0分1秒"));
    ws::test::advance(3725000 - 1000);
    EXPECT_EQ(title(), playing(6, "1時2分5秒"));
    EXPECT_EQ(play_seconds, 3725);
}

TEST_F(Title, ResumedGameShowsItsCarriedTimeAtOnceAndCountsOn) {
    Jig& g = game();
    ws::test::advance(12345);  // the tick count is not at zero when the game is resumed
    clock_carry = 3725;
    g.windowtitle(TITLE_RESUME);
    EXPECT_EQ(title(), playing(6, "1時2分5秒"));
    EXPECT_EQ(clock_carry, 3725);
    ws::test::advance(1000);
    EXPECT_EQ(title(), playing(6, "1時2分6秒"));
}

TEST_F(Title, ClockIsCarriedAcrossAPause) {
    Jig& g = game();
    g.windowtitle(TITLE_START);
    ws::test::advance(10000);
    EXPECT_EQ(play_seconds, 10);

    // Saved and closed: the game keeps play_seconds; its timer goes with it.
    const int32_t saved = play_seconds;
    ws::kill_timer(game_window, kClockTimer);
    delete current_game;
    current_game = nullptr;
    ws::test::advance(60000);

    Jig& resumed = game();
    clock_carry = saved;
    resumed.windowtitle(TITLE_RESUME);
    EXPECT_EQ(title(), playing(6, "0時0分10秒")) << "time between saving and resuming is not counted";
    ws::test::advance(5000);
    EXPECT_EQ(title(), playing(6, "0時0分15秒"));
}

TEST_F(Title, CompletionShowsNoneLeftAndStopsTheClock) {
    Jig& g = game();
    g.windowtitle(TITLE_START);
    ws::test::advance(4000);
    g.item_count = 1;  // the last join
    ws::test::advance(1000);
    EXPECT_EQ(title(), playing(0, "0時0分5秒"));
    ws::test::advance(10000);
    EXPECT_EQ(title(), playing(0, "0時0分5秒")) << "the final time stays";
    EXPECT_EQ(play_seconds, 5);
}

}  // namespace
