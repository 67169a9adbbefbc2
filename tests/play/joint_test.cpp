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

// data/joints.txt: which neighbours fit (edges, sides, trays, the lowest first).
class JointScripts : public ScriptedDesk {
protected:
    Item& group(const Args& a) const { return g().items[index_of(g(), i(a, 0))]; }
    // ID X Y [DEG]: group id laid at x y.
    void lay_at(const Args& a) const { lay(g(), i(a, 0), pt(a, 1), a.size() > 3 ? value(a[3]) : 0); }
    Rect joined_;
    int32_t live_ = 0;
    TempDir dir_;

public:
    JointScripts() {
        actions_.insert({
            {"cut", [this](const Args& a) {  // N [W H [presenter]]
                cut_laid_game(a.size() > 1 ? i(a, 1) : 240, a.size() > 1 ? i(a, 2) : 160, i(a, 0), a.size() > 3);
            }},
            {"clock", [this](const Args& a) { ws::test::advance(uint32_t(i(a, 0)) - ws::tick_count()); }},
            {"side", [this](const Args& a) {  // group a[0] turned over unless on group a[1]'s side
                Piece& p = *group(a).piece;
                if (p.turned != g().items[index_of(g(), i(a, 1))].piece->turned) p.turn_over();
            }},
            {"lay", [this](const Args& a) { lay_at(a); }},
            {"drop", [this](const Args& a) {  // laid, made the top one; the desk as the player left it
                lay_at(a);
                to_top(g(), i(a, 0));
                if (!desk.presenter) draw_desk(g());
            }},
            {"top", [this](const Args& a) { to_top(g(), i(a, 0)); }},
            {"intray", [this](const Args& a) { group(a).hidden = i(a, 1); }},
            {"join", [this](const Args& a) { joined_ = g().joint(i(a, 0)); }},
            {"dropjoin", [this](const Args&) { joined_ = drop_join(g()); }},
            {"start", [](const Args&) { g().windowtitle(TITLE_START); }},
            {"files", [this](const Args&) {  // the saved game this one came from, and another
                std::ofstream(dir_.file("joint.zlt")) << "x";
                std::ofstream(dir_.file("other.zlt")) << "x";
                play.save_path = dir_.file("joint.zlt");
            }},
            {"mark", [this](const Args&) { live_ = DDBase::live_surfaces(); }},
            {"slide", [this](const Args& a) {  // a slow drag of the top group by (dx, dy), past the click time
                const Piece& p = *g().items[g().item_count - 1].piece;
                const Point from{p.cx, p.cy}, to{p.cx + i(a, 0), p.cy + i(a, 1)};
                input(ws::WM_LBUTTONDOWN, from);
                input(ws::WM_MOUSEMOVE, to);
                ws::test::advance(400);
                input(ws::WM_LBUTTONUP, to);
            }},
            {"flip", [this](const Args& a) { to_top(g(), i(a, 0)), g().holding = 1, g().hanten(), g().holding = 0; }},
        });
        probes_.insert({
            {"fit", [](const Args&) { return n(g().joint_check()); }},
            {"count", [](const Args&) { return n(g().item_count); }},
            {"index", [this](const Args& a) { return n(index_of(g(), i(a, 0))); }},
            {"owners", [](const Args&) {
                std::string out;
                for (int32_t c = 0; c < g().cols * g().rows; ++c) out += n(g().cells[c].owner) + " ";
                return out;
            }},
            {"centre", [this](const Args& a) {  // where the picture's centre lies by group a[0]
                const Point r = rotate_point(group(a).join_dx, -group(a).join_dy, group(a).piece->angle);
                return n(group(a).piece->cx + r.x) + " " + n(group(a).piece->cy - r.y);
            }},
            {"covers", [this](const Args& a) {
                return n(intersect_rect(joined_, group(a).piece->rect) == group(a).piece->rect);
            }},
            {"picture", [this](const Args& a) { return n(picture_faults(g(), kC, cells(a))); }},
            {"window_picture", [this](const Args& a) { return n(picture_faults(g(), kC, cells(a), true)); }},
            {"surface", [this](const Args& a) { return n(desk.presenter->surfaces[i(a, 0)] != nullptr); }},
            {"live", [this](const Args&) { return n(DDBase::live_surfaces() - live_); }},
            {"has_view", [this](const Args& a) { return n(group(a).piece->view != nullptr); }},
            {"seconds", [](const Args&) { return n(display.play_seconds); }},
            {"fingerprint", [](const Args&) {  // FNV-1a over every word of the desk, or the presenter's background
                const MemDC& s = desk.presenter ? *desk.presenter->back : *desk.desk_image;
                uint64_t h = 1469598103934665603ull;
                for (size_t k = 0; k < size_t(s.width()) * size_t(s.height()); ++k)
                    h = (h ^ s.words()[k]) * 1099511628211ull;
                return std::to_string(h);
            }},
            {"files", [this](const Args&) {
                return n(std::filesystem::exists(dir_.file("joint.zlt"))) + " " +
                       n(std::filesystem::exists(dir_.file("other.zlt")));
            }},
        });
    }
    std::vector<int32_t> cells(const Args& a) const {
        std::vector<int32_t> out;
        for (size_t k = 0; k < a.size(); ++k) out.push_back(i(a, k));
        return out;
    }
};
TEST_P(JointScripts, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Joint, JointScripts, ::testing::ValuesIn(read_scripts("play/data/joints.txt")),
                         ScriptedDesk::name);

}  // namespace
