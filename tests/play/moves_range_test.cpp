// Range selection (drawing it, grabbing it, dragging its groups, scrolling at the edges), the press that replaces a
// range, and the Space sweep over groups not yet looked at.
#include "play/moves_support.h"

namespace movestest {
namespace {

class RangeTest : public PlayTest {
protected:
    // Pieces centred at the given desk points, 20 x 20 each.
    Jig& pieces_at(std::initializer_list<Point> centres) {
        Jig& g = new_game();
        uint32_t colour = 0x203040;
        for (Point c : centres) add_solid(g, c.x, c.y, 20, colour += 0x101010);
        g.reset_sweep();  // as a new game starts
        draw_desk(g);
        return g;
    }
    // Draws a range by a left drag from a to b on empty desk.
    void draw_range(Point a, Point b) {
        press(a);
        drag({(a.x + b.x) / 2, (a.y + b.y) / 2});
        drag(b);
        release(b);
    }
};

TEST_F(RangeTest, DraggingInsideARangeMovesAllItsGroupsAlike) {
    Jig& g = pieces_at({{100, 100}, {160, 120}, {130, 170}, {300, 100}});
    draw_range({80, 80}, {200, 200});
    EXPECT_EQ(range_state, 2);
    EXPECT_EQ(range_x1, 80);
    EXPECT_EQ(range_y2, 200);
    press({100, 100});  // on a piece, but inside the range: the range is grabbed, not the piece
    EXPECT_EQ(g.holding, 0);
    EXPECT_EQ(range_state, 3);
    EXPECT_EQ(g.items[0].banded + g.items[1].banded + g.items[2].banded, 3);
    EXPECT_EQ(g.items[3].banded, 0);
    drag({130, 90});
    drag({150, 80});
    release({150, 80});
    EXPECT_EQ(range_state, 0);
    EXPECT_EQ(g.items[0].piece->cx, 150);
    EXPECT_EQ(g.items[0].piece->cy, 80);
    EXPECT_EQ(g.items[1].piece->cx, 210);
    EXPECT_EQ(g.items[1].piece->cy, 100);
    EXPECT_EQ(g.items[2].piece->cx, 180);
    EXPECT_EQ(g.items[2].piece->cy, 150);
    EXPECT_EQ(g.items[3].piece->cx, 300);
    EXPECT_EQ(desk_faults(g), 0);
    EXPECT_EQ(shown(210, 100), 0x405060u);
    EXPECT_EQ(shown(160, 120), kBack);
}

TEST_F(RangeTest, ARangeDrawnBackwardsIsOrderedAndItsBorderDoesNotCount) {
    Jig& g = pieces_at({{100, 100}, {200, 150}, {150, 200}, {150, 150}});
    draw_range({200, 200}, {100, 100});  // corners 100 and 200: centres on the border stay out
    press({120, 120});
    EXPECT_EQ(range_x1, 100);
    EXPECT_EQ(range_x2, 200);
    EXPECT_EQ(range_state, 3);
    EXPECT_EQ(g.items[0].banded, 0);
    EXPECT_EQ(g.items[1].banded, 0);
    EXPECT_EQ(g.items[2].banded, 0);
    EXPECT_EQ(g.items[3].banded, 1);
    release({120, 120});
}

TEST_F(RangeTest, APressOutsideARangeClearsItAndMayPickUp) {
    Jig& g = pieces_at({{100, 100}, {300, 200}});
    draw_range({50, 50}, {150, 150});
    press({300, 200});
    EXPECT_EQ(g.holding, 1);
    EXPECT_EQ(range_state, 0);
    release({300, 200});
}

TEST_F(RangeTest, ARightPressInsideARangeStartsANewRangeAndDragsTheDesk) {
    Jig& g = pieces_at({{100, 100}});
    draw_range({50, 50}, {150, 150});
    press({100, 100}, ws::WM_RBUTTONDOWN);
    EXPECT_EQ(g.holding, 0) << "neither the piece";
    EXPECT_EQ(range_state, 1) << "nor the range: a new one at the press point";
    EXPECT_EQ(range_x1, 100);
    EXPECT_EQ(range_x2, 100);
    drag({130, 100});
    EXPECT_EQ(scroll_dx, -30);
    release({130, 100}, ws::WM_RBUTTONUP);
    EXPECT_EQ(view_x, -30);
    EXPECT_EQ(g.items[0].piece->cx, 100) << "the desk moved, not the piece";
}

TEST_F(RangeTest, TheRangeShowsAsADottedRectangleOnBothPaths) {
    Jig& g = pieces_at({{300, 250}});
    for (const bool with_presenter : {false, true}) {
        if (with_presenter) start_presenter(g);
        press({40, 40});
        drag({120, 90});
        EXPECT_EQ(shown(40, 40), 0u) << "corner, presenter " << with_presenter;
        EXPECT_EQ(shown(40, 43), kWhite) << "a gap of the dots";
        EXPECT_EQ(shown(40, 46), 0u);
        EXPECT_EQ(shown(80, 60), kBack) << "inside stays clear";
        release({120, 90});
        EXPECT_EQ(shown(40, 40), 0u) << "still shown after the release";
        press({300, 280});
        release({300, 280});
        press({250, 250});  // outside both: clears
        EXPECT_EQ(range_state, 1);
        release({250, 250});
        press({250, 250});
        release({250, 250});
        EXPECT_EQ(range_state, 0);
        EXPECT_EQ(shown(40, 40), kBack);
    }
}

TEST_F(RangeTest, ARangeDraggedIntoTheMarginScrollsAndItsGroupsStayOnScreen) {
    Jig& g = pieces_at({{100, 100}, {120, 110}});
    draw_range({80, 80}, {140, 140});
    press({110, 110});
    drag({60, 110});
    EXPECT_EQ(g.items[0].piece->cx, 50);
    drag({12, 110});  // 8 inside the left margin
    EXPECT_EQ(view_x, -8);
    EXPECT_EQ(g.items[0].piece->cx, 42) << "moved exactly as far as the view";
    EXPECT_EQ(g.items[0].piece->cx - view_x, 50) << "so it stays put on the screen";
    EXPECT_EQ(g.items[1].piece->cx, 62);
    EXPECT_EQ(desk_faults(g), 0);
    release({12, 110});
}

TEST_F(RangeTest, HiddenGroupsAreNeitherMarkedNorMoved) {
    Jig& g = pieces_at({{100, 100}, {110, 110}});
    g.items[1].hidden = 1;
    g.items[1].banded = 1;  // a tray's piece keeps whatever mark it had
    draw_desk(g);
    draw_range({80, 80}, {140, 140});
    press({90, 90});
    drag({95, 90});
    release({95, 90});
    EXPECT_EQ(g.items[0].piece->cx, 105);
    EXPECT_EQ(g.items[1].piece->cx, 110);
    EXPECT_EQ(g.items[1].banded, 1);
}

TEST_F(RangeTest, SpaceJumpsToUnseenGroupsThenStartsOver) {
    Jig& g = pieces_at({{100, 100}, {600, 500}, {380, 290}, {700, 100}});
    g.show_unseen();
    // The first two in the window (the third's centre lies inside, borders counting) are seen at once.
    EXPECT_EQ(g.items[0].seen, 1);
    EXPECT_EQ(g.items[2].seen, 1);
    EXPECT_EQ(view_x, 590);
    EXPECT_EQ(view_y, 490);
    EXPECT_EQ(g.items[1].seen, 1);
    EXPECT_EQ(g.items[3].seen, 0);
    g.show_unseen();
    EXPECT_EQ(view_x, 690);
    EXPECT_EQ(view_y, 90);
    EXPECT_EQ(g.items[3].seen, 1);
    g.show_unseen();  // nothing left: the view stays and the next Space starts afresh
    EXPECT_EQ(view_x, 690);
    EXPECT_EQ(g.sweep_reset, 1);
    g.show_unseen();
    EXPECT_EQ(g.items[1].seen, 0) << "a fresh sweep forgot the earlier marks";
    EXPECT_EQ(view_x, 90);
    EXPECT_EQ(view_y, 90);
}

TEST_F(RangeTest, SpaceWithEverythingInViewMarksAllAndKeepsTheView) {
    Jig& g = pieces_at({{100, 100}, {200, 200}, {399, 299}});
    g.show_unseen();
    EXPECT_EQ(view_x, 0);
    EXPECT_EQ(view_y, 0);
    EXPECT_EQ(g.sweep_reset, 1);
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(g.items[i].seen, 1);
    // A pick-up starts the sweep over too.
    g.sweep_reset = 0;
    press({100, 100});
    EXPECT_EQ(g.sweep_reset, 1);
    release({100, 100});
}

}  // namespace
}  // namespace movestest
