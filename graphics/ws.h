// The window-system layer: windows, messages, timers, input, menus, dialogs, clipboard, text and sound.
//
// This header is the only door to the toolkit (Qt 6): above graphics/ no file includes a Qt header, and in
// graphics/ only the ws_* files use Qt Widgets (the picture reader may use QtGui's image decoder).
// The services keep the platform's own words and numbers (window procedures, posted and sent messages with
// message times, timers by id), because the game's ordering rules are written in them. Handles are small integers;
// 0 is none. Test mode (one switch) runs Qt on its offscreen platform with a virtual clock, scripted answers for
// message boxes and dialogs, and recorded sounds: tests drive this real layer, not a second fake one.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/geometry.h"
#include "graphics/memdc.h"

namespace ws {

using Hwnd = int32_t;
using Hmenu = int32_t;
using Haccel = int32_t;
using Hcursor = int32_t;
using WndProc = intptr_t (*)(Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);

// ---- messages (system ones under their usual names and numbers; the game's own are 0xF400 and above) ----
enum : uint32_t {
    WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_PAINT = 0x000F, WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012, WM_SHOWWINDOW = 0x0018, WM_SETCURSOR = 0x0020, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102, WM_COMMAND = 0x0111, WM_TIMER = 0x0113, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205,
    WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208, WM_MOUSEWHEEL = 0x020A, WM_CAPTURECHANGED = 0x0215,
    WM_DROPFILES = 0x0233, WM_USER = 0x0400,
};
// wparam bits of mouse messages
enum : uint32_t { MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08, MK_MBUTTON = 0x10 };
// key codes
enum : uint32_t {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04, VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D,
    VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21,
    VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_DELETE = 0x2E, VK_F1 = 0x70,  // letters and digits are their upper-case ASCII codes
};
// WM_SIZE wparam
enum : uint32_t { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

inline intptr_t make_lparam(int32_t lo, int32_t hi) { return intptr_t(uint32_t(uint16_t(lo)) | (uint32_t(uint16_t(hi)) << 16)); }
inline int32_t lparam_x(intptr_t lp) { return int16_t(uint16_t(uintptr_t(lp) & 0xFFFF)); }   // signed, as GET_X_LPARAM
inline int32_t lparam_y(intptr_t lp) { return int16_t(uint16_t((uintptr_t(lp) >> 16) & 0xFFFF)); }

struct Msg {
    Hwnd hwnd = 0;
    uint32_t message = 0;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
    uint32_t time = 0;  // the layer's millisecond clock when the message was queued
};

// ---- the clock ----
uint32_t tick_count();      // milliseconds since the layer started (virtual in test mode)
uint32_t message_time();    // time stamp of the message being handled

// ---- cursors ----
enum : int32_t { IDC_ARROW = 32512, IDC_WAIT = 32514 };
Hcursor load_cursor(int32_t id);
Hcursor set_cursor(Hcursor cursor);  // returns the previous one
Point cursor_pos();                  // pointer position in screen coordinates

// ---- message boxes ----
enum : uint32_t {
    MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
    MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40,
};
enum : int32_t { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };
// Modal; texts are UTF-8; returns the button pressed. Works before any window exists (owner 0).
int32_t message_box(Hwnd owner, const std::string& text, const std::string& caption, uint32_t type);

// ---- text on surfaces (glyphs from the system font; a CJK font is installed) ----
Size text_extent(const std::string& utf8);
// Draws at (x, y) = top-left of the text box on a surface's words (rows bottom-up); opaque fills the box with bk.
void draw_text(uint32_t* words, int32_t width, int32_t height, int32_t x, int32_t y, const std::string& utf8,
               Colour colour, Colour bk, bool opaque);

// ---- wave playback ----
enum : uint32_t { SND_SYNC = 0x0, SND_ASYNC = 0x1, SND_NODEFAULT = 0x2, SND_LOOP = 0x8, SND_NOSTOP = 0x10,
                  SND_NOWAIT = 0x2000, SND_FILENAME = 0x20000 };
// Plays a wave file (or stops everything when path is empty). Never hangs without an audio device:
// a synchronous play waits at most the sound's own length. Returns false when nothing was started.
bool play_wave(const std::string& path, uint32_t flags);

// ---- screen ----
int32_t screen_width();
int32_t screen_height();

// ---- start-up of the layer ----
// Starts Qt (once). test_mode: offscreen platform, virtual clock, scripted answers, recorded sounds.
void init(int argc, char** argv, bool test_mode);
bool test_mode();

}  // namespace ws
