// Mouse and keyboard: capture, key and button state, key codes, cursors, and the test hooks that act as the player.
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <array>

#include "ws/ws_widget.h"

namespace ws {
namespace detail {
namespace {

struct Input {
    Hwnd capture = 0;
    std::array<bool, 256> keys{};
    std::array<bool, 256> held{};  // test mode: the keys the player holds, heard by the program or not
    uint32_t buttons = 0;  // MK_LBUTTON | MK_RBUTTON | MK_MBUTTON
    Point pointer;
    Hcursor cursor = IDC_ARROW;
    bool override_on = false;
};

Input& input() {
    static Input i;
    return i;
}

struct KeyPair {
    int qt;
    uint32_t vk;
};
constexpr KeyPair key_table[] = {
    {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},     {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},      {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},     {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_Home, VK_HOME},     {Qt::Key_End, VK_END},         {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Plus, VK_OEM_PLUS}, {Qt::Key_Equal, VK_OEM_PLUS},  {Qt::Key_Minus, VK_OEM_MINUS},
};

int qt_key_from_vk(uint32_t vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return int(vk);  // Qt uses the same codes
    if (vk >= VK_F1 && vk < VK_F1 + 12) return Qt::Key_F1 + int(vk - VK_F1);
    for (const KeyPair& k : key_table)
        if (k.vk == vk) return k.qt;
    return 0;
}

Qt::MouseButtons qt_buttons(uint32_t mk) {
    Qt::MouseButtons b;
    if (mk & MK_LBUTTON) b |= Qt::LeftButton;
    if (mk & MK_RBUTTON) b |= Qt::RightButton;
    if (mk & MK_MBUTTON) b |= Qt::MiddleButton;
    return b;
}

Qt::KeyboardModifiers qt_modifiers(bool shift, bool ctrl, bool alt = false) {
    Qt::KeyboardModifiers m;
    if (shift) m |= Qt::ShiftModifier;
    if (ctrl) m |= Qt::ControlModifier;
    if (alt) m |= Qt::AltModifier;
    return m;
}

void apply_cursor(Hcursor c) {
    // The hourglass (and a hidden cursor) hold over every window of the program until the arrow comes back.
    Input& in = input();
    Qt::CursorShape shape = c == IDC_WAIT ? Qt::WaitCursor : Qt::BlankCursor;
    if (c == IDC_ARROW) {
        if (in.override_on) QGuiApplication::restoreOverrideCursor();
        in.override_on = false;
    } else if (in.override_on) {
        QGuiApplication::changeOverrideCursor(QCursor(shape));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(shape));
        in.override_on = true;
    }
}

}  // namespace

uint32_t vk_from_qt(int qt_key) {
    if ((qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) || (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9)) return uint32_t(qt_key);
    if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F12) return VK_F1 + uint32_t(qt_key - Qt::Key_F1);
    for (const KeyPair& k : key_table)
        if (k.qt == qt_key) return k.vk;
    return 0;
}

void note_key(uint32_t vk, bool down) { input().keys[vk & 0xFF] = down; }

void note_modifiers(bool shift, bool ctrl, bool alt) {
    input().keys[VK_SHIFT] = shift;
    input().keys[VK_CONTROL] = ctrl;
    input().keys[VK_MENU] = alt;
}

void note_buttons(uint32_t mk_buttons) { input().buttons = mk_buttons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON); }

uint32_t mk_state() {
    const Input& in = input();
    return in.buttons | (in.keys[VK_SHIFT] ? uint32_t(MK_SHIFT) : 0u) | (in.keys[VK_CONTROL] ? uint32_t(MK_CONTROL) : 0u);
}

uint32_t input_keys() { return mk_state() | (input().keys[VK_MENU] ? uint32_t(MK_ALT) : 0u); }

void note_pointer(Point screen) { input().pointer = screen; }

void reset_input() {
    Input& in = input();
    if (in.capture) release_capture();
    in.keys.fill(false);
    in.held.fill(false);
    in.buttons = 0;
    in.pointer = {};
    if (in.cursor != IDC_ARROW) set_cursor(IDC_ARROW);
}

void apply_class_cursor(Window& w) {
    switch (w.cls->cursor) {
    case IDC_ARROW: w.client->setCursor(Qt::ArrowCursor); break;
    case IDC_WAIT: w.client->setCursor(Qt::WaitCursor); break;
    default: w.client->unsetCursor(); break;
    }
}

}  // namespace detail

using namespace detail;

Hcursor load_cursor(int32_t id) { return id == IDC_ARROW || id == IDC_WAIT ? id : 0; }

Hcursor set_cursor(Hcursor cursor) {
    Hcursor before = input().cursor;
    if (cursor == before) return before;
    input().cursor = cursor;
    apply_cursor(cursor);
    return before;
}

Hcursor get_cursor() { return input().cursor; }

