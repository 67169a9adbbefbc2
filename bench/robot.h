// A robot player for the play benchmark: it solves the game in play through mouse input on the game window only
// (presses, moves and releases in the window layer's test mode), planning each action from the game state.
//
// Its plan: a group is "placed" when it lies face up, upright, with its reference point (where the picture's centre
// would be) on one chosen window point. First it carries every group lying where the finished picture will lie out
// of the way, so that no group is ever buried under placed ones. Then it takes the top-most group that is not placed
// and can be pressed, turns it face up with a middle click, upright with left clicks, then drags it so that its
// reference point lands on the chosen point, where it joins any placed neighbour. Two placed neighbours left apart
// are joined by picking one up and dropping it again. Nothing here is needed by the game itself.
#pragma once
#include <algorithm>
#include <cmath>
#include <ctime>
#include <cstdint>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "desk/state.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "play/play.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "ws/ws.h"

namespace robot {

// Processor time of the calling thread, in seconds (time spent waiting for the processor is not counted, so a
// busy machine does not inflate the figures).
inline double thread_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Stats {
    int32_t middle_clicks = 0;
    int32_t left_clicks = 0;
    int32_t drags = 0;
    int32_t cleared = 0;               // drags that carried a group out of the finished picture's place
    int32_t joins = 0;
    std::vector<double> join_seconds;  // processor time of each release that joined, until it was handled
    std::vector<int32_t> join_left;    // the groups left before each of those releases
    std::vector<double> move_seconds;  // processor time of each move of a held group, until it was handled
};

class Robot {
public:
    // centre: the window point where the finished picture's centre is to lie; stride: the longest move of a drag.
    explicit Robot(Point centre, int32_t stride = 40) : centre_(centre), stride_(stride) {}

    // Acts until one group is left; false (with why()) when it gets stuck or exceeds max_actions.
    bool solve(int32_t max_actions) {
        Jig* g = display.current_game;
        if (!g) return fail("no game");
        const int32_t margin = std::max(g->pic_w / std::max(g->cols, 1), g->pic_h / std::max(g->rows, 1));
        target_ = {centre_.x - g->pic_w / 2 - margin, centre_.y - g->pic_h / 2 - margin,
                   centre_.x + (g->pic_w + 1) / 2 + margin, centre_.y + (g->pic_h + 1) / 2 + margin};
        for (int32_t n = 0; n < max_actions; ++n) {
            g = display.current_game;
            if (!g) return fail("no game");
            if (g->item_count <= 1) return true;
            if (!clear_target(*g) && !step(*g)) return false;
        }
        return fail("too many actions");
    }
    const Stats& stats() const { return stats_; }
    const std::string& why() const { return why_; }

private:
    static constexpr double kTwoPi = 2 * std::numbers::pi;

    static double degrees(const Piece& p) {
        double d = std::fmod(p.angle * 180 / std::numbers::pi, 360.0);
        return d < 0 ? d + 360 : d;
    }
    static bool upright(const Piece& p) {
        const double d = degrees(p);
        return d < 1 || d > 359;
    }
    static Point reference(const Item& it) {
        const Point r = rotate_point(it.join_dx, -it.join_dy, std::fmod(it.piece->angle, kTwoPi));
        return {it.piece->cx + r.x, it.piece->cy - r.y};
    }
    Point centre_on_desk() const { return {centre_.x + desk.view_x, centre_.y + desk.view_y}; }
    bool placed(const Item& it) const {
        if (it.piece->turned != 0 || !upright(*it.piece)) return false;
        const Point r = reference(it), c = centre_on_desk();
        return std::abs(r.x - c.x) <= 1 && std::abs(r.y - c.y) <= 1;
    }
    Rect safe_area() const {
        const Rect client = ws::get_client_rect(display.game_window);
        return {kScrollMargin + 2, kScrollMargin + 2, client.right - kScrollMargin - 2,
                client.bottom - kScrollMargin - 2};
    }

