// Window layer: classes, creation and destruction, placement and coordinates, client surfaces and painting.
#include "support/ws_support.h"

using namespace wstest;

namespace {

uint32_t& word(MemDC& s, int32_t x, int32_t y) { return s.words()[size_t(s.height() - 1 - y) * size_t(s.width()) + size_t(x)]; }
void fill_words(MemDC& s, const Rect& r, uint32_t w) {
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x) word(s, x, y) = w;
}
// The pixels of `w` inside and outside a rectangle.
std::pair<int, int> count_inside_outside(MemDC& s, const Rect& r, uint32_t w) {
    int in = 0, out = 0;
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = 0; x < s.width(); ++x)
            if (word(s, x, y) == w) (x >= r.left && x < r.right && y >= r.top && y < r.bottom ? in : out)++;
    return {in, out};
}
std::vector<ws::Hwnd> destroyed() {
    std::vector<ws::Hwnd> out;
    for (const Seen& s : seen_of(ws::WM_DESTROY)) out.push_back(s.hwnd);
    return out;
}

class Windows : public WsTest {
protected:
    // A paint handler that fills exactly its paint rectangle with `w` and remembers the rectangle.
    void paint_with(uint32_t w) {
        set_hook([this, w](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
            if (msg != ws::WM_PAINT) return false;
            ws::PaintStruct ps;
            if (MemDC* s = ws::begin_paint(h, ps)) fill_words(*s, ps.paint, w);
            painted.push_back(ps.paint);
            ws::end_paint(h, ps);
            return true;
        });
    }
    std::vector<Rect> painted;
};

TEST_F(Windows, ClassesAndCreation) {
    ws::WindowClass wc;
    for (const auto& [name, proc] : {std::pair<const char*, ws::WndProc>{"Rec", recording_proc}, {"", recording_proc},
                                     {"NoProc", nullptr}}) {
        wc.name = name, wc.proc = proc;
        EXPECT_FALSE(ws::register_class(wc)) << name;  // taken, empty, or no procedure
    }
    EXPECT_EQ(ws::create_window("Unknown", "x", ws::WS_POPUP, 0, 0, 10, 10, 0, 0), 0);
    uintptr_t param = 0;
    Size size_in_create;
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t lp, intptr_t& r) {
        if (msg != ws::WM_CREATE) return false;
        param = reinterpret_cast<const ws::CreateStruct*>(lp)->create_param;
        size_in_create = {ws::get_client_rect(h).width(), ws::get_client_rect(h).height()};
        r = param == 1 ? -1 : 0;  // a create handler can refuse
        return param == 1;
    });
    const ws::Hwnd w = ws::create_window("Rec", "title", ws::WS_POPUP, 30, 40, 120, 90, 0, 0, 0xBEEF);
    ASSERT_NE(w, 0);
    EXPECT_EQ(param, 0xBEEFu);
    EXPECT_EQ(size_in_create, (Size{120, 90})) << "the client area is ready when WM_CREATE runs";
    ASSERT_GE(seen().size(), 3u);
    EXPECT_EQ(std::tuple(seen()[0].msg, seen()[1].msg, seen()[2].msg), std::tuple(ws::WM_CREATE, ws::WM_SIZE, ws::WM_MOVE));
    EXPECT_EQ(seen_of(ws::WM_MOVE)[0].lparam, intptr_t(40 << 16 | 30));
    EXPECT_FALSE(ws::is_window_visible(w)) << "shown only with WS_VISIBLE";
    EXPECT_EQ(ws::get_window_text(w), "title");
    EXPECT_TRUE(ws::set_window_text(w, "15/20 ピース 00:01:05"));
    EXPECT_EQ(ws::get_window_text(w), "15/20 ピース 00:01:05");
    EXPECT_FALSE(ws::set_window_text(w + 100, "x"));
    EXPECT_EQ(ws::create_window("Rec", "no", ws::WS_POPUP, 0, 0, 10, 10, 0, 0, 1), 0);
    EXPECT_EQ(seen_of(ws::WM_DESTROY).size(), 1u);
}

