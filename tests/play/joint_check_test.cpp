// The join test on games cut from a picture: true neighbours lying together join; 10 pixels, 10 degrees, the
// other side, diagonal cells and groups in a tray do not; the first fit from the bottom wins.
#include "play/moves_support.h"

namespace movestest {
namespace {

constexpr Point kC{300, 200};  // where the picture's centre lies for pieces laid at their true places

class JointCheckTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        settings.kaiten = KAITEN_NONE;  // cut upright
        settings.hanten = false;        // and face up
    }
    // A 3 x 2 game of 80-pixel cells: cells 0 1 2 over 3 4 5.
    Jig& game() {
        Jig& g = cut_game(240, 160, 6, false);
        EXPECT_EQ(g.cols, 3);
        EXPECT_EQ(g.rows, 2);
        return g;
    }
    // Lays the group with this id so that its picture centre would be at c, and makes it the dropped (top) one.
    void drop_at(Jig& g, int32_t id, Point c, double degrees = 0) {
        const int32_t i = index_of(g, id);
        ASSERT_GE(i, 0);
        lay(g, i, c, degrees * kPi / 180);
        hold_top(g, i);
        g.holding = 0;
    }
    void lay_id(Jig& g, int32_t id, Point c, double degrees = 0) { lay(g, index_of(g, id), c, degrees * kPi / 180); }
};

TEST_F(JointCheckTest, NeighboursJoinWithinNinePixelsButNotAtTen) {
    Jig& g = game();
    lay_id(g, 0, kC);
    const struct {
        int32_t dx, dy;
        int32_t want;
    } cases[] = {{0, 0, 0}, {9, 9, 0}, {-9, -9, 0}, {9, -9, 0}, {10, 0, -1}, {0, 10, -1}, {-10, 0, -1}, {0, -10, -1}};
    for (const auto& c : cases) {
        drop_at(g, 1, {kC.x + c.dx, kC.y + c.dy});
        EXPECT_EQ(g.joint_check(), c.want) << c.dx << "," << c.dy;
    }
    EXPECT_EQ(g.item_count, 6) << "the test alone changes nothing";
}

TEST_F(JointCheckTest, AnglesCompareAroundTheCircleBelowTenDegrees) {
    Jig& g = game();
    const struct {
        double target, dropped;
        int32_t want;
    } cases[] = {{355, 4, 3}, {4, 355, 3}, {0, 9, 3}, {350, 0, -1}, {0, 350, -1}, {90, 99, 3}, {90, 100, -1},
                 {180, 0, -1}, {-90, 270, 3}, {450, 90, 3}};
    for (const auto& c : cases) {
        lay_id(g, 3, kC, c.target);
        drop_at(g, 0, kC, c.dropped);
        EXPECT_EQ(g.joint_check(), c.want) << c.target << " vs " << c.dropped;
    }
}

TEST_F(JointCheckTest, PiecesOnDifferentSidesNeverJoinUntilTurnedBack) {
    Jig& g = game();
    lay_id(g, 4, kC);
    // Turn piece 5 over as a click does (held), then lay it at its place as it now lies.
    const int32_t i = index_of(g, 5);
    hold_top(g, i);
    g.hanten();
    ASSERT_EQ(g.items[g.item_count - 1].piece->turned, 1);
    for (const double degrees : {0.0, 90.0, 180.0, 270.0}) {
        drop_at(g, 5, kC, degrees);
        EXPECT_EQ(g.joint_check(), -1) << degrees;
    }
    hold_top(g, g.item_count - 1);
    g.hanten();
    g.holding = 0;
    drop_at(g, 5, kC);
    EXPECT_EQ(g.joint_check(), 4);
}

TEST_F(JointCheckTest, TwoFaceDownNeighboursJoin) {
    Jig& g = game();
    for (const int32_t id : {1, 2}) {
        hold_top(g, index_of(g, id));
        g.hanten();
        g.holding = 0;
    }
    lay_id(g, 1, kC, 90);
    drop_at(g, 2, {kC.x + 3, kC.y - 4}, 92);
    EXPECT_EQ(g.joint_check(), 1);
}

TEST_F(JointCheckTest, DiagonalCellsJoinOnlyThroughAnEdgeNeighbour) {
    Jig& g = game();
    lay_id(g, 0, kC);
    drop_at(g, 4, kC);
    EXPECT_EQ(g.joint_check(), -1) << "0 and 4 touch only at a corner";
    drop_at(g, 1, kC);
    ASSERT_EQ(g.joint_check(), 0);
    g.joint(0);
    drop_at(g, 4, kC);
    EXPECT_EQ(g.joint_check(), 0) << "4 shares an edge with cell 1, now of group 0";
}

TEST_F(JointCheckTest, AGroupInATrayNeverTakesPart) {
    Jig& g = game();
    lay_id(g, 0, kC);
    g.items[index_of(g, 0)].hidden = 1;
    drop_at(g, 1, kC);
    EXPECT_EQ(g.joint_check(), -1);
    g.items[index_of(g, 0)].hidden = 0;
    EXPECT_EQ(g.joint_check(), 0);
}

TEST_F(JointCheckTest, ThePieceFittingTwoGroupsJoinsTheLowerOne) {
    Jig& g = game();
    lay_id(g, 0, kC);
    lay_id(g, 2, kC);
    // Display order bottom first: 2, 0, 3, 4, 5, with 1 on top.
    for (const int32_t id : {2, 0, 3, 4, 5, 1}) hold_top(g, index_of(g, id));
    ASSERT_LT(index_of(g, 2), index_of(g, 0));
    drop_at(g, 1, kC);
    EXPECT_EQ(g.joint_check(), 2);
    hold_top(g, index_of(g, 2));  // now 0 lies lower
    drop_at(g, 1, kC);
    EXPECT_EQ(g.joint_check(), 0);
}

}  // namespace
}  // namespace movestest
