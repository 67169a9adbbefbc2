// Play with the mouse on pieces laid by hand, as the scripts of data/moves.txt (the click rule and its quarter
// turns, turning over, picking up, dragging plain, turning, at the margins, the Ctrl sweep, into a tray, the desk
// drag, ranges and the jump to unseen groups), and joining on games cut from a picture, as those of
// data/joints.txt (which drops fit, the merged group's place, depth and pixels on both paths, the completed puzzle
// and the whole desk of a larger game).
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>

#include "desk/state.h"
#include "pieces/desk.h"
#include "play/state.h"
#include "puzzle/settings.h"
#include "support/desk_script.h"
#include "support/temp_dir.h"

namespace {

using namespace testsupport;

constexpr Point kC{300, 200};  // where the picture's centre lies for pieces laid at their true places

// data/joints.txt: which neighbours fit (edges, sides, trays, the lowest first).
class PlayScripts : public ScriptedDesk {
protected:
    // Index of the live item with this group id, or -1.
    static int32_t index_of(int32_t id) {
        for (int32_t k = 0; k < g().item_count; ++k)
            if (g().items[k].id == id) return k;
        return -1;
    }
    Item& group(const Args& a, size_t k = 0) const { return g().items[index_of(i(a, k))]; }
    // ID X Y [DEG]: group id laid at DEG so that the picture's centre would lie at x y if it sat at its true place.
    void lay(const Args& a) const {
        const double turn = (a.size() > 3 ? value(a[3]) : 0) * kPi / 180;
        Item& it = group(a);
        const Point r = rotate_point(it.join_dx, -it.join_dy, turn);
        it.piece->cx = i(a, 1) - r.x;
        it.piece->cy = i(a, 2) + r.y;
        it.piece->set_angle(turn, settings_shading());
        upload_view(it);
    }
    // Moves group a[0] to the top of the display list, as a pick-up does.
    void to_top(const Args& a) const {
        const int32_t k = index_of(i(a, 0));
        std::rotate(g().items.begin() + k, g().items.begin() + k + 1, g().items.begin() + g().item_count);
    }
    // Window or desk pixels that do not show the picture at its place (centre at kC, upright), over the middle
    // 20 x 20 of each of the cells a[...].
    std::string picture_faults(const Args& a, bool window) const {
        if (window) ws::paint_at_once(display.game_window, nullptr);
        const MemDC& shown = window ? *ws::client_surface(display.game_window) : *desk.desk_image;
        int32_t bad = 0;
        for (size_t k = 0; k < a.size(); ++k)
            for (int32_t y = 0; y < 20; ++y)
                for (int32_t x = 0; x < 20; ++x) {
                    const int32_t px = (i(a, k) % g().cols) * 80 + 30 + x, py = (i(a, k) / g().cols) * 80 + 30 + y;
                    bad += (at(shown, kC.x - g().pic_w / 2 + px, kC.y - g().pic_h / 2 + py) & kWhite) !=
                           (at(*g().picture, px, py) & kWhite);
                }
        return n(bad);
    }
    Rect joined_;
    int32_t live_ = 0;
    TempDir dir_;

public:
    PlayScripts() {
        actions_.insert({
            {"cut", [this](const Args& a) {  // N [W H [presenter]]: every piece cut onto the desk
                delete display.current_game;
                display.current_game = laid_game(a.size() > 1 ? i(a, 1) : 240, a.size() > 1 ? i(a, 2) : 160, i(a, 0));
                if (a.size() > 3) new_presenter(g().item_count);
                while (g().cut_count < g().item_count) g().cut(kClientW, kClientH);
                g().free_dc();
            }},
            {"side", [this](const Args& a) {  // group a[0] turned over unless on group a[1]'s side
                Piece& p = *group(a).piece;
                if (p.turned != group(a, 1).piece->turned) p.turn_over(settings_shading());
            }},
            {"lay", [this](const Args& a) { lay(a); }},
            {"drop", [this](const Args& a) {  // laid, made the top one; the desk as the player left it
                lay(a);
                to_top(a);
                if (!desk.presenter) draw_desk(g());
            }},
            {"top", [this](const Args& a) { to_top(a); }},
            {"intray", [this](const Args& a) { group(a).hidden = i(a, 1); }},
            {"join", [this](const Args& a) { joined_ = joint(g(), i(a, 0)); }},
            {"dropjoin", [this](const Args&) { joined_ = drop_join(g()); }},
            {"start", [](const Args&) { windowtitle(g(), TITLE_START); }},
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
            {"flip", [this](const Args& a) { to_top(a), g().holding = 1, hanten(g()), g().holding = 0; }},
        });
        probes_.insert({
            {"fit", [](const Args&) { return n(joint_check(g())); }},
            {"count", [](const Args&) { return n(g().item_count); }},
            {"index", [this](const Args& a) { return n(index_of(i(a, 0))); }},
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
            {"picture", [this](const Args& a) { return picture_faults(a, false); }},
            {"window_picture", [this](const Args& a) { return picture_faults(a, true); }},
            {"surface", [this](const Args& a) { return n(desk.presenter->surfaces[i(a, 0)] != nullptr); }},
            {"live", [this](const Args&) { return n(DDBase::live_surfaces() - live_); }},
            {"has_view", [this](const Args& a) { return n(group(a).piece->view != nullptr); }},
            {"has_image", [this](const Args& a) { return n(group(a).piece->image != nullptr); }},
            {"seconds", [](const Args&) { return n(display.play_seconds); }},
            {"fingerprint", [](const Args&) {  // FNV-1a over every word of the desk, or the presenter's background
                const MemDC& s = desk.presenter ? *desk.presenter->back : *desk.desk_image;
                return std::to_string(frame_hash(s.width(), s.height(), [&](int32_t x, int32_t y) {
                    return s.words()[size_t(y) * size_t(s.width()) + size_t(x)];
                }));
            }},
            {"files", [this](const Args&) {
                return n(std::filesystem::exists(dir_.file("joint.zlt"))) + " " +
                       n(std::filesystem::exists(dir_.file("other.zlt")));
            }},
        });
    }
};
TEST_P(PlayScripts, Run) { run(); }

// The join test looks only at the groups along the dropped one's border; a scan of every item and every cell
// must find the same group on random desks: groups laid at their true place or a little off it, upright or at a
// quarter turn, on either side, some in trays, in a shuffled display order, growing as the found ones join.
class JoinAgainstScan : public PlayScripts {
protected:
    struct Laid {
        bool home = false;  // its picture's centre where the top group's is
        double turn = 0;
    };
    std::map<int32_t, Laid> laid_;
    std::mt19937 random_{20261209};
    int32_t pick(int32_t n) { return int32_t(random_() % uint32_t(n)); }

