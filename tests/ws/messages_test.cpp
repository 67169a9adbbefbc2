// Window layer: the loop and quitting, thread messages, timers, the part to paint, mouse moves and capture, keys,
// pop-up menus and accelerators, owned windows, sound, text drawing, clipboard bitmaps.
#include <gtest/gtest.h>

#include <functional>

#include "ws/ws.h"

namespace {

constexpr uint32_t MSG_A = 0xF400, MSG_B = 0xF401;

// Every message a window of the class "Rec" receives, in order, with the time the layer reported while it ran.
struct Seen {
    ws::Hwnd hwnd;
    uint32_t msg;
    uintptr_t wparam;
    intptr_t lparam;
    uint32_t time;
};
std::vector<Seen> seen;
std::function<void(ws::Hwnd, uint32_t, uintptr_t)> hook;  // extra behaviour, run after the message is recorded

intptr_t recording_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    seen.push_back({hwnd, msg, wparam, lparam, ws::message_time()});
    if (hook) hook(hwnd, msg, wparam);
    return ws::def_window_proc(hwnd, msg, wparam, lparam);
}

// The messages of one kind that `hwnd` received (0 = any window).
std::vector<Seen> seen_of(uint32_t msg, ws::Hwnd hwnd = 0) {
    std::vector<Seen> out;
    for (const Seen& s : seen)
        if (s.msg == msg && (hwnd == 0 || s.hwnd == hwnd)) out.push_back(s);
    return out;
}

// A reset layer with the recording class and one 100 x 100 window `w` at the screen's corner, its first paint done.
struct Messages : ::testing::Test {
    void SetUp() override {
        ws::test::reset();
        hook = nullptr;
        ws::WindowClass wc;
        wc.name = "Rec";
        wc.proc = recording_proc;
        wc.cursor = ws::IDC_ARROW;
        wc.background = 0xFFFFFF;
        ASSERT_TRUE(ws::class_registered("Rec") || ws::register_class(wc));
        w = top(0);
        ws::test::pump();
        seen.clear();
    }
    void TearDown() override { ws::test::reset(); }
    ws::Hwnd top(int32_t x) {
        const ws::Hwnd hwnd = ws::create_window("Rec", "top", ws::WS_POPUP | ws::WS_VISIBLE, x, 0, 100, 100, 0, 0);
        EXPECT_NE(hwnd, 0);
        return hwnd;
    }
    ws::Hwnd w = 0;
};

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
    EXPECT_EQ(std::pair(m.message, m.wparam), std::pair(uint32_t(ws::WM_QUIT), uintptr_t(7)));
    std::vector<uint32_t> got;
    for (const Seen& s : seen) got.push_back(s.msg);
    EXPECT_EQ(got, (std::vector<uint32_t>{MSG_A, MSG_B})) << "the quit request comes before painting";
    EXPECT_FALSE(ws::test::quit_requested());
    while (ws::get_message(m)) ws::dispatch_message(m);  // with nothing left a test-mode loop ends
    EXPECT_EQ(std::pair(m.message, seen_of(ws::WM_PAINT).size()), std::pair(uint32_t(ws::WM_NULL), size_t(1)));
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
    EXPECT_TRUE(seen.empty());
    ws::post_message(w, MSG_A, 0, 0);  // arrived while the key was being looked at
    ws::Msg key{w, ws::WM_KEYDOWN, 'R', 1, 0}, shift{w, ws::WM_KEYDOWN, ws::VK_SHIFT, 1, 0};
    EXPECT_TRUE(ws::translate_message(key));
    EXPECT_FALSE(ws::translate_message(shift));
    ws::test::pump();
    ASSERT_EQ(seen_of(ws::WM_CHAR).size(), 1u);
    EXPECT_EQ(seen_of(ws::WM_CHAR)[0].wparam, uintptr_t('r'));
    EXPECT_EQ(seen.front().msg, ws::WM_CHAR) << "the character comes before what was already waiting";
}

TEST_F(Messages, TimersTickAtTheirPeriodSettingAgainRestartsAndTheyDieWithTheirWindow) {
    const uint32_t t0 = ws::tick_count();
    ws::set_timer(w, 1, 100);
    ws::set_timer(w, 7, 1000);
    ws::test::advance(300);
    ws::set_timer(w, 7, 1000);  // as a cancelled close does
    EXPECT_TRUE(ws::kill_timer(w, 1));
    EXPECT_FALSE(ws::kill_timer(w, 1)) << "a timer is stopped once";
    ws::test::advance(2000);
    std::vector<std::pair<uintptr_t, uint32_t>> ticks;  // timer, milliseconds since the start
    for (const Seen& s : seen_of(ws::WM_TIMER)) ticks.emplace_back(s.wparam, s.time - t0);
    EXPECT_EQ(ticks, (decltype(ticks){{1, 100}, {1, 200}, {1, 300}, {7, 1300}, {7, 2300}}));
    ws::destroy_window(w);
    seen.clear();
    ws::test::advance(5000);
    EXPECT_TRUE(seen_of(ws::WM_TIMER).empty());
}