TEST_F(Windows, DestroyTellsTheWindowThenItsChildrenAndOwnedWindowsOnce) {
    const ws::Hwnd parent = top(), kid = child(parent, 0, 0, 10, 10), grandkid = child(kid, 0, 0, 5, 5);
    const ws::Hwnd owned = ws::create_window("Rec", "owned", ws::WS_POPUP | ws::WS_VISIBLE, 0, 0, 20, 20, parent, 0);
    EXPECT_EQ(ws::get_parent(kid), parent);
    EXPECT_EQ(ws::get_parent(owned), parent);
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

TEST_F(Windows, CoordinatesAndTheWindowUnderAPoint) {
    const ws::Hwnd parent = top(100, 50, 300, 200), kid = child(parent, 20, 30, 60, 40);
    EXPECT_EQ(ws::get_window_rect(parent), (Rect{100, 50, 400, 250}));
    EXPECT_EQ(ws::get_window_rect(kid), (Rect{120, 80, 180, 120}));
    EXPECT_EQ(ws::client_to_screen(kid, {5, 6}), (Point{125, 86}));
    EXPECT_EQ(ws::screen_to_client(kid, {125, 86}), (Point{5, 6}));
    EXPECT_EQ(ws::screen_to_client(parent, {90, 40}), (Point{-10, -10}));
    EXPECT_EQ(ws::window_from_point({130, 90}), kid);
    EXPECT_EQ(ws::window_from_point({110, 60}), parent);
    EXPECT_EQ(ws::window_from_point({5, 5}), 0);
    ws::show_window(kid, ws::SW_HIDE);
    EXPECT_EQ(ws::window_from_point({130, 90}), parent) << "a hidden child is not found";
    EXPECT_FALSE(ws::get_window_style(kid) & ws::WS_VISIBLE);
    seen().clear();
    ws::move_window(kid, 50, 60, 60, 40, false);
    ASSERT_EQ(seen_of(ws::WM_MOVE, kid).size(), 1u);
    EXPECT_EQ(seen_of(ws::WM_MOVE, kid)[0].lparam, intptr_t(60 << 16 | 50));
    EXPECT_TRUE(seen_of(ws::WM_SIZE, kid).empty()) << "same size: no WM_SIZE";

    const ws::Hwnd a = top(500, 0, 200, 200), b = top(600, 100, 200, 200);
    EXPECT_EQ(ws::window_from_point({650, 150}), b) << "the newer window is in front";
    ws::set_foreground_window(a);
    EXPECT_EQ(ws::window_from_point({650, 150}), a);
    const ws::Hwnd owned = ws::create_window("Rec", "o", ws::WS_POPUP | ws::WS_VISIBLE, 640, 140, 20, 20, b, 0);
    ws::set_foreground_window(b);
    EXPECT_EQ(ws::window_from_point({650, 150}), owned) << "an owned window stays above its owner";
    const ws::Hwnd tool = ws::create_window("Rec", "list", ws::WS_CHILD | ws::WS_CAPTION | ws::WS_VISIBLE, 10, 10,
                                            150, 80, parent, 0);
    EXPECT_EQ(ws::get_window_rect(tool).left, 110) << "a child with a caption is placed in client coordinates";
    EXPECT_EQ(ws::window_from_point({120, 120}), tool);
    ws::destroy_window(parent);
    EXPECT_FALSE(ws::is_window(tool));

    const ws::Hwnd d = ws::create_window("Rec", "d", ws::WS_OVERLAPPEDWINDOW, ws::CW_USEDEFAULT, ws::CW_USEDEFAULT,
                                         ws::CW_USEDEFAULT, ws::CW_USEDEFAULT, 0, 0);
    const Rect r = ws::get_window_rect(d);
    EXPECT_TRUE(r.width() > 0 && r.height() > 0 && r.right <= ws::screen_width());
    ws::show_window(d, ws::SW_SHOWMAXIMIZED);
    ws::test::pump();
    EXPECT_TRUE(ws::is_zoomed(d));
    EXPECT_EQ(seen_of(ws::WM_SIZE, d).back().wparam, uintptr_t(ws::SIZE_MAXIMIZED));
}

TEST_F(Windows, PaintAtOnceRunsBeforeReturningAndOnlyInsideTheRectangle) {
    const ws::Hwnd w = top(10, 10, 200, 120), other = top(300, 10, 100, 100);
    ws::test::pump();
    paint_with(0x00123456);
    MemDC* s = ws::client_surface(w);
    ASSERT_EQ(std::pair(s->width(), s->height()), std::pair(200, 120));
    const Rect r{20, 30, 70, 50};
    ws::paint_at_once(w, &r);
    EXPECT_EQ(painted, std::vector<Rect>{r}) << "the handler ran inside paint_at_once";
    EXPECT_EQ(count_inside_outside(*s, r, 0x00123456), std::make_pair(50 * 20, 0));
    EXPECT_EQ(count_inside_outside(*ws::client_surface(other), r, 0x00123456), std::make_pair(0, 0));
    Rect none;
    EXPECT_FALSE(ws::get_update_rect(w, none)) << "nothing is left to paint";
    fill_words(*s, {0, 0, 5, 5}, 0x00FEDCBA);  // drawing outside painting is shown without a paint message
    ws::show_surface(w, nullptr);
    ws::test::pump();
    EXPECT_EQ(painted.size(), 1u);
    EXPECT_EQ(word(*s, 4, 4), 0x00FEDCBAu);

    const ws::Hwnd kid = child(w, 20, 30, 50, 40);
    ws::test::pump();
    fill_words(*ws::client_surface(kid), {0, 0, 50, 40}, 0);
    ws::paint_at_once(w, nullptr);
    EXPECT_EQ(count_inside_outside(*ws::client_surface(kid), {0, 0, 50, 40}, 0x00123456), std::make_pair(0, 0));
    ws::paint_at_once(kid, nullptr);
    EXPECT_EQ(count_inside_outside(*ws::client_surface(kid), {0, 0, 50, 40}, 0x00123456), std::make_pair(2000, 0));
}

TEST_F(Windows, TheLoopPaintsTheUnionAfterPostedMessagesAndErases) {
    const ws::Hwnd w = top(10, 10, 200, 120);
    ws::test::pump();
    fill_words(*ws::client_surface(w), {0, 0, 200, 120}, 0);
    const Rect a{10, 10, 20, 20}, b{50, 5, 60, 40}, outside{500, 500, 600, 600};
    ws::invalidate_rect(w, &a, true);
    ws::post_message(w, 0xF400, 0, 0);
    ws::invalidate_rect(w, &b, false);
    ws::invalidate_rect(w, &outside, false);  // clipped away
    seen().clear();
    ws::test::pump();  // the recording procedure leaves WM_PAINT to the default handling, which erases
    ASSERT_GE(seen().size(), 2u);
    EXPECT_EQ(seen()[0].msg, 0xF400u) << "posted messages come before painting";
    EXPECT_EQ(seen_of(ws::WM_PAINT).size(), 1u);
    EXPECT_EQ(seen_of(ws::WM_ERASEBKGND).size(), 1u);
    EXPECT_EQ(count_inside_outside(*ws::client_surface(w), {10, 5, 60, 40}, 0x00FFFFFF), std::make_pair(50 * 35, 0));

    paint_with(0x00FF0000);
    ws::invalidate_rect(w, &a, false);
    ws::test::pump();
    EXPECT_EQ(painted, std::vector<Rect>{a});
    set_hook([](ws::Hwnd, uint32_t msg, uintptr_t, intptr_t, intptr_t&) { return msg == ws::WM_PAINT; });
    ws::invalidate_rect(w, nullptr, false);
    EXPECT_LT(ws::test::pump(), 5) << "a handler that ignores painting is not called for ever";

    const ws::Hwnd hidden = ws::create_window("Rec", "hidden", ws::WS_POPUP, 0, 0, 50, 50, 0, 0);
    ws::test::pump();
    EXPECT_TRUE(seen_of(ws::WM_PAINT, hidden).empty());
    ws::show_window(hidden, ws::SW_SHOW);
    ws::test::pump();
    EXPECT_EQ(seen_of(ws::WM_PAINT, hidden).size(), 1u) << "hidden windows wait until shown";
}

TEST_F(Windows, TheSurfaceFollowsTheClientSizeAndKeepsWhatFits) {
    const ws::Hwnd w = top(10, 10, 100, 80);
    ws::test::pump();
    fill_words(*ws::client_surface(w), {0, 0, 100, 80}, 0x00ABCDEF);
    seen().clear();
    ASSERT_TRUE(ws::move_window(w, 10, 10, 160, 50, false));
    MemDC* s = ws::client_surface(w);
    ASSERT_EQ(std::pair(s->width(), s->height()), std::pair(160, 50));
    EXPECT_EQ(word(*s, 99, 49), 0x00ABCDEFu);
    EXPECT_EQ(word(*s, 100, 0), 0x00FFFFFFu) << "new room shows the background";
    ASSERT_EQ(seen_of(ws::WM_SIZE, w).size(), 1u) << "WM_SIZE is sent within move_window";
    EXPECT_EQ(seen_of(ws::WM_SIZE, w)[0].lparam, intptr_t(50 << 16 | 160));
    Rect all;
    ASSERT_TRUE(ws::get_update_rect(w, all));
    EXPECT_EQ(all, (Rect{0, 0, 160, 50}));
    EXPECT_EQ(ws::get_client_rect(w), all);
}

}  // namespace
