// The window-system layer: windows, messages, timers, input, menus, dialogs, clipboard, text and sound.
//
// This header is the only door to the toolkit (Qt 6): no file outside ws/ includes a Qt header. The layer lies above
// graphics/ (the surfaces it shows and draws text into) and below every other folder; graphics/ reaches the few
// services it needs at run time (message box, clock, threads, case-blind file names) only through the table of
// graphics/hooks.h, which fill_hooks fills. Beside this header ws/ holds the presenter (ddbase.h), the busy cursor
// (cursor.h), loading picture files (picture.h; bmp_reader.h decodes BMP with QtGui's reader) and the export's BMP
// file under the hourglass (bmpsave.h).
// The services keep the platform's own words and numbers (window procedures, posted and sent messages with
// message times, timers by id), because the game's ordering rules are written in them. Handles are small integers;
// 0 is none. Test mode (one switch) runs Qt on its offscreen platform with a virtual clock, scripted answers for
// message boxes and dialogs, and recorded sounds: tests drive this real layer, not a second fake one.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/geometry.h"
#include "graphics/memdc.h"

struct Hooks;

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
enum : uint32_t { MK_ALT = 0x20 };  // only in Msg::keys
// key codes
enum : uint32_t {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04, VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D,
    VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21,
    VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_DELETE = 0x2E, VK_F1 = 0x70,  // letters and digits are their upper-case ASCII codes
    VK_OEM_PLUS = 0xBB, VK_OEM_MINUS = 0xBD,  // the plus (or =) and minus keys of the main block
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
    uint32_t keys = 0;  // input only: MK_SHIFT / MK_CONTROL / MK_ALT and buttons held when it happened
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
// Called off the user-interface thread, the box is handed to that thread to show and the first button is returned
// at once (a worker never touches the toolkit).
int32_t message_box(Hwnd owner, const std::string& text, const std::string& caption, uint32_t type);

// ---- text on surfaces (glyphs from the system font; a CJK font is installed) ----
Size text_extent(const std::string& utf8);  // advance width and font height; a multi-line text is not split
struct TextMetrics {
    int32_t height = 0, ascent = 0, descent = 0, external_leading = 0;
};
TextMetrics text_metrics();
// Draws at (x, y) = top-left of the text box on a surface's words (rows bottom-up); opaque fills the box with bk.
// `scale` (thousandths) draws the font that much larger, for a surface of device pixels.
void draw_text(uint32_t* words, int32_t width, int32_t height, int32_t x, int32_t y, const std::string& utf8,
               Colour colour, Colour bk, bool opaque, int32_t scale = 1000);
// The surface's text operations: (x, y) is the top-left corner of the text box, which is first filled with the
// background colour. `length` is in bytes of the UTF-8 text; a negative length takes the text up to its terminating
// zero. `text` keeps `colour` as the surface's text colour; `text_bk` also sets its background colour. A monochrome
// surface keeps only black and white pixels. Always 1.
int32_t text(MemDC& surface, int32_t x, int32_t y, const char* utf8, int32_t length, Colour colour,
             Where w = Where::current());
int32_t text_bk(MemDC& surface, int32_t x, int32_t y, const char* utf8, int32_t length, Colour colour,
                Colour background, Where w = Where::current());
// The text at `scale` thousandths of the font's size on its background, leaving the surface's colours as they are:
// a label drawn in device pixels.
void text_scaled(MemDC& surface, int32_t x, int32_t y, const std::string& utf8, Colour colour, Colour background,
                 int32_t scale);

// ---- wave playback ----
enum : uint32_t { SND_SYNC = 0x0, SND_ASYNC = 0x1, SND_NODEFAULT = 0x2, SND_LOOP = 0x8, SND_NOSTOP = 0x10,
                  SND_NOWAIT = 0x2000, SND_FILENAME = 0x20000 };
// Plays a wave file (or stops everything when path is empty), one sound at a time: a new one stops the last unless
// SND_NOSTOP, which then starts nothing while a sound plays. SND_LOOP repeats until stopped. Never hangs without an
// audio device: a synchronous play waits at most the sound's own length. Returns false when nothing was started
// (no readable wave file, or SND_NOSTOP while playing).
bool play_wave(const std::string& path, uint32_t flags);

// ---- screen ----
int32_t screen_width();
int32_t screen_height();

// ---- start-up of the layer ----
// Starts Qt (once). test_mode: offscreen platform, virtual clock, scripted answers, recorded sounds.
// Makes XDG_RUNTIME_DIR a private folder when it is missing, and chooses the player's language (ws/tr.h) from the
// desktop's, with the texts of Qt's own dialogs to match.
void init(int argc, char** argv, bool test_mode);
bool test_mode();
// Fills the entries of the table of upward calls (graphics/hooks.h) that this layer provides: message_box,
// tick_count, is_ui_thread, run_on_ui_thread, same_name and translate. The others are left as they are.
void fill_hooks(Hooks& table);

// ---- window classes and windows ----
enum : uint32_t {
    WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_MINIMIZE = 0x20000000,
    WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000, WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000,
    WS_MAXIMIZE = 0x01000000, WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_SYSMENU = 0x00080000,
    WS_THICKFRAME = 0x00040000, WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000,
    WS_OVERLAPPEDWINDOW = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
};
enum : int32_t { CW_USEDEFAULT = int32_t(0x80000000) };
enum : int32_t {
    SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3, SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4,
    SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWNA = 8, SW_RESTORE = 9, SW_SHOWDEFAULT = 10,
};
enum : uint32_t { CS_DBLCLKS = 0x0008 };  // without it a quick second press arrives as a plain button-down
constexpr int64_t NO_BACKGROUND = -1;

struct WindowClass {
    std::string name{};
    WndProc proc = nullptr;
    uint32_t style = 0;                  // CS_* bits
    int32_t cursor = 0;                  // system cursor id (IDC_ARROW, ...), 0 = none
    int64_t background = NO_BACKGROUND;  // colour 0x00BBGGRR that painting starts from, or NO_BACKGROUND
    std::string menu_name{};             // menu resource of top-level windows of the class ("" = none)
};
// False when the name is empty or already registered, or the procedure is missing (the first one stays).
bool register_class(const WindowClass& wc);
bool class_registered(const std::string& name);

// What WM_CREATE's lparam points to.
struct CreateStruct {
    uintptr_t create_param = 0;
    Hwnd parent = 0;
    Hmenu menu = 0;
    uint32_t style = 0;
    int32_t x = 0, y = 0, cx = 0, cy = 0;
    std::string title{};
    std::string class_name{};
};

// Creates a window. WS_CHILD: a child of `parent` placed in its client coordinates; with a caption it floats as a
// tool window kept above its parent that never takes the keyboard. Otherwise a top-level window (WS_POPUP has no
// frame), owned by `parent` when given (by its top-level window when `parent` is a child), and kept above its owner.
// x, y, width, height are the outer rectangle, frame included (a frame the window manager tells only once the window
// is shown is allowed for then); CW_USEDEFAULT lets the layer choose.
// Sends WM_CREATE (returning -1 refuses: the window is destroyed and 0 returned), then WM_SIZE and WM_MOVE;
// WS_VISIBLE shows it. `menu` (or the class menu when 0) becomes the menu bar of a top-level window.
Hwnd create_window(const std::string& class_name, const std::string& title, uint32_t style, int32_t x, int32_t y,
                   int32_t width, int32_t height, Hwnd parent, Hmenu menu, uintptr_t create_param = 0);
// Destroys the windows it owns first, then sends WM_DESTROY to it and to its children (parents first) and forgets
// them all; their timers stop and their capture is released. False when the handle is not a window (or is already
// being destroyed).
bool destroy_window(Hwnd hwnd);
// Default handling: WM_CLOSE destroys the window, WM_PAINT validates it, WM_ERASEBKGND fills the paint rectangle
// with the class background; everything else gives 0.
intptr_t def_window_proc(Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);
bool show_window(Hwnd hwnd, int32_t cmd);  // returns whether the window was visible before
bool update_window(Hwnd hwnd);             // sends WM_PAINT now when part of the window is invalid
bool move_window(Hwnd hwnd, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint);
Rect get_client_rect(Hwnd hwnd);   // (0, 0, width, height)
// Device pixels: from now on the window's client surface holds the screen's own pixels, the client size times
// the device pixel ratio (rounded up), shown unscaled, so a high-density screen shows all the detail drawn into
// it. Paint rectangles, show_surface and every other rectangle stay in client coordinates. device_scale gives
// the device pixels per client pixel in thousandths (1000 for a window without device pixels).
void use_device_pixels(Hwnd hwnd);
int32_t device_scale(Hwnd hwnd);
// The primary screen's device pixels per client pixel in thousandths (1000 with no screen): what a window opened
// there will get, known before it paints.
int32_t screen_device_scale();
// The pixels of the window's surface that show the client rectangle r: its sides times device_scale, left and top
// rounded down, right and bottom up (the rule that sizes the surface itself), so that a figure drawn in client
// pixels keeps its place and each client pixel shows as a block of device pixels. r itself at scale 1000.
Rect device_rect(Hwnd hwnd, const Rect& r);
Rect get_window_rect(Hwnd hwnd);   // outer rectangle in screen coordinates
Point client_to_screen(Hwnd hwnd, Point p);
Point screen_to_client(Hwnd hwnd, Point p);
Hwnd window_from_point(Point screen);  // the deepest visible window there, 0 for none
bool set_foreground_window(Hwnd hwnd);
bool set_window_text(Hwnd hwnd, const std::string& utf8);
std::string get_window_text(Hwnd hwnd);
Hwnd get_parent(Hwnd hwnd);  // the parent of a child window or the owner of an owned one, else 0
bool is_window(Hwnd hwnd);
bool is_window_visible(Hwnd hwnd);
bool is_zoomed(Hwnd hwnd);
bool is_iconic(Hwnd hwnd);
uint32_t get_window_style(Hwnd hwnd);
Hwnd set_focus(Hwnd hwnd);  // returns the window that had the keyboard focus
Hwnd get_focus();
// The outer rectangle a window of this style needs around `client` (Qt reports frames only once shown: the
// estimate uses the frame of a shown top-level window when one exists, else none).
Rect adjust_window_rect(const Rect& client, uint32_t style, bool has_menu);

// ---- messages and the loop ----
enum : uint32_t {
    WM_ERASEBKGND = 0x0014, WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105, WM_INITMENUPOPUP = 0x0117,
    WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDBLCLK = 0x0209, WM_APP = 0x8000,
};
enum : uint32_t { PM_NOREMOVE = 0x0, PM_REMOVE = 0x1 };
// Appends to the one queue with the current clock time. hwnd 0 makes a message for the loop itself.
// False when hwnd is neither 0 nor a window. Like every service here, for the user-interface thread only.
bool post_message(Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);
// Runs the window procedure now and returns its result (0 when hwnd is not a window).
intptr_t send_message(Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);
void post_quit_message(int32_t exit_code);
// Takes the next message: posted messages and input first, in arrival order; then WM_PAINT for a window with an
// invalid part; then WM_TIMER for a timer that is due. Waits (without using the processor) when there is none.
// Returns false for WM_QUIT (msg.wparam = the exit code). In test mode it never waits: with nothing to do it
// returns false with WM_NULL, so a test can run a loop to its end.
bool get_message(Msg& msg);
// As get_message without waiting: false when nothing is there. PM_NOREMOVE leaves a posted message queued.
bool peek_message(Msg& msg, uint32_t remove);
// Waits until a message or input is there (returns at once in test mode).
void wait_message();
// Key downs of characters post WM_CHAR with the character code (letters upper case only with Shift in msg.keys).
bool translate_message(const Msg& msg);
// Calls the procedure of msg.hwnd; message_time() then gives msg.time.
intptr_t dispatch_message(const Msg& msg);

// ---- painting ----
struct PaintStruct {
    Rect paint;                // the part to paint, client coordinates
    MemDC* surface = nullptr;  // the window's client surface
    bool erase = false;        // the background was asked to be erased
};
// Adds a rectangle (clipped to the client area; nullptr = all of it) to the part to paint.
bool invalidate_rect(Hwnd hwnd, const Rect* rect, bool erase);
bool validate_rect(Hwnd hwnd, const Rect* rect);  // nullptr = all; a rectangle must cover the whole waiting part
bool get_update_rect(Hwnd hwnd, Rect& rect);      // false when nothing is to be painted
// Starts painting: fills `ps`, sends WM_ERASEBKGND when asked, and marks the window painted. nullptr when hwnd is
// not a window.
MemDC* begin_paint(Hwnd hwnd, PaintStruct& ps);
// Ends painting: the painted rectangle of the client surface goes to the screen.
void end_paint(Hwnd hwnd, const PaintStruct& ps);
// "Paint at once": invalidate (nullptr = all) and run WM_PAINT before returning.
void paint_at_once(Hwnd hwnd, const Rect* rect);
// The window's client surface (screen-compatible, as large as the client area), for drawing outside painting.
MemDC* client_surface(Hwnd hwnd);
// Shows a rectangle of the client surface (nullptr = all) drawn outside painting.
void show_surface(Hwnd hwnd, const Rect* rect);

// ---- timers ----
// Starts or restarts timer `id` of the window: WM_TIMER with wparam = id every `ms` milliseconds (at least 10, the
// platform's shortest period), delivered only when no other message waits, never more than one pending.
// Returns id (1 for id 0), or 0 when hwnd is not a window.
uintptr_t set_timer(Hwnd hwnd, uintptr_t id, uint32_t ms);
bool kill_timer(Hwnd hwnd, uintptr_t id);

// ---- mouse and keys ----
// With the capture, every mouse message goes to that window in its client coordinates, inside it or not.
Hwnd set_capture(Hwnd hwnd);  // returns the previous holder
bool release_capture();       // the old holder gets WM_CAPTURECHANGED
Hwnd get_capture();
// Negative (high bit set) while the key or mouse button is down, as far as the layer has seen.
int16_t get_key_state(int32_t vk);
Hcursor get_cursor();

// ---- menus and accelerators ----
enum : uint32_t {
    MF_BYCOMMAND = 0x0000, MF_BYPOSITION = 0x0400, MF_ENABLED = 0x0000, MF_GRAYED = 0x0001, MF_DISABLED = 0x0002,
    MF_UNCHECKED = 0x0000, MF_CHECKED = 0x0008, MF_STRING = 0x0000, MF_POPUP = 0x0010, MF_SEPARATOR = 0x0800,
    MFT_RADIOCHECK = 0x0200,
};
enum : uint32_t { TPM_LEFTALIGN = 0x0000, TPM_RIGHTBUTTON = 0x0002, TPM_NONOTIFY = 0x0080, TPM_RETURNCMD = 0x0100 };
constexpr uint32_t MENU_NONE = 0xFFFFFFFF;  // what get_menu_state / get_menu_item_id give for a missing item

// A menu resource: entries with a text ("&" marks the access key), a command id, and entries of a sub-menu.
struct MenuItemDesc {
    std::string text{};
    uint32_t id = 0;
    std::vector<MenuItemDesc> children{};  // non-empty (or popup) = a sub-menu
    bool popup = false;                    // a sub-menu even when it has no entries yet
    bool separator = false;
    bool checked = false;
    bool grayed = false;
};
using MenuDesc = std::vector<MenuItemDesc>;
void register_menu_resource(const std::string& name, MenuDesc desc);
Hmenu load_menu(const std::string& name);  // a new menu built from the resource; 0 when none has that name
Hmenu create_menu();
Hmenu create_popup_menu();
bool destroy_menu(Hmenu menu);  // with its sub-menus
bool is_menu(Hmenu menu);
Hmenu get_sub_menu(Hmenu menu, int32_t position);  // 0 when that entry is not a sub-menu
int32_t get_menu_item_count(Hmenu menu);           // -1 for a bad handle
uint32_t get_menu_item_id(Hmenu menu, int32_t position);
std::string get_menu_string(Hmenu menu, uint32_t item, uint32_t flags);
// By command (searching sub-menus too) or by position: MF_CHECKED / MF_GRAYED / MF_POPUP bits, MENU_NONE if absent.
uint32_t get_menu_state(Hmenu menu, uint32_t item, uint32_t flags);
// Returns the previous MF_CHECKED state, or -1 when the item does not exist.
int32_t check_menu_item(Hmenu menu, uint32_t item, uint32_t flags);
// Returns the previous MF_GRAYED|MF_DISABLED state, or -1 when the item does not exist.
int32_t enable_menu_item(Hmenu menu, uint32_t item, uint32_t flags);
// Marks `check` with a radio mark and clears the marks of the other entries of [first, last] in the same menu.
// MF_BYCOMMAND: command ids (the menu holding `check` is searched); MF_BYPOSITION: positions in `menu`.
bool check_menu_radio_item(Hmenu menu, uint32_t first, uint32_t last, uint32_t check, uint32_t flags);
// Inserts before `item` (by command or position; a position past the end appends). MF_POPUP: id_or_popup is the
// Hmenu of the sub-menu, which then belongs to `menu`. MF_SEPARATOR: a separator line.
bool insert_menu(Hmenu menu, uint32_t item, uint32_t flags, uintptr_t id_or_popup, const std::string& text);
bool append_menu(Hmenu menu, uint32_t flags, uintptr_t id_or_popup, const std::string& text);
bool delete_menu(Hmenu menu, uint32_t item, uint32_t flags);
bool set_menu(Hwnd hwnd, Hmenu menu);  // shows the menu as the window's menu bar (0 removes it)
Hmenu get_menu(Hwnd hwnd);
bool draw_menu_bar(Hwnd hwnd);  // the bar shows the menu's current entries and marks
// Shows `menu` as a pop-up at a screen point. TPM_RETURNCMD: returns the chosen command (0 = none) and posts
// nothing; otherwise posts WM_COMMAND to `owner` and returns 1 when something was chosen.
uint32_t track_popup_menu(Hmenu menu, uint32_t flags, int32_t x, int32_t y, Hwnd owner);

enum : uint8_t { FVIRTKEY = 0x01, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10 };
struct Accel {
    uint8_t flags = FVIRTKEY;  // FVIRTKEY with FSHIFT / FCONTROL / FALT as needed
    uint16_t key = 0;          // key code
    uint16_t cmd = 0;          // command sent with WM_COMMAND
};
// "IDM_ACCEL" (Ctrl+O -> 200, Ctrl+X -> 210) is built in; others may be registered.
void register_accelerator_resource(const std::string& name, std::vector<Accel> table);
Haccel load_accelerators(const std::string& name);  // 0 when none has that name
// A WM_KEYDOWN matching the table (with the Shift, Ctrl and Alt state of msg.keys) sends WM_COMMAND
// (wparam = 1 << 16 | cmd) to hwnd and gives true.
bool translate_accelerator(Hwnd hwnd, Haccel accel, const Msg& msg);

// ---- common dialogs and shell services ----
struct FileFilter {
    std::string description{};  // "ビットマップ(*.bmp)"
    std::string patterns{};     // "*.jpg;*.jpeg"
};
struct FileDialog {
    Hwnd owner = 0;
    std::string title{};
    std::vector<FileFilter> filters{};
    int32_t filter_index = 0;  // the preselected filter, from 0
    std::string folder{};        // where the dialog starts
    std::string file_name{};     // name offered in the dialog
    bool must_exist = false;   // open dialogs: only an existing file is accepted
};
// The chosen path, or "" when the player cancelled. The process's current directory never changes.
std::string open_file_dialog(const FileDialog& d);
std::string save_file_dialog(const FileDialog& d);  // does not ask before overwriting
// The colour chooser started at `colour` (0x00BBGGRR); true and the choice in `colour` on OK. `custom` (16 colours,
// or nullptr) is shown as the custom colours and receives the player's changes.
bool choose_colour(Hwnd owner, Colour& colour, Colour* custom16);
// Opens a file with its default application, or a web address in the browser. False when that fails.
bool open_document(const std::string& path_or_url);
// Moves a file to the desktop's trash (the home trash, made with its folders when missing, or the trash of the
// file's own volume). False, and the file where it was, when no trash could take it.
bool move_to_trash(const std::string& path);

// ---- program icon ----
// Every window of the program, those open and those yet to come, shows `icon`; its pure white pixels (the key
// colour) are transparent. The surface is copied: it may be destroyed afterwards.
void set_program_icon(const MemDC& icon);
// Writes `icon` as a PNG file with the same transparency (the desktop launcher's icon). False when not written.
bool save_icon_png(const MemDC& icon, const std::string& path);

// ---- clipboard ----
bool clipboard_has_bitmap();
// Creates `out` as a screen-compatible surface of the bitmap's size holding it. False when there is none.
bool clipboard_get_bitmap(MemDC& out);
bool clipboard_has_files();                  // a list of local files (copied in a file manager)
std::vector<std::string> clipboard_files();  // their paths, in order
bool clipboard_set_bitmap(MemDC& src);

// ---- dropped files ----
using Hdrop = uintptr_t;
// Lets files be dropped on the window: each drop posts WM_DROPFILES with wparam = a drop handle.
void drag_accept_files(Hwnd hwnd, bool accept);
uint32_t drag_query_file_count(Hdrop drop);
std::string drag_query_file(Hdrop drop, uint32_t index);  // "" past the end
Point drag_query_point(Hdrop drop);                        // client coordinates of the drop
void drag_finish(Hdrop drop);                              // forgets the handle

// ---- threads, name order and the pointer leaving a window (the picture list and its loader use these) ----
// Posted to a window when the pointer leaves its client area (lparam 0).
enum : uint32_t { WM_MOUSELEAVE = 0x02A3 };
// Orders two file names as the desktop's locale does (a collator, not byte order): < 0, 0 or > 0.
// Unlike every other service here it may be called from any thread.
int32_t compare_names(const std::string& a, const std::string& b);
// Whether two file names (UTF-8) are equal without regard to case, by Unicode case folding (full-width letters too).
// From any thread.
bool same_name(const std::string& a, const std::string& b);
// True on the thread that runs the windows (and before the layer starts).
bool is_ui_thread();
// From any thread: `fn` runs on the user-interface thread when the loop next takes the toolkit's events (in test
// mode, on the next pump or message fetch). False, and nothing queued, before the layer has started.
bool run_on_ui_thread(std::function<void()> fn);

// ---- the end of a session and the focus of the program ----
// Messages for the loop itself (hwnd 0): the message loop handles them, no window procedure sees them.
enum : uint32_t { WM_ENDSESSION = 0x0016, WM_ACTIVATEAPP = 0x001C };
// From this call on SIGTERM, SIGHUP and SIGINT no longer end the process at once: each one posts WM_ENDSESSION for
// the loop (wparam = the signal number) through the ordinary queue, so the program ends on its own thread, in its
// own order. A third such signal before the loop has ended the program ends it the usual way. When the program
// loses the focus to another application, WM_ACTIVATEAPP (wparam 0) is posted for the loop the same way (wparam 1
// when it gets the focus back). False when the signals cannot be caught (nothing changes then).
bool catch_session_events();

// ---- test mode hooks ----
namespace test {
struct BoxRecord {
    Hwnd owner = 0;
    std::string text{};
    std::string caption{};
    uint32_t type = 0;
    int32_t answer = 0;
};
struct SoundRecord {
    std::string path{};  // "" = stop
    uint32_t flags = 0;
    bool started = false;  // false: no such wave file, or SND_NOSTOP while another sound was playing
};
struct DialogRecord {
    std::string kind{};  // "open", "save" or "colour"
    Hwnd owner = 0;
    std::string title{};
    std::string folder{};
    std::string file_name{};
    std::vector<FileFilter> filters{};
    int32_t filter_index = 0;
};
// Scripted answers, used in order. A message box without one answers with its first button (OK or Yes); a file
// dialog without one is cancelled; a colour chooser without one is cancelled.
void push_answer(int32_t button);
void push_file_answer(const std::string& path);  // "" = cancel
void push_colour_answer(int64_t colour);         // < 0 = cancel
const std::vector<BoxRecord>& messages();
const std::vector<SoundRecord>& sounds();
const std::vector<DialogRecord>& dialogs();
const std::vector<std::string>& opened();  // documents and web addresses
// Forgets records and unused answers, destroys every window, drops queued messages, timers, capture, drops, the
// clipboard and the sound playing. Window classes and menu resources stay registered.
void reset();

// Moves the virtual clock forward, delivering what falls due on the way (timers at their own times).
void advance(uint32_t ms);
// Delivers everything queued, paints and due timers until nothing is left; returns how many were dispatched.
// A quit request stops it and stays pending.
int32_t pump();
bool quit_requested(int32_t* exit_code = nullptr);
// Input as the toolkit reports it, at a screen point: a mouse message (WM_MOUSEMOVE, WM_LBUTTONDOWN, ...) with
// MK_SHIFT / MK_CONTROL / MK_ALT in `keys`, the modifiers held from then on (buttons held are added from the
// message and the earlier presses).
void mouse(uint32_t msg, Point screen, uint32_t keys = 0);
// The wheel turned by `delta` (120 a notch, away from the player positive) over a screen point, with MK_SHIFT /
// MK_CONTROL / MK_ALT held.
void wheel(Point screen, int32_t delta, uint32_t keys = 0);
// A key going down (WM_KEYDOWN) or up (WM_KEYUP) in the window holding the keyboard focus, with the modifiers the
// player holds.
void key(uint32_t msg, uint32_t vk);
// The same while something outside the program's windows has the keyboard (a menu the toolkit shows, another
// program): the player holds the key, or no longer does, but no window of the program hears it.
void key_elsewhere(uint32_t msg, uint32_t vk);
// Files dropped from outside at a client point of the window.
void drop_files(Hwnd hwnd, const std::vector<std::string>& paths, Point client);
// The menu pop-up: the next track_popup_menu chooses this command (0 = dismissed) instead of showing a menu.
// Without an answer a pop-up is dismissed. A command that is not in the menu or is grayed chooses nothing.
void push_menu_answer(uint32_t cmd);
struct PopupRecord {
    Hmenu menu = 0;
    Point at;  // screen point
    Hwnd owner = 0;
    uint32_t chosen = 0;
};
const std::vector<PopupRecord>& popups();
// Places files on the clipboard as a file manager's copy does.
void set_clipboard_files(const std::vector<std::string>& paths);
}  // namespace test

}  // namespace ws
