// Drawing the picture list: its button images (drawn here rather than shipped), the strip and the highlight.
#include <cstdio>

#include "play/state.h"
#include "windows/device_draw.h"
#include "windows/viewer_state.h"
#include "ws/tr.h"

namespace {

constexpr Colour kWhite = 0xFFFFFF, kBlack = 0x000000, kBlue = 0xFF0000, kRed = 0x0000FF;
constexpr Colour kArrow = 0x00B000, kArrowLit = 0x90FF90, kOrange = 0x0080FF;
constexpr Colour kLabelBack = 0xFFFFC8;  // (200, 255, 255)
constexpr int32_t kArrowW = 22, kArrowH = 17, kLeftX = 174, kRightX = 204, kButtonY = 83;
constexpr int32_t kIndicatorX = 350, kIndicatorW = 40, kIndicatorH = 15;
enum { LEFT, LEFT_LIT, RIGHT, RIGHT_LIT, LOADING, FINISHED };

// Client pixels to the list's device pixels (its buttons are drawn in them).
int32_t on_device(int32_t v) { return ws::device_rect(play.list_window, {0, 0, v, v}).right; }

// A left-pointing arrow (mirrored for the right one) on white: the outline, then the inside filled.
void draw_arrow(MemDC& s, bool right, Colour fill, Colour outline) {
    const int32_t w = on_device(kArrowW), h = on_device(kArrowH);
    s.create(BIT_SCREEN, w, h);
    s.fill(0, 0, w, h, kWhite);
    Point p[8] = {{1, 8}, {9, 1}, {9, 5}, {20, 5}, {20, 11}, {9, 11}, {9, 15}, {1, 8}};
    for (Point& q : p) q = {on_device(right ? kArrowW - 1 - q.x : q.x), on_device(q.y)};
    s.set_pen(outline, on_device(1));
    s.polyline(p, 8);
    s.set_brush(fill);
    s.flood_fill(on_device(right ? 8 : 13), on_device(8), outline, FLOODFILLBORDER);
    s.release_dc();
}

void draw_word(MemDC& s, int32_t w, const char* text) {
    s.create(BIT_SCREEN, on_device(w), on_device(kIndicatorH));
    s.fill(0, 0, s.width(), s.height(), kWhite);
    ws::text_scaled(s, 0, 0, text, kOrange, kWhite, ws::device_scale(play.list_window));
    s.release_dc();
}

// Lays a button image (in device pixels) on the strip with white left out.
void put_button(int32_t which, int32_t x, int32_t y) {
    lay_device_picture(viewer.strip, play.list_window, viewer.buttons[which], x, y, true);
}

void draw_frame(int32_t slot, Colour colour) {
    frame_on_device(viewer.strip, play.list_window, kThumbSide * slot, 0, kThumbSide * slot + kThumbSide,
                    kThumbSide - 1, colour);
}

void draw_arrows() {
    put_button(viewer.hover == kHoverLeft ? LEFT_LIT : LEFT, kLeftX, kButtonY);
    put_button(viewer.hover == kHoverRight ? RIGHT_LIT : RIGHT, kRightX, kButtonY);
}

// Draws the look of highlight h, lit or not.
void draw_highlight(int32_t h, bool lit) {
    if (h >= 1 && h <= kSlots) draw_frame(h - 1, lit ? kRed : kBlue);
    if (h == kHoverLeft) put_button(lit ? LEFT_LIT : LEFT, kLeftX, kButtonY);
    if (h == kHoverRight) put_button(lit ? RIGHT_LIT : RIGHT, kRightX, kButtonY);
}

void draw_label(int32_t slot, int32_t missing) {
    char text[24];
    std::snprintf(text, sizeof text, "(%d)", int(missing));
    const Size box = ws::text_extent(text);
    MemDC label;
    label.create(BIT_SCREEN, on_device(box.cx), on_device(box.cy));
    ws::text_scaled(label, 0, 0, text, kBlack, kLabelBack, ws::device_scale(play.list_window));
    lay_device_picture(viewer.strip, play.list_window, label, kThumbSide * slot + 1, 1, false);
    label.destroy();
}

}  // namespace

void make_button_images() {
    draw_arrow(viewer.buttons[LEFT], false, kArrow, kBlack);
    draw_arrow(viewer.buttons[LEFT_LIT], false, kArrowLit, kRed);
    draw_arrow(viewer.buttons[RIGHT], true, kArrow, kBlack);
    draw_arrow(viewer.buttons[RIGHT_LIT], true, kArrowLit, kRed);
    draw_word(viewer.buttons[LOADING], kIndicatorW, ws::tr("windows", "読込中").c_str());
    draw_word(viewer.buttons[FINISHED], 32, ws::tr("windows", "終了").c_str());
}

void draw_strip() {
    MemDC& s = viewer.strip;
    fill_on_device(s, play.list_window, {0, 0, kStripW, kThumbSide}, kListBackground);
    const int32_t n = int32_t(viewer.thumbs.size());
    for (int32_t slot = 0; slot < kSlots && viewer.first_shown + slot < n; ++slot) {
        const int32_t i = viewer.first_shown + slot;
        const Rect cell =
            ws::device_rect(play.list_window, {kThumbSide * slot, 0, kThumbSide * (slot + 1), kThumbSide});
        s.blit(cell.left, cell.top, cell.width(), cell.height(), *viewer.thumbs[size_t(i)], 0, 0, SRCCOPY);
        viewer.thumbs[size_t(i)]->release_dc();
        draw_frame(slot, kBlue);
        if (viewer.labels[size_t(i)] >= 0) draw_label(slot, viewer.labels[size_t(i)]);
    }
    draw_arrows();
    set_hover(-1);
    s.release_dc();
}

void set_hover(int32_t h) {
    if (h > 0 && h == viewer.hover) return;
    if (h == -1) {
        h = viewer.hover;
        viewer.hover = 0;
    }
    if (viewer.hover) draw_highlight(viewer.hover, false);
    if (h > 0) draw_highlight(h, true);
    viewer.hover = h;
    viewer.strip.release_dc();
    if (play.list_window) ws::invalidate_rect(play.list_window, nullptr, false);
}

bool blink_indicator() {
    MemDC& s = viewer.strip;
    const Rect r{kIndicatorX, kButtonY, kIndicatorX + kIndicatorW, kButtonY + kIndicatorH};
    fill_on_device(s, play.list_window, r, kListBackground);
    bool more = true;
    if (viewer.loading) {
        if (++viewer.blink % 2) put_button(LOADING, kIndicatorX, kButtonY);
        viewer.blink %= 2;  // the count only alternates while loading
    } else {
        if (viewer.blink < 5) put_button(FINISHED, kIndicatorX, kButtonY);
        more = ++viewer.blink < 6;
    }
    s.release_dc();
    if (play.list_window) ws::invalidate_rect(play.list_window, &r, false);
    return more;
}
