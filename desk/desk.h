// The desk: its two images (the composed desk and the background alone), its size, the view origin, the two
// greys that stand in for pure black and white, and the transparent copy that lays a piece onto the desk.
//
// Terms: desk coordinates are pixels of desk_image; the game window shows the part starting at the view origin
// (view_x + scroll_dx, view_y + scroll_dy). White is the key colour of pieces and is never copied onto the desk.
#pragma once
#include <cstdint>

#include "graphics/memdc.h"

extern int32_t desk_width, desk_height;  // desk size in pixels
extern MemDC* desk_image;                // the composed desk: background and every display item
extern MemDC* desk_back;                 // the background alone
extern int32_t view_x, view_y;           // desk position of the window's top-left corner
extern int32_t scroll_dx, scroll_dy;     // added to the view origin while the player drags the desk
extern Colour near_black, near_white;    // darkest non-black and lightest non-white grey desk_image can hold

// Creates desk_image and desk_back (screen-compatible, width x height, at least 1 x 1), sets view_x = view_y = 0,
// and measures near_black and near_white on desk_image. Images of an earlier call are destroyed first.
void desk_images_create(int32_t width, int32_t height);
// Destroys desk_image and desk_back (safe when they do not exist).
void desk_images_destroy();

// Copies the w x h block of src at (sx, sy) into desk_image at (x, y), leaving out every source pixel whose colour
// is pure white. Clipped to both surfaces: parts outside either are neither read nor written. The result is that of
// the mask blits (whitening OR of the inverted mask, then AND of the source), so the top byte of a written desk
// pixel is the AND of both top bytes. Does nothing without desk_image.
void put_transparent(int32_t x, int32_t y, int32_t w, int32_t h, MemDC& src, int32_t sx, int32_t sy);
