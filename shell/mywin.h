// The main window "MyWin": the top-level window that hosts the game window and keeps the window settings.
#pragma once
#include <cstdint>
#include <string>

#include "graphics/memdc.h"
#include "ws/ws.h"

inline constexpr uintptr_t kSkinTimer = 0xF418;     // 1 s: the skin's hover check

// The outer rectangle of the main window from the window settings: win_width 0 = the whole screen,
// below 0 = the layer's default placement (CW_USEDEFAULT in all four), otherwise as stored.
Rect main_window_rect();
bool register_main_window_class();
// Creates and shows the main window with its menu (maximized when win_width is 0; frameless, placed by the skin,
// when a skin is in force). False when it cannot be made.
bool create_main_window();
// WM_CLOSE and "終了": the game window closes first (it may save, or refuse, and then nothing more happens).
void close_main_window(ws::Hwnd hwnd);
intptr_t main_window_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);