// Timer 1 posts a chain of messages when it ticks; timer 2 falls due at the same moment and must wait for the
// whole chain, as cutting one piece per posted message relies on.
TEST_F(Messages, ATimerWaitsUntilNoPostedMessageIsLeft) {
    hook = [chain = 0](ws::Hwnd h, uint32_t msg, uintptr_t wp) mutable {
        if ((msg == ws::WM_TIMER && wp == 1) || (msg == MSG_A && ++chain < 5)) ws::post_message(h, MSG_A, 0, 0);
        if (msg == ws::WM_TIMER) ws::kill_timer(h, wp);
    };
    ws::set_timer(w, 1, 40);
    ws::set_timer(w, 2, 40);
    ws::test::advance(40);
    std::vector<uintptr_t> got;  // timer ids and the program's own messages
    for (const Seen& s : seen) got.push_back(s.msg == ws::WM_TIMER ? s.wparam : s.msg);
    EXPECT_EQ(got, (std::vector<uintptr_t>{1, MSG_A, MSG_A, MSG_A, MSG_A, MSG_A, 2}));
}

// The part to paint is the union of the invalidated rectangles, clipped to the client area; only a rectangle
// that covers it all validates it.
TEST_F(Messages, ThePartToPaintIsTheUnionOfTheInvalidatedRectangles) {
    const Rect a{10, 10, 20, 20}, b{50, 5, 60, 40}, outside{500, 500, 600, 600};
    for (const Rect* r : {&a, &b, &outside}) ws::invalidate_rect(w, r, false);
    Rect part;
    ASSERT_TRUE(ws::get_update_rect(w, part));
    EXPECT_EQ(part, (Rect{10, 5, 60, 40}));
    // Validating a rectangle short of that part by one pixel on any side leaves it; exactly that part clears it.
    for (const Rect& shy : {Rect{11, 5, 60, 40}, Rect{10, 6, 60, 40}, Rect{10, 5, 59, 40}, Rect{10, 5, 60, 39}})
        EXPECT_TRUE(ws::validate_rect(w, &shy) && ws::get_update_rect(w, part));
    EXPECT_TRUE(ws::validate_rect(w, &part));
    EXPECT_FALSE(ws::get_update_rect(w, part));
}

// Moves collapse into the latest only while the keys stay the same and no press comes between; they arrive in the
// client coordinates of the window under the pointer. With the capture, input goes to its holder wherever the
// pointer is; a holder that loses it is told, and a destroyed holder gives it up.
TEST_F(Messages, MovesCollapseUntilTheKeysChangeAndTheCaptureRoutesInput) {
    const ws::Hwnd b = top(200);
    ws::test::pump();
    for (const Point p : {Point{250, 60}, Point{251, 61}}) ws::test::mouse(ws::WM_MOUSEMOVE, p);
    ws::test::mouse(ws::WM_MOUSEMOVE, {252, 62}, ws::MK_SHIFT);
    ws::test::mouse(ws::WM_LBUTTONDOWN, {252, 62});
    ws::test::mouse(ws::WM_MOUSEMOVE, {253, 63});
    ws::set_capture(w);
    ws::test::mouse(ws::WM_LBUTTONUP, {250, -20});
    ws::test::pump();
    using At = std::tuple<ws::Hwnd, int32_t, int32_t>;  // the window told, and the point in its client area
    std::vector<At> got;
    for (const Seen& s : seen)
        if (s.msg == ws::WM_MOUSEMOVE || s.msg == ws::WM_LBUTTONUP)
            got.emplace_back(s.hwnd, ws::lparam_x(s.lparam), ws::lparam_y(s.lparam));
    EXPECT_EQ(got, (std::vector<At>{{b, 51, 61}, {b, 52, 62}, {b, 53, 63}, {w, 250, -20}}));
    ws::set_capture(b);
    EXPECT_EQ(seen_of(ws::WM_CAPTURECHANGED, w).size(), 1u);
    ws::destroy_window(top(300));
    EXPECT_EQ(ws::get_capture(), b) << "another window's end leaves the capture alone";
    ws::destroy_window(b);
    EXPECT_EQ(ws::get_capture(), 0);
}

