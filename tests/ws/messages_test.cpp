// Window layer: the loop and quitting, thread messages, painting, timers, mouse and keys, destruction, text drawing,
// clipboard and trash.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/ws_support.h"

using namespace wstest;
namespace fs = std::filesystem;

namespace {

constexpr uint32_t MSG_A = 0xF400, MSG_B = 0xF401;

// The program's own messages (and, with `timers`, timer ids) in the order the procedure saw them.
std::vector<uint32_t> order(bool timers = false) {
    std::vector<uint32_t> out;
    for (const Seen& s : seen())
        if (s.msg >= 0xF400) out.push_back(s.msg);
        else if (timers && s.msg == ws::WM_TIMER) out.push_back(uint32_t(s.wparam));
    return out;
}
std::vector<ws::Hwnd> destroyed() {
    std::vector<ws::Hwnd> out;
    for (const Seen& s : seen_of(ws::WM_DESTROY)) out.push_back(s.hwnd);
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
    EXPECT_EQ(order(), (std::vector<uint32_t>{MSG_A, MSG_B}));
    EXPECT_FALSE(ws::test::quit_requested());
    EXPECT_TRUE(seen_of(ws::WM_PAINT).empty()) << "the quit request comes before painting";
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

TEST_F(Messages, TimersTickAtTheirPeriodSettingAgainRestartsAndTheyDieWithTheirWindow) {
    const uint32_t t0 = ws::tick_count();
    ws::set_timer(w, 1, 100);
    ws::set_timer(w, 7, 1000);
    ws::test::advance(300);
    ws::set_timer(w, 7, 1000);  // as a cancelled close does
    EXPECT_TRUE(ws::kill_timer(w, 1));
    EXPECT_FALSE(ws::kill_timer(w, 1)) << "a timer is stopped once";
    ws::test::advance(2000);
    EXPECT_EQ(tick_times(1), (std::vector<uint32_t>{t0 + 100, t0 + 200, t0 + 300}));
    EXPECT_EQ(tick_times(7), (std::vector<uint32_t>{t0 + 1300, t0 + 2300}));
    ws::destroy_window(w);
    seen().clear();
    ws::test::advance(5000);
    EXPECT_TRUE(seen_of(ws::WM_TIMER).empty());
}

TEST_F(Messages, TheLoopPaintsTheUnionOfTheInvalidatedRectanglesOnce) {
    std::vector<Rect> painted;
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
        if (msg != ws::WM_PAINT) return false;
        ws::PaintStruct ps;
        ws::begin_paint(h, ps);
        painted.push_back(ps.paint);
        ws::end_paint(h, ps);
        return true;
    });
    const Rect a{10, 10, 20, 20}, b{50, 5, 60, 40}, outside{500, 500, 600, 600};
    for (const Rect* r : {&a, &b, &outside}) ws::invalidate_rect(w, r, false);  // the last is clipped away
    ws::test::pump();
    EXPECT_EQ(painted, (std::vector<Rect>{{10, 5, 60, 40}}));
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

TEST_F(Messages, MouseButtonsCarryTheirKeysInClientCoordinates) {
    ws::test::mouse(ws::WM_LBUTTONDOWN, {230, 40}, ws::MK_SHIFT);
    ws::test::mouse(ws::WM_LBUTTONUP, {231, 41}, ws::MK_CONTROL);
    ws::test::pump();
    const auto down = seen_of(ws::WM_LBUTTONDOWN, b), up = seen_of(ws::WM_LBUTTONUP, b);
    ASSERT_EQ(std::pair(down.size(), up.size()), std::pair(size_t(1), size_t(1)));
    EXPECT_EQ(std::pair(at(down[0]), down[0].wparam), std::pair(Point{30, 40}, uintptr_t(ws::MK_LBUTTON | ws::MK_SHIFT)));
    EXPECT_EQ(std::pair(at(up[0]), up[0].wparam), std::pair(Point{31, 41}, uintptr_t(ws::MK_CONTROL)));
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
    ws::set_capture(b);
    EXPECT_EQ(seen_of(ws::WM_CAPTURECHANGED, w).size(), 2u) << "a capture taken over is told";
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

TEST_F(Messages, GrayedPopUpEntriesAndKeysOutsideTheAcceleratorTableGiveNoCommand) {
    ws::register_menu_resource("TEST_MENU", {{"ﾌｧｲﾙ(&F)", 0, {{"開く(&O)\tCtrl+O", 200}, {"終了(&X)", 210}}}});
    const ws::Hmenu file = ws::get_sub_menu(ws::load_menu("TEST_MENU"), 0);
    ws::enable_menu_item(file, 210, ws::MF_BYCOMMAND | ws::MF_GRAYED);
    for (uint32_t cmd : {200u, 210u}) ws::test::push_menu_answer(cmd);
    EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_RETURNCMD, 0, 0, w), 200u);
    EXPECT_EQ(ws::track_popup_menu(file, ws::TPM_RETURNCMD, 0, 0, w), 0u) << "a grayed entry";
    const ws::Haccel accel = ws::load_accelerators("IDM_ACCEL");
    ws::set_focus(w);
    for (uint32_t vk : std::initializer_list<uint32_t>{ws::VK_CONTROL, 'O', ws::VK_SHIFT, 'O'}) ws::test::key(ws::WM_KEYDOWN, vk);
    ws::Msg m;
    while (ws::get_message(m))
        if (!ws::translate_accelerator(w, accel, m)) ws::dispatch_message(m);
    std::vector<uintptr_t> commands;
    for (const Seen& s : seen_of(ws::WM_COMMAND, w)) commands.push_back(s.wparam);
    EXPECT_EQ(commands, (std::vector<uintptr_t>{1 << 16 | 200})) << "Ctrl+O is in the table, Ctrl+Shift+O is not";
}

