// The marks that keep the main menu in step with the settings, its extra pop-ups and its commands (the command
// numbers live with the menu itself, in resources/menu_ids.h).
#pragma once
#include <cstdint>

#include "graphics/geometry.h"
#include "resources/menu_ids.h"  // the commands and the entries' positions
#include "ws/ws.h"

// Sets the radio marks of the settings menu from the settings and redraws the menu bar. A piece count or stretch
// size that no entry offers leaves that pop-up without a mark.
void menu_check();
// Adds the "Web" pop-up from the web settings and, with `tray` on, the "トレイを追加" entry (once, at creation).
void build_extra_menus();
// A right button released over the main window at `client`: a quick click opens "ﾌｧｲﾙ(&F)" within 5 pixels of the
// top-left corner and "設定(&O)" elsewhere, as a pop-up at the pointer; a slow one opens nothing.
void quick_menu(ws::Hwnd hwnd, Point client, int32_t held_ms);

// WM_COMMAND of the main window (low 16 bits of wparam); anything that is not a command of the menu is ignored.
void menu_command(ws::Hwnd hwnd, uint32_t id);
