// Window layer: posted and sent messages, their order and times, the loop and quitting, timers, mouse and keys.
#include "support/ws_support.h"

using namespace wstest;

namespace {

constexpr uint32_t MSG_A = 0xF400, MSG_B = 0xF401, MSG_C = 0xF402;

// The program's own messages (and, with `timers`, timer ids) in the order the procedure saw them.
std::vector<uint32_t> order(bool timers = false) {
    std::vector<uint32_t> out;
    for (const Seen& s : seen())
        if (s.msg >= 0xF400) out.push_back(s.msg);
        else if (timers && s.msg == ws::WM_TIMER) out.push_back(uint32_t(s.wparam));
    return out;
}
std::vector<uint32_t> tick_times(uintptr_t id) {
    std::vector<uint32_t> out;
    for (const Seen& s : seen_of(ws::WM_TIMER))
        if (s.wparam == id) out.push_back(s.time);
    return out;
}
Point at(const Seen& s) { return {ws::lparam_x(s.lparam), ws::lparam_y(s.lparam)}; }

class Messages : public WsTest {
protected:
    void SetUp() override {
        WsTest::SetUp();
        w = top(0, 0, 100, 100);
        b = top(200, 0, 100, 100);
        ws::test::pump();
        seen().clear();
    }
    ws::Hwnd w = 0, b = 0;
};

TEST_F(Messages, PostedRunLaterInOrderSentRunAtOnce) {
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t wp, intptr_t, intptr_t& result) {
        if (msg == MSG_A && wp == 0) ws::post_message(h, MSG_B, 1, 0), ws::post_message(h, MSG_C, 2, 0);
        if (msg == MSG_A && wp == 4) result = ws::send_message(h, MSG_B, wp + 1, 0) + 1;  // nested send
        if (msg == MSG_B) result = intptr_t(wp) * 10;
        return msg == MSG_A || msg == MSG_B;
    });
    ws::post_message(w, MSG_A, 0, 0);
    ws::post_message(w, MSG_C, 9, 0);
    EXPECT_TRUE(order().empty()) << "posting must not run the procedure";
    ws::test::pump();
    EXPECT_EQ(order(), (std::vector<uint32_t>{MSG_A, MSG_C, MSG_B, MSG_C}));
    EXPECT_EQ(seen_of(MSG_C)[0].wparam, 9u);
    seen().clear();
    ws::post_message(w, MSG_C, 0, 0);  // a queued message must not overtake a sent one
    EXPECT_EQ(ws::send_message(w, MSG_A, 4, 0), 51);
    EXPECT_EQ(order(), (std::vector<uint32_t>{MSG_A, MSG_B}));
    EXPECT_EQ(ws::send_message(w + 1000, MSG_A, 4, 0), 0) << "no window, no procedure";
    EXPECT_FALSE(ws::post_message(w + 1000, MSG_A, 0, 0));
    ws::post_message(w, MSG_B, 0, 0);
    ws::destroy_window(w);
    seen().clear();
    ws::test::pump();
    EXPECT_TRUE(order().empty()) << "messages to a destroyed window are dropped";
}

TEST_F(Messages, EachMessageCarriesTheClockTimeItWasQueuedAt) {
    const uint32_t t0 = ws::tick_count();
    uint32_t sent_time = 0;
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
        if (msg == MSG_B) ws::send_message(h, MSG_C, 0, 0);
        if (msg == MSG_C) sent_time = ws::message_time();
        return false;
    });
    ws::post_message(w, MSG_A, 0, 0);
    ws::test::advance(0);
    ws::test::advance(50);
    ws::post_message(w, MSG_B, 0, 0);
    ws::test::advance(250);
    ASSERT_EQ(seen_of(MSG_B).size(), 1u);
    EXPECT_EQ(seen_of(MSG_A)[0].time, t0);
    EXPECT_EQ(seen_of(MSG_B)[0].time, t0 + 50) << "a posted message keeps its posting time";
    EXPECT_EQ(sent_time, t0 + 50) << "a sent message runs within the time of the one being handled";
    EXPECT_EQ(ws::tick_count(), t0 + 300);
}

