// The piece shape chooser "ピース形状" ("KatachiWin"): the four cutting-line templates edited by dragging their
// control points over a grid, with a preview square; "  キャンセル" puts back the templates it opened with.
#include "windows/katachi.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graphics/raster.h"
#include "puzzle/lines.h"
#include "puzzle/settings.h"
#include "ws/tr.h"

namespace {

constexpr const char* kClassName = "KatachiWin";
constexpr const char* kTitle = ZT_NOOP("windows", "ピース形状");
constexpr uint32_t kStyle = ws::WS_CHILD | ws::WS_CAPTION | ws::WS_THICKFRAME | ws::WS_SYSMENU |
                            ws::WS_MINIMIZEBOX | ws::WS_MAXIMIZEBOX;
constexpr int32_t kOx = 110, kOy = 110;  // where a template's point (0, 0) lies in the window
constexpr int32_t kHalf = 108, kSide = 216, kStep = 12;
constexpr int32_t kLabelX = 400, kLabelRight = 505, kCancelY = 300;
constexpr Colour kWhite = 0xFFFFFF, kBlack = 0, kLightBlue = 0xFF9696, kLightGreen = 0x96FF96, kRed = 0x0000FF;
constexpr const char* kLabels[] = {ZT_NOOP("windows", "  ライン１"), ZT_NOOP("windows", "  ライン２"),
                                   ZT_NOOP("windows", "  ライン３"), ZT_NOOP("windows", "  ライン４")};

struct Chooser {
    ws::Hwnd hwnd = 0;
    int32_t selected = 0;
    int32_t dragged = -1;
    Point backup[kLineTemplates][kLinePointsMax] = {};
    MemDC back;  // the back buffer, screen size
};
Chooser chooser;

Point* selected_template() { return settings.line[chooser.selected]; }

void draw_grid(MemDC& b) {
    const Point diamond[5] = {{kOx, kOy}, {kOx + kHalf, kOy - kHalf}, {kOx + kSide, kOy}, {kOx + kHalf, kOy + kHalf},
                              {kOx, kOy}};
    b.set_pen1(kLightBlue);
    b.polyline(diamond, 5);
    for (int32_t i = -kHalf; i <= kHalf; i += kStep) {
        b.set_pen1(i == 0 ? kLightGreen : kLightBlue);
        b.line(kOx, kOy + i, kOx + kSide, kOy + i);
        b.line(kOx + kHalf + i, kOy - kHalf, kOx + kHalf + i, kOy + kHalf);
    }
}

// The template's points, then the preview square whose four sides all follow it.
void draw_template(MemDC& b) {
    const Point* t = selected_template();
    const int32_t n = line_points();
    for (int32_t i = 0; i < n; ++i)
        b.fill(kOx + t[i].x - 1, kOy + t[i].y - 1, 3, 3, i % 3 == 0 ? kBlack : kRed);
    Point side[4][kLinePointsMax];
    for (int32_t i = 0; i < n; ++i) {
        side[0][i] = {t[i].x + kOx, t[i].y + kOy};
        side[1][i] = {t[i].x + kOx, kOy + kSide - t[i].y};
        side[2][i] = {kOy + t[i].y, kOx + t[i].x};
        side[3][i] = {kOx + kSide - t[i].y, kOx + t[i].x};
    }
    b.set_pen1(kBlack);
    for (auto& s : side) b.bezier(s, n);
}

void draw_labels(MemDC& b) {
    ws::text(b, kLabelX, 20, ws::tr("windows", kTitle).c_str(), -1, kBlack);
    for (int32_t i = 0; i < kLineTemplates; ++i)
        ws::text(b, kLabelX, 40 + 20 * i, ws::tr("windows", kLabels[i]).c_str(), -1, kBlack);
    ws::text(b, kLabelX, kCancelY, ws::tr("windows", "  キャンセル").c_str(), -1, kBlack);
    // A ring, not a filled ellipse: the label inside stays readable.
    const int32_t top = 20 * chooser.selected + 40;
    raster::draw_ellipse_outline({b.words(), b.width(), b.height()}, {kLabelX, top, kLabelRight, top + 20},
                                 {colour_to_word(kBlack), 1});
}

void on_paint(ws::Hwnd hwnd) {
    ws::PaintStruct ps;
    MemDC* dc = ws::begin_paint(hwnd, ps);
    if (!dc) return;
    MemDC& b = chooser.back;
    const Rect c = ws::get_client_rect(hwnd);
    b.fill(0, 0, c.width(), c.height(), kWhite);
    draw_grid(b);
    draw_template(b);
    draw_labels(b);
    const Rect& r = ps.paint;
    dc->blit(r.left, r.top, r.width(), r.height(), b, r.left, r.top, SRCCOPY);
    b.release_dc();
    ws::end_paint(hwnd, ps);
}

void on_left_down(ws::Hwnd hwnd, int32_t x, int32_t y) {
    const Point* t = selected_template();
    for (int32_t i = 1; i <= line_points() - 2; ++i)
        if (std::abs(t[i].x - (x - kOx)) <= 4 && std::abs(t[i].y - (y - kOy)) <= 4) {
            chooser.dragged = i;
            ws::set_capture(hwnd);  // the point follows the pointer until the button comes up, wherever it is
            break;
        }
    if (x < kLabelX + 1 || x > kLabelRight - 1) return;
    if (y > kCancelY && y < kCancelY + 20) {
        std::memcpy(settings.line, chooser.backup, sizeof chooser.backup);
        ws::send_message(hwnd, ws::WM_CLOSE, 0, 0);
        return;
    }
    const int32_t label = (y - 20) / 20;
    if (y >= 20 && label >= 1 && label <= kLineTemplates) {
        chooser.selected = label - 1;
        ws::paint_at_once(hwnd, nullptr);
    }
}

void on_move(ws::Hwnd hwnd, uintptr_t keys, int32_t x, int32_t y) {
    if (chooser.dragged < 0) return;
    if (!(keys & ws::MK_LBUTTON)) {
        chooser.dragged = -1;  // the release was missed: a move without the button drags nothing
        return;
    }
    selected_template()[chooser.dragged] = {x - kOx, y - kOy};
    ws::paint_at_once(hwnd, nullptr);
}

void on_left_up(ws::Hwnd hwnd) {
    chooser.dragged = -1;
    if (ws::get_capture() == hwnd) ws::release_capture();
}

void on_create(ws::Hwnd hwnd) {
    chooser.hwnd = hwnd;
    chooser.back.create(BIT_SCREEN, std::max(ws::screen_width(), 530), std::max(ws::screen_height(), 400));
    chooser.back.release_dc();
    chooser.selected = 0;
    chooser.dragged = -1;
    std::memcpy(chooser.backup, settings.line, sizeof chooser.backup);
}

void on_destroy(ws::Hwnd hwnd) {
    if (chooser.hwnd != hwnd) return;
    chooser.back.destroy();
    chooser.hwnd = 0;
    chooser.dragged = -1;
    line_const_init();  // the next game is cut with the shapes as they are now
}

intptr_t katachi_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    const int32_t x = ws::lparam_x(lparam), y = ws::lparam_y(lparam);
    switch (msg) {
    case ws::WM_CREATE: on_create(hwnd); return 0;
    case ws::WM_PAINT: on_paint(hwnd); return 0;
    case ws::WM_LBUTTONDOWN: on_left_down(hwnd, x, y); return 0;
    case ws::WM_MOUSEMOVE: on_move(hwnd, wparam, x, y); return 0;
    case ws::WM_LBUTTONUP: on_left_up(hwnd); return 0;
    case ws::WM_CAPTURECHANGED: chooser.dragged = -1; return 0;
    case ws::WM_DESTROY: on_destroy(hwnd); return 0;
    default: return ws::def_window_proc(hwnd, msg, wparam, lparam);
    }
}

void register_katachi_class() {
    if (ws::class_registered(kClassName)) return;
    ws::WindowClass wc;
    wc.name = kClassName;
    wc.proc = katachi_proc;
    wc.cursor = ws::IDC_ARROW;
    wc.background = kWhite;
    ws::register_class(wc);
}

}  // namespace

ws::Hwnd open_katachi(ws::Hwnd parent) {
    register_katachi_class();
    if (chooser.hwnd && ws::is_window(chooser.hwnd)) {
        // A second window would share this one's buffer and backup: the open one comes to the front instead.
        ws::show_window(chooser.hwnd, ws::SW_SHOWNORMAL);
        ws::set_foreground_window(chooser.hwnd);
        return chooser.hwnd;
    }
    const ws::Hwnd hwnd = ws::create_window(kClassName, ws::tr("windows", kTitle), kStyle, 0, 0, 530, 400, parent, 0);
    if (!hwnd) return 0;
    ws::show_window(hwnd, ws::SW_SHOW);
    ws::update_window(hwnd);
    return hwnd;
}
