// The finer cut: on a screen of more device pixels than the fitted picture has, each piece shown is cut again from
// the finer picture. Hit tests, snapping and saving keep to the fitted cut; the finer one is only looked at.
#include <utility>

#include "graphics/zoom.h"
#include "pieces/piece.h"
#include "puzzle/jig.h"
#include "puzzle/joint.h"
#include "puzzle/settings.h"

namespace {

bool same(const Shading& a, const Shading& b) {
    return a.kage == b.kage && a.smooth == b.smooth && a.nokosu == b.nokosu;
}

}  // namespace

Piece* Jig::fine_piece(int32_t k, int32_t device) {
    if (!fine_picture || fine_scale != device || k < 0 || k >= live_items() || !items[k].piece || items[k].id < 0)
        return nullptr;
    const Shading look = settings_shading();
    if (!same(look, fine_look_)) {
        // The bevel or the seams were switched: every finer view is made again when next shown.
        for (int32_t i = 0; i < live_items(); ++i)
            if (items[i].piece) delete std::exchange(items[i].piece->fine, nullptr);
        fine_look_ = look;
    }
    Piece& p = *items[k].piece;
    if (!p.fine) {
        p.fine = new Piece;
        p.fine->joined = items[k].merged;
        p.fine->recut = [this, g = items[k].id](Piece& again) { cut_fine(*this, g, again); };
    }
    Piece& fine = *p.fine;
    if (!fine.view || fine.turned != p.turned || fine.angle != p.angle) {
        if (fine.turned != p.turned) fine.mirror();
        fine.turned = p.turned;
        fine.restore_image();
        if (!fine.image) return nullptr;
        fine.set_angle(p.angle, look);
        // A single piece keeps only its view, as its fitted cut does; a group is dear to cut again and keeps both.
        if (!items[k].merged) fine.drop_image();
    }
    fine.cx = scaled_nearest(p.cx, device);
    fine.cy = scaled_nearest(p.cy, device);
    fine.centre_rect();
    return &fine;
}