TEST_F(Messages, TheLoopEndsWithTheQuitCodeAfterWhatWasPostedBefore) {
    ws::post_message(w, MSG_A, 0, 0);
    ws::post_quit_message(7);
    ws::post_message(w, MSG_B, 0, 0);
    ws::invalidate_rect(w, nullptr, false);
    int32_t code = 0;
    EXPECT_TRUE(ws::test::quit_requested(&code));
    EXPECT_EQ(code, 7);
    ws::Msg m;
    while (ws::get_message(m)) ws::dispatch_message(m);
    EXPECT_EQ(m.message, ws::WM_QUIT);
    EXPECT_EQ(m.wparam, 7u);
    EXPECT_EQ(order(), (std::vector<uint32_t>{MSG_A, MSG_B}));
    EXPECT_FALSE(ws::test::quit_requested());
    EXPECT_TRUE(seen_of(ws::WM_PAINT).empty()) << "the quit request comes before painting";
    while (ws::get_message(m)) ws::dispatch_message(m);  // with nothing left a test-mode loop ends
    EXPECT_EQ(m.message, ws::WM_NULL);
    EXPECT_EQ(seen_of(ws::WM_PAINT).size(), 1u);
    ws::post_quit_message(0);
    ws::test::pump();
    EXPECT_TRUE(ws::test::quit_requested()) << "pump leaves the quit request pending";
}

TEST_F(Messages, PeekThreadMessagesAndKeyTranslation) {
    ws::post_message(w, MSG_A, 3, 4);
    ws::Msg m;
    ASSERT_TRUE(ws::peek_message(m, ws::PM_NOREMOVE));
    ASSERT_TRUE(ws::peek_message(m, ws::PM_REMOVE));
    EXPECT_EQ(std::tuple(m.hwnd, m.message, m.wparam, m.lparam), std::tuple(w, MSG_A, uintptr_t(3), intptr_t(4)));
    EXPECT_FALSE(ws::peek_message(m, ws::PM_REMOVE));
    ASSERT_TRUE(ws::post_message(0, MSG_B, 5, 0));  // a thread message reaches the loop but no procedure
    ASSERT_TRUE(ws::peek_message(m, ws::PM_REMOVE));
    EXPECT_EQ(std::pair(m.hwnd, m.message), std::pair(ws::Hwnd(0), MSG_B));
    EXPECT_EQ(ws::dispatch_message(m), 0);
    EXPECT_TRUE(seen().empty());
    ws::post_message(w, MSG_A, 0, 0);  // arrived while the key was being looked at
    ws::Msg key{w, ws::WM_KEYDOWN, 'R', 1, 0}, shift{w, ws::WM_KEYDOWN, ws::VK_SHIFT, 1, 0};
    EXPECT_TRUE(ws::translate_message(key));
    EXPECT_FALSE(ws::translate_message(shift));
    ws::test::pump();
    ASSERT_EQ(seen_of(ws::WM_CHAR).size(), 1u);
    EXPECT_EQ(seen_of(ws::WM_CHAR)[0].wparam, uintptr_t('r'));
    EXPECT_EQ(seen().front().msg, ws::WM_CHAR) << "the character comes before what was already waiting";
}

TEST_F(Messages, TimersFireAtTheirPeriodOnTheVirtualClock) {
    const uint32_t t0 = ws::tick_count();
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t wp, intptr_t, intptr_t&) {
        if (msg == ws::WM_TIMER && wp == 5) ws::kill_timer(h, 5);  // a kill inside a tick stops the next ones
        return false;
    });
    EXPECT_EQ(ws::set_timer(w, 0xF402, 1000), 0xF402u);
    ws::set_timer(w, 1, 100);
    ws::set_timer(w, 5, 20);
    ws::set_timer(w, 7, 1000);
    ws::test::pump();
    EXPECT_TRUE(seen_of(ws::WM_TIMER).empty()) << "nothing fires while the clock stands";
    ws::test::advance(300);
    ws::set_timer(w, 7, 1000);  // setting again restarts the period, as a cancelled close does
    EXPECT_TRUE(ws::kill_timer(w, 1));
    EXPECT_FALSE(ws::kill_timer(w, 1)) << "a timer is stopped once";
    ws::test::advance(699);
    EXPECT_TRUE(tick_times(0xF402).empty());
    ws::test::advance(1);
    ws::test::advance(3000);
    EXPECT_EQ(tick_times(0xF402), (std::vector<uint32_t>{t0 + 1000, t0 + 2000, t0 + 3000, t0 + 4000}));
    EXPECT_EQ(tick_times(1), (std::vector<uint32_t>{t0 + 100, t0 + 200, t0 + 300}));
    EXPECT_EQ(tick_times(5).size(), 1u);
    EXPECT_EQ(tick_times(7), (std::vector<uint32_t>{t0 + 1300, t0 + 2300, t0 + 3300}));
    ws::destroy_window(w);
    seen().clear();
    ws::test::advance(5000);
    EXPECT_TRUE(seen_of(ws::WM_TIMER).empty()) << "timers die with their window";
    EXPECT_EQ(ws::set_timer(w, 1, 50), 0u);
}

