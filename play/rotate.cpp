// Quarter turns and turning over of the held group (kaiten, hanten), and the click messages that ask for them.
//
// A group lying at a free angle is first snapped to the nearest quarter in the click's direction: 37 degrees
// goes to 90 with +90 and to 0 with -90.
#include <cmath>
#include <numbers>

#include "desk/state.h"
#include "graphics/hooks.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/piece.h"
#include "play/companions.h"
#include "play/play.h"
#include "play/sound.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"

namespace {

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("jig", event);
}

int32_t wrap_degrees(int32_t d) {
    d %= 360;
    return d < 0 ? d + 360 : d;
}

// The next quarter (0, 90, 180, 270) from angle `radians` in direction dir (> 0 up, otherwise down).
int32_t next_quarter(double radians, int32_t dir) {
    const int32_t d = wrap_degrees(int32_t(radians * 180 / std::numbers::pi));
    int32_t q;
    if (dir > 0)
        q = d % 90 == 0 ? d + 90 : 90 * (d / 90 + 1);
    else
        q = d % 90 == 0 ? d - 90 : 90 * (d / 90);
    return wrap_degrees(q);
}

// The click messages: a sound, the turn, and the changed place painted at once.
void turn_held(ws::Hwnd hwnd, int32_t sound, Rect (*turn)(Jig&)) {
    Jig* game = display.current_game;
    if (!game || !game->holding) return;
    play.game_saved = 0;
    tell_game_changed();
    play_sound(sound);
    repaint_desk_rect(hwnd, turn(*game));
}

}  // namespace

Rect kaiten(Jig& jig, int32_t dir) {
    trace("kaiten start\n");
    if (!jig.holding || jig.item_count < 1) return {};
    Piece& p = *jig.items[jig.item_count - 1].piece;
    const Rect old = p.rect;
    p.set_angle(next_quarter(p.angle, dir) * std::numbers::pi / 180, settings_shading());
    const Rect u = show_held(jig, old, true);
    trace("kaiten end\n");
    return u;
}

Rect hanten(Jig& jig) {
    trace("hanten start\n");
    if (!jig.holding || jig.item_count < 1) return {};
    Item& t = jig.items[jig.item_count - 1];
    // A group lying face down is mirrored, so its offset to the picture's centre is mirrored too.
    t.home_dx = jig.pic_w - t.home_dx;
    t.join_dx = t.home_dx;
    const Rect old = t.piece->rect;
    t.piece->turn_over(settings_shading());
    const Rect u = show_held(jig, old, true);
    trace("hanten end\n");
    return u;
}

void on_p90_kaiten(ws::Hwnd hwnd) {
    if (settings.kaiten == KAITEN_NONE) return;
    turn_held(hwnd, SOUND_LEFT, [](Jig& g) { return kaiten(g, +90); });
}

void on_m90_kaiten(ws::Hwnd hwnd) {
    if (settings.kaiten == KAITEN_NONE) return;
    turn_held(hwnd, SOUND_RIGHT, [](Jig& g) { return kaiten(g, -90); });
}

void on_rev(ws::Hwnd hwnd) {
    if (!settings.hanten) return;
    turn_held(hwnd, SOUND_HANTEN, [](Jig& g) { return hanten(g); });
}
