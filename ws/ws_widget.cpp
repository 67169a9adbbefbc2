// The Qt widgets behind windows: showing client surfaces and turning Qt's input events into queued messages.
#include "ws/ws_widget.h"

#include <algorithm>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include "graphics/zoom.h"

namespace ws::detail {
namespace {

uint32_t mk_buttons(Qt::MouseButtons b) {
    uint32_t mk = 0;
    if (b & Qt::LeftButton) mk |= MK_LBUTTON;
    if (b & Qt::RightButton) mk |= MK_RBUTTON;
    if (b & Qt::MiddleButton) mk |= MK_MBUTTON;
    return mk;
}

// The message of a button event: index 0 = down, 1 = up, 2 = double click.
uint32_t button_message(Qt::MouseButton b, int kind) {
    static const uint32_t table[3][3] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
                                         {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
                                         {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}};
    int row = b == Qt::LeftButton ? 0 : b == Qt::RightButton ? 1 : b == Qt::MiddleButton ? 2 : -1;
    return row < 0 ? WM_NULL : table[row][kind];
}

// The modifiers an event says are held. They are taken from every event, not only from the modifier keys' own:
// a release the program never heard (a menu opened with Alt+letter takes Alt's release, another window may take
// any) would otherwise leave the key held, and every accelerator pressed later would miss its table.
void note_modifiers_of(const QInputEvent* e) {
    const Qt::KeyboardModifiers m = e->modifiers();
    note_modifiers(m & Qt::ShiftModifier, m & Qt::ControlModifier, m & Qt::AltModifier);
}

std::vector<std::string> local_files(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& u : data->urls())
        if (u.isLocalFile()) paths.push_back(u.toLocalFile().toStdString());
    return paths;
}

}  // namespace

// ---- client area ----

ClientWidget::ClientWidget(Hwnd hwnd, QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags), hwnd_(hwnd) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel comes from the surface
    setAttribute(Qt::WA_NoSystemBackground);
}

void ClientWidget::paintEvent(QPaintEvent* e) {
    Window* w = find_window(hwnd_);
    QPainter p(this);
    if (!w || !w->surface || !w->surface->created()) {
        p.fillRect(e->rect(), Qt::white);
        return;
    }
    MemDC& s = *w->surface;
    // A band of rows rather than a whole copy of the surface: a window the size of a large screen would otherwise
    // keep tens of megabytes twice.
    constexpr int kBandRows = 64;
    if (band_.width() != s.width()) band_ = QImage(s.width(), kBandRows, QImage::Format_RGB32);
    const int scale = w->device_scale;  // surface pixels per client pixel, in thousandths
    const auto to_surface = [&](const QRect& c) {  // rounded out
        const Rect r = zoomed_rect({c.left(), c.top(), c.right() + 1, c.bottom() + 1}, scale);
        return QRect(r.left, r.top, r.width(), r.height());
    };
    const QRect all(0, 0, s.width(), s.height());
    for (const QRect& dirty : e->region()) {
        QRect r = to_surface(dirty) & all;
        for (int top = r.top(); top <= r.bottom(); top += kBandRows) {
            const int rows = std::min(kBandRows, r.bottom() + 1 - top);
            // The surface keeps its rows bottom-up: copy the band's rows over reversed, then draw them.
            for (int i = 0; i < rows; ++i) {
                const uint32_t* src = s.words() + size_t(s.height() - 1 - (top + i)) * size_t(s.width()) + r.left();
                auto* dst = reinterpret_cast<uint32_t*>(band_.scanLine(i));
                for (int x = 0; x < r.width(); ++x) dst[x] = src[x] | 0xFF000000u;
            }
            if (scale == 1000) {
                p.drawImage(QPoint(r.left(), top), band_, QRect(0, 0, r.width(), rows));
            } else {
                // Device pixels land on device pixels: the target is the band's own place, in client units.
                const double k = scale / 1000.0;
                p.drawImage(QRectF(r.left() / k, top / k, r.width() / k, rows / k), band_, QRectF(0, 0, r.width(), rows));
            }
        }
    }
    QRegion outside = e->region().subtracted(QRegion(QRect(0, 0, s.width() * 1000 / scale, s.height() * 1000 / scale)));
    for (const QRect& r : outside) p.fillRect(r, Qt::white);
}

void ClientWidget::resizeEvent(QResizeEvent*) {
    sync_geometry(hwnd_);
}

void ClientWidget::moveEvent(QMoveEvent*) {
    Window* w = find_window(hwnd_);
    if (w && !w->frame) sync_geometry(hwnd_);
}

void ClientWidget::mouse(QMouseEvent* e, uint32_t msg) {
    if (msg == WM_NULL) return;
    note_modifiers_of(e);
    note_buttons(mk_buttons(e->buttons()));
    Point screen{int32_t(e->globalPosition().x()), int32_t(e->globalPosition().y())};
    note_pointer(screen);
    // With the capture every mouse message goes to its holder, wherever the pointer is.
    Hwnd target = get_capture() ? get_capture() : hwnd_;
    if (!find_window(target)) return;
    Point c = screen_to_client(target, screen);
    enqueue({target, msg, mk_state(), make_lparam(c.x, c.y), input_time(e->timestamp()), input_keys()});
}