// Keys go to the focus; the layer keeps their state, and a key already down is marked as a repeat.
TEST_F(Messages, KeysGoToTheFocusWithTheirStateAndRepeats) {
    ws::set_focus(w);
    ws::test::key(ws::WM_KEYDOWN, ws::VK_SHIFT);
    EXPECT_LT(ws::get_key_state(ws::VK_SHIFT), 0);
    for (uintptr_t k : {uintptr_t('R'), uintptr_t('R')}) ws::test::key(ws::WM_KEYDOWN, k);
    ws::test::key(ws::WM_KEYUP, 'R');
    ws::test::key(ws::WM_KEYUP, ws::VK_SHIFT);
    EXPECT_EQ(ws::get_key_state(ws::VK_SHIFT), 0);
    ws::test::key(ws::WM_KEYDOWN, ws::VK_ESCAPE);
    ws::test::pump();
    std::vector<std::tuple<ws::Hwnd, uint32_t, uintptr_t, bool>> keys;
    for (const Seen& s : seen)
        if (s.msg == ws::WM_KEYDOWN || s.msg == ws::WM_KEYUP)
            keys.emplace_back(s.hwnd, s.msg, s.wparam, s.lparam >> 30 & 1);  // bit 30: the key was down before
    using K = decltype(keys)::value_type;
    EXPECT_EQ(keys, (std::vector<K>{{w, ws::WM_KEYDOWN, ws::VK_SHIFT, false}, {w, ws::WM_KEYDOWN, 'R', false},
                                    {w, ws::WM_KEYDOWN, 'R', true}, {w, ws::WM_KEYUP, 'R', true},
                                    {w, ws::WM_KEYUP, ws::VK_SHIFT, true}, {w, ws::WM_KEYDOWN, ws::VK_ESCAPE, false}}));
}

TEST_F(Messages, GrayedPopUpEntriesAndKeysOutsideTheAcceleratorTableGiveNoCommandAndABarShowsAtOnce) {
    ws::register_menu_resource("TEST_MENU", {{"ﾌｧｲﾙ(&F)", 0, {{"開く(&O)\tCtrl+O", 200}, {"終了(&X)", 210}}}});
    const ws::Hmenu file = ws::get_sub_menu(ws::load_menu("TEST_MENU"), 0);
    ws::enable_menu_item(file, 210, ws::MF_BYCOMMAND | ws::MF_GRAYED);
    for (uint32_t cmd : {200u, 210u}) ws::test::push_menu_answer(cmd);
    EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_RETURNCMD, 0, 0, w), 200u);
    EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_RETURNCMD, 0, 0, w), 0u) << "a grayed entry";
    const ws::Haccel accel = ws::load_accelerators("IDM_ACCEL");
    ws::set_focus(w);
    for (uint32_t vk : {uint32_t(ws::VK_CONTROL), uint32_t('O'), uint32_t(ws::VK_SHIFT), uint32_t('O')})
        ws::test::key(ws::WM_KEYDOWN, vk);
    ws::Msg m;
    while (ws::get_message(m))
        if (!ws::translate_accelerator(w, accel, m)) ws::dispatch_message(m);
    std::vector<uintptr_t> commands;
    for (const Seen& s : seen_of(ws::WM_COMMAND, w)) commands.push_back(s.wparam);
    EXPECT_EQ(commands, (std::vector<uintptr_t>{1 << 16 | 200})) << "Ctrl+O is in the table, Ctrl+Shift+O is not";
    // A window made with a menu shows its bar at once, which takes from the client area of the same window size.
    int32_t client_h[2];
    for (const ws::Hmenu menu : {ws::load_menu("TEST_MENU"), ws::Hmenu(0)})
        client_h[!menu] = ws::get_client_rect(ws::create_window("Rec", "bar", ws::WS_OVERLAPPEDWINDOW | ws::WS_VISIBLE,
                                                                0, 0, 200, 150, 0, menu)).height();
    EXPECT_LT(client_h[0], client_h[1]);
}

// A window owned through a child belongs to the child's top-level window: it outlives the child and, when the
// top-level window goes, hears of it first. A window destroyed while it is told of its size hears nothing after.
TEST_F(Messages, WindowsOwnedThroughAChildBelongToItsTopLevelWindow) {
    const ws::Hwnd main = top(0);
    const ws::Hwnd game = ws::create_window("Rec", "game", ws::WS_CHILD | ws::WS_VISIBLE, 0, 0, 90, 90, main, 0);
    const ws::Hwnd guide = ws::create_window("Rec", "全体", ws::WS_OVERLAPPEDWINDOW, 0, 0, 80, 60, game, 0);
    EXPECT_EQ(ws::get_parent(guide), main);
    ws::destroy_window(game);
    ASSERT_TRUE(ws::is_window(guide));
    seen.clear();
    ws::destroy_window(main);
    std::vector<ws::Hwnd> gone;
    for (const Seen& s : seen_of(ws::WM_DESTROY)) gone.push_back(s.hwnd);
    EXPECT_EQ(gone, (std::vector<ws::Hwnd>{guide, main}));
    const ws::Hwnd holder = top(0), child = ws::create_window("Rec", "", ws::WS_CHILD | ws::WS_VISIBLE, 0, 0, 9, 9, holder, 0);
    hook = [](ws::Hwnd h, uint32_t msg, uintptr_t) { if (msg == ws::WM_SIZE) ws::destroy_window(h); };
    for (ws::Hwnd brief : {child, holder}) {
        seen.clear();
        EXPECT_TRUE(ws::move_window(brief, 0, 0, 50, 50, true));
        EXPECT_TRUE(!ws::is_window(brief) && seen_of(ws::WM_MOVE).empty() && seen_of(ws::WM_PAINT).empty());
    }
}

