// Joining on games cut from a picture: which drops fit (distance, angle, side, neighbours, trays, the lowest
// target first), the merged group's place, depth and pixels on both paths, and the completed puzzle.
#include <filesystem>
#include <fstream>

#include "desk/state.h"
#include "pieces/desk.h"
#include "play/state.h"
#include "support/desk_script.h"
#include "support/temp_dir.h"

namespace {

using namespace testsupport;

constexpr Point kC{300, 200};  // where the picture's centre lies for pieces laid at their true places

// Lays group `id` at `degrees` so that the picture's centre would lie at c if it sat at its true place.
void lay(Jig& g, int32_t id, Point c, double degrees = 0) {
    Item& it = g.items[DeskWindow::index_of(g, id)];
    Piece& p = *it.piece;
    const Point r = rotate_point(it.join_dx, -it.join_dy, degrees * kPi / 180);
    p.cx = c.x - r.x;
    p.cy = c.y + r.y;
    p.set_angle(degrees * kPi / 180);
    upload_view(it);
}
// Lays group `id` and makes it the dropped (top) one; the desk as the player left it.
void drop_at(Jig& g, int32_t id, Point c, double degrees = 0) {
    lay(g, id, c, degrees);
    DeskWindow::to_top(g, id);
    if (!desk.presenter) DeskWindow::draw_desk(g);
}
// A cols x rows game of 80-pixel cells, every piece cut (and handed to the presenter if asked); current.
Jig& cut_game(int32_t n = 6, bool with_presenter = false) { return DeskWindow::cut_laid_game(240, 160, n, with_presenter); }

class Joint : public DeskWindow {
protected:
    void SetUp() override {
        DeskWindow::SetUp();
        settings.kaiten = KAITEN_NONE;  // cut upright
        settings.hanten = false;        // and face up
    }
    // Window or desk pixels that do not show the picture at its place (centre at c, upright), over the middle
    // 20 x 20 of each of the given cells.
    static int32_t picture_faults(Jig& g, Point c, std::initializer_list<int32_t> cells, bool window = false) {
        if (window) ws::paint_at_once(play.game_window, nullptr);
        const MemDC& shown = window ? *ws::client_surface(play.game_window) : *desk.desk_image;
        int32_t bad = 0;
        for (int32_t cell : cells)
            for (int32_t y = 0; y < 20; ++y)
                for (int32_t x = 0; x < 20; ++x) {
                    const int32_t px = (cell % g.cols) * 80 + 30 + x, py = (cell / g.cols) * 80 + 30 + y;
                    bad += (at(shown, c.x - g.pic_w / 2 + px, c.y - g.pic_h / 2 + py) & kWhite) !=
                           (at(*g.picture, px, py) & kWhite);
                }
        return bad;
    }
};

// data/fits.txt: how near in place and angle a dropped piece must lie to join its neighbour.
TEST_F(Joint, AFitIsWithinNinePixelsAndTenDegrees) {
    Jig& g = cut_game();
    ASSERT_EQ((std::vector{g.cols, g.rows}), (std::vector{3, 2}));
    for (const Fields& c : read_cases("play/data/fits.txt")) {
        SCOPED_TRACE(joined(c));
        lay(g, 3, kC, std::stod(c[2]));
        drop_at(g, 0, {kC.x + std::stoi(c[0]), kC.y + std::stoi(c[1])}, std::stod(c[3]));
        EXPECT_EQ(g.joint_check(), c[4] == "1" ? 3 : -1);
    }
    EXPECT_EQ(g.item_count, 6) << "the test alone changes nothing";
}

// data/joints.txt: which neighbours fit (edges, sides, trays, the lowest first).
class JointScripts : public ScriptedDesk {
protected:
    bool act_more(const std::string& op, const Values& n) override {
        const auto id = [&] { return int32_t(n[0]); };
        const Point c = n.size() >= 3 ? Point{int32_t(n[1]), int32_t(n[2])} : Point{};
        if (op == "cut") cut_game(int32_t(n[0]));
        else if (op == "lay") lay(g(), id(), c, n.size() > 3 ? n[3] : 0);
        else if (op == "drop") drop_at(g(), id(), c, n.size() > 3 ? n[3] : 0);
        else if (op == "top") to_top(g(), id());
        else if (op == "intray") g().items[index_of(g(), id())].hidden = int32_t(n[1]);
        else if (op == "join") g().joint(id());
        else if (op == "flip") to_top(g(), id()), g().holding = 1, g().hanten(), g().holding = 0;
        else return false;
        return true;
    }
    bool probe_more(const std::string& what, const Values&, Values& v) override {
        if (what == "fit") v = {double(g().joint_check())};
        return what == "fit";
    }
};
TEST_P(JointScripts, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Joint, JointScripts, ::testing::ValuesIn(read_scripts("play/data/joints.txt")), ScriptedDesk::name);

// The merged group takes the target's place in the picture, its angle and its depth; cells change owner.
TEST_F(Joint, TheMergedGroupLiesWhereTheTargetSaysAtItsDepth) {
    Jig& g = cut_game();
    for (const int32_t id : {3, 0, 4, 5, 2, 1}) to_top(g, id);
    for (const int32_t id : {3, 4, 5, 2}) lay(g, id, {600, 450});
    lay(g, 0, kC, 90);
    drop_at(g, 1, {kC.x + 6, kC.y - 7}, 98);
    ASSERT_EQ(g.joint_check(), 0);
    const Rect r = g.joint(0);
    EXPECT_EQ((std::vector{g.item_count, g.items[0].id, g.items[1].id, g.items[4].id, g.items[1].merged}),
              (std::vector{5, 3, 0, 2, 1}));
    EXPECT_EQ(g.items[5].piece, nullptr);
    EXPECT_EQ((std::vector{g.cells[0].owner, g.cells[1].owner, g.cells[2].owner}), (std::vector{0, 0, 2}));
    const Piece& p = *g.items[1].piece;
    EXPECT_DOUBLE_EQ(p.angle, kPi / 2);
    const Point ref = rotate_point(g.items[1].join_dx, -g.items[1].join_dy, p.angle);
    EXPECT_NEAR(p.cx + ref.x, kC.x, 1);
    EXPECT_NEAR(p.cy - ref.y, kC.y, 1);
    EXPECT_EQ(desk_faults(g), 0);
    EXPECT_TRUE(r.left <= p.rect.left && r.right >= p.rect.right && r.top <= p.rect.top && r.bottom >= p.rect.bottom);
}

// Joins made with the mouse on both paths: the picture shows at the target's place, the dropped slot is freed.
TEST_F(Joint, ADropWithTheMouseJoinsAndShowsThePicture) {
    for (const bool with_presenter : {false, true}) {
        Jig& g = cut_game(6, with_presenter);
        for (int32_t id = 0; id < 6; ++id) lay(g, id, {650, 480});
        lay(g, 3, kC);
        drop_at(g, 0, {160, 120});
        const int32_t live_before = DDBase::live_surfaces();
        const Piece& p = *g.items[g.item_count - 1].piece;
        const Point grab{p.cx, p.cy}, end{grab.x + kC.x + 4 - 160, grab.y + kC.y - 3 - 120};
        play.game_saved = 1;
        slow_drag(grab, end);
        EXPECT_EQ((std::vector{g.item_count, index_of(g, 0), play.game_saved}), (std::vector{5, -1, 0}));
        EXPECT_EQ(picture_faults(g, kC, {0, 3}, true), 0) << "presenter " << with_presenter;
        if (with_presenter) {
            EXPECT_EQ(desk.presenter->surfaces[0], nullptr);
            EXPECT_NE(desk.presenter->surfaces[3], nullptr);
            EXPECT_EQ(DDBase::live_surfaces(), live_before - 1);
            EXPECT_EQ(g.items[index_of(g, 3)].piece->view, nullptr);
            delete desk.presenter;
            desk.presenter = nullptr;
        } else {
            EXPECT_EQ(desk_faults(g), 0);
            EXPECT_EQ(picture_faults(g, kC, {0, 3}), 0);
        }
    }
    EXPECT_EQ(count_played(SOUND_JOINT), 2);
}

// The last join completes the puzzle: the completion sound, the saved game it came from used up, the clock
// stopped; play goes on without joins. A miss changes nothing; a puzzle never saved deletes no file.
TEST_F(Joint, TheLastJoinCompletesThePuzzleAndStopsTheClock) {
    TempDir dir;
    const std::string saved = dir.file("joint.zlt"), other = dir.file("other.zlt");
    std::ofstream(saved) << "x";
    std::ofstream(other) << "x";
    Jig& g = cut_game();
    g.windowtitle(TITLE_START);
    play.save_path = saved;
    for (int32_t id = 0; id < 6; ++id) lay(g, id, {500 - 40 * id, 400});
    lay(g, 4, kC);
    drop_at(g, 1, {kC.x + 40, kC.y});
    play.game_saved = 1;
    EXPECT_TRUE(drop_join(g).empty());
    EXPECT_EQ((std::vector{g.item_count, play.game_saved, count_played(SOUND_JOINT)}), (std::vector{6, 1, 0}));
    for (const int32_t id : {1, 3, 5, 0, 2}) {
        drop_at(g, id, kC);
        EXPECT_FALSE(drop_join(g).empty()) << id;
        EXPECT_EQ(desk_faults(g), 0) << id;
        wait(1000);
    }
    ASSERT_EQ(g.item_count, 1);
    for (int32_t c = 0; c < 6; ++c) EXPECT_EQ(g.cells[c].owner, 4);
    EXPECT_EQ((std::vector{count_played(SOUND_JOINT), count_played(SOUND_GM_END), g.items[0].id}),
              (std::vector{5, 1, 4}));
    EXPECT_FALSE(std::filesystem::exists(saved)) << "the saved game is used up";
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_EQ(picture_faults(g, kC, {0, 1, 2, 3, 4, 5}), 0);
    const int32_t seconds = display.play_seconds;
    EXPECT_EQ(seconds, 5);
    const Piece& p = *g.items[0].piece;
    slow_drag({p.cx, p.cy}, {p.cx - 30, p.cy - 20});
    wait(5000);
    EXPECT_EQ((std::vector{g.item_count, count_played(SOUND_JOINT), count_played(SOUND_GM_END), display.play_seconds}),
              (std::vector{1, 5, 1, seconds}));
    EXPECT_NE(ws::get_window_text(play.main_window).find("残り0ﾋﾟｰｽ"), std::string::npos);
}

}  // namespace