Point cursor_pos() {
    if (layer().test) return input().pointer;
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

Hwnd set_capture(Hwnd hwnd) {
    Input& in = input();
    Hwnd before = get_capture();
    Window* w = find_window(hwnd);
    if (!w || hwnd == before) return before;
    in.capture = hwnd;
    if (!layer().test && w->client->isVisible()) w->client->grabMouse();
    if (before) send_message(before, WM_CAPTURECHANGED, 0, hwnd);
    return before;
}

bool release_capture() {
    Input& in = input();
    Hwnd old = in.capture;
    in.capture = 0;
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    if (old && find_window(old)) send_message(old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

Hwnd get_capture() {
    Input& in = input();
    if (in.capture && !find_window(in.capture)) in.capture = 0;
    return in.capture;
}

int16_t get_key_state(int32_t vk) {
    const Input& in = input();
    bool down = false;
    switch (vk) {
    case VK_LBUTTON: down = in.buttons & MK_LBUTTON; break;
    case VK_RBUTTON: down = in.buttons & MK_RBUTTON; break;
    case VK_MBUTTON: down = in.buttons & MK_MBUTTON; break;
    default: down = vk >= 0 && vk < 256 && in.keys[size_t(vk)]; break;
    }
    return down ? int16_t(-32768) : int16_t(0);
}

namespace test {

void mouse(uint32_t msg, Point screen, uint32_t keys) {
    struct Kind { QEvent::Type type; Qt::MouseButton button; uint32_t mk; };
    Kind k{QEvent::MouseMove, Qt::NoButton, 0};
    switch (msg) {
    case WM_LBUTTONDOWN: k = {QEvent::MouseButtonPress, Qt::LeftButton, MK_LBUTTON}; break;
    case WM_LBUTTONUP: k = {QEvent::MouseButtonRelease, Qt::LeftButton, MK_LBUTTON}; break;
    case WM_RBUTTONDOWN: k = {QEvent::MouseButtonPress, Qt::RightButton, MK_RBUTTON}; break;
    case WM_RBUTTONUP: k = {QEvent::MouseButtonRelease, Qt::RightButton, MK_RBUTTON}; break;
    case WM_MBUTTONDOWN: k = {QEvent::MouseButtonPress, Qt::MiddleButton, MK_MBUTTON}; break;
    case WM_MBUTTONUP: k = {QEvent::MouseButtonRelease, Qt::MiddleButton, MK_MBUTTON}; break;
    default: break;
    }
    uint32_t held = input().buttons;
    held = k.type == QEvent::MouseButtonPress ? held | k.mk : k.type == QEvent::MouseButtonRelease ? held & ~k.mk : held;
    note_pointer(screen);
    // The modifiers given are those the player holds from now on.
    input().held[VK_SHIFT] = keys & MK_SHIFT;
    input().held[VK_CONTROL] = keys & MK_CONTROL;
    input().held[VK_MENU] = keys & MK_ALT;
    // Qt hands every mouse event to the grabbing widget; otherwise to the window under the pointer.
    Hwnd target = get_capture() ? get_capture() : window_from_point(screen);
    QWidget* widget = client_widget(target);
    if (!widget) {
        note_buttons(held);
        return;
    }
    QPointF global(screen.x, screen.y);
    QMouseEvent e(k.type, widget->mapFromGlobal(global), global, k.button, qt_buttons(held),
                  qt_modifiers(keys & MK_SHIFT, keys & MK_CONTROL, keys & MK_ALT));
    QCoreApplication::sendEvent(widget, &e);
}

void wheel(Point screen, int32_t delta, uint32_t keys) {
    note_pointer(screen);
    QWidget* widget = client_widget(window_from_point(screen));
    if (!widget) return;
    const QPointF global(screen.x, screen.y);
    QWheelEvent e(widget->mapFromGlobal(global), global, QPoint(), QPoint(0, delta), qt_buttons(input().buttons),
                  qt_modifiers(keys & MK_SHIFT, keys & MK_CONTROL, keys & MK_ALT), Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &e);
}

void key(uint32_t msg, uint32_t vk) {
    const bool down = msg == WM_KEYDOWN;
    std::array<bool, 256>& held = input().held;
    const bool repeat = down && held[vk & 0xFF];
    held[vk & 0xFF] = down;
    QWidget* widget = client_widget(get_focus());
    int qt = qt_key_from_vk(vk);
    if (!widget || qt == 0) return;
    // Like the toolkit, the event carries the modifiers the player holds, whatever the program last heard.
    QKeyEvent e(down ? QEvent::KeyPress : QEvent::KeyRelease, qt,
                qt_modifiers(held[VK_SHIFT], held[VK_CONTROL], held[VK_MENU]), QString(), repeat);
    QCoreApplication::sendEvent(widget, &e);
}

void key_elsewhere(uint32_t msg, uint32_t vk) { input().held[vk & 0xFF] = msg == WM_KEYDOWN; }

}  // namespace test
}  // namespace ws