void ClientWidget::mousePressEvent(QMouseEvent* e) { mouse(e, button_message(e->button(), 0)); }
void ClientWidget::mouseReleaseEvent(QMouseEvent* e) { mouse(e, button_message(e->button(), 1)); }
void ClientWidget::mouseMoveEvent(QMouseEvent* e) { mouse(e, WM_MOUSEMOVE); }

void ClientWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    // Qt reports a quick second press as a double click; windows that did not ask for those get a plain press.
    Window* w = find_window(hwnd_);
    bool wants = w && w->cls && (w->cls->style & CS_DBLCLKS);
    mouse(e, button_message(e->button(), wants ? 2 : 0));
}

void ClientWidget::wheelEvent(QWheelEvent* e) {
    note_modifiers_of(e);
    Point screen{int32_t(e->globalPosition().x()), int32_t(e->globalPosition().y())};
    auto delta = uint32_t(uint16_t(int16_t(e->angleDelta().y())));
    enqueue({hwnd_, WM_MOUSEWHEEL, uintptr_t(delta << 16 | mk_state()), make_lparam(screen.x, screen.y),
             input_time(e->timestamp()), input_keys()});
}

void ClientWidget::key(QKeyEvent* e, bool down) {
    uint32_t vk = vk_from_qt(e->key());
    if (vk == 0) {
        e->ignore();
        return;
    }
    if (!down && e->isAutoRepeat()) return;  // a held key repeats its key down only
    bool was_down = get_key_state(int32_t(vk)) < 0;
    note_modifiers_of(e);
    note_key(vk, down);  // after the modifiers: a modifier key's own event tells best whether it is down
    // lparam: repeat count 1, bit 30 = the key was down before, bit 31 = it is going up.
    uint32_t lp = 1u | (was_down ? 1u << 30 : 0u) | (down ? 0u : 1u << 31);
    enqueue({hwnd_, down ? WM_KEYDOWN : WM_KEYUP, vk, intptr_t(lp), input_time(e->timestamp()), input_keys()});
}

void ClientWidget::keyPressEvent(QKeyEvent* e) { key(e, true); }
void ClientWidget::keyReleaseEvent(QKeyEvent* e) { key(e, false); }

void ClientWidget::dragEnterEvent(QDragEnterEvent* e) {
    Window* w = find_window(hwnd_);
    if (w && w->accept_drops && !local_files(e->mimeData()).empty()) e->acceptProposedAction();
}

void ClientWidget::dragMoveEvent(QDragMoveEvent* e) {
    Window* w = find_window(hwnd_);
    if (w && w->accept_drops) e->acceptProposedAction();
}

void ClientWidget::dropEvent(QDropEvent* e) {
    Window* w = find_window(hwnd_);
    std::vector<std::string> paths = local_files(e->mimeData());
    if (!w || !w->accept_drops || paths.empty()) return;
    e->acceptProposedAction();
    Point at{int32_t(e->position().x()), int32_t(e->position().y())};
    enqueue({hwnd_, WM_DROPFILES, new_drop(std::move(paths), at), 0, tick_count()});
}

void ClientWidget::leaveEvent(QEvent* e) {
    if (find_window(hwnd_)) enqueue({hwnd_, WM_MOUSELEAVE, 0, 0, tick_count(), input_keys()});
    QWidget::leaveEvent(e);
}

void ClientWidget::focusInEvent(QFocusEvent* e) {
    note_focus(hwnd_);
    QWidget::focusInEvent(e);
}

// ---- frame of a top-level window ----

FrameWidget::FrameWidget(Hwnd hwnd, QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags), hwnd_(hwnd) {}

QMenuBar* FrameWidget::make_bar() {
    if (!bar_) {
        bar_ = new QMenuBar(this);
        bar_->setNativeMenuBar(false);  // the bar belongs to this window and takes room in it
        if (isVisible()) bar_->show();
    }
    return bar_;
}

void FrameWidget::remove_bar() {
    delete bar_;
    bar_ = nullptr;
}

int32_t FrameWidget::bar_height() const {
    if (!bar_) return 0;
    return bar_->hasHeightForWidth() ? bar_->heightForWidth(width()) : bar_->sizeHint().height();
}

void FrameWidget::place_client() {
    Window* w = find_window(hwnd_);
    if (!w || !w->client) return;
    int32_t bh = std::min<int32_t>(bar_height(), height());
    if (bar_) bar_->setGeometry(0, 0, width(), bh);
    w->client->setGeometry(0, bh, width(), height() - bh);
}

void FrameWidget::resizeEvent(QResizeEvent*) {
    place_client();
    sync_geometry(hwnd_);
}

void FrameWidget::moveEvent(QMoveEvent*) {
    sync_geometry(hwnd_);
}

void FrameWidget::closeEvent(QCloseEvent* e) {
    // Closing from the window manager asks the program, which may refuse; only destroy_window removes a window.
    e->ignore();
    if (find_window(hwnd_)) enqueue({hwnd_, WM_CLOSE, 0, 0, tick_count()});
}

void FrameWidget::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) raise_in_stack(hwnd_);
    if (e->type() == QEvent::WindowStateChange)
        sync_geometry(hwnd_);
    QWidget::changeEvent(e);
}

}  // namespace ws::detail
