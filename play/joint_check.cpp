// The join test and the merge: joint_check finds a true neighbour lying in the right place and orientation for
// the group just dropped, joint merges the two into one group, drop_join is the drop step that runs them.
//
// Terms: an item's reference point is the desk position where the centre of the whole picture would lie if the
// item sat at its true place in the picture, given its centre and angle. Two true neighbours lying together
// have (nearly) the same reference point.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "desk/display.h"
#include "graphics/hooks.h"
#include "graphics/paths.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "play/companions.h"
#include "play/play.h"
#include "play/sound.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"
#include "ws/cursor.h"
#include "ws/ddbase.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr int32_t kTolerancePixels = 10;  // strict: a difference must stay below it
constexpr double kToleranceDegrees = 10;

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("jig", event);
}

// The reference point of a piece lying at `angle` whose picture centre is (join_dx, join_dy) away. y is negated
// on the way in and out: the rotation works with y pointing up, the desk with y pointing down.
Point reference_point(const Piece& p, int32_t join_dx, int32_t join_dy, double angle) {
    const Point r = rotate_point(join_dx, -join_dy, angle);
    return {p.cx + r.x, p.cy - r.y};
}

Point reference_of(const Item& item) {
    return reference_point(*item.piece, item.join_dx, item.join_dy, std::fmod(item.piece->angle, kTwoPi));
}

// The angle in degrees, in [0, 360).
double degrees_of(const Piece& p) {
    double d = std::fmod(p.angle * 180 / std::numbers::pi, 360.0);
    if (d < 0) d += 360;
    return d;
}

}  // namespace

int32_t joint_check(Jig& jig) {
    trace("joint_check start\n");
    const int32_t n = jig.live_items();
    if (n < 2 || jig.cols < 1 || jig.rows < 1 || !jig.items[n - 1].piece) {
        trace("joint_check end (-1)\n");
        return -1;
    }
    const Item& t = jig.items[n - 1];
    const double dt = degrees_of(*t.piece);
    const Point rt = reference_of(t);
    // Only the groups along the dropped one's border can join it.
    const std::vector<int32_t> near = jig.neighbour_groups(t.id);
    // Of those that fit, the lowest in the display list joins.
    int32_t found = -1, lowest = n - 1;
    for (const int32_t id : near) {
        const int32_t i = jig.item_of(id);
        if (i < 0 || i >= lowest) continue;
        const Item& o = jig.items[i];
        if (o.hidden == 1 || !o.piece || o.piece->turned != t.piece->turned) continue;
        double d = std::fabs(dt - degrees_of(*o.piece));
        if (d > 180) d = 360 - d;
        if (!(d < kToleranceDegrees)) continue;
        const Point ro = reference_of(o);
        if (std::abs(ro.x - rt.x) < kTolerancePixels && std::abs(ro.y - rt.y) < kTolerancePixels) {
            found = o.id;
            lowest = i;
        }
    }
    if (graphics.trace_switch) {
        char line[64];
        std::snprintf(line, sizeof line, "joint_check end (%d)\n", found);
        trace_line("jig", line);
    }
    return found;
}

Rect joint(Jig& jig, int32_t target) {
    trace("joint start\n");
    if (jig.item_count < 2) return {};
    const Item t = jig.items[jig.item_count - 1];
    const Rect t_rect = t.piece->rect;
    jig.item_count -= 1;
    const int32_t k = jig.item_of(target);
    if (k < 0) {  // no such group: the dropped item stays where it was
        jig.item_count += 1;
        trace("joint end\n");
        return {};
    }
    const Item o = jig.items[k];
    for (const int32_t c : jig.group_cells(t.id)) jig.cells[size_t(c)].owner = target;
    if (desk.presenter) desk.presenter->release_img(t.id);

    auto* merged = new Piece;
    merged->turned = o.piece->turned;
    jig.items[k].piece = merged;
    jig.joint_piece(target, k);
    jig.refile(k);

    // The merged group lies where the target says the whole group belongs, at the target's angle.
    const Point r = reference_point(*o.piece, o.join_dx, o.join_dy, o.piece->angle);
    const Point r2 = rotate_point(jig.items[k].join_dx, -jig.items[k].join_dy, o.piece->angle);
    merged->cx = r.x - r2.x;
    merged->cy = r.y + r2.y;
    merged->centre_rect();
    merged->angle = o.piece->angle;
    merged->set_angle(merged->angle, settings_shading());

    // The redraw of the union starts from the background, which wipes both old places.
    const Rect u = union_rect(union_rect(t_rect, o.piece->rect), merged->rect);
    upload_view(jig.items[k]);
    disp(jig, &u);
    delete t.piece;
    delete o.piece;
    jig.items[jig.item_count] = Item{};  // the vacated entry holds no piece that the live one also holds
    trace("joint end\n");
    return u;
}

Rect drop_join(Jig& game) {
    const int32_t id = joint_check(game);
    if (id < 0) return {};
    play.game_saved = 0;
    tell_game_changed();
    play_sound(SOUND_JOINT);
    push_cursor(ws::IDC_WAIT);
    const Rect r = joint(game, id);
    pop_cursor();
    if (game.item_count == 1) {
        play_sound(SOUND_GM_END);
        // The saved game this puzzle came from is used up.
        if (!play.save_path.empty()) std::remove(resolve_path(play.save_path).c_str());
        tell_forget_recovery();
    }
    return r;
}
