// The main window "MyWin": the top-level window that hosts the game window and keeps the window settings.
#pragma once
#include <cstdint>
#include <string>

#include "graphics/memdc.h"
#include "ws/ws.h"

inline constexpr uint32_t IDM_FIT_PARENT = 0xF417;  // posted to the game window when the main window changes size
inline constexpr uintptr_t kSkinTimer = 0xF418;     // 1 s: the skin's hover check

extern ws::Hwnd main_window;
extern ws::Hwnd game_window;  // the game window, a child of the main window; 0 while there is none
extern ws::Hmenu main_menu;   // "IDM_MAIN_MENU", kept even when no menu bar shows it
extern MemDC* main_back;      // what the main window paints: white, under the skin
extern int32_t press_time;
extern int32_t shift_down, ctrl_down, f1_down;
extern int32_t close_without_asking;  // ESC: the game window saves without asking when it closes
extern int32_t game_saved;            // the game was saved and has not changed since
extern Colour line_color;             // cutting lines over the finished picture in the guide window

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