    void lay_all() {
        laid_.clear();
        for (int32_t k = 0; k < g().item_count; ++k) {
            Item& it = g().items[k];
            const Laid l{pick(2) == 0, pick(4) == 0 ? kPi / 2 : 0.0};
            laid_[it.id] = l;
            const int32_t off = l.home ? 0 : 12 + pick(30);
            if (pick(6) == 0) it.piece->turn_over(settings_shading());
            lay({n(it.id), n(kC.x + off), n(kC.y - off / 2), n(l.turn * 180 / kPi)});
            it.hidden = pick(8) == 0;
        }
        for (int32_t r = pick(2 * g().item_count); r > 0; --r) to_top({n(g().items[pick(g().item_count)].id)});
        // The dropped group lies where the others aim.
        const int32_t top = g().items[g().item_count - 1].id;
        laid_[top].home = true;
        lay({n(top), n(kC.x), n(kC.y), n(laid_[top].turn * 180 / kPi)});
    }

    int32_t scanned_fit() {
        const Item& t = g().items[g().item_count - 1];
        std::set<int32_t> near;
        for (int32_t c = 0; c < g().cols * g().rows; ++c) {
            if (g().cells[c].owner != t.id) continue;
            const int32_t col = c % g().cols, row = c / g().cols;
            for (const int32_t o : {g().left_owner(col, row), g().top_owner(col, row), g().right_owner(col, row),
                                    g().bottom_owner(col, row)})
                if (o >= 0 && o != t.id) near.insert(o);
        }
        for (int32_t k = 0; k + 1 < g().item_count; ++k) {
            const Item& o = g().items[k];
            const Laid& l = laid_[o.id];
            if (o.hidden == 1 || !near.count(o.id) || o.piece->turned != t.piece->turned) continue;
            if (l.home && l.turn == laid_[t.id].turn) return o.id;
        }
        return -1;
    }
};

TEST_F(JoinAgainstScan, TheBorderAloneFindsWhatAScanOfEveryGroupFinds) {
    settings.kaiten = KAITEN_QUARTER;
    delete display.current_game;
    display.current_game = laid_game(480, 320, 24);  // 6 x 4 cells of 80 pixels
    while (g().cut_count < g().item_count) g().cut(kClientW, kClientH);
    int32_t found = 0, joins = 0;
    for (int32_t round = 0; round < 120 && g().item_count > 1; ++round) {
        lay_all();
        const int32_t expected = scanned_fit();
        ASSERT_EQ(joint_check(g()), expected) << "round " << round;
        found += expected >= 0;
        if (expected >= 0 && pick(2) == 0) {
            joint(g(), expected);
            ++joins;
        }
    }
    EXPECT_GT(found, 20);  // the desks were such that joins were there to find
    EXPECT_GT(joins, 8);
}
const auto name = PlayScripts::name;
INSTANTIATE_TEST_SUITE_P(Moves, PlayScripts, ::testing::ValuesIn(read_scripts("shell/data/moves.txt")), name);
INSTANTIATE_TEST_SUITE_P(Joint, PlayScripts, ::testing::ValuesIn(read_scripts("shell/data/joints.txt")), name);

}  // namespace