TEST_F(WsTest, DestroyTellsTheWindowThenItsChildrenAndOwnedWindowsOnce) {
    const ws::Hwnd parent = top(), kid = child(parent, 0, 0, 10, 10), grandkid = child(kid, 0, 0, 5, 5);
    const ws::Hwnd owned = ws::create_window("Rec", "owned", ws::WS_POPUP | ws::WS_VISIBLE, 0, 0, 20, 20, parent, 0);
    EXPECT_EQ(std::pair(ws::get_parent(kid), ws::get_parent(owned)), std::pair(parent, parent));
    seen().clear();
    set_hook([](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
        if (msg == ws::WM_DESTROY) {
            EXPECT_FALSE(ws::destroy_window(h)) << "again from within: harmless";
        }
        return false;
    });
    EXPECT_TRUE(ws::destroy_window(parent));
    EXPECT_EQ(destroyed(), (std::vector<ws::Hwnd>{owned, parent, kid, grandkid}));
    for (ws::Hwnd h : {parent, kid, grandkid, owned}) EXPECT_FALSE(ws::is_window(h));
    EXPECT_FALSE(ws::destroy_window(parent)) << "a window is destroyed once";

    // Owned through a child: it belongs to the child's top-level window and outlives the child.
    const ws::Hwnd main = top(), game = child(main, 0, 0, 100, 100);
    const ws::Hwnd guide = ws::create_window("Rec", "全体", ws::WS_OVERLAPPEDWINDOW | ws::WS_VISIBLE, 0, 0, 80, 60, game, 0);
    EXPECT_EQ(ws::get_parent(guide), main);
    ws::destroy_window(game);
    EXPECT_TRUE(ws::is_window(guide));
    ws::post_message(main, ws::WM_CLOSE, 0, 0);  // close by default destroys
    ws::test::pump();
    EXPECT_FALSE(ws::is_window(main));
    EXPECT_FALSE(ws::is_window(guide));

    // Destroying the window from within its child's handler is safe.
    const ws::Hwnd w = top(), inner = child(w, 0, 0, 20, 20);
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
        if (msg == ws::WM_SIZE && h == inner) ws::destroy_window(w);
        return false;
    });
    ws::move_window(inner, 0, 0, 30, 30, true);
    EXPECT_FALSE(ws::is_window(w) || ws::is_window(inner));
    ws::test::pump();
}

// One of the game's own sounds.
TEST_F(WsTest, ASynchronousSoundIsOverWhenItsPlayReturns) {
    const std::string wave = std::string(ZELTO_SOURCE_DIR) + "/data/SOUND/joint.wav";
    const uint32_t nostop = ws::SND_ASYNC | ws::SND_NOSTOP;
    EXPECT_TRUE(ws::play_wave(wave, ws::SND_SYNC));
    EXPECT_TRUE(ws::play_wave(wave, nostop)) << "a synchronous sound is over when the play returns";
    EXPECT_FALSE(ws::play_wave(wave, nostop)) << "an asynchronous one is not";
}

