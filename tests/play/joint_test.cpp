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

// Lays group `id` and makes it the dropped (top) one; the desk as the player left it.
void drop_at(Jig& g, int32_t id, Point c, double degrees = 0) {
    DeskWindow::lay(g, id, c, degrees);
    DeskWindow::to_top(g, id);
    if (!desk.presenter) DeskWindow::draw_desk(g);
}
// A cols x rows game of 80-pixel cells, every piece cut; the current game.
Jig& cut_game(int32_t n = 6) { return DeskWindow::cut_laid_game(240, 160, n, false); }

// Window or desk pixels that do not show the picture at its place (centre at c, upright), over the middle 20 x 20
// of each of the given cells.
int32_t picture_faults(Jig& g, Point c, const std::vector<int32_t>& cells, bool window = false) {
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

class Joint : public DeskWindow {
protected:
    void SetUp() override {
        DeskWindow::SetUp();
        settings.kaiten = KAITEN_NONE;  // cut upright
        settings.hanten = false;        // and face up
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
        else if (op == "join") joined_ = g().joint(id());
        else if (op == "dropjoin") joined_ = drop_join(g());
        else if (op == "start") g().windowtitle(TITLE_START);
        else if (op == "files") {  // the saved game this one came from, and another
            std::ofstream(dir_.file("joint.zlt")) << "x";
            std::ofstream(dir_.file("other.zlt")) << "x";
            play.save_path = dir_.file("joint.zlt");
        }
        else if (op == "mark") live_ = DDBase::live_surfaces();
        else if (op == "slide") {  // a slow drag of the top group by (dx, dy)
            const Piece& p = *g().items[g().item_count - 1].piece;
            slow_drag({p.cx, p.cy}, {p.cx + int32_t(n[0]), p.cy + int32_t(n[1])});
        }
        else if (op == "flip") to_top(g(), id()), g().holding = 1, g().hanten(), g().holding = 0;
        else return false;
        return true;
    }
    bool probe_more(const std::string& what, const Values& a, Values& v) override {
        const auto item = [&]() -> Item& { return g().items[index_of(g(), int32_t(a[0]))]; };
        std::vector<int32_t> cells;
        for (double c : a) cells.push_back(int32_t(c));
        if (what == "fit") v = {double(g().joint_check())};
        else if (what == "count") v = {double(g().item_count)};
        else if (what == "index") v = {double(index_of(g(), int32_t(a[0])))};
        else if (what == "owners") for (int32_t c = 0; c < g().cols * g().rows; ++c) v.push_back(g().cells[c].owner);
        else if (what == "centre") {  // where the picture's centre lies by group a[0]
            const Point r = rotate_point(item().join_dx, -item().join_dy, item().piece->angle);
            v = {double(item().piece->cx + r.x), double(item().piece->cy - r.y)};
        } else if (what == "covers") v = {double(intersect_rect(joined_, item().piece->rect) == item().piece->rect)};
        else if (what == "picture" || what == "window_picture")
            v = {double(picture_faults(g(), kC, cells, what == "window_picture"))};
        else if (what == "surface") v = {double(desk.presenter->surfaces[int32_t(a[0])] != nullptr)};
        else if (what == "live") v = {double(DDBase::live_surfaces() - live_)};
        else if (what == "has_view") v = {double(item().piece->view != nullptr)};
        else if (what == "seconds") v = {double(display.play_seconds)};
        else if (what == "files")
            for (const char* name : {"joint.zlt", "other.zlt"}) v.push_back(std::filesystem::exists(dir_.file(name)));
        else return false;
        return true;
    }
    Rect joined_;
    int32_t live_ = 0;
    TempDir dir_;
};
TEST_P(JointScripts, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Joint, JointScripts, ::testing::ValuesIn(read_scripts("play/data/joints.txt")), ScriptedDesk::name);

}  // namespace