TEST_F(Messages, ATimerWaitsUntilNoPostedMessageIsLeft) {
    // Timer 1 posts a chain of messages when it ticks; timer 2 falls due at the same moment and must wait for the
    // whole chain, as cutting one piece per posted message relies on.
    int chain = 0;
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t wp, intptr_t, intptr_t&) {
        if ((msg == ws::WM_TIMER && wp == 1) || (msg == MSG_A && ++chain < 5)) ws::post_message(h, MSG_A, 0, 0);
        if (msg == ws::WM_TIMER) ws::kill_timer(h, wp);
        return false;
    });
    ws::set_timer(w, 1, 40);
    ws::set_timer(w, 2, 40);
    ws::test::advance(40);
    EXPECT_EQ(order(true), (std::vector<uint32_t>{1, MSG_A, MSG_A, MSG_A, MSG_A, MSG_A, 2}));
}

TEST_F(Messages, MouseButtonsArriveInClientCoordinatesWithTheirTimes) {
    const uint32_t t0 = ws::tick_count();
    ws::Hwnd kid = child(w, 40, 30, 20, 20);
    ws::test::mouse(ws::WM_LBUTTONDOWN, {230, 40}, ws::MK_SHIFT);
    ws::test::advance(120);
    ws::test::mouse(ws::WM_LBUTTONUP, {231, 41}, ws::MK_CONTROL);
    ws::test::mouse(ws::WM_RBUTTONDOWN, {10, 20});
    EXPECT_LT(ws::get_key_state(ws::VK_RBUTTON), 0);
    EXPECT_EQ(ws::get_key_state(ws::VK_LBUTTON), 0);
    ws::test::mouse(ws::WM_RBUTTONUP, {10, 20});
    EXPECT_EQ(ws::get_key_state(ws::VK_RBUTTON), 0);
    ws::test::mouse(ws::WM_MBUTTONDOWN, {45, 35}, ws::MK_SHIFT | ws::MK_CONTROL);
    ws::test::mouse(ws::WM_MBUTTONUP, {11, 21});
    ws::test::pump();
    std::vector<std::tuple<uint32_t, ws::Hwnd, Point, uintptr_t, uint32_t>> got;
    for (const Seen& s : seen())
        if (s.msg >= ws::WM_LBUTTONDOWN && s.msg <= ws::WM_MBUTTONUP) got.emplace_back(s.msg, s.hwnd, at(s), s.wparam, s.time);
    using T = decltype(got)::value_type;
    EXPECT_EQ(got, (std::vector<T>{
                       {ws::WM_LBUTTONDOWN, b, {30, 40}, ws::MK_LBUTTON | ws::MK_SHIFT, t0},
                       {ws::WM_LBUTTONUP, b, {31, 41}, ws::MK_CONTROL, t0 + 120},  // a click is told from a drag so
                       {ws::WM_RBUTTONDOWN, w, {10, 20}, ws::MK_RBUTTON, t0 + 120},
                       {ws::WM_RBUTTONUP, w, {10, 20}, 0, t0 + 120},
                       {ws::WM_MBUTTONDOWN, kid, {5, 5}, ws::MK_MBUTTON | ws::MK_SHIFT | ws::MK_CONTROL, t0 + 120},
                       {ws::WM_MBUTTONUP, w, {11, 21}, 0, t0 + 120}}));
}

TEST_F(Messages, CaptureRoutesMovesUntilReleasedOrItsWindowGoes) {
    set_hook([this](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
        if (msg == ws::WM_LBUTTONDOWN && h == w) ws::set_capture(h);
        if (msg == ws::WM_LBUTTONUP && h == w) ws::release_capture();
        return false;
    });
    ws::test::mouse(ws::WM_LBUTTONDOWN, {50, 50});
    ws::test::pump();
    EXPECT_EQ(ws::get_capture(), w);
    for (const Point p : {Point{250, 50}, Point{251, 50}, Point{500, 400}}) ws::test::mouse(ws::WM_MOUSEMOVE, p);
    ws::test::mouse(ws::WM_LBUTTONUP, {-20, 300});
    ws::test::pump();
    EXPECT_TRUE(seen_of(ws::WM_MOUSEMOVE, b).empty());
    const auto moves = seen_of(ws::WM_MOUSEMOVE, w);
    ASSERT_EQ(moves.size(), 1u) << "consecutive moves collapse into the latest";
    EXPECT_EQ(at(moves[0]), (Point{500, 400}));
    EXPECT_EQ(moves[0].wparam, uintptr_t(ws::MK_LBUTTON));
    ASSERT_EQ(seen_of(ws::WM_LBUTTONUP, w).size(), 1u);
    EXPECT_EQ(at(seen_of(ws::WM_LBUTTONUP, w)[0]), (Point{-20, 300})) << "negative client coordinates survive";
    EXPECT_EQ(ws::get_capture(), 0);
    EXPECT_EQ(seen_of(ws::WM_CAPTURECHANGED, w).size(), 1u);
    ws::set_capture(w);
    ws::destroy_window(w);
    EXPECT_EQ(ws::get_capture(), 0);
    for (const Point p : {Point{250, 60}, Point{251, 61}}) ws::test::mouse(ws::WM_MOUSEMOVE, p);
    ws::test::mouse(ws::WM_MOUSEMOVE, {252, 62}, ws::MK_SHIFT);
    ws::test::mouse(ws::WM_LBUTTONDOWN, {252, 62});
    ws::test::mouse(ws::WM_MOUSEMOVE, {253, 63});
    ws::test::pump();
    std::vector<Point> points;
    for (const Seen& s : seen_of(ws::WM_MOUSEMOVE, b)) points.push_back(at(s));
    EXPECT_EQ(points, (std::vector<Point>{{51, 61}, {52, 62}, {53, 63}})) << "other keys or a press keep moves apart";
    EXPECT_EQ(ws::cursor_pos(), (Point{253, 63}));
}