    // A window point where a press picks up item i: on its shape, under no shown item above it, away from the
    // window's scrolling edges. Points nearest the piece's centre come first.
    bool press_point(Jig& g, int32_t i, Point& out) const {
        const Piece& p = *g.items[i].piece;
        const Rect safe = safe_area();
        Rect r = p.rect;
        offset_rect(r, -desk.view_x, -desk.view_y);
        r = intersect_rect(r, safe);
        if (r.empty()) return false;
        const int32_t cx = std::clamp(p.cx - desk.view_x, r.left, r.right - 1);
        const int32_t cy = std::clamp(p.cy - desk.view_y, r.top, r.bottom - 1);
        const int32_t reach = std::max(r.width(), r.height());
        for (int32_t d = 0; d <= reach; d += 2)
            for (int32_t y = cy - d; y <= cy + d; y += 2)
                for (int32_t x = cx - d; x <= cx + d; x += 2) {
                    if (std::max(std::abs(x - cx), std::abs(y - cy)) != d) continue;  // the ring at distance d
                    if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) continue;
                    if (on_top(g, i, x + desk.view_x, y + desk.view_y)) {
                        out = {x, y};
                        return true;
                    }
                }
        return false;
    }
    static bool on_top(Jig& g, int32_t i, int32_t x, int32_t y) { return g.top_item_at(x, y) == i; }

    // ---- acting: mouse input only ----
    static void mouse(uint32_t msg, Point p) {
        ws::test::mouse(msg, ws::client_to_screen(display.game_window, p));
        ws::test::pump();
    }
    void click(Point p, uint32_t down, uint32_t up) {
        mouse(down, p);
        ws::test::advance(50);
        mouse(up, p);
        ws::test::advance(50);
    }
    // Press at p, move to q in steps of at most stride_ pixels (first away by more than the click distance, so the
    // release is never taken for a click), wait past the click time, release.
    void drag(Point p, Point q) {
        const int32_t before = display.current_game->item_count;
        mouse(ws::WM_LBUTTONDOWN, p);
        const Rect safe = safe_area();
        const Point away{p.x + (p.x < (safe.left + safe.right) / 2 ? 12 : -12), p.y};
        mouse(ws::WM_MOUSEMOVE, away);
        const int32_t steps = std::max(std::abs(q.x - away.x), std::abs(q.y - away.y)) / stride_ + 1;
        for (int32_t k = 1; k <= steps; ++k) {
            const double start = thread_seconds();
            mouse(ws::WM_MOUSEMOVE, {away.x + (q.x - away.x) * k / steps, away.y + (q.y - away.y) * k / steps});
            stats_.move_seconds.push_back(thread_seconds() - start);
        }
        ws::test::advance(uint32_t(settings.click_time) + 50);
        const double release = thread_seconds();
        mouse(ws::WM_LBUTTONUP, q);
        const double done = thread_seconds();
        ++stats_.drags;
        rejoin_due_ = true;
        if (display.current_game && display.current_game->item_count < before) {
            ++stats_.joins;
            stats_.join_seconds.push_back(done - release);
            stats_.join_left.push_back(before);
        }
    }
    // Moves item i so that its reference point lands on the chosen point.
    void bring_home(const Jig& g, int32_t i, Point at) {
        const Point r = reference(g.items[i]), c = centre_on_desk();
        drag(at, {at.x + c.x - r.x, at.y + c.y - r.y});
    }

