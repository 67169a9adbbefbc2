// The merge after a fitting drop: the merged group takes the target's place in the picture, its angle and its
// place in the display order; the cells change owner; the desk shows the group as the picture; the last join
// completes the puzzle and uses up the saved game it came from.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "play/moves_support.h"

namespace movestest {
namespace {

constexpr Point kC{300, 200};

class JointMergeTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        settings.kaiten = KAITEN_NONE;
        settings.hanten = false;
    }
    void lay_id(Jig& g, int32_t id, Point c, double degrees = 0) { lay(g, index_of(g, id), c, degrees * kPi / 180); }
    void drop_at(Jig& g, int32_t id, Point c, double degrees = 0) {
        lay_id(g, id, c, degrees);
        hold_top(g, index_of(g, id));
        g.holding = 0;
        if (!presenter) draw_desk(g);  // the desk as the player left it
    }
    // Desk pixels that do not show the picture at its place (picture centre at c, upright), over the middle
    // 20 x 20 of each of the given cells.
    int32_t picture_faults(Jig& g, Point c, std::initializer_list<int32_t> cells) {
        const int32_t cw = g.pic_w / g.cols, ch = g.pic_h / g.rows;
        int32_t bad = 0;
        for (int32_t cell : cells) {
            const int32_t x0 = (cell % g.cols) * cw + cw / 2 - 10, y0 = (cell / g.cols) * ch + ch / 2 - 10;
            for (int32_t y = y0; y < y0 + 20; ++y)
                for (int32_t x = x0; x < x0 + 20; ++x)
                    bad += (at(*desk_image, c.x - g.pic_w / 2 + x, c.y - g.pic_h / 2 + y) & kWhite) !=
                           (at(*g.picture, x, y) & kWhite);
        }
        return bad;
    }
};

TEST_F(JointMergeTest, TheMergedGroupLiesWhereTheTargetSaysAtItsDepth) {
    Jig& g = cut_game(240, 160, 6, false);
    ASSERT_EQ(g.cols, 3);
    // Display order: 3, 0 (the target), 4, 5, 2, and 1 dropped on top slightly off.
    for (const int32_t id : {3, 0, 4, 5, 2, 1}) hold_top(g, index_of(g, id));
    for (const int32_t id : {3, 4, 5, 2}) lay_id(g, id, {600, 450});
    lay_id(g, 0, kC);
    drop_at(g, 1, {kC.x + 6, kC.y - 7});
    ASSERT_EQ(g.joint_check(), 0);
    const Rect r = g.joint(0);
    EXPECT_EQ(g.item_count, 5);
    EXPECT_EQ(g.items[1].id, 0) << "the merged group keeps the target's depth";
    EXPECT_EQ(g.items[1].merged, 1);
    EXPECT_EQ(g.items[0].id, 3);
    EXPECT_EQ(g.items[4].id, 2) << "groups above the target stay above";
    EXPECT_EQ(g.items[5].piece, nullptr);
    EXPECT_EQ(g.cells[1].owner, 0);
    EXPECT_EQ(g.cells[0].owner, 0);
    EXPECT_EQ(g.cells[2].owner, 2);
    EXPECT_EQ(picture_faults(g, kC, {0, 1}), 0) << "both cells show the picture at the target's place";
    EXPECT_EQ(desk_faults(g), 0);
    EXPECT_TRUE(r.left <= g.items[1].piece->rect.left && r.right >= g.items[1].piece->rect.right);
}

TEST_F(JointMergeTest, ADroppedPieceAFewDegreesOffIsStraightenedToTheTarget) {
    Jig& g = cut_game(240, 160, 6, false);
    lay_id(g, 4, kC, 90);
    drop_at(g, 5, {kC.x - 2, kC.y + 3}, 98);
    ASSERT_EQ(g.joint_check(), 4);
    g.joint(4);
    const int32_t k = index_of(g, 4);
    const Piece& p = *g.items[k].piece;
    EXPECT_DOUBLE_EQ(p.angle, 90 * kPi / 180);
    // Its reference point is the target's: the group lies where the target says the picture's centre is.
    const Point r = rotate_point(g.items[k].join_dx, -g.items[k].join_dy, p.angle);
    EXPECT_NEAR(p.cx + r.x, kC.x, 1);
    EXPECT_NEAR(p.cy - r.y, kC.y, 1);
    EXPECT_EQ(desk_faults(g), 0);
}

