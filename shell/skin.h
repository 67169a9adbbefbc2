// The skin: with `skin` on, the main window has no frame or menu bar and is drawn from the pictures described by
// "SKIN\SKIN.TXT": a window picture, push buttons, two number displays and the rectangle of the game window.
#pragma once
#include <cstdint>
#include <cstdio>

#include "graphics/geometry.h"

// Reads the open skin file (installed as the settings' read_skin_file).
void read_skin(std::FILE* file);
// True when the skin is in force (`skin` on and a window picture read): `r` is then the main window's outer
// rectangle. False: the normal framed window with its menu bar.
bool skin_window_rect(Rect& r);
// The game window's rectangle in the main window's client area; false when the skin is not in force.
bool skin_game_rect(Rect& r);
// Draws the window picture and every element into main_back.
void draw_skin();
// The number displays: the value now shown after asking to show `value` (the value itself without a skin).
int32_t skin_show_num(int32_t value);
int32_t skin_show_sz(int32_t value);
// The main window's mouse and timer, in its client coordinates; each does nothing without a skin.
void skin_press(int32_t x, int32_t y);
void skin_release(int32_t x, int32_t y, int32_t duration);
void skin_hover(int32_t x, int32_t y);
void skin_drag(int32_t x, int32_t y);
void skin_timer();
