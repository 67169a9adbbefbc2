// Play with the mouse on pieces laid by hand: the click rule and its quarter turns and turning over, picking up,
// dragging (plain, turning, at the margins, the Ctrl sweep, into a tray), the desk drag and range selection.
#include "support/desk_window.h"

namespace {

using namespace testsupport;

constexpr Point kAt{100, 100};

class Moves : public DeskWindow {
protected:
    // One 40 x 20 piece centred at kAt lying at `degrees`, the desk drawn.
    Piece& one_piece(double degrees) {
        Jig& g = new_blank_game();
        g.pic_w = 200;
        Piece& p = add_piece(g, kAt.x, kAt.y, 40, 20, [](int32_t, int32_t) { return 0x3366CCu; });
        p.set_angle(degrees * kPi / 180);
        draw_desk(g);
        return p;
    }
    static double degrees(const Piece& p) { return p.angle * 180 / kPi; }
    // Pieces of 20 x 20 centred at the given points, the desk drawn (and the presenter started if asked).
    Jig& pieces_at(std::initializer_list<Point> centres, bool with_presenter = false) {
        Jig& g = new_blank_game();
        uint32_t colour = 0x203040;
        for (Point c : centres) add_solid(g, c.x, c.y, 20, colour += 0x101010);
        g.reset_sweep();
        draw_desk(g);
        if (with_presenter) start_presenter(g);
        return g;
    }
    // Draws a range by a left drag from a to b on empty desk.
    void draw_range(Point a, Point b) {
        press(a);
        drag({(a.x + b.x) / 2, (a.y + b.y) / 2});
        drag(b);
        release(b);
    }
    std::vector<int32_t> xs(const Jig& g) {
        std::vector<int32_t> out;
        for (int32_t i = 0; i < g.item_count; ++i) out.push_back(g.items[i].piece->cx);
        return out;
    }
};

// Each click turns a quarter in its direction (free angles snap to the next quarter), marks the game changed and
// redraws desk and window; switched-off turns leave only the drop.
TEST_F(Moves, ClicksTurnByQuartersInTheirDirection) {
    const struct {
        double from;
        char button;
        double to;
    } cases[] = {{0, 'l', 90},   {90, 'l', 180},  {270, 'l', 0},   {270, 'r', 180}, {37, 'l', 90},  {37, 'r', 0},
                 {89.9, 'l', 90}, {300, 'r', 270}, {-30, 'l', 0},  {-30, 'r', 270}, {400, 'l', 90}, {90, 'm', 90}};
    for (const auto& c : cases) {
        settings.kaiten = c.button == 'm' ? KAITEN_NONE : KAITEN_QUARTER;
        settings.hanten = c.button != 'm';
        Piece& p = one_piece(c.from);
        game_saved = 1;
        for (char b : c.button == 'm' ? std::string("lrm") : std::string(1, c.button)) click(kAt, b);
        SCOPED_TRACE(std::to_string(c.from) + c.button);
        EXPECT_NEAR(degrees(p), c.to, 1e-9);
        EXPECT_EQ((std::vector{game_saved, p.turned, current_game->holding}), (std::vector<int32_t>{c.button == 'm', 0, 0}));
        EXPECT_EQ(current_game->under_cache, nullptr);
        EXPECT_EQ(desk_faults(*current_game), 0);
        EXPECT_EQ(shown(kAt.x, kAt.y - 15), int64_t(c.to) % 180 ? 0x3366CCu : kBack) << "the piece lies as turned";
    }
    EXPECT_EQ((std::vector{count_played(SOUND_LEFT), count_played(SOUND_RIGHT), count_played(SOUND_HANTEN)}),
              (std::vector{7, 4, 0}));
}

// A click is a release within 300 ms that never strayed more than 2 pixels; anything else is a drop.
TEST_F(Moves, TheClickRuleCountsTimeAndTravel) {
    const struct {
        uint32_t ms;
        Point via;
        bool turns;
    } cases[] = {{299, kAt, true}, {300, kAt, false}, {100, {102, 98}, true}, {100, {103, 100}, false},
                 {100, {100, 103}, false}};
    for (const auto& c : cases) {
        Piece& p = one_piece(0);
        press(kAt);
        drag(c.via);
        drag(kAt);
        wait(c.ms);
        release(kAt);
        EXPECT_NEAR(degrees(p), c.turns ? 90 : 0, 1e-9) << c.ms << " ms via " << c.via.x << "," << c.via.y;
        EXPECT_EQ(moved_far, 0);
    }
}

TEST_F(Moves, MiddleOrTwoButtonClickTurnsOverWithTheOffsetMirrored) {
    Piece& p = one_piece(90);
    Item& it = current_game->items[0];
    it.home_dx = it.join_dx = 30;
    game_saved = 1;
    click(kAt, 'm');
    EXPECT_EQ((std::vector{p.turned, it.home_dx, it.join_dx, game_saved}), (std::vector{1, 170, 170, 0}));
    EXPECT_NEAR(degrees(p), 270, 1e-9);
    EXPECT_EQ(count_played(SOUND_HANTEN), 1);
    // Both buttons: nothing until the last goes up.
    press(kAt, ws::WM_LBUTTONDOWN);
    press(kAt, ws::WM_RBUTTONDOWN);
    EXPECT_EQ(button_phase, 2);
    release(kAt, ws::WM_LBUTTONUP);
    EXPECT_EQ((std::vector{current_game->holding, p.turned}), (std::vector{1, 1}));
    release(kAt, ws::WM_RBUTTONUP);
    EXPECT_EQ((std::vector{current_game->holding, p.turned, it.home_dx, button_phase}), (std::vector{0, 0, 30, 0}));
    EXPECT_NEAR(degrees(p), 90, 1e-9);
    EXPECT_EQ(ws::get_capture(), 0);
    EXPECT_EQ(captured, 0);
}

TEST_F(Moves, APressPicksTheTopMostShapeAndTraysHideGroups) {
    Jig& g = new_blank_game();
    add_solid(g, 100, 100, 60, 0x111111);
    add_solid(g, 110, 110, 60, 0x222222);
    add_piece(g, 120, 120, 60, 60, [](int32_t x, int32_t y) { return x < 20 && y < 20 ? kWhite : 0x333333u; });
    add_solid(g, 300, 100, 40, 0x444444);
    draw_desk(g);
    press({95, 95});
    auto ids = [&] { return std::vector{g.items[0].id, g.items[1].id, g.items[2].id, g.items[3].id}; };
    EXPECT_EQ(ids(), (std::vector{0, 2, 3, 1})) << "the visible shape nearest the top wins and goes to the top";
    EXPECT_EQ((std::vector{g.holding, last_selected, g.items[3].piece->grab_x}), (std::vector{1, 3, 95}));
    EXPECT_EQ(cache_faults(g), 0);
    EXPECT_EQ(desk_faults(g), 0);
    wait(400);
    release({95, 95});
    g.items[3].hidden = 1;
    draw_desk(g);
    press({95, 95});
    EXPECT_EQ(g.items[3].id, 0);
    wait(400);
    release({95, 95});
}

TEST_F(Moves, APlainDragFollowsThePointerAndKeepsDeskAndCacheExact) {
    Jig& g = new_blank_game();
    add_solid(g, 100, 100, 40, 0x112233);
    add_piece(g, 120, 110, 40, 30, [](int32_t x, int32_t) { return x < 20 ? 0x445566u : 0x778899u; });
    draw_desk(g);
    game_saved = 1;
    press({95, 95});
    ASSERT_EQ(g.items[1].id, 0);
    Piece& a = *g.items[1].piece;
    for (Point p : {Point{110, 100}, Point{150, 140}, Point{280, 190}, Point{60, 60}}) {
        drag(p);
        EXPECT_EQ((Point{a.cx, a.cy}), (Point{100 + p.x - 95, 100 + p.y - 95}));
        EXPECT_EQ(desk_faults(g), 0) << p.x << "," << p.y;
        EXPECT_EQ(cache_faults(g), 0) << p.x << "," << p.y;
    }
    EXPECT_EQ(a.angle, 0) << "quarter-turn mode never turns while dragging";
    EXPECT_EQ(shown(65, 65), 0x112233u);
    EXPECT_EQ(shown(125, 110), 0x778899u) << "B shows again where A was";
    EXPECT_EQ(game_saved, 0);
    EXPECT_GE(count_played(SOUND_MOVE), 4);
    release({60, 60});
    EXPECT_EQ((std::vector{g.holding, moved_far}), (std::vector{0, 0}));
    EXPECT_EQ(desk_faults(g), 0);
}

// With free rotation one button turns the piece about its centre; with a second button down it only shifts.
TEST_F(Moves, FreeRotationTurnsWithOneButtonOnBothPaths) {
    settings.kaiten = KAITEN_FREE;
    for (const bool with_presenter : {false, true}) {
        Jig& g = new_blank_game();
        add_piece(g, 100, 100, 60, 20, [](int32_t, int32_t) { return 0x2244AAu; });
        draw_desk(g);
        if (with_presenter) start_presenter(g);
        Piece& p = *g.items[0].piece;
        press({125, 100});
        drag({100, 125});  // a quarter turn clockwise
        EXPECT_NEAR(p.angle, -kPi / 2, 0.05);
        EXPECT_EQ(shown(100, 120), 0x2244AAu) << "the piece now stands upright";
        EXPECT_EQ(shown(120, 100), kBack);
        EXPECT_EQ(with_presenter ? 0 : desk_faults(g) + cache_faults(g), 0);
        wait(400);
        release({100, 125});
        const double before = p.angle;
        const Point c{p.cx, p.cy};
        press({c.x + 5, c.y});
        press({c.x + 5, c.y}, ws::WM_RBUTTONDOWN);
        drag({c.x + 5, c.y + 30});
        EXPECT_EQ(p.angle, before) << "with a second button down the same pull only shifts";
        EXPECT_EQ((Point{p.cx, p.cy}), (Point{c.x, c.y + 30}));
        wait(400);
        release({c.x + 5, c.y + 30});
        release({c.x + 5, c.y + 30}, ws::WM_RBUTTONUP);
        delete presenter;
        presenter = nullptr;
    }
}

TEST_F(Moves, OnThePresenterADragShowsTheGroupsBelowAllAlongItsWay) {
    Jig& g = new_blank_game();
    add_solid(g, 90, 90, 40, 0x0000AA);
    add_solid(g, 340, 240, 40, 0x00AA00);
    add_solid(g, 100, 100, 40, 0xAA0000);
    draw_desk(g);
    start_presenter(g);
    press({100, 100});
    for (int32_t k = 1; k <= 8; ++k) drag({100 + 30 * k, 100 + 20 * k});
    EXPECT_EQ((std::vector{shown(85, 85), shown(200, 170), shown(340, 250), shown(340, 225)}),
              (std::vector{0x0000AAu, kBack, 0xAA0000u, 0x00AA00u}));
    wait(400);
    release({340, 260});
    EXPECT_EQ(shown(340, 250), 0xAA0000u);
}

TEST_F(Moves, TheMarginScrollsTheDeskUnderTheHeldGroupOnBothPaths) {
    for (const bool with_presenter : {false, true}) {
        view_x = view_y = 0;
        Jig& g = pieces_at({{300, 200}, {100, 100}}, with_presenter);
        Piece& a = *g.items[1].piece;
        press({95, 95});
        drag({60, 95});
        drag({15, 95});  // five pixels inside the left margin
        EXPECT_EQ((std::vector{view_x, view_y, a.grab_x - view_x, a.cx}), (std::vector{-5, 0, 20, 20}));
        if (with_presenter) {
            drag({10, 95});
            EXPECT_EQ(shown(25, 95), 0x405060u);
            EXPECT_EQ(shown(2, 95), kBeyondDeskColour);
        } else {
            EXPECT_EQ(desk_faults(g) + cache_faults(g), 0);
            drag({120, 150});
            EXPECT_EQ(desk_faults(g) + cache_faults(g), 0);
            EXPECT_EQ(shown(120, 150), 0x405060u);
            drag({390, 295});  // the bottom-right corner scrolls both ways
            EXPECT_EQ((std::vector{view_x, view_y}), (std::vector{5, 15}));
            EXPECT_EQ(desk_faults(g), 0);
        }
        release({10, 95});
        delete presenter;
        presenter = nullptr;
    }
}

// Ctrl pulls the groups near the held one along, each by 0.7 of the share of the one before, on both paths.
TEST_F(Moves, TheCtrlSweepPullsNearbyGroupsEachLessThanTheLast) {
    for (const bool with_presenter : {false, true}) {
        Jig& g = new_blank_game();
        add_solid(g, 240, 200, 20, 0x101010);  // second swept
        add_solid(g, 250, 150, 20, 0x202020);  // exactly 50 away in x: stays
        add_solid(g, 200, 215, 20, 0x303030);  // first swept (nearer the top)
        add_solid(g, 160, 200, 20, 0x404040);  // in reach but in a tray
        add_solid(g, 150, 230, 20, 0x606060);  // exactly 50 away on the left: stays
        add_solid(g, 200, 200, 30, 0x505050);  // held
        g.items[3].hidden = 1;
        draw_desk(g);
        if (with_presenter) start_presenter(g);
        press({200, 200});
        ctrl_down = 1;
        drag({220, 210});
        EXPECT_EQ(xs(g), (std::vector{240 + 9, 250, 200 + 14, 160, 150, 220}));
        EXPECT_EQ((std::vector{g.items[0].piece->cy, g.items[2].piece->cy}), (std::vector{200 + 4, 215 + 7}));
        if (with_presenter) {
            EXPECT_EQ((std::vector{shown(210, 229), shown(249, 200)}), (std::vector{0x303030u, 0x101010u}));
            EXPECT_EQ(shown(200, 222), kBack) << "nothing left where the first swept one was";
        } else {
            EXPECT_EQ(desk_faults(g) + cache_faults(g), 0) << "the save-under follows the sweep";
            Piece& swept = *g.items[2].piece;
            const Rect r = swept.rect;
            swept.set_angle(swept.angle);
            EXPECT_EQ(swept.rect, r) << "laid round its centre as a turn lays it";
        }
        ctrl_down = 0;
        drag({230, 260});
        settings.mmove = false;
        ctrl_down = 1;
        drag({230, 250});
        EXPECT_EQ(g.items[2].piece->cx, 214) << "plain steps and a switched-off sweep pull nothing";
        ctrl_down = 0;
        settings.mmove = true;
        release({230, 250});
        EXPECT_EQ(with_presenter ? 0 : desk_faults(g), 0);
    }
}

TEST_F(Moves, DraggingTheDeskMovesTheViewWhenReleased) {
    Jig& g = pieces_at({{100, 100}});
    press({200, 250}, ws::WM_RBUTTONDOWN);
    drag({250, 250});
    EXPECT_EQ(scroll_dx, -50);
    EXPECT_EQ(shown(145, 95), 0x304050u) << "the desk follows the pointer";
    drag({300, 240});
    release({300, 240}, ws::WM_RBUTTONUP);
    EXPECT_EQ((std::vector{view_x, view_y, scroll_dx, scroll_dy, range_state}), (std::vector{-100, 10, 0, 0, 2}));
    EXPECT_GE(count_played(SOUND_GM_DRAW), 2);
    press({200, 90});  // clears the zero-size range and picks the piece up where it now shows
    EXPECT_EQ(g.holding, 1);
    release({200, 90});
}

TEST_F(Moves, OnlyASinglePieceDroppedOnATrayGoesIntoIt) {
    tray_window[3] =
        ws::create_window("TestTray", "", ws::WS_CHILD | ws::WS_VISIBLE, kClientW + 20, 20, 120, 120, main_window, 0);
    for (const int32_t merged : {1, 0}) {
        view_x = view_y = 0;  // the drag beyond the window scrolled the desk
        Jig& g = pieces_at({{100, 100}, {300, 200}});
        g.items[1].merged = merged;
        press({300, 200});
        drag({380, 200});
        drag({450, 60});  // beyond the game window: the capture keeps the messages coming
        release({450, 60});
        ws::test::pump();
        EXPECT_EQ(g.items[1].hidden, 1 - merged);
        EXPECT_EQ(desk_faults(g), 0);
        EXPECT_EQ(g.holding, 0);
    }
    ASSERT_EQ(tray_messages().size(), 1u);
    const ws::Msg& m = tray_messages()[0];
    EXPECT_EQ(m.hwnd, tray_window[3]);
    EXPECT_EQ((std::vector<int64_t>{int64_t(m.wparam), ws::lparam_x(m.lparam), ws::lparam_y(m.lparam)}),
              (std::vector<int64_t>{1, 450, 60}));
}

// A range is drawn by a drag on empty desk; a press inside it grabs every group whose centre lies strictly
// inside, and they move alike, on both paths.
TEST_F(Moves, DraggingInsideARangeMovesAllItsGroupsAlike) {
    for (const bool with_presenter : {false, true}) {
        view_x = 0;
        // Three inside, one outside and four on the borders (right, left, top, bottom).
        Jig& g = pieces_at({{100, 100}, {160, 120}, {130, 170}, {300, 100}, {200, 150}, {80, 150}, {150, 80}, {150, 200}},
                           with_presenter);
        press({300, 280});
        EXPECT_EQ(range_state, 1);
        EXPECT_EQ(count_played(SOUND_SEL), 0);
        release({300, 280});
        draw_range({200, 200}, {80, 80});  // backwards; (200, 150) lies on the border
        press({100, 100});  // on a piece, but inside the range
        EXPECT_EQ((std::vector{g.holding, range_state, range_x1, range_y1, range_x2, range_y2}),
                  (std::vector{0, 3, 80, 80, 200, 200}));
        std::vector<int32_t> banded;
        for (int32_t i = 0; i < g.item_count; ++i) banded.push_back(g.items[i].banded);
        EXPECT_EQ(banded, (std::vector{1, 1, 1, 0, 0, 0, 0, 0}));
        game_saved = 1;
        drag({130, 90});
        drag({150, 80});
        release({150, 80});
        EXPECT_EQ((std::vector{range_state, game_saved}), (std::vector{0, 0}));
        EXPECT_EQ(xs(g), (std::vector{150, 210, 180, 300, 200, 80, 150, 150}));
        EXPECT_EQ(g.items[1].piece->cy, 100);
        EXPECT_EQ((std::vector{shown(210, 100), shown(160, 120)}), (std::vector{0x405060u, kBack}));
        EXPECT_EQ(with_presenter ? 0 : desk_faults(g), 0);
        // Into the margin the view scrolls and the groups keep their place on the screen.
        draw_range({130, 60}, {230, 140});
        press({150, 80});
        drag({60, 80});
        drag({12, 80});  // 8 inside the left margin: moved as far as the view, so they stay put on the screen
        EXPECT_EQ(view_x, -8);
        EXPECT_EQ((std::vector{g.items[0].piece->cx, g.items[1].piece->cx}), (std::vector{52, 112}));
        release({12, 80});
        delete presenter;
        presenter = nullptr;
    }
}

TEST_F(Moves, HiddenGroupsStayOutOfRangesAndAPressOutsideARangeClearsIt) {
    Jig& g = pieces_at({{100, 100}, {110, 110}});
    g.items[1].hidden = g.items[1].banded = 1;  // a tray's piece keeps whatever mark it had
    draw_desk(g);
    press({250, 250});  // a zero-size range at the press point ...
    release({250, 250});
    press({250, 250});  // ... whose corner counts as inside it: grabbed
    EXPECT_EQ(range_state, 3);
    release({250, 250});
    draw_range({80, 80}, {140, 140});
    press({90, 90});
    drag({95, 90});
    release({95, 90});
    EXPECT_EQ((std::vector{g.items[0].piece->cx, g.items[1].piece->cx, g.items[1].banded}), (std::vector{105, 110, 1}));
    draw_range({50, 50}, {150, 150});
    press({100, 100}, ws::WM_RBUTTONDOWN);  // inside: neither the piece nor the range, a new range
    EXPECT_EQ((std::vector{g.holding, range_state, range_x1, range_x2}), (std::vector{0, 1, 100, 100}));
    drag({130, 100});
    release({130, 100}, ws::WM_RBUTTONUP);
    EXPECT_EQ((std::vector{view_x, g.items[0].piece->cx}), (std::vector{-30, 105}));
    press({135, 100});
    EXPECT_EQ((std::vector{g.holding, range_state}), (std::vector{1, 0}));
    release({135, 100});
}

TEST_F(Moves, SpaceJumpsToUnseenGroupsThenStartsOver) {
    Jig& g = pieces_at({{100, 100}, {600, 500}, {380, 290}, {700, 100}});
    auto seen = [&] { return std::vector{g.items[0].seen, g.items[1].seen, g.items[2].seen, g.items[3].seen}; };
    g.show_unseen();
    EXPECT_EQ(seen(), (std::vector{1, 1, 1, 0}));
    EXPECT_EQ((Point{view_x, view_y}), (Point{590, 490}));
    g.show_unseen();
    EXPECT_EQ((Point{view_x, view_y}), (Point{690, 90}));
    g.show_unseen();  // nothing left: the view stays and the next Space starts afresh
    EXPECT_EQ((std::vector{view_x, g.sweep_reset, seen()[3]}), (std::vector{690, 1, 1}));
    g.show_unseen();
    EXPECT_EQ(seen()[1], 0) << "a fresh sweep forgot the earlier marks";
    EXPECT_EQ((Point{view_x, view_y}), (Point{90, 90}));
    // Everything in view: all marked, the view kept; a pick-up starts the sweep over too.
    view_x = view_y = 0;
    Jig& h = pieces_at({{100, 100}, {200, 200}, {399, 299}});
    h.show_unseen();
    EXPECT_EQ((std::vector{view_x, view_y, h.sweep_reset, h.items[0].seen, h.items[2].seen}),
              (std::vector{0, 0, 1, 1, 1}));
    h.sweep_reset = 0;
    press({100, 100});
    EXPECT_EQ(h.sweep_reset, 1);
    release({100, 100});
}

}  // namespace