TEST_F(JointMergeTest, GroupsGrowUntilTheLastJoinCompletesThePuzzle) {
    Jig& g = cut_game(240, 160, 6, false);
    const std::string saved = std::filesystem::temp_directory_path() / "zelto-moves-joint.zlt";
    std::ofstream(saved) << "x";
    save_path = saved;
    for (int32_t id = 0; id < 6; ++id) lay_id(g, id, {500 - 40 * id, 400});
    lay_id(g, 4, kC);
    for (const int32_t id : {1, 3, 5, 0, 2}) {
        drop_at(g, id, kC);
        const Rect r = drop_join(g);
        EXPECT_FALSE(r.empty()) << id;
        EXPECT_EQ(desk_faults(g), 0) << id;
    }
    ASSERT_EQ(g.item_count, 1);
    EXPECT_EQ(g.items[0].id, 4);
    for (int32_t c = 0; c < 6; ++c) EXPECT_EQ(g.cells[c].owner, 4);
    EXPECT_EQ(count_played(SOUND_JOINT), 5);
    EXPECT_EQ(count_played(SOUND_GM_END), 1);
    EXPECT_FALSE(std::filesystem::exists(saved)) << "the saved game is used up";
    EXPECT_EQ(picture_faults(g, kC, {0, 1, 2, 3, 4, 5}), 0);
    EXPECT_EQ(g.cut_count, 6);
}

TEST_F(JointMergeTest, AMissDoesNothingAndAPuzzleNeverSavedDeletesNothing) {
    Jig& g = cut_game(240, 160, 2, false);
    ASSERT_EQ(g.item_count, 2);
    const std::string other = std::filesystem::temp_directory_path() / "zelto-moves-other.zlt";
    std::ofstream(other) << "x";
    lay_id(g, 0, kC);
    drop_at(g, 1, {kC.x + 40, kC.y});
    game_saved = 1;
    EXPECT_TRUE(drop_join(g).empty());
    EXPECT_EQ(g.item_count, 2);
    EXPECT_EQ(game_saved, 1);
    EXPECT_EQ(count_played(SOUND_JOINT), 0);
    drop_at(g, 1, kC);
    EXPECT_FALSE(drop_join(g).empty());
    EXPECT_EQ(g.item_count, 1);
    EXPECT_EQ(game_saved, 0);
    EXPECT_EQ(count_played(SOUND_GM_END), 1);
    EXPECT_TRUE(std::filesystem::exists(other));
    std::filesystem::remove(other);
}

TEST_F(JointMergeTest, OnThePresenterTheMergedGroupIsShownAndTheDroppedSlotFreed) {
    Jig& g = cut_game(240, 160, 6, true);
    for (int32_t id = 0; id < 6; ++id) lay_id(g, id, {650, 480});  // out of the window's way
    lay_id(g, 2, kC);
    drop_at(g, 5, kC);
    const int32_t live_before = DDBase::live_surfaces();
    ASSERT_EQ(g.joint_check(), 2);
    g.joint(2);
    EXPECT_EQ(presenter->surfaces[5], nullptr);
    EXPECT_NE(presenter->surfaces[2], nullptr);
    EXPECT_EQ(DDBase::live_surfaces(), live_before - 1);
    EXPECT_EQ(g.items[index_of(g, 2)].piece->view, nullptr);
    // The window shows the picture of cells 2 and 5 at the target's place.
    ws::paint_at_once(game_window, nullptr);
    MemDC& client = *ws::client_surface(game_window);
    int32_t bad = 0;
    for (const int32_t cell : {2, 5})
        for (int32_t y = 0; y < 20; ++y)
            for (int32_t x = 0; x < 20; ++x) {
                const int32_t px = (cell % 3) * 80 + 30 + x, py = (cell / 3) * 80 + 30 + y;
                bad += (at(client, kC.x - 120 + px, kC.y - 80 + py) & kWhite) != (at(*g.picture, px, py) & kWhite);
            }
    EXPECT_EQ(bad, 0);
}

TEST_F(JointMergeTest, ADropWithTheMouseJoinsAndRepaints) {
    Jig& g = cut_game(240, 160, 6, false);
    for (int32_t id = 0; id < 6; ++id) lay_id(g, id, {650, 480});
    lay_id(g, 3, kC);
    drop_at(g, 0, {160, 120});  // far from its place, on top
    draw_desk(g);
    const Piece& p = *g.items[g.item_count - 1].piece;
    const Point grab{p.cx, p.cy};
    press(grab);
    ASSERT_EQ(g.holding, 1);
    ASSERT_EQ(g.items[g.item_count - 1].id, 0);
    // The reference point moves with the piece: 4 right of and 3 above the target's in the end.
    const Point end{grab.x + kC.x + 4 - 160, grab.y + kC.y - 3 - 120};
    drag({grab.x + 100, grab.y + 50});
    drag(end);
    wait(500);
    release(end);
    EXPECT_EQ(g.item_count, 5);
    EXPECT_EQ(index_of(g, 0), -1);
    EXPECT_EQ(picture_faults(g, kC, {0, 3}), 0);
    EXPECT_EQ(desk_faults(g), 0);
    EXPECT_EQ(count_played(SOUND_JOINT), 1);
}

}  // namespace
}  // namespace movestest
