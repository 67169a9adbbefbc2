// The desk: its two images (the composed desk and the background alone), its size, the view origin, the two
// greys that stand in for pure black and white, and the transparent copy that lays a piece onto the desk.
//
// Terms: desk coordinates are pixels of desk_image; the game window shows the part starting at the view origin
// (view_x + scroll_dx, view_y + scroll_dy). White is the key colour of pieces and is never copied onto the desk.
#pragma once
#include <cstdint>

#include "graphics/memdc.h"

class DDBase;

// The pieces' folder state: the desk they lie on, the part of it the window shows, and the presenter.
struct Desk {
    int32_t desk_width = 0, desk_height = 0;  // desk size in pixels
    MemDC* desk_image = nullptr;              // the composed desk: background and every display item
    MemDC* desk_back = nullptr;               // the background alone
    int32_t view_x = 0, view_y = 0;           // desk position of the window's top-left corner
    int32_t scroll_dx = 0, scroll_dy = 0;     // added to the view origin while the player drags the desk
    int32_t zoom = 1000;                      // window pixels per desk pixel, in thousandths (pieces/view.h)
    int32_t device = 1000;                    // the game window's device pixels per window pixel, the same way
    // The view origin before rounding, as the last zoom left it; it holds while the origin is still
    // (fine_of_x, fine_of_y), so that zooming there and back returns to the same view.
    double fine_x = 0, fine_y = 0;
    int32_t fine_of_x = 0, fine_of_y = 0;
    // The darkest non-black and lightest non-white grey desk_image can hold.
    Colour near_black = 0x010101, near_white = 0xFEFEFE;
    DDBase* presenter = nullptr;  // the game's presentation object, or none (then the plain drawing path)

    // Back to the start of a run; the surfaces are not destroyed (desk_images_destroy and the presenter's owner
    // do that).
    void reset() { *this = Desk{}; }
};
extern Desk desk;

// Puts this folder's records and those of the folders below back to their start values; the desk's images are
// destroyed. The presenter is its owner's to delete (play/).
void reset_pieces_state();

// Creates desk_image and desk_back (screen-compatible, width x height, at least 1 x 1), sets view_x = view_y = 0,
// and measures near_black and near_white on desk_image. Images of an earlier call are destroyed first.
void desk_images_create(int32_t width, int32_t height);
// Destroys desk_image and desk_back (safe when they do not exist).
void desk_images_destroy();
// `whole` false leaves desk_image a single pixel (the presenter composes the window from desk_back and its own
// images, so a large desk need not be held twice); true makes it desk-sized again, its words to be drawn anew.
void keep_desk_image(bool whole);

// Copies the w x h block of src at (sx, sy) into desk_image at (x, y), leaving out every source pixel whose colour
// is pure white. Clipped to both surfaces: parts outside either are neither read nor written. The result is that of
// the mask blits (whitening OR of the inverted mask, then AND of the source), so the top byte of a written desk
// pixel is the AND of both top bytes. Does nothing without desk_image.
void put_transparent(int32_t x, int32_t y, int32_t w, int32_t h, MemDC& src, int32_t sx, int32_t sy);
// The same onto any 32-bit surface.
void put_keyed(MemDC& dst, int32_t x, int32_t y, int32_t w, int32_t h, const MemDC& src, int32_t sx, int32_t sy);
