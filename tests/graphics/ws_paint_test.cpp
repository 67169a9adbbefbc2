// Window layer: client surfaces, invalid rectangles, WM_PAINT from the loop and "paint at once".
#include "support/ws_support.h"

using namespace wstest;

namespace {

uint32_t word_at(MemDC& s, int32_t x, int32_t y) { return s.words()[size_t(s.height() - 1 - y) * size_t(s.width()) + size_t(x)]; }

void fill_words(MemDC& s, const Rect& r, uint32_t word) {
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x) s.words()[size_t(s.height() - 1 - y) * size_t(s.width()) + size_t(x)] = word;
}

// Counts the pixels of `word` inside and outside a rectangle.
std::pair<int, int> count_inside_outside(MemDC& s, const Rect& r, uint32_t word) {
    int in = 0, out = 0;
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = 0; x < s.width(); ++x)
            if (word_at(s, x, y) == word) (x >= r.left && x < r.right && y >= r.top && y < r.bottom ? in : out)++;
    return {in, out};
}

class Painting : public WsTest {
protected:
    // A paint handler that fills exactly its paint rectangle with `word` and remembers the rectangle.
    void paint_with(uint32_t word) {
        set_hook([this, word](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
            if (msg != ws::WM_PAINT) return false;
            ws::PaintStruct ps;
            MemDC* s = ws::begin_paint(h, ps);
            if (s) fill_words(*s, ps.paint, word);
            painted.push_back(ps.paint);
            ws::end_paint(h, ps);
            return true;
        });
    }
    std::vector<Rect> painted;
};

TEST_F(Painting, PaintAtOnceRunsBeforeReturningAndOnlyInsideTheRectangle) {
    ws::Hwnd w = top(10, 10, 200, 120);
    ws::Hwnd other = top(300, 10, 100, 100);
    ws::test::pump();  // first paints done
    paint_with(0x00123456);
    MemDC* s = ws::client_surface(w);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->width(), 200);
    EXPECT_EQ(s->height(), 120);
    Rect r{20, 30, 70, 50};
    ws::paint_at_once(w, &r);
    ASSERT_EQ(painted.size(), 1u) << "the handler ran inside paint_at_once";
    EXPECT_EQ(painted[0], r);
    EXPECT_EQ(count_inside_outside(*s, r, 0x00123456), std::make_pair(50 * 20, 0));
    EXPECT_EQ(count_inside_outside(*ws::client_surface(other), r, 0x00123456), std::make_pair(0, 0));
    Rect none;
    EXPECT_FALSE(ws::get_update_rect(w, none)) << "nothing is left to paint";
    ws::test::pump();
    EXPECT_EQ(painted.size(), 1u) << "the loop does not paint it again";
    // Drawing outside painting is shown without a paint message.
    fill_words(*s, {0, 0, 5, 5}, 0x00FEDCBA);
    ws::show_surface(w, nullptr);
    ws::test::pump();
    EXPECT_EQ(painted.size(), 1u);
    EXPECT_EQ(word_at(*s, 4, 4), 0x00FEDCBAu);
}

TEST_F(Painting, TheLoopPaintsTheUnionAfterPostedMessages) {
    ws::Hwnd w = top(10, 10, 200, 120);
    ws::test::pump();
    paint_with(0x00FF0000);
    seen().clear();
    Rect a{10, 10, 20, 20}, b{50, 5, 60, 40};
    ws::invalidate_rect(w, &a, false);
    ws::post_message(w, 0xF400, 0, 0);
    ws::invalidate_rect(w, &b, false);
    Rect outside{500, 500, 600, 600};
    ws::invalidate_rect(w, &outside, false);  // clipped away
    ws::test::pump();
    ASSERT_GE(seen().size(), 2u);
    EXPECT_EQ(seen()[0].msg, 0xF400u) << "posted messages come before painting";
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0], (Rect{10, 5, 60, 40}));
}

