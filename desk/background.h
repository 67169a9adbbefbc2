// Desk backgrounds: one colour, a picture repeated over the desk or placed once in the middle of the window, and
// the finished picture of the game laid faintly over either (optionally with its cutting lines engraved).
//
// Each rendering fills desk_back and then copies it into desk_image. Pictures are decoded once per file version
// and the faint picture is computed once per game picture and setting, because the presenter path renders the
// background on every full redraw (each desk drag step among them).
#pragma once
#include <cstdint>

#include "graphics/geometry.h"
#include "graphics/memdc.h"

struct Jig;

// The background styles, held in settings.back_type as the menu commands that select them.
enum : int32_t {
    IDM_BACK_RGB = 243,      // "単一色": back_color alone
    IDM_BACK_IMG_REN = 244,  // "画像（並べる）": back_img repeated, its pattern following the view origin
    IDM_BACK_IMG_CEN = 245,  // "画像（中央配置）": back_img once, in the middle of what the window shows
};

// Largest finished picture (either side) whose cutting lines can be engraved.
inline constexpr int32_t kEngraveLimit = 3000;

// The single-colour style. choose = 1 first lets the player pick back_color (starting at the current one); a
// cancelled chooser returns 0 and changes nothing. redraw = 1 redraws the desk afterwards. Otherwise returns 1.
int32_t backrgb(int32_t choose, int32_t redraw);
// The picture styles (and, for any other back_type, the colour fill alone). A back_img that cannot be read is
// reported to the player once per file and leaves the colour fill. redraw = 1 redraws the desk. Always 1.
int32_t backimg(int32_t redraw);
// The style back_type names, without chooser and without redraw.
void render_background();

// Lays the current game's finished picture, faint (and engraved with back_gazou_line), into desk_back, centred in
// the window at view origin (0, 0). Does nothing without a game or picture.
void draw_faint_picture();
// Engraves the game's grid of cutting lines into the w x h 32-bit surface (background_lines.cpp).
void engrave_lines(Jig& jig, MemDC& surface, int32_t w, int32_t h);
// The weighted 3 x 3 average the engraving smooths with: dst(x, y) becomes the average of src's pixels around
// (x, y) inside w x h, where a pure black centre counts as two more black pixels and a pure white one as ten more
// white pixels. Positions outside w x h or either surface are left alone. Coordinates run top-down.
void smooth_pixel(MemDC& src, MemDC& dst, int32_t x, int32_t y, int32_t w, int32_t h);

// The view origin the background is laid out against: the view origin itself at 100 %; zoomed, the desk's
// corner, because then both drawing paths keep the background in desk coordinates.
Point background_origin();

// Drops the decoded background pictures and the faint picture (they are made again on the next rendering).
void forget_background_pictures();
void forget_faint_picture();
