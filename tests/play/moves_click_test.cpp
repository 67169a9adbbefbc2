// The click rule and what a click does: quarter turns with the left and right buttons, turning over with the
// middle button or two buttons, the 300 ms and 2 pixel limits, and picking up the top-most group under the pointer.
#include "play/moves_support.h"

namespace movestest {
namespace {

constexpr Point kAt{100, 100};

class ClickTest : public PlayTest {
protected:
    // One 40 x 40 piece centred at kAt, lying at `degrees`.
    Piece& one_piece(double degrees) {
        Jig& g = new_game();
        g.pic_w = 200;
        Piece& p = add_solid(g, kAt.x, kAt.y, 40, 0x3366CC);
        p.set_angle(degrees * kPi / 180);
        draw_desk(g);
        return p;
    }
    double degrees(const Piece& p) { return p.angle * 180 / kPi; }
};

TEST_F(ClickTest, LeftAndRightClicksTurnByQuartersAndDrop) {
    Piece& p = one_piece(0);
    for (int32_t k = 1; k <= 4; ++k) {
        click(kAt);
        EXPECT_NEAR(degrees(p), (90 * k) % 360, 1e-9) << "left click " << k;
    }
    EXPECT_EQ(count_played(SOUND_LEFT), 4);
    EXPECT_EQ(count_played(SOUND_SEL), 4);
    EXPECT_EQ(current_game->holding, 0);
    EXPECT_EQ(current_game->under_cache, nullptr);

    p.set_angle(270 * kPi / 180);
    click(kAt);
    EXPECT_NEAR(degrees(p), 0, 1e-9);
    p.set_angle(270 * kPi / 180);
    click(kAt, ws::WM_RBUTTONDOWN, ws::WM_RBUTTONUP);
    EXPECT_NEAR(degrees(p), 180, 1e-9);
    EXPECT_EQ(count_played(SOUND_RIGHT), 1);
    EXPECT_EQ(game_saved, 0);
}

TEST_F(ClickTest, FreeAnglesSnapToTheNextQuarterInTheClicksDirection) {
    const struct {
        double from;
        bool left;
        double to;
    } cases[] = {{37, true, 90}, {37, false, 0}, {89.9, true, 90}, {300, true, 0}, {300, false, 270},
                 {-30, true, 0}, {-30, false, 270}, {400, true, 90}};
    for (const auto& c : cases) {
        Piece& p = one_piece(c.from);
        if (c.left)
            click(kAt);
        else
            click(kAt, ws::WM_RBUTTONDOWN, ws::WM_RBUTTONUP);
        EXPECT_NEAR(degrees(p), c.to, 1e-9) << c.from << (c.left ? " +90" : " -90");
    }
}

TEST_F(ClickTest, APressOf300msOrMoreIsADropNotAClick) {
    Piece& p = one_piece(0);
    press(kAt);
    wait(299);
    release(kAt);
    EXPECT_NEAR(degrees(p), 90, 1e-9);
    press(kAt);
    wait(300);
    release(kAt);
    EXPECT_NEAR(degrees(p), 90, 1e-9);
    EXPECT_EQ(current_game->holding, 0);
}

TEST_F(ClickTest, TravelBeyondTwoPixelsMakesTheReleaseADrop) {
    Piece& p = one_piece(0);
    press(kAt);
    drag({kAt.x + 2, kAt.y - 2});
    release(kAt);
    EXPECT_NEAR(degrees(p), 90, 1e-9) << "two pixels still count as a click";
    press(kAt);
    drag({kAt.x + 3, kAt.y});
    drag(kAt);
    release(kAt);
    EXPECT_NEAR(degrees(p), 90, 1e-9) << "three pixels and back is a drop";
    EXPECT_EQ(moved_far, 0);
    press(kAt);
    drag({kAt.x, kAt.y + 3});
    drag(kAt);
    release(kAt);
    EXPECT_NEAR(degrees(p), 90, 1e-9);
}

TEST_F(ClickTest, MiddleClickTurnsOverAndBackWithMirroredOffset) {
    Piece& p = one_piece(90);
    Item& it = current_game->items[0];
    it.home_dx = it.join_dx = 30;
    click(kAt, ws::WM_MBUTTONDOWN, ws::WM_MBUTTONUP);
    EXPECT_EQ(p.turned, 1);
    EXPECT_NEAR(degrees(p), 270, 1e-9);
    EXPECT_EQ(it.home_dx, 170);
    EXPECT_EQ(it.join_dx, 170);
    EXPECT_EQ(count_played(SOUND_HANTEN), 1);
    click(kAt, ws::WM_MBUTTONDOWN, ws::WM_MBUTTONUP);
    EXPECT_EQ(p.turned, 0);
    EXPECT_NEAR(degrees(p), 90, 1e-9);
    EXPECT_EQ(it.home_dx, 30);
    EXPECT_EQ(current_game->two_buttons, 0);
    EXPECT_EQ(button_phase, 0);
}

TEST_F(ClickTest, TwoButtonClickTurnsOverOnlyWhenTheLastButtonGoesUp) {
    Piece& p = one_piece(0);
    press(kAt, ws::WM_LBUTTONDOWN);
    press(kAt, ws::WM_RBUTTONDOWN);
    EXPECT_EQ(button_phase, 2);
    EXPECT_EQ(current_game->two_buttons, 1);
    release(kAt, ws::WM_LBUTTONUP);
    EXPECT_EQ(current_game->holding, 1) << "a release with a button still down does nothing";
    EXPECT_EQ(p.turned, 0);
    release(kAt, ws::WM_RBUTTONUP);
    EXPECT_EQ(current_game->holding, 0);
    EXPECT_EQ(p.turned, 1);
    EXPECT_EQ(ws::get_capture(), 0);
    EXPECT_EQ(captured, 0);
}

TEST_F(ClickTest, SwitchedOffTurnsLeaveOnlyTheDrop) {
    Piece& p = one_piece(0);
    settings.kaiten = KAITEN_NONE;
    click(kAt);
    click(kAt, ws::WM_RBUTTONDOWN, ws::WM_RBUTTONUP);
    EXPECT_NEAR(degrees(p), 0, 1e-9);
    settings.hanten = false;
    click(kAt, ws::WM_MBUTTONDOWN, ws::WM_MBUTTONUP);
    EXPECT_EQ(p.turned, 0);
    EXPECT_EQ(count_played(SOUND_LEFT) + count_played(SOUND_RIGHT) + count_played(SOUND_HANTEN), 0);
    EXPECT_EQ(current_game->holding, 0);
}

TEST_F(ClickTest, ATurnRedrawsTheDeskAndTheWindow) {
    Jig& g = new_game();
    // A tall piece, so that a quarter turn changes what it covers.
    add_piece(g, 100, 100, 20, 60, [](int32_t, int32_t y) { return y < 30 ? 0x22AA22u : 0xAA2222u; });
    draw_desk(g);
    click(kAt);
    EXPECT_EQ(desk_faults(g), 0);
    EXPECT_EQ(shown(100, 80), kBack) << "the old upper end is gone";
    EXPECT_NE(shown(80, 100), kBack) << "the piece now lies across";
}

TEST_F(ClickTest, PressPicksTheTopMostShapeUnderThePointer) {
    Jig& g = new_game();
    add_solid(g, 100, 100, 60, 0x111111);  // id 0
    add_solid(g, 110, 110, 60, 0x222222);  // id 1, over 0
    // id 2 covers the point too, but with a white hole there.
    add_piece(g, 120, 120, 60, 60, [](int32_t x, int32_t y) { return x < 20 && y < 20 ? kWhite : 0x333333u; });
    add_solid(g, 300, 100, 40, 0x444444);  // id 3, elsewhere
    draw_desk(g);
    press({95, 95});
    ASSERT_EQ(g.holding, 1);
    EXPECT_EQ(g.items[3].id, 1) << "the visible shape nearest the top wins and goes to the top";
    EXPECT_EQ(g.items[0].id, 0);
    EXPECT_EQ(g.items[1].id, 2);
    EXPECT_EQ(g.items[2].id, 3);
    EXPECT_EQ(last_selected, 3);
    EXPECT_EQ(g.items[3].piece->grab_x, 95);
    EXPECT_EQ(cache_faults(g), 0);
    EXPECT_EQ(desk_faults(g), 0);
    wait(400);
    release({95, 95});
    // A group put into a tray cannot be picked up.
    g.items[3].hidden = 1;
    draw_desk(g);
    press({95, 95});
    EXPECT_EQ(g.items[3].id, 0);
    wait(400);
    release({95, 95});
}

TEST_F(ClickTest, PressOnEmptyDeskHoldsNothingAndStartsARange) {
    Jig& g = new_game();
    add_solid(g, 100, 100, 40, 0x111111);
    draw_desk(g);
    press({300, 200});
    EXPECT_EQ(g.holding, 0);
    EXPECT_EQ(range_state, 1);
    EXPECT_EQ(count_played(SOUND_SEL), 0);
    release({300, 200});
    EXPECT_EQ(range_state, 2);
    EXPECT_EQ(g.items[0].piece->angle, 0);
}

}  // namespace
}  // namespace movestest