TEST_F(Messages, KeysGoToTheFocusWithTheirStateAndRepeats) {
    ws::set_focus(w);
    EXPECT_EQ(ws::get_focus(), w);
    ws::test::key(ws::WM_KEYDOWN, ws::VK_SHIFT);
    EXPECT_LT(ws::get_key_state(ws::VK_SHIFT), 0);
    for (uintptr_t k : {uintptr_t('R'), uintptr_t('R')}) ws::test::key(ws::WM_KEYDOWN, k);
    ws::test::key(ws::WM_KEYUP, 'R');
    ws::test::key(ws::WM_KEYUP, ws::VK_SHIFT);
    EXPECT_EQ(ws::get_key_state(ws::VK_SHIFT), 0);
    ws::test::key(ws::WM_KEYDOWN, ws::VK_ESCAPE);
    ws::test::pump();
    std::vector<std::tuple<ws::Hwnd, uint32_t, uintptr_t, bool>> keys;
    for (const Seen& s : seen())
        if (s.msg == ws::WM_KEYDOWN || s.msg == ws::WM_KEYUP) keys.emplace_back(s.hwnd, s.msg, s.wparam, s.lparam >> 30 & 1);
    using K = decltype(keys)::value_type;
    EXPECT_EQ(keys, (std::vector<K>{{w, ws::WM_KEYDOWN, ws::VK_SHIFT, false}, {w, ws::WM_KEYDOWN, 'R', false},
                                    {w, ws::WM_KEYDOWN, 'R', true}, {w, ws::WM_KEYUP, 'R', true},
                                    {w, ws::WM_KEYUP, ws::VK_SHIFT, true}, {w, ws::WM_KEYDOWN, ws::VK_ESCAPE, false}}));
}

TEST_F(Messages, CursorsAndDroppedFiles) {
    EXPECT_EQ(ws::load_cursor(ws::IDC_WAIT), ws::IDC_WAIT);
    EXPECT_EQ(ws::load_cursor(12345), 0);
    ws::set_cursor(ws::IDC_ARROW);
    EXPECT_EQ(ws::set_cursor(ws::IDC_WAIT), ws::IDC_ARROW);
    EXPECT_EQ(ws::get_cursor(), ws::IDC_WAIT);
    ws::test::drop_files(w, {"/tmp/x.jpg"}, {5, 5});
    ws::test::pump();
    EXPECT_TRUE(seen_of(ws::WM_DROPFILES).empty()) << "the window did not accept files";
    ws::drag_accept_files(w, true);
    ws::test::drop_files(w, {"/tmp/一.jpg", "/tmp/b c.zlt"}, {7, 8});
    ws::test::pump();
    ASSERT_EQ(seen_of(ws::WM_DROPFILES, w).size(), 1u);
    const ws::Hdrop d = seen_of(ws::WM_DROPFILES, w)[0].wparam;
    ASSERT_EQ(ws::drag_query_file_count(d), 2u);
    EXPECT_EQ(ws::drag_query_file(d, 0), "/tmp/一.jpg");
    EXPECT_EQ(ws::drag_query_file(d, 1), "/tmp/b c.zlt");
    EXPECT_EQ(ws::drag_query_file(d, 2), "");
    EXPECT_EQ(ws::drag_query_point(d), (Point{7, 8}));
    ws::drag_finish(d);
    EXPECT_EQ(ws::drag_query_file_count(d), 0u);
}

}  // namespace
