// The program's resources: the main menu "IDM_MAIN_MENU", the accelerators "IDM_ACCEL" and the program icon.
#pragma once
#include <cstdint>

#include "graphics/memdc.h"

// Registers the menu and accelerator descriptions with the window-system layer (again harmlessly).
void register_resources();

// The program icon (a jigsaw piece) drawn into `out` as a size x size screen-compatible surface; white is
// transparent.
void draw_program_icon(MemDC& out, int32_t size);
// Makes the program icon the icon of every window.
void install_program_icon();
