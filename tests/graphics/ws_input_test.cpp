// Window layer: mouse messages, capture, keys and key state, cursors and dropped files.
#include "support/ws_support.h"

using namespace wstest;

namespace {

class Input : public WsTest {
protected:
    void SetUp() override {
        WsTest::SetUp();
        a = top(0, 0, 100, 100);
        b = top(200, 0, 100, 100);
        ws::test::pump();
        seen().clear();
    }
    ws::Hwnd a = 0, b = 0;
};

Point at(const Seen& s) { return {ws::lparam_x(s.lparam), ws::lparam_y(s.lparam)}; }

TEST_F(Input, ButtonsArriveInClientCoordinatesWithShiftAndCtrl) {
    ws::test::mouse(ws::WM_LBUTTONDOWN, {230, 40}, ws::MK_SHIFT);
    ws::test::mouse(ws::WM_LBUTTONUP, {231, 41}, ws::MK_CONTROL);
    ws::test::mouse(ws::WM_RBUTTONDOWN, {10, 20});
    ws::test::mouse(ws::WM_RBUTTONUP, {10, 20});
    ws::test::mouse(ws::WM_MBUTTONDOWN, {11, 21}, ws::MK_SHIFT | ws::MK_CONTROL);
    ws::test::mouse(ws::WM_MBUTTONUP, {11, 21});
    ws::test::pump();
    std::vector<uint32_t> msgs;
    for (const Seen& s : seen())
        if (s.msg != ws::WM_PAINT && s.msg != ws::WM_ERASEBKGND) msgs.push_back(s.msg);
    EXPECT_EQ(msgs, (std::vector<uint32_t>{ws::WM_LBUTTONDOWN, ws::WM_LBUTTONUP, ws::WM_RBUTTONDOWN, ws::WM_RBUTTONUP,
                                           ws::WM_MBUTTONDOWN, ws::WM_MBUTTONUP}));
    const auto& s = seen();
    EXPECT_EQ(s[0].hwnd, b);
    EXPECT_EQ(at(s[0]), (Point{30, 40}));
    EXPECT_EQ(s[0].wparam, uintptr_t(ws::MK_LBUTTON | ws::MK_SHIFT));
    EXPECT_EQ(s[1].wparam, uintptr_t(ws::MK_CONTROL)) << "the released button is no longer down";
    EXPECT_EQ(s[2].hwnd, a);
    EXPECT_EQ(s[2].wparam, uintptr_t(ws::MK_RBUTTON));
    EXPECT_EQ(s[4].wparam, uintptr_t(ws::MK_MBUTTON | ws::MK_SHIFT | ws::MK_CONTROL));
}

TEST_F(Input, CaptureRoutesMovesAndTheReleaseOutsideTheWindow) {
    set_hook([this](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
        if (msg == ws::WM_LBUTTONDOWN && h == a) ws::set_capture(h);
        if (msg == ws::WM_LBUTTONUP && h == a) ws::release_capture();
        return false;
    });
    ws::test::mouse(ws::WM_LBUTTONDOWN, {50, 50});
    ws::test::pump();
    EXPECT_EQ(ws::get_capture(), a);
    ws::test::mouse(ws::WM_MOUSEMOVE, {250, 50});  // over the other window
    ws::test::pump();
    ws::test::mouse(ws::WM_MOUSEMOVE, {500, 400});  // over no window at all
    ws::test::pump();
    ws::test::mouse(ws::WM_LBUTTONUP, {-20, 300});
    ws::test::pump();
    EXPECT_TRUE(seen_of(ws::WM_MOUSEMOVE, b).empty());
    auto moves = seen_of(ws::WM_MOUSEMOVE, a);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(at(moves[0]), (Point{250, 50}));
    EXPECT_EQ(at(moves[1]), (Point{500, 400}));
    EXPECT_EQ(moves[0].wparam, uintptr_t(ws::MK_LBUTTON));
    auto ups = seen_of(ws::WM_LBUTTONUP, a);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(at(ups[0]), (Point{-20, 300})) << "negative client coordinates survive";
    EXPECT_EQ(ws::get_capture(), 0);
    EXPECT_EQ(seen_of(ws::WM_CAPTURECHANGED, a).size(), 1u);
    // Without the capture the window under the pointer hears the move again.
    ws::test::mouse(ws::WM_MOUSEMOVE, {250, 60});
    ws::test::pump();
    EXPECT_EQ(seen_of(ws::WM_MOUSEMOVE, b).size(), 1u);
}

TEST_F(Input, TheCaptureEndsWithItsWindow) {
    ws::set_capture(a);
    ws::destroy_window(a);
    EXPECT_EQ(ws::get_capture(), 0);
    ws::test::mouse(ws::WM_MOUSEMOVE, {250, 50});
    ws::test::pump();
    EXPECT_EQ(seen_of(ws::WM_MOUSEMOVE, b).size(), 1u);
}

TEST_F(Input, PressAndReleaseCarryTheirOwnTimes) {
    uint32_t t0 = ws::tick_count();
    ws::test::mouse(ws::WM_LBUTTONDOWN, {10, 10});
    ws::test::advance(120);
    ws::test::mouse(ws::WM_LBUTTONUP, {10, 10});
    ws::test::pump();
    ASSERT_EQ(seen_of(ws::WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(seen_of(ws::WM_LBUTTONDOWN)[0].time, t0);
    EXPECT_EQ(seen_of(ws::WM_LBUTTONUP)[0].time, t0 + 120) << "a click is told from a drag by these times";
}

TEST_F(Input, ChildWindowsHearTheMouseInTheirOwnCoordinates) {
    ws::Hwnd kid = child(a, 40, 30, 20, 20);
    ws::test::pump();
    seen().clear();
    ws::test::mouse(ws::WM_LBUTTONDOWN, {45, 35});
    ws::test::mouse(ws::WM_LBUTTONUP, {45, 35});
    ws::test::pump();
    auto downs = seen_of(ws::WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hwnd, kid);
    EXPECT_EQ(at(downs[0]), (Point{5, 5}));
}

TEST_F(Input, ConsecutiveMovesCollapseIntoTheLatest) {
    ws::test::mouse(ws::WM_MOUSEMOVE, {10, 10});
    ws::test::mouse(ws::WM_MOUSEMOVE, {11, 12});
    ws::test::mouse(ws::WM_MOUSEMOVE, {13, 14});
    ws::test::mouse(ws::WM_LBUTTONDOWN, {13, 14});
    ws::test::mouse(ws::WM_MOUSEMOVE, {15, 16});
    ws::test::pump();
    auto moves = seen_of(ws::WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 2u) << "a press between moves keeps them apart";
    EXPECT_EQ(at(moves[0]), (Point{13, 14}));
    EXPECT_EQ(at(moves[1]), (Point{15, 16}));
    EXPECT_EQ(ws::cursor_pos(), (Point{15, 16}));
}

TEST_F(Input, KeysGoToTheFocusWithTheirCodesAndState) {
    ws::set_focus(a);
    EXPECT_EQ(ws::get_focus(), a);
    ws::test::key(ws::WM_KEYDOWN, ws::VK_SHIFT);
    EXPECT_LT(ws::get_key_state(ws::VK_SHIFT), 0);
    ws::test::key(ws::WM_KEYDOWN, 'R');
    ws::test::key(ws::WM_KEYDOWN, 'R');  // held: repeats
    ws::test::key(ws::WM_KEYUP, 'R');
    ws::test::key(ws::WM_KEYUP, ws::VK_SHIFT);
    ws::test::key(ws::WM_KEYDOWN, ws::VK_F1);
    ws::test::key(ws::WM_KEYDOWN, ws::VK_ESCAPE);
    EXPECT_EQ(ws::get_key_state(ws::VK_SHIFT), 0);
    ws::test::pump();
    std::vector<std::pair<uint32_t, uintptr_t>> keys;
    for (const Seen& s : seen())
        if (s.msg == ws::WM_KEYDOWN || s.msg == ws::WM_KEYUP) {
            EXPECT_EQ(s.hwnd, a);
            keys.emplace_back(s.msg, s.wparam);
        }
    using P = std::pair<uint32_t, uintptr_t>;
    EXPECT_EQ(keys, (std::vector<P>{{ws::WM_KEYDOWN, ws::VK_SHIFT}, {ws::WM_KEYDOWN, 'R'}, {ws::WM_KEYDOWN, 'R'},
                                    {ws::WM_KEYUP, 'R'}, {ws::WM_KEYUP, ws::VK_SHIFT}, {ws::WM_KEYDOWN, ws::VK_F1},
                                    {ws::WM_KEYDOWN, ws::VK_ESCAPE}}));
    auto downs = seen_of(ws::WM_KEYDOWN);
    EXPECT_FALSE(downs[1].lparam & (1 << 30)) << "first press";
    EXPECT_TRUE(downs[2].lparam & (1 << 30)) << "repeat of a held key";
}

TEST_F(Input, ButtonStateIsKnownWhileHeld) {
    ws::test::mouse(ws::WM_RBUTTONDOWN, {10, 10});
    EXPECT_LT(ws::get_key_state(ws::VK_RBUTTON), 0);
    EXPECT_EQ(ws::get_key_state(ws::VK_LBUTTON), 0);
    ws::test::mouse(ws::WM_RBUTTONUP, {10, 10});
    EXPECT_EQ(ws::get_key_state(ws::VK_RBUTTON), 0);
}

TEST_F(Input, CursorsArrowAndHourglass) {
    EXPECT_EQ(ws::load_cursor(ws::IDC_ARROW), ws::IDC_ARROW);
    EXPECT_EQ(ws::load_cursor(ws::IDC_WAIT), ws::IDC_WAIT);
    EXPECT_EQ(ws::load_cursor(12345), 0);
    ws::set_cursor(ws::IDC_ARROW);
    EXPECT_EQ(ws::set_cursor(ws::IDC_WAIT), ws::IDC_ARROW);
    EXPECT_EQ(ws::get_cursor(), ws::IDC_WAIT);
    EXPECT_EQ(ws::set_cursor(ws::IDC_ARROW), ws::IDC_WAIT);
}

TEST_F(Input, DroppedFilesArriveWithAHandleUntilFinished) {
    ws::test::drop_files(a, {"/tmp/x.jpg"}, {5, 5});
    ws::test::pump();
    EXPECT_TRUE(seen_of(ws::WM_DROPFILES).empty()) << "the window did not accept files";
    ws::drag_accept_files(a, true);
    ws::test::drop_files(a, {"/tmp/一.jpg", "/tmp/b c.zlt"}, {7, 8});
    ws::test::pump();
    auto drops = seen_of(ws::WM_DROPFILES, a);
    ASSERT_EQ(drops.size(), 1u);
    ws::Hdrop d = drops[0].wparam;
    EXPECT_EQ(ws::drag_query_file_count(d), 2u);
    EXPECT_EQ(ws::drag_query_file(d, 0), "/tmp/一.jpg");
    EXPECT_EQ(ws::drag_query_file(d, 1), "/tmp/b c.zlt");
    EXPECT_EQ(ws::drag_query_file(d, 2), "");
    EXPECT_EQ(ws::drag_query_point(d), (Point{7, 8}));
    ws::drag_finish(d);
    EXPECT_EQ(ws::drag_query_file_count(d), 0u);
}

}  // namespace
