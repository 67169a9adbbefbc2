// The two Qt widgets behind a window: the client area (shows the client surface, turns input into messages) and
// the frame of a top-level window (the Qt window itself, holding the menu bar above the client area).
#pragma once
#include <QImage>
#include <QWidget>

#include "ws/ws_state.h"

class QMenuBar;

namespace ws::detail {

class ClientWidget : public QWidget {
public:
    ClientWidget(Hwnd hwnd, QWidget* parent, Qt::WindowFlags flags = {});
    Hwnd hwnd() const { return hwnd_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void mouse(QMouseEvent* e, uint32_t msg);
    void key(QKeyEvent* e, bool down);

    Hwnd hwnd_;
    QImage band_;  // a few rows of the surface turned top-down on their way to the screen (reused between paints)
};

class FrameWidget : public QWidget {
public:
    FrameWidget(Hwnd hwnd, QWidget* parent, Qt::WindowFlags flags);
    Hwnd hwnd() const { return hwnd_; }
    QMenuBar* bar() const { return bar_; }
    QMenuBar* make_bar();  // creates the menu bar on first use
    void remove_bar();
    int32_t bar_height() const;
    void place_client();   // the menu bar on top, the client area below it

protected:
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    Hwnd hwnd_;
    QMenuBar* bar_ = nullptr;
};

}  // namespace ws::detail