TEST_F(WsTest, TextExtentsAndDrawingInsideTheBox) {
    const Size one = ws::text_extent("W"), three = ws::text_extent("WWW");
    EXPECT_TRUE(one.cx > 0 && three.cy == one.cy && three.cx > 2 * one.cx);
    EXPECT_GT(ws::text_extent("完成しました").cx, 5 * one.cx / 2) << "a CJK font is found";
    EXPECT_EQ(ws::text_extent("").cx, 0);
    const ws::TextMetrics m = ws::text_metrics();
    EXPECT_EQ(m.height, one.cy);
    EXPECT_EQ(m.ascent + m.descent, m.height);

    const struct {
        std::string text;
        int32_t x, y;
        bool opaque;
    } cases[] = {{"zelto 完成", 10, 5, false}, {"ABC", 4, 2, true}, {"Hg", 0, 0, false}, {"WWWWWWWW", -7, 30, true},
                 {"x", 500, 500, true}, {"x", -500, 0, true}, {"\xe5\xae\x8c\xff\x80z", 60, 20, true}};  // bad UTF-8
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        std::vector<uint32_t> s(120 * 40, 0x00FFFFFF);
        ws::draw_text(s.data(), 120, 40, k.x, k.y, k.text, 0x000000FF, 0x00FF0000, k.opaque);  // red on blue
        const Size box = ws::text_extent(k.text);
        int in = 0, out = 0, blue = 0;  // changed pixels inside and outside the box; blue ones
        for (size_t i = 0; i < s.size(); ++i) {
            const int32_t c = int32_t(i % 120), r = 39 - int32_t(i / 120);
            if (s[i] != 0x00FFFFFF) (c >= k.x && c < k.x + box.cx && r >= k.y && r < k.y + box.cy ? in : out)++;
            EXPECT_TRUE(s[i] == 0x00FFFFFF || s[i] == 0x00FF0000 || (k.opaque && s[i] == 0x000000FF)) << std::hex << s[i];
            blue += s[i] == 0x000000FF;
        }
        EXPECT_EQ(out, 0);
        EXPECT_EQ(in > 0, k.x < 120 && k.y < 40 && k.x + box.cx > 0);
        if (k.opaque && k.x >= 0 && k.x + box.cx <= 120 && k.y + box.cy <= 40) {
            EXPECT_EQ(in, box.cx * box.cy) << "opaque text fills its whole box";
        }
        EXPECT_TRUE(k.opaque || blue == 0);
    }
    ws::draw_text(nullptr, 10, 10, 0, 0, "x", 0, 0, true);
}

TEST_F(WsTest, ClipboardAndTrash) {
    EXPECT_FALSE(ws::clipboard_has_bitmap());
    MemDC src, out;
    EXPECT_FALSE(ws::clipboard_get_bitmap(out));
    src.create(BIT_SCREEN, 7, 5);
    for (int32_t i = 0; i < 35; ++i) src.words()[i] = uint32_t(i * 0x010203);  // every pixel its own colour
    ASSERT_TRUE(ws::clipboard_set_bitmap(src));
    EXPECT_TRUE(ws::clipboard_has_bitmap() && !ws::clipboard_has_files());
    out.create(BIT_SCREEN, 2, 2);  // an existing surface is replaced
    ASSERT_TRUE(ws::clipboard_get_bitmap(out));
    ASSERT_EQ(std::pair(out.width(), out.height()), std::pair(7, 5));
    EXPECT_EQ(std::vector<uint32_t>(out.words(), out.words() + 35), std::vector<uint32_t>(src.words(), src.words() + 35));
    ws::test::set_clipboard_files({"/tmp/絵 1.jpg", "/tmp/b.BMP"});
    EXPECT_TRUE(ws::clipboard_has_files() && !ws::clipboard_has_bitmap());
    EXPECT_EQ(ws::clipboard_files(), (std::vector<std::string>{"/tmp/絵 1.jpg", "/tmp/b.BMP"}));

    const fs::path root = fs::path(testing::TempDir()) / ("ws_trash_" + std::to_string(getpid()));
    fs::create_directories(root / "data");
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);  // a trash of our own, never the user's
    std::ofstream(root / "サムネイル.jpg") << "x";
    EXPECT_TRUE(ws::move_to_trash((root / "サムネイル.jpg").string()));
    EXPECT_FALSE(fs::exists(root / "サムネイル.jpg"));
    EXPECT_TRUE(fs::exists(root / "data" / "Trash" / "files" / "サムネイル.jpg"));
    EXPECT_FALSE(ws::move_to_trash((root / "gone.jpg").string()));
    EXPECT_FALSE(ws::move_to_trash(""));
    unsetenv("XDG_DATA_HOME");
    fs::remove_all(root);
}

}  // namespace
