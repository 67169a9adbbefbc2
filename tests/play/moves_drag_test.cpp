// Dragging the held group: plain and turning moves, the desk kept consistent with its save-under, scrolling at
// the window's edges, the Ctrl sweep, dragging the desk, and drops into a tray.
#include "play/moves_support.h"

namespace movestest {
namespace {

class DragTest : public PlayTest {
protected:
    // Three pieces: A under the pointer at (100, 100), B overlapping it, C apart; the desk drawn.
    Jig& three_pieces() {
        Jig& g = new_game();
        add_solid(g, 100, 100, 40, 0x112233);                                     // A, id 0
        add_piece(g, 120, 110, 40, 30, [](int32_t x, int32_t) { return x < 20 ? 0x445566u : 0x778899u; });
        add_solid(g, 300, 200, 30, 0xAABBCC);                                     // C, id 2
        draw_desk(g);
        return g;
    }
};

TEST_F(DragTest, APlainDragFollowsThePointerAndKeepsDeskAndCacheExact) {
    Jig& g = three_pieces();
    press({95, 95});  // on A, outside B
    ASSERT_EQ(g.holding, 1);
    Piece& a = *g.items[2].piece;
    ASSERT_EQ(g.items[2].id, 0);
    const Point path[] = {{110, 100}, {150, 140}, {280, 190}, {60, 60}};
    for (Point p : path) {
        drag(p);
        EXPECT_EQ(a.cx, 100 + p.x - 95);
        EXPECT_EQ(a.cy, 100 + p.y - 95);
        EXPECT_EQ(desk_faults(g), 0) << "after the step to " << p.x << "," << p.y;
        EXPECT_EQ(cache_faults(g), 0);
    }
    EXPECT_EQ(a.angle, 0) << "quarter-turn mode never turns while dragging";
    EXPECT_EQ(shown(65, 65), 0x112233u);
    EXPECT_EQ(shown(125, 110), 0x778899u) << "B shows again where A was";
    EXPECT_EQ(moved_far, 1);
    EXPECT_EQ(game_saved, 0);
    EXPECT_GE(count_played(SOUND_MOVE), 4);
    release({60, 60});
    EXPECT_EQ(g.holding, 0);
    EXPECT_EQ(moved_far, 0);
    EXPECT_EQ(desk_faults(g), 0);
}

TEST_F(DragTest, FreeRotationTurnsWithOneButtonAndOnlyShiftsWithTwo) {
    settings.kaiten = KAITEN_FREE;
    Jig& g = new_game();
    add_solid(g, 100, 100, 40, 0x336699);
    draw_desk(g);
    Piece& p = *g.items[0].piece;
    // Grab right of the centre and pull downwards: the piece turns clockwise on the screen.
    press({115, 100});
    drag({115, 130});
    EXPECT_LT(p.angle, -0.3);
    EXPECT_EQ(desk_faults(g), 0);
    EXPECT_EQ(cache_faults(g), 0);
    wait(400);
    release({115, 130});

    const double before = p.angle;
    const Point c{p.cx, p.cy};
    press({p.cx + 10, p.cy});
    press({p.cx + 10, p.cy}, ws::WM_RBUTTONDOWN);
    drag({c.x + 10, c.y + 30});
    EXPECT_EQ(p.angle, before) << "with a second button down the same pull only shifts";
    EXPECT_EQ(p.cx, c.x);
    EXPECT_EQ(p.cy, c.y + 30);
    wait(400);
    release({c.x + 10, c.y + 30});
    release({c.x + 10, c.y + 30}, ws::WM_RBUTTONUP);

    settings.kaiten = KAITEN_QUARTER;
    press({p.cx + 10, p.cy});
    drag({p.cx + 10, p.cy + 30});
    EXPECT_EQ(p.angle, before);
    wait(400);
    release({0, 0});
}

TEST_F(DragTest, FreeRotationDragOnThePresenterShowsTheTurnedPiece) {
    settings.kaiten = KAITEN_FREE;
    Jig& g = new_game();
    add_piece(g, 100, 100, 60, 20, [](int32_t, int32_t) { return 0x2244AAu; });
    draw_desk(g);
    start_presenter(g);
    press({125, 100});
    drag({100, 125});  // a quarter turn clockwise about the centre
    Piece& p = *g.items[0].piece;
    EXPECT_NEAR(p.angle, -kPi / 2, 0.05);
    EXPECT_EQ(p.view, nullptr) << "the presenter keeps the turned view";
    EXPECT_EQ(shown(100, 120), 0x2244AAu) << "the piece now stands upright";
    EXPECT_EQ(shown(120, 100), kBack);
    wait(400);
    release({100, 125});
}

TEST_F(DragTest, OnThePresenterADragShowsTheGroupsBelowAllAlongItsWay) {
    Jig& g = new_game();
    add_solid(g, 90, 90, 40, 0x0000AA);    // under the start
    add_solid(g, 340, 240, 40, 0x00AA00);  // far off, where the drag ends
    add_solid(g, 100, 100, 40, 0xAA0000);  // the one dragged, starting over the first
    draw_desk(g);
    start_presenter(g);
    press({100, 100});
    EXPECT_EQ(shown(85, 85), 0xAA0000u) << "held over the first";
    for (int32_t k = 1; k <= 8; ++k) drag({100 + 30 * k, 100 + 20 * k});  // ends at (340, 260)
    EXPECT_EQ(shown(85, 85), 0x0000AAu) << "the first shows again where the held one left it";
    EXPECT_EQ(shown(200, 170), kBack) << "nothing left behind on the way";
    EXPECT_EQ(shown(340, 250), 0xAA0000u) << "the held one lies over the far one";
    EXPECT_EQ(shown(340, 225), 0x00AA00u) << "the far one shows where the held one does not cover it";
    wait(400);
    release({340, 260});
    EXPECT_EQ(shown(340, 250), 0xAA0000u);
}

TEST_F(DragTest, TheMarginScrollsTheDeskUnderTheHeldGroup) {
    Jig& g = three_pieces();
    press({95, 95});
    drag({60, 95});
    drag({15, 95});  // five pixels inside the left margin
    EXPECT_EQ(view_x, -5);
    EXPECT_EQ(view_y, 0);
    Piece& a = *g.items[2].piece;
    EXPECT_EQ(a.grab_x - view_x, 20) << "the held group stays at the margin's edge under the pointer";
    EXPECT_EQ(a.cx, 100 - 95 + 20 - 5);
    EXPECT_EQ(desk_faults(g), 0) << "the scroll step leaves the desk as a fresh drawing would";
    EXPECT_EQ(cache_faults(g), 0);
    drag({10, 95});
    EXPECT_EQ(view_x, -15);
    drag({120, 150});  // back inside: a drawing step again
    EXPECT_EQ(desk_faults(g), 0);
    EXPECT_EQ(cache_faults(g), 0);
    EXPECT_EQ(shown(120, 150), 0x112233u);
    drag({390, 295});  // bottom-right corner: both directions scroll
    EXPECT_EQ(view_x, -15 + 10);
    EXPECT_EQ(view_y, 15);
    EXPECT_EQ(desk_faults(g), 0);
    release({390, 295});
}

TEST_F(DragTest, TheMarginScrollOnThePresenterShowsTheGroupAtTheEdge) {
    Jig& g = three_pieces();
    start_presenter(g);
    press({95, 95});
    drag({10, 95});
    EXPECT_EQ(view_x, -10);
    // A (40 wide) is centred five pixels right of the pointer, which the margin holds at x = 20.
    EXPECT_EQ(shown(25, 95), 0x112233u);
    EXPECT_EQ(shown(2, 95), kBeyondDeskColour);
    release({10, 95});
}

TEST_F(DragTest, TheCtrlSweepPullsNearbyGroupsEachLessThanTheLast) {
    Jig& g = new_game();
    add_solid(g, 240, 200, 20, 0x101010);  // 40 to the right of the held centre: swept second
    add_solid(g, 250, 150, 20, 0x202020);  // exactly 50 away in x: stays
    add_solid(g, 200, 215, 20, 0x303030);  // 15 below, partly under the held one: swept first (nearer the top)
    add_solid(g, 100, 100, 20, 0x404040);  // far away
    add_solid(g, 200, 200, 30, 0x505050);  // the held one
    draw_desk(g);
    press({200, 200});
    ctrl_down = 1;
    drag({220, 200});
    EXPECT_EQ(g.items[4].piece->cx, 220);
    EXPECT_EQ(g.items[2].piece->cx, 200 + 14) << "first swept: 0.7 of 20";
    EXPECT_EQ(g.items[2].piece->cy, 215);
    EXPECT_EQ(g.items[0].piece->cx, 240 + 9) << "second swept: 0.49 of 20, truncated";
    EXPECT_EQ(g.items[1].piece->cx, 250);
    EXPECT_EQ(g.items[3].piece->cx, 100);
    EXPECT_EQ(desk_faults(g), 0);
    EXPECT_EQ(cache_faults(g), 0) << "the save-under follows the sweep";
    ctrl_down = 0;
    drag({230, 260});  // a plain step right after the sweep
    EXPECT_EQ(desk_faults(g), 0);
    EXPECT_EQ(g.items[2].piece->cx, 214);
    release({230, 260});
    EXPECT_EQ(desk_faults(g), 0);
}

TEST_F(DragTest, TheSweepSkipsHiddenGroupsAndNeedsTheSetting) {
    Jig& g = new_game();
    add_solid(g, 220, 200, 20, 0x101010);
    g.items[0].hidden = 1;
    add_solid(g, 200, 220, 20, 0x202020);
    add_solid(g, 200, 200, 30, 0x505050);
    draw_desk(g);
    press({200, 200});
    ctrl_down = 1;
    drag({210, 200});
    EXPECT_EQ(g.items[0].piece->cx, 220);
    EXPECT_EQ(g.items[1].piece->cx, 207);
    settings.mmove = false;
    drag({230, 200});
    EXPECT_EQ(g.items[1].piece->cx, 207);
    release({230, 200});
}

TEST_F(DragTest, DraggingTheDeskMovesTheViewWhenReleased) {
    Jig& g = three_pieces();
    press({200, 250}, ws::WM_RBUTTONDOWN);
    drag({250, 250});
    EXPECT_EQ(scroll_dx, -50);
    EXPECT_EQ(shown(135, 85), 0x112233u) << "the desk follows the pointer";
    input(ws::WM_MOUSEMOVE, {300, 240});
    release({300, 240}, ws::WM_RBUTTONUP);
    EXPECT_EQ(view_x, -100);
    EXPECT_EQ(view_y, 10);
    EXPECT_EQ(scroll_dx, 0);
    EXPECT_EQ(scroll_dy, 0);
    EXPECT_EQ(range_state, 2) << "the press left a zero-size range";
    EXPECT_GE(count_played(SOUND_GM_DRAW), 2);
    EXPECT_EQ(g.holding, 0);
    // The next press outside it clears it and picks up A where it now shows.
    press({200, 90});
    EXPECT_EQ(g.holding, 1);
    EXPECT_EQ(g.items[2].id, 0);
    release({200, 90});
}

TEST_F(DragTest, ASinglePieceDroppedOnATrayGoesIntoIt) {
    Jig& g = three_pieces();
    const ws::Hwnd tray = ws::create_window("MovesTestTray", "", ws::WS_CHILD | ws::WS_VISIBLE, kClientW + 20, 20,
                                            120, 120, main_window, 0);
    tray_window[3] = tray;
    press({300, 200});  // C
    drag({380, 200});
    drag({450, 60});    // over the tray, beyond the game window (the capture keeps the messages coming)
    release({450, 60});
    ws::test::pump();
    ASSERT_EQ(tray_messages().size(), 1u);
    EXPECT_EQ(tray_messages()[0].hwnd, tray);
    EXPECT_EQ(tray_messages()[0].wparam, 2u) << "the item's id";
    EXPECT_EQ(ws::lparam_x(tray_messages()[0].lparam), 450);
    EXPECT_EQ(ws::lparam_y(tray_messages()[0].lparam), 60);
    EXPECT_EQ(g.items[2].hidden, 1);
    EXPECT_EQ(desk_faults(g), 0) << "the piece is gone from the desk";
    EXPECT_EQ(g.holding, 0);
}

TEST_F(DragTest, AJoinedGroupDroppedOnATrayStaysOnTheDesk) {
    Jig& g = three_pieces();
    g.items[2].merged = 1;
    tray_window[0] = ws::create_window("MovesTestTray", "", ws::WS_CHILD | ws::WS_VISIBLE, kClientW + 20, 20, 120,
                                       120, main_window, 0);
    press({300, 200});
    drag({450, 60});
    release({450, 60});
    ws::test::pump();
    EXPECT_TRUE(tray_messages().empty());
    EXPECT_EQ(g.items[2].hidden, 0);
    EXPECT_EQ(desk_faults(g), 0);
}

}  // namespace
}  // namespace movestest