    // Two placed groups that are neighbours but apart: drop the upper one again. True when one was found. Only a
    // drop can leave such a pair, so the cells are looked over once after each.
    bool rejoin_placed(Jig& g) {
        if (!rejoin_due_) return false;
        std::vector<int8_t> known(size_t(g.item_count), -1);  // per item: placed or not, worked out once
        const auto is_placed = [&](int32_t i) {
            if (known[size_t(i)] < 0) known[size_t(i)] = placed(g.items[i]) ? 1 : 0;
            return known[size_t(i)] == 1;
        };
        const int32_t cells = g.cols * g.rows;
        for (int32_t c = 0; c < cells; ++c) {
            const int32_t col = c % g.cols;
            const int32_t next[2] = {col + 1 < g.cols ? c + 1 : -1, c + g.cols < cells ? c + g.cols : -1};
            for (const int32_t n : next) {
                if (n < 0 || g.cells[c].owner == g.cells[n].owner) continue;
                const int32_t a = g.item_of(g.cells[c].owner), b = g.item_of(g.cells[n].owner);
                if (a < 0 || b < 0 || !is_placed(a) || !is_placed(b)) continue;
                for (const int32_t i : {std::max(a, b), std::min(a, b)}) {
                    Point p;
                    if (press_point(g, i, p)) {
                        bring_home(g, i, p);
                        return true;
                    }
                }
            }
        }
        rejoin_due_ = false;
        return false;
    }

    // Carries the top-most group not placed that lies on the finished picture's place to a spot beside it. False
    // when none lies there.
    bool clear_target(Jig& g) {
        if (target_clear_) return false;
        for (int32_t i = g.item_count - 1; i >= 0; --i) {
            const Item& it = g.items[i];
            Rect r = it.piece->rect;
            offset_rect(r, -desk.view_x, -desk.view_y);
            if (it.hidden == 1 || placed(it) || intersect_rect(r, target_).empty()) continue;
            Point p;
            if (!press_point(g, i, p)) continue;
            const Point spot = spot_beside_target(r.width(), r.height());
            drag(p, {p.x + spot.x - (r.left + r.right) / 2, p.y + spot.y - (r.top + r.bottom) / 2});
            ++stats_.cleared;
            return true;
        }
        target_clear_ = true;
        return false;
    }
    // A window point where a w x h rectangle centred on it lies on the desk inside the safe area, wholly beside
    // the target.
    Point spot_beside_target(int32_t w, int32_t h) {
        const Rect safe = intersect_rect(
            safe_area(), {-desk.view_x, -desk.view_y, desk.desk_width - desk.view_x, desk.desk_height - desk.view_y});
        for (int32_t tries = 0; tries < 100000; ++tries) {
            const int32_t x = safe.left + w / 2 + int32_t(spots_() % uint32_t(std::max(safe.width() - w, 1)));
            const int32_t y = safe.top + h / 2 + int32_t(spots_() % uint32_t(std::max(safe.height() - h, 1)));
            const Rect r{x - w / 2 - 1, y - h / 2 - 1, x + w / 2 + 2, y + h / 2 + 2};
            if (intersect_rect(r, target_).empty()) return {x, y};
        }
        return {safe.left + w / 2, safe.top + h / 2};  // no room beside it: the corner, whatever lies there
    }

    bool step(Jig& g) {
        if (rejoin_placed(g)) return true;
        for (int32_t i = g.item_count - 1; i >= 0; --i) {
            const Item& it = g.items[i];
            if (it.hidden == 1 || placed(it)) continue;
            Point p;
            if (!press_point(g, i, p)) continue;
            if (it.piece->turned) {
                click(p, ws::WM_MBUTTONDOWN, ws::WM_MBUTTONUP);
                ++stats_.middle_clicks;
            } else if (!upright(*it.piece)) {
                click(p, ws::WM_LBUTTONDOWN, ws::WM_LBUTTONUP);
                ++stats_.left_clicks;
            } else {
                bring_home(g, i, p);
            }
            return true;
        }
        return fail("no group left that can be pressed");
    }

    bool fail(const std::string& why) {
        why_ = why;
        return false;
    }

    Point centre_;
    int32_t stride_;
    Rect target_;               // the finished picture's place on the window, a cell wider all round
    bool target_clear_ = false;
    bool rejoin_due_ = false;   // a drop since the cells were last looked over for placed neighbours apart
    std::mt19937 spots_{20261209};
    Stats stats_;
    std::string why_;
};

}  // namespace robot
