// Window classes and windows: creation and destruction, placement, rectangles, coordinates, titles and focus.
#include <QApplication>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <map>

#include "ws/ws_widget.h"

namespace ws {
namespace detail {
namespace {

struct Registry {
    std::map<std::string, std::unique_ptr<WindowClass>> classes;
    std::map<Hwnd, std::unique_ptr<Window>> windows;  // handles grow, so the map keeps creation order
    Hwnd next = 1;
    std::vector<QPointer<QWidget>> graveyard;  // widgets of destroyed windows, deleted between messages
    std::vector<Hwnd> stack;                   // windows with a frame, back to front
    Hwnd focus = 0;
    int32_t cascade = 0;                       // where the next default-placed window goes
};

Registry& reg() {
    static Registry& r = *new Registry;  // windows left at exit die with the process, after Qt
    return r;
}

QRect qrect(int32_t x, int32_t y, int32_t w, int32_t h) { return QRect(x, y, std::max(w, 0), std::max(h, 0)); }

// Room the window manager's decoration takes around a frame: known for a shown window, else borrowed from another
// shown, decorated window (none under a bare X server).
QMargins decoration(const Window& w) {
    auto margins = [](const QWidget* f) {
        QRect outer = f->frameGeometry(), inner = f->geometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                        outer.bottom() - inner.bottom());
    };
    if (!w.frame || (w.frame->windowFlags() & Qt::FramelessWindowHint)) return {};
    if (w.frame->isVisible()) return margins(w.frame);
    for (auto& [h, other] : reg().windows)
        if (other->frame && other->frame->isVisible() && !(other->frame->windowFlags() & Qt::FramelessWindowHint))
            return margins(other->frame);
    return {};
}

// Places the outer rectangle of a framed window (screen coordinates).
void set_outer(Window& w, int32_t x, int32_t y, int32_t width, int32_t height) {
    QMargins m = decoration(w);
    w.frame->setGeometry(qrect(x + m.left(), y + m.top(), width - m.left() - m.right(), height - m.top() - m.bottom()));
}

// Where a window goes when its creator leaves position or size to the system.
void default_placement(const Window& w, int32_t& x, int32_t& y, int32_t& width, int32_t& height) {
    bool popup = (w.style & WS_POPUP) && !(w.style & WS_CAPTION);
    if (x == CW_USEDEFAULT) {
        int32_t step = 24 * (reg().cascade++ % 8);
        x = popup ? 0 : 40 + step;
        y = popup ? 0 : 40 + step;
    }
    if (width == CW_USEDEFAULT) {
        width = popup ? 0 : screen_width() * 3 / 4;
        height = popup ? 0 : screen_height() * 3 / 4;
    }
}

void build_widgets(Window& w, Window* parent, Window* owner) {
    bool child = w.style & WS_CHILD;
    bool caption = (w.style & WS_CAPTION) == WS_CAPTION;
    if (child && !caption) {
        w.client = new ClientWidget(w.hwnd, parent->client);
        w.client->setFocusPolicy(Qt::NoFocus);  // a child window takes the keyboard only when asked to
        return;
    }
    // A child with a caption floats as a tool window kept above its parent's window; an owned window stays above
    // its owner.
    // A floating child never takes the keyboard from the window it belongs to, as a child window would not.
    Qt::WindowFlags flags = child ? Qt::Tool | Qt::WindowDoesNotAcceptFocus : Qt::Window;
    if (!caption && !child) flags |= Qt::FramelessWindowHint;
    if (caption && !(w.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    QWidget* above = child ? parent->outer()->window() : owner ? owner->outer()->window() : nullptr;
    w.frame = new FrameWidget(w.hwnd, above, flags);
    w.client = new ClientWidget(w.hwnd, w.frame);
    w.client->setFocusPolicy(child ? Qt::NoFocus : Qt::StrongFocus);
    w.frame->setFocusProxy(w.client);
    w.frame->setWindowTitle(QString::fromStdString(w.title));
    reg().stack.push_back(w.hwnd);
}

void place(Window& w, int32_t x, int32_t y, int32_t width, int32_t height) {
    default_placement(w, x, y, width, height);
    if (!w.frame) {
        w.client->setGeometry(qrect(x, y, width, height));
        return;
    }
    if (w.style & WS_CHILD) {  // a floating child is placed in its parent's client coordinates
        Point s = client_to_screen(w.parent, {x, y});
        x = s.x;
        y = s.y;
    }
    // Resizing the frame tells the window its new size at once, and its procedure may destroy it on hearing it.
    Hwnd h = w.hwnd;
    set_outer(w, x, y, width, height);
    Window* alive = find_window(h);
    if (!alive) return;
    alive->outer_wanted = {x, y, x + width, y + height};
    alive->outer_pending = !alive->frame->isVisible() && decoration(*alive).isNull();
    alive->frame->place_client();
}

bool is_descendant(Hwnd h, Hwnd ancestor) {
    for (Window* w = find_window(h); w; w = find_window(w->parent ? w->parent : w->owner))
        if (w->hwnd == ancestor) return true;
    return false;
}

// When the window holding the keyboard goes, the keyboard goes back to the window it belonged to (its owner, or
// the top-level window of its parent), as the desktop gives activation back to a closed tool window's owner.
// Without that nothing of the program would hear the next key, an accelerator's included, until the player
// clicked a window.
void hand_back_focus(Hwnd heir) {
    Window* w = find_window(heir);
    while (w && w->parent) w = find_window(w->parent);
    if (w && !w->dying && w->outer()->isVisible()) set_focus(w->hwnd);
}

void bury(Window& w) {
    QWidget* o = w.outer();
    o->hide();
    reg().graveyard.emplace_back(o);
}

}  // namespace

QWidget* Window::outer() const { return frame ? static_cast<QWidget*>(frame) : static_cast<QWidget*>(client); }

std::vector<Window*> all_windows() {
    std::vector<Window*> out;
    for (auto& [h, w] : reg().windows) out.push_back(w.get());
    return out;
}

Window* find_window(Hwnd hwnd) {
    auto it = reg().windows.find(hwnd);
    return it == reg().windows.end() || it->second->destroying ? nullptr : it->second.get();
}

QWidget* client_widget(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    return w ? w->client : nullptr;
}

QWidget* dialog_parent(Hwnd owner) {
    Window* w = find_window(owner);
    return w ? w->outer()->window() : nullptr;
}

void raise_in_stack(Hwnd hwnd) {
    std::vector<Hwnd>& s = reg().stack;
    auto it = std::find(s.begin(), s.end(), hwnd);
    if (it == s.end()) return;
    s.erase(it);
    s.push_back(hwnd);
    // Windows owned by it, and its floating children, stay above it.
    std::vector<Hwnd> above;
    for (Hwnd h : s)
        if (h != hwnd && is_descendant(h, hwnd)) above.push_back(h);
    for (Hwnd h : above) {
        s.erase(std::find(s.begin(), s.end(), h));
        s.push_back(h);
    }
}

void sync_geometry(Hwnd h) {
    Window* w = find_window(h);
    if (!w) return;
    if (w->outer_pending && w->frame->isVisible() && !(w->frame->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
        // The window manager told its frame only once the window was shown: give the window the outer size that
        // was asked for, once.
        QMargins m = decoration(*w);
        if (!m.isNull()) {
            w->outer_pending = false;
            const Rect& r = w->outer_wanted;
            set_outer(*w, r.left, r.top, r.width(), r.height());
            if (!(w = find_window(h))) return;
        }
    }
    fit_surface(*w);
    if (!w->created) return;
    Size cs{w->client->width(), w->client->height()};
    uint32_t state = !w->frame ? SIZE_RESTORED
                     : w->frame->isMinimized() ? SIZE_MINIMIZED
                     : w->frame->isMaximized() ? SIZE_MAXIMIZED
                                               : SIZE_RESTORED;
    if (cs != w->sent_size || state != w->sent_state) {
        w->sent_size = cs;
        w->sent_state = state;
        send_message(h, WM_SIZE, state, make_lparam(cs.cx, cs.cy));
        if (!(w = find_window(h))) return;
    }
    // WM_MOVE tells where the client area starts: on the screen for a framed window, in the parent's client area
    // for a child.
    Point pos = w->frame ? client_to_screen(h, {0, 0}) : Point{w->client->x(), w->client->y()};
    if (pos != w->sent_pos) {
        w->sent_pos = pos;
        send_message(h, WM_MOVE, 0, make_lparam(pos.x, pos.y));
    }
}

void note_focus(Hwnd hwnd) {
    if (find_window(hwnd)) reg().focus = hwnd;
}

void collect_garbage() {
    std::vector<QPointer<QWidget>> dead;
    dead.swap(reg().graveyard);
    for (QPointer<QWidget>& p : dead) delete p.data();  // a child deleted with its parent is already null
}

void destroy_all_windows() {
    while (!reg().windows.empty()) {
        Hwnd first = reg().windows.begin()->first;
        Window* w = find_window(first);
        Hwnd root = first;
        while (w && find_window(w->parent ? w->parent : w->owner)) {
            root = w->parent ? w->parent : w->owner;
            w = find_window(root);
        }
        destroy_window(root);
        if (reg().windows.count(first)) reg().windows.erase(first);  // should not happen: never loop forever
    }
    reg().focus = 0;
    reg().cascade = 0;
}

}  // namespace detail

using namespace detail;

bool register_class(const WindowClass& wc) {
    if (wc.name.empty() || !wc.proc || reg().classes.count(wc.name)) return false;
    reg().classes[wc.name] = std::make_unique<WindowClass>(wc);
    return true;
}

bool class_registered(const std::string& name) { return reg().classes.count(name) != 0; }

Hwnd create_window(const std::string& class_name, const std::string& title, uint32_t style, int32_t x, int32_t y,
                   int32_t width, int32_t height, Hwnd parent, Hmenu menu, uintptr_t create_param) {
    auto cls = reg().classes.find(class_name);
    if (cls == reg().classes.end()) return 0;
    Window* parent_win = find_window(parent);
    if ((style & WS_CHILD) && !parent_win) return 0;
    if (parent && !parent_win) return 0;
    auto owned = std::make_unique<Window>();
    Window& w = *owned;
    w.hwnd = reg().next++;
    w.cls = cls->second.get();
    w.style = style & ~WS_VISIBLE;
    w.parent = (style & WS_CHILD) ? parent : 0;
    // A top-level window given a child window as its parent is owned by that child's top-level window.
    Window* owner_win = (style & WS_CHILD) ? nullptr : parent_win;
    while (owner_win && owner_win->parent) owner_win = find_window(owner_win->parent);
    w.owner = owner_win ? owner_win->hwnd : 0;
    w.title = title;
    reg().windows[w.hwnd] = std::move(owned);
    build_widgets(w, parent_win, owner_win);
    apply_class_cursor(w);
    if (!(style & WS_CHILD)) {
        w.menu = menu ? menu : w.cls->menu_name.empty() ? 0 : load_menu(w.cls->menu_name);
        if (w.menu) rebuild_menu_bar(w);
    }
    place(w, x, y, width, height);
    fit_surface(w);
    Hwnd h = w.hwnd;
    CreateStruct cs{create_param, parent, menu, style, x, y, width, height, title, class_name};
    if (send_message(h, WM_CREATE, 0, reinterpret_cast<intptr_t>(&cs)) == -1) {
        destroy_window(h);
        return 0;
    }
    Window* made = find_window(h);
    if (!made) return 0;  // destroyed while being created
    made->created = true;
    sync_geometry(h);
    if ((style & WS_VISIBLE) && is_window(h)) show_window(h, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
    return is_window(h) ? h : 0;
}

bool destroy_window(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    if (!w || w->dying) return false;  // already on its way out (destroy_window called again from WM_DESTROY)
    w->dying = true;
    const Hwnd focus = get_focus();
    const bool had_focus = focus && is_descendant(focus, hwnd);
    const Hwnd heir = w->owner ? w->owner : w->parent;
    // Owned windows go first; then the window hears WM_DESTROY, then its children do.
    for (Window* o : all_windows())
        if (o->owner == hwnd) destroy_window(o->hwnd);
    if (get_capture() && is_descendant(get_capture(), hwnd)) release_capture();
    send_message(hwnd, WM_DESTROY, 0, 0);
    if (!(w = find_window(hwnd))) return true;  // destroyed again from within WM_DESTROY
    w->destroying = true;
    std::vector<Hwnd> children;
    for (auto& [h, c] : reg().windows)
        if (c->parent == hwnd) children.push_back(h);
    for (Hwnd h : children) destroy_window(h);
    forget_window(hwnd);
    bury(*w);
    std::vector<Hwnd>& s = reg().stack;
    s.erase(std::remove(s.begin(), s.end(), hwnd), s.end());
    if (reg().focus == hwnd) reg().focus = 0;
    reg().windows.erase(hwnd);
    if (had_focus) hand_back_focus(heir);
    return true;
}

intptr_t def_window_proc(Hwnd hwnd, uint32_t msg, uintptr_t, intptr_t) {
    switch (msg) {
    case WM_CLOSE: destroy_window(hwnd); return 0;
    case WM_PAINT: {
        PaintStruct ps;
        begin_paint(hwnd, ps);
        end_paint(hwnd, ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        Window* w = find_window(hwnd);
        if (!w || w->cls->background == NO_BACKGROUND || !w->surface) return 0;
        uint32_t word = colour_to_word(Colour(w->cls->background));
        MemDC& s = *w->surface;
        for (int32_t y = std::max(w->painting.top, 0); y < std::min(w->painting.bottom, s.height()); ++y) {
            uint32_t* row = s.words() + size_t(s.height() - 1 - y) * size_t(s.width());
            std::fill(row + std::max(w->painting.left, 0), row + std::min(w->painting.right, s.width()), word);
        }
        return 1;
    }
    default: return 0;
    }
}

bool show_window(Hwnd hwnd, int32_t cmd) {
    Window* w = find_window(hwnd);
    if (!w) return false;
    QWidget* o = w->outer();
    bool was = !o->isHidden();
    switch (cmd) {
    case SW_HIDE: o->hide(); break;
    case SW_SHOWMAXIMIZED: w->frame ? o->showMaximized() : o->show(); break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE: w->frame ? o->showMinimized() : o->hide(); break;
    case SW_SHOWNORMAL:
    case SW_RESTORE: w->frame ? o->showNormal() : o->show(); break;
    default: o->show(); break;
    }
    if (!(w = find_window(hwnd))) return was;  // showing ran its procedure, which may have destroyed it
    if (cmd == SW_HIDE) w->style &= ~WS_VISIBLE;
    else w->style |= WS_VISIBLE;
    if (cmd != SW_HIDE && w->frame && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE) {
        // Showing activates: the window comes to the front and takes the keyboard unless a window of its own has it.
        raise_in_stack(hwnd);
        Hwnd f = get_focus();
        if (!(w->style & WS_CHILD) && (!f || !is_descendant(f, hwnd))) set_focus(hwnd);
    }
    sync_geometry(hwnd);
    return was;
}

bool move_window(Hwnd hwnd, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint) {
    Window* w = find_window(hwnd);
    if (!w) return false;
    place(*w, x, y, width, height);
    sync_geometry(hwnd);
    if (repaint && is_window(hwnd)) invalidate_rect(hwnd, nullptr, true);
    return true;
}

Rect get_client_rect(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    return w ? Rect{0, 0, w->client->width(), w->client->height()} : Rect{};
}

Rect get_window_rect(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    if (!w) return {};
    QRect r = w->frame ? w->frame->frameGeometry() : QRect(w->client->mapToGlobal(QPoint(0, 0)), w->client->size());
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Point client_to_screen(Hwnd hwnd, Point p) {
    Window* w = find_window(hwnd);
    if (!w) return p;
    QPoint g = w->client->mapToGlobal(QPoint(p.x, p.y));
    return {g.x(), g.y()};
}

Point screen_to_client(Hwnd hwnd, Point p) {
    Window* w = find_window(hwnd);
    if (!w) return p;
    QPoint c = w->client->mapFromGlobal(QPoint(p.x, p.y));
    return {c.x(), c.y()};
}

Hwnd window_from_point(Point screen) {
    const std::vector<Hwnd>& s = reg().stack;
    for (auto it = s.rbegin(); it != s.rend(); ++it) {
        Window* w = find_window(*it);
        if (!w || !w->frame->isVisible() || !w->frame->frameGeometry().contains(QPoint(screen.x, screen.y))) continue;
        QPoint local = w->client->mapFromGlobal(QPoint(screen.x, screen.y));
        if (!w->client->rect().contains(local)) return w->hwnd;  // on the frame or the menu bar
        for (QWidget* c = w->client->childAt(local); c; c = c->parentWidget())
            if (auto* cw = dynamic_cast<ClientWidget*>(c)) return find_window(cw->hwnd()) ? cw->hwnd() : w->hwnd;
        return w->hwnd;
    }
    return 0;
}

bool set_foreground_window(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    if (!w) return false;
    QWidget* top = w->outer()->window();
    if (!layer().test) {  // the offscreen platform has no stacking; our own order is what counts there
        top->raise();
        top->activateWindow();
    }
    if (auto* f = dynamic_cast<FrameWidget*>(top)) raise_in_stack(f->hwnd());
    return true;
}

bool set_window_text(Hwnd hwnd, const std::string& utf8) {
    Window* w = find_window(hwnd);
    if (!w) return false;
    w->title = utf8;
    if (w->frame) w->frame->setWindowTitle(QString::fromStdString(utf8));
    return true;
}

std::string get_window_text(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    return w ? w->title : std::string();
}

Hwnd get_parent(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    return w ? (w->parent ? w->parent : w->owner) : 0;
}

bool is_window(Hwnd hwnd) { return find_window(hwnd) != nullptr; }

bool is_window_visible(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    return w && w->outer()->isVisible();
}

bool is_zoomed(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    return w && w->frame && w->frame->isMaximized();
}

bool is_iconic(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    return w && w->frame && w->frame->isMinimized();
}

uint32_t get_window_style(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    return w ? w->style : 0;
}

Hwnd set_focus(Hwnd hwnd) {
    Hwnd before = get_focus();
    Window* w = find_window(hwnd);
    if (!w) return before;
    reg().focus = hwnd;
    // The keyboard goes to one window of the program: taking it brings that window's top-level window forward.
    QWidget* top = w->outer()->window();
    w->client->setFocus(Qt::OtherFocusReason);
    if (top->isVisible() && !top->isActiveWindow()) top->activateWindow();
    return before;
}

Hwnd get_focus() { return find_window(reg().focus) ? reg().focus : 0; }

Rect adjust_window_rect(const Rect& client, uint32_t style, bool has_menu) {
    Rect r = client;
    if (has_menu) {
        QMenuBar probe;
        probe.addMenu(QStringLiteral("M"));
        r.top -= probe.sizeHint().height();
    }
    if ((style & WS_CAPTION) != WS_CAPTION) return r;
    for (Window* w : all_windows()) {
        if (!w->frame || !w->frame->isVisible() || (w->frame->windowFlags() & Qt::FramelessWindowHint)) continue;
        QRect outer = w->frame->frameGeometry(), inner = w->frame->geometry();
        r.left -= inner.left() - outer.left();
        r.top -= inner.top() - outer.top();
        r.right += outer.right() - inner.right();
        r.bottom += outer.bottom() - inner.bottom();
        break;
    }
    return r;
}

}  // namespace ws
