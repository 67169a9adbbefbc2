// Inner state of the window-system layer, shared by its ws_*.cpp files only (the one header where Qt meets our types).
#pragma once
#include <QElapsedTimer>

#include <cstdint>
#include <climits>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "ws/ws.h"

class QApplication;
class QWidget;

namespace ws::detail {

// Process-wide switches and the clock. The clock counts milliseconds from init: real time normally, a counter
// that only ws::test::advance moves in test mode.
struct Layer {
    bool started = false;
    bool test = false;
    QElapsedTimer clock;
    uint32_t virtual_now = 0;
    uint32_t message_time = 0;  // time of the message most recently taken from the queue
    bool english = false;       // the player's language, chosen once at start (choose_language)
};
Layer& layer();

// Scripted answers and records of test mode.
struct TestScript {
    std::deque<int32_t> answers;             // message boxes
    std::deque<std::string> file_answers;    // open/save dialogs ("" = cancelled)
    std::deque<int64_t> colour_answers;      // colour chooser (< 0 = cancelled)
    std::vector<test::BoxRecord> messages;
    std::vector<test::SoundRecord> sounds;
    std::vector<test::DialogRecord> dialogs;
    std::vector<std::string> opened;         // documents and web addresses handed to the desktop
    std::deque<uint32_t> menu_answers;       // pop-up menus
    std::vector<test::PopupRecord> popups;
};
TestScript& script();

class ClientWidget;
class FrameWidget;

// One window. A top-level window is a FrameWidget (the Qt window, holding the menu bar) around its ClientWidget;
// a child window is a ClientWidget inside its parent's client, or a floating tool FrameWidget when it has a caption.
struct Window {
    Hwnd hwnd = 0;
    const WindowClass* cls = nullptr;
    uint32_t style = 0;
    Hwnd parent = 0;  // the parent of a child window
    Hwnd owner = 0;   // the owner of a top-level window
    std::string title;
    FrameWidget* frame = nullptr;   // nullptr for a child window drawn inside its parent
    ClientWidget* client = nullptr;
    Hmenu menu = 0;
    std::unique_ptr<MemDC> surface;
    Rect invalid;          // the part waiting for WM_PAINT (empty = none)
    Rect painting;         // the part being painted between begin_paint and end_paint
    bool erase = false;
    bool created = false;  // WM_CREATE has returned: size and move changes are told from now on
    bool dying = false;       // destroy_window has started on it
    bool destroying = false;  // its WM_DESTROY is over: the handle no longer names a window
    bool accept_drops = false;
    bool device_pixels = false;   // the surface holds device pixels (use_device_pixels)
    int32_t device_scale = 1000;  // device pixels per client pixel of the surface, in thousandths
    Rect outer_wanted;           // the outer rectangle last asked for
    bool outer_pending = false;  // asked for before the window manager's frame was known
    Size sent_size{-1, -1};  // what the last WM_SIZE / WM_MOVE told, so a change is told once
    uint32_t sent_state = 0xFFFFFFFF;
    Point sent_pos{INT32_MIN, INT32_MIN};
    bool is_top() const { return frame != nullptr && !(style & WS_CHILD); }
    QWidget* outer() const;  // the widget whose geometry is the window rectangle
};

// The live windows in creation order (parents before their children).
std::vector<Window*> all_windows();
Window* find_window(Hwnd hwnd);
// The widget that shows a window's client area, or nullptr when the handle is not a live window.
QWidget* client_widget(Hwnd hwnd);
// The top-level Qt window that owns dialogs for `owner` (nullptr for none).
QWidget* dialog_parent(Hwnd owner);
// Lays out frame and client after a geometry change, resizes the client surface and sends WM_SIZE / WM_MOVE for
// what changed.
void sync_geometry(Hwnd hwnd);
// Destroys every window (test reset).
void destroy_all_windows();
// Deletes widgets of destroyed windows once no Qt event handler runs for them any more.
void collect_garbage();
// Raises a top-level window to the front of our stacking order (window_from_point looks front to back).
void raise_in_stack(Hwnd hwnd);
// The keyboard focus as Qt moved it (a click, the window manager activating a window).
void note_focus(Hwnd hwnd);

// The message queue, timers and the quit request.
void enqueue(const Msg& m);        // appends; consecutive mouse moves to one window collapse into the last
void forget_window(Hwnd hwnd);     // drops its timers
void reset_queue();                // test reset: queue, timers and quit request
uint32_t next_timer_due(bool& any);

// Painting: resize the client surface to the client widget's size (keeping what fits), copy to the screen.
void fit_surface(Window& w);
bool wants_paint(const Window& w);
void after_paint_dispatch(Hwnd hwnd, const Rect& before);

// Input: Qt events become messages; state of buttons and keys as seen.
uint32_t vk_from_qt(int qt_key);
void note_key(uint32_t vk, bool down);
void note_modifiers(bool shift, bool ctrl, bool alt);
void note_buttons(uint32_t mk_buttons);
uint32_t mk_state();               // MK_* of buttons and Shift/Ctrl as seen
uint32_t input_keys();             // mk_state() and MK_ALT: what an input message keeps in Msg::keys
void note_pointer(Point screen);
void reset_input();                // test reset: capture, keys, buttons
void apply_class_cursor(Window& w);

// Sound: nothing playing any more (test reset).
void reset_sound();

// Drops from outside: a handle for WM_DROPFILES.
uintptr_t new_drop(std::vector<std::string> paths, Point client);
void reset_drops();

// Menus: the Qt menu bar of a window follows its menu record.
void rebuild_menu_bar(Window& w);

// Clock time for an input event carrying the toolkit's own time stamp (0 = none).
uint32_t input_time(uint64_t toolkit_stamp);
// Chooses the player's language from the desktop's and installs the translators that go with it (ws_language.cpp).
void choose_language(QApplication* app);

}  // namespace ws::detail
