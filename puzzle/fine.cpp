// The finer cut: on a screen of more device pixels than the fitted picture has, each piece shown is cut again from
// the finer picture. Hit tests, snapping and saving keep to the fitted cut; the finer one is only looked at.
#include "graphics/zoom.h"
#include "pieces/piece.h"
#include "puzzle/jig.h"
#include "puzzle/joint.h"
#include "puzzle/settings.h"

Piece* Jig::fine_piece(int32_t k, int32_t device) {
    if (!fine_picture || fine_scale != device || k < 0 || k >= live_items() || !items[k].piece || items[k].id < 0)
        return nullptr;
    Piece& p = *items[k].piece;
    if (!p.fine) p.fine = new Piece;
    Piece& fine = *p.fine;
    const auto scaled = [device](int32_t v) {
        return int32_t(floor_div(int64_t(v) * device + kZoomFull / 2, kZoomFull));
    };
    if (!fine.view || fine.turned != p.turned || fine.angle != p.angle) {
        // Only the view is kept: a piece that turns is cut again, as the fitted cut of a single piece is.
        const int32_t g = items[k].id;
        fine.turned = p.turned;
        fine.joined = items[k].merged;
        fine.recut = [this, g](Piece& again) { cut_fine(*this, g, again); };
        fine.restore_image();
        if (!fine.image) return nullptr;
        fine.set_angle(p.angle, settings_shading());
        fine.drop_image();
    }
    fine.cx = scaled(p.cx);
    fine.cy = scaled(p.cy);
    fine.centre_rect();
    return &fine;
}
