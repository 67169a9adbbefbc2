// Trays "TrayWin": up to ten small windows that hold single pieces aside, off the desk.
#pragma once
#include <string>

#include "graphics/geometry.h"
#include "ws/ws.h"

// The menu's "トレイを追加": refuses with a message without the presenter, without a game, or with ten trays
// open; otherwise opens a tray in the first free slot at the game window's top-left corner.
void tray_add();
// Creates a tray window titled `title` in the first free slot of tray_window, owned by `parent`. 0 on failure.
ws::Hwnd tray_create(ws::Hwnd parent, const std::string& title);
// The game ended: every tray forgets its pieces and closes.
void close_all_trays();