// Text lands inside its box, clipped to the surface; only opaque text fills the box with its background.
TEST_F(Messages, TextExtentsAndDrawingInsideTheBox) {
    const Size one = ws::text_extent("W"), three = ws::text_extent("WWW");
    EXPECT_TRUE(one.cx > 0 && three.cy == one.cy && three.cx > 2 * one.cx);
    EXPECT_GT(ws::text_extent("完成しました").cx, 5 * one.cx / 2) << "a CJK font is found";
    EXPECT_EQ(ws::text_extent("").cx, 0);
    const ws::TextMetrics m = ws::text_metrics();
    EXPECT_EQ(std::pair(m.height, m.ascent + m.descent), std::pair(one.cy, one.cy));

    const std::tuple<std::string, int32_t, int32_t, bool> cases[] = {
        {"zelto 完成", 10, 5, false}, {"ABC", 4, 2, true}, {"Hg", 0, 0, false}, {"WWWWWWWW", -7, 30, true},
        {"x", 500, 500, true}, {"x", -500, 0, true}, {"\xe5\xae\x8c\xff\x80z", 60, 20, true}};  // bad UTF-8
    for (const auto& [text, x, y, opaque] : cases) {
        SCOPED_TRACE(text);
        std::vector<uint32_t> s(120 * 40, 0x00FFFFFF);
        ws::draw_text(s.data(), 120, 40, x, y, text, 0x000000FF, 0x00FF0000, opaque);  // red on blue
        const Size box = ws::text_extent(text);
        int in = 0, out = 0, blue = 0;  // changed pixels inside and outside the box; blue ones
        for (size_t i = 0; i < s.size(); ++i) {
            const int32_t c = int32_t(i % 120), r = 39 - int32_t(i / 120);
            if (s[i] != 0x00FFFFFF) (c >= x && c < x + box.cx && r >= y && r < y + box.cy ? in : out)++;
            EXPECT_TRUE(s[i] == 0xFFFFFF || s[i] == 0xFF0000 || (opaque && s[i] == 0x0000FF)) << std::hex << s[i];
            blue += s[i] == 0x000000FF;
        }
        EXPECT_EQ(out, 0);
        EXPECT_EQ(in > 0, x < 120 && y < 40 && x + box.cx > 0);
        if (opaque && x >= 0 && x + box.cx <= 120 && y + box.cy <= 40) {
            EXPECT_EQ(in, box.cx * box.cy) << "opaque text fills its whole box";
        }
        EXPECT_TRUE(opaque || blue == 0);
    }
    ws::draw_text(nullptr, 10, 10, 0, 0, "x", 0, 0, true);
}

// With one of the game's own sounds: a synchronous play is over when it returns, an asynchronous one is not.
TEST_F(Messages, ASynchronousSoundIsOverWhenItsPlayReturns) {
    const std::string wave = std::string(ZELTO_SOURCE_DIR) + "/data/SOUND/joint.wav";
    const uint32_t nostop = ws::SND_ASYNC | ws::SND_NOSTOP;
    EXPECT_TRUE(ws::play_wave(wave, ws::SND_SYNC));
    EXPECT_TRUE(ws::play_wave(wave, nostop));
    EXPECT_FALSE(ws::play_wave(wave, nostop));
}

// A copied bitmap comes back pixel for pixel, row order included, into a surface that had another size.
TEST_F(Messages, ClipboardBitmapsComeBackWhole) {
    MemDC src, out;
    EXPECT_FALSE(ws::clipboard_has_bitmap() || ws::clipboard_get_bitmap(out));
    src.create(BIT_SCREEN, 7, 5);
    for (int32_t i = 0; i < 35; ++i) src.words()[i] = uint32_t(i * 0x010203);  // every pixel its own colour
    ASSERT_TRUE(ws::clipboard_set_bitmap(src));
    EXPECT_TRUE(ws::clipboard_has_bitmap() && !ws::clipboard_has_files());
    out.create(BIT_SCREEN, 2, 2);
    ASSERT_TRUE(ws::clipboard_get_bitmap(out));
    ASSERT_EQ(std::pair(out.width(), out.height()), std::pair(7, 5));
    EXPECT_TRUE(std::equal(src.words(), src.words() + 35, out.words()));
}

}  // namespace
