// Window layer: timers by id on the virtual clock of test mode.
#include "support/ws_support.h"

using namespace wstest;

namespace {

class Timers : public WsTest {
protected:
    std::vector<uint32_t> tick_times(ws::Hwnd w, uintptr_t id) {
        std::vector<uint32_t> out;
        for (const Seen& s : seen_of(ws::WM_TIMER, w))
            if (s.wparam == id) out.push_back(s.time);
        return out;
    }
};

TEST_F(Timers, FireOnlyWhenTheClockIsAdvancedAtTheirPeriod) {
    ws::Hwnd w = top();
    ws::test::pump();
    uint32_t t0 = ws::tick_count();
    EXPECT_EQ(ws::set_timer(w, 0xF402, 1000), 0xF402u);
    ws::test::pump();
    EXPECT_TRUE(tick_times(w, 0xF402).empty()) << "nothing fires while the clock stands";
    ws::test::advance(999);
    EXPECT_TRUE(tick_times(w, 0xF402).empty());
    ws::test::advance(1);
    EXPECT_EQ(tick_times(w, 0xF402), (std::vector<uint32_t>{t0 + 1000}));
    ws::test::advance(3000);
    EXPECT_EQ(tick_times(w, 0xF402), (std::vector<uint32_t>{t0 + 1000, t0 + 2000, t0 + 3000, t0 + 4000}));
}

TEST_F(Timers, StopAfterKillAndKeepTheirIds) {
    ws::Hwnd w = top();
    ws::set_timer(w, 1, 100);
    ws::set_timer(w, 2, 150);
    ws::test::advance(300);
    EXPECT_EQ(tick_times(w, 1).size(), 3u);
    EXPECT_EQ(tick_times(w, 2).size(), 2u);
    EXPECT_TRUE(ws::kill_timer(w, 1));
    EXPECT_FALSE(ws::kill_timer(w, 1)) << "a timer is stopped once";
    ws::test::advance(300);
    EXPECT_EQ(tick_times(w, 1).size(), 3u);
    EXPECT_EQ(tick_times(w, 2).size(), 4u);
}

TEST_F(Timers, SettingAgainRestartsThePeriod) {
    ws::Hwnd w = top();
    uint32_t t0 = ws::tick_count();
    ws::set_timer(w, 7, 1000);
    ws::test::advance(600);
    ws::set_timer(w, 7, 1000);  // as the game does when a close is cancelled
    ws::test::advance(900);
    EXPECT_TRUE(tick_times(w, 7).empty());
    ws::test::advance(100);
    EXPECT_EQ(tick_times(w, 7), (std::vector<uint32_t>{t0 + 1600}));
}

TEST_F(Timers, WaitUntilNoPostedMessageIsLeft) {
    ws::Hwnd w = top();
    ws::test::pump();
    // Timer 1 posts a chain of messages when it ticks; timer 2 falls due at the same moment and must wait for the
    // whole chain, as cutting one piece per posted message relies on.
    int chain = 0;
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t wp, intptr_t, intptr_t&) {
        if ((msg == ws::WM_TIMER && wp == 1) || (msg == 0xF400 && ++chain < 5)) ws::post_message(h, 0xF400, 0, 0);
        if (msg == ws::WM_TIMER) ws::kill_timer(h, wp);
        return false;
    });
    ws::set_timer(w, 1, 40);
    ws::set_timer(w, 2, 40);
    ws::test::advance(40);
    std::vector<uint32_t> order;
    for (const Seen& s : seen())
        if (s.msg == 0xF400) order.push_back(0);
        else if (s.msg == ws::WM_TIMER) order.push_back(uint32_t(s.wparam));
    EXPECT_EQ(order, (std::vector<uint32_t>{1, 0, 0, 0, 0, 0, 2}));
}

TEST_F(Timers, DieWithTheirWindow) {
    ws::Hwnd w = top();
    ws::set_timer(w, 1, 50);
    ws::destroy_window(w);
    seen().clear();
    ws::test::advance(500);
    EXPECT_TRUE(seen_of(ws::WM_TIMER).empty());
    EXPECT_EQ(ws::set_timer(w, 1, 50), 0u) << "a dead window gets no timer";
}

TEST_F(Timers, AKillInsideATickStopsTheNextOnes) {
    ws::Hwnd w = top();
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t wp, intptr_t, intptr_t&) {
        if (msg == ws::WM_TIMER && wp == 5) ws::kill_timer(h, 5);
        return false;
    });
    ws::set_timer(w, 5, 20);
    ws::test::advance(200);
    EXPECT_EQ(tick_times(w, 5).size(), 1u);
}

}  // namespace