TEST_F(Painting, EraseFillsThePaintRectangleWithTheClassBackground) {
    ws::Hwnd w = top(10, 10, 100, 80);
    ws::test::pump();
    MemDC* s = ws::client_surface(w);
    fill_words(*s, {0, 0, 100, 80}, 0x00000000);
    Rect r{5, 5, 15, 25};
    ws::invalidate_rect(w, &r, true);
    ws::test::pump();  // the recording procedure leaves WM_PAINT to the default handling
    EXPECT_EQ(count_inside_outside(*s, r, 0x00FFFFFF), std::make_pair(10 * 20, 0));
    EXPECT_EQ(seen_of(ws::WM_ERASEBKGND, w).size(), 2u) << "one at creation, one now";
}

TEST_F(Painting, AHandlerThatIgnoresPaintingIsNotCalledForEver) {
    ws::Hwnd w = top();
    set_hook([](ws::Hwnd, uint32_t msg, uintptr_t, intptr_t, intptr_t&) { return msg == ws::WM_PAINT; });
    ws::invalidate_rect(w, nullptr, false);
    EXPECT_LT(ws::test::pump(), 5);
    EXPECT_EQ(seen_of(ws::WM_PAINT, w).size(), 1u);
}

TEST_F(Painting, HiddenWindowsWaitUntilShown) {
    ws::Hwnd w = ws::create_window("Rec", "hidden", ws::WS_POPUP, 0, 0, 50, 50, 0, 0);
    ASSERT_NE(w, 0);
    ws::test::pump();
    EXPECT_TRUE(seen_of(ws::WM_PAINT, w).empty());
    ws::show_window(w, ws::SW_SHOW);
    ws::test::pump();
    EXPECT_EQ(seen_of(ws::WM_PAINT, w).size(), 1u);
}

TEST_F(Painting, TheSurfaceFollowsTheClientSizeAndKeepsWhatFits) {
    ws::Hwnd w = top(10, 10, 100, 80);
    ws::test::pump();
    MemDC* s = ws::client_surface(w);
    fill_words(*s, {0, 0, 100, 80}, 0x00ABCDEF);
    seen().clear();
    ASSERT_TRUE(ws::move_window(w, 10, 10, 160, 50, false));
    s = ws::client_surface(w);
    ASSERT_EQ(s->width(), 160);
    ASSERT_EQ(s->height(), 50);
    EXPECT_EQ(word_at(*s, 99, 49), 0x00ABCDEFu);
    EXPECT_EQ(word_at(*s, 100, 0), 0x00FFFFFFu) << "new room shows the background";
    auto sizes = seen_of(ws::WM_SIZE, w);
    ASSERT_EQ(sizes.size(), 1u) << "WM_SIZE is sent within move_window";
    EXPECT_EQ(ws::lparam_x(sizes[0].lparam), 160);
    EXPECT_EQ(ws::lparam_y(sizes[0].lparam), 50);
    EXPECT_EQ(ws::get_client_rect(w), (Rect{0, 0, 160, 50}));
    Rect all;
    ASSERT_TRUE(ws::get_update_rect(w, all));
    EXPECT_EQ(all, (Rect{0, 0, 160, 50}));
}

TEST_F(Painting, ChildSurfacesAreTheirOwn) {
    ws::Hwnd parent = top(10, 10, 200, 200);
    ws::Hwnd kid = child(parent, 20, 30, 50, 40);
    ws::test::pump();
    paint_with(0x00010203);
    ws::paint_at_once(parent, nullptr);
    EXPECT_EQ(count_inside_outside(*ws::client_surface(kid), {0, 0, 50, 40}, 0x00010203), std::make_pair(0, 0));
    ws::paint_at_once(kid, nullptr);
    EXPECT_EQ(count_inside_outside(*ws::client_surface(kid), {0, 0, 50, 40}, 0x00010203), std::make_pair(2000, 0));
}

}  // namespace
