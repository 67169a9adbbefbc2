// The skin's drawing into main_back, the window and game rectangles, the number displays and the main window's
// mouse and timer handlers in skin mode.
#include "shell/skin.h"

#include <algorithm>

#include "desk/state.h"
#include "play/state.h"
#include "shell/menu.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "shell/skin_table.h"
#include "shell/state.h"
#include "ws/ws.h"

const char* const kSkinNames[kSkinSlots] = {
    "win", "game", "guide", "", "fix_a", "fix_b", "fix_c", "", "", "exit", "start",
    "view", "num_up", "num_dn", "sz_up", "sz_dn", "", "", "num", "sz", "",
};

namespace {

SkinElement& element(int32_t slot) { return shell.skin_elements[slot]; }

// Edges count as inside.
bool contains(const SkinElement& e, int32_t x, int32_t y) {
    return x >= e.left && x <= e.right && y >= e.top && y <= e.bottom;
}

// The first defined button under the client point, or -1.
int32_t button_at(int32_t x, int32_t y) {
    for (int32_t slot = kFirstButton; slot <= kLastButton; ++slot)
        if (element(slot).defined && contains(element(slot), x, y)) return slot;
    return -1;
}

// A display (SKIN_NUM or SKIN_SZ) that was read, or nullptr: without one the setting behaves as without a skin.
SkinElement* display(int32_t slot) {
    SkinElement& e = element(slot);
    return skin_in_force() && e.defined && e.count > 0 ? &e : nullptr;
}

int32_t show_value(int32_t slot, int32_t value) {
    SkinElement* e = display(slot);
    if (!e) return value;
    const auto* first = e->values.data();
    const auto* found = std::find(first, first + e->count, value);
    if (found == first + e->count) return e->values[size_t(std::clamp(e->current, 0, e->count - 1))];
    e->current = int32_t(found - first);
    redraw_element(slot, true);
    return value;
}

// The buttons step a display by one picture; the setting follows and the menu marks with it.
void step_display(int32_t slot, int32_t d) {
    SkinElement* e = display(slot);
    if (!e) return;
    const int32_t next = e->current + d;
    if (next < 0 || next >= e->count) return;
    e->current = next;
    redraw_element(slot, true);
    (slot == SKIN_NUM ? settings.piece_num : settings.stretch_size) = e->values[size_t(next)];
    menu_check();
}

void set_button(int32_t slot, int32_t picture, bool now) {
    element(slot).current = picture;
    redraw_element(slot, now);
}

// Every button back to its normal picture and the tooltip gone.
void clear_hover() {
    if (shell.skin_hover_slot == -1) return;
    hide_tooltip();
    for (int32_t slot = kFirstButton; slot <= kLastButton; ++slot)
        if (element(slot).defined) set_button(slot, 0, false);
    shell.skin_hover_slot = -1;
}

}  // namespace

bool skin_in_force() { return settings.skin && element(SKIN_WIN).defined && element(SKIN_WIN).count > 0; }

MemDC* shown_picture(SkinElement& e) {
    if (e.count < 1) return nullptr;
    return e.images[size_t(std::clamp(e.current, 0, e.count - 1))].get();
}

void draw_element(int32_t x, int32_t y, int32_t w, int32_t h, MemDC& picture) {
    MemDC* win = shown_picture(element(SKIN_WIN));
    if (!shell.main_back || !win) return;
    shell.main_back->blit(x, y, w, h, *win, x, y, SRCCOPY);
    MemDC mask;
    mask.create(BIT_MONO, w, h);
    mask.blit(0, 0, w, h, picture, 0, 0, NOTSRCCOPY);  // white parts 0, the rest 1
    shell.main_back->blit(x, y, w, h, mask, 0, 0, SRCPAINT);
    shell.main_back->blit(x, y, w, h, picture, 0, 0, SRCAND);
    mask.destroy();
    shell.main_back->release_dc();
    win->release_dc();
    picture.release_dc();
}

void redraw_element(int32_t slot, bool now) {
    SkinElement& e = element(slot);
    MemDC* picture = shown_picture(e);
    if (!e.defined || !picture) return;
    draw_element(e.left, e.top, e.width, e.height, *picture);
    if (!::display.main_window) return;
    const Rect r{e.left, e.top, e.right, e.bottom};
    if (now)
        ws::paint_at_once(::display.main_window, &r);
    else
        ws::invalidate_rect(::display.main_window, &r, false);
}

void clear_skin() {
    hide_tooltip();
    for (SkinElement& e : shell.skin_elements) e = SkinElement{};
    shell.skin_hover_slot = -1;
    shell.skin_press_point = {};
}

bool skin_window_rect(Rect& r) {
    if (!skin_in_force()) return false;
    const SkinElement& win = element(SKIN_WIN);
    r = ws::adjust_window_rect(Rect{0, 0, win.right - win.left, win.bottom - win.top}, ws::WS_POPUP, false);
    constexpr int32_t far = 1 << 20;  // beyond any screen, and far from overflowing
    offset_rect(r, std::clamp(settings.win_left, -far, far) - r.left, std::clamp(settings.win_top, -far, far) - r.top);
    return true;
}

bool skin_game_rect(Rect& r) {
    if (!skin_in_force()) return false;
    const SkinElement& game = element(SKIN_GAME);
    const SkinElement& win = element(SKIN_WIN);
    // A skin without a game rectangle gives the game the whole window rather than no room at all.
    r = game.defined ? Rect{game.left, game.top, game.right, game.bottom} : Rect{0, 0, win.width, win.height};
    return true;
}

void draw_skin() {
    if (!skin_in_force() || !shell.main_back) return;
    MemDC& win = *shown_picture(element(SKIN_WIN));
    shell.main_back->blit(0, 0, win.width(), win.height(), win, 0, 0, SRCCOPY);
    shell.main_back->release_dc();
    win.release_dc();
    for (int32_t slot = 3; slot < kSkinSlots; ++slot) redraw_element(slot, false);
}

int32_t skin_show_num(int32_t value) { return show_value(SKIN_NUM, value); }
int32_t skin_show_sz(int32_t value) { return show_value(SKIN_SZ, value); }

void skin_press(int32_t x, int32_t y) {
    if (!skin_in_force()) return;
    shell.skin_press_point = {x, y};
    for (int32_t slot = kFirstButton; slot <= kLastButton; ++slot) {
        if (!element(slot).defined || !contains(element(slot), x, y)) continue;
        set_button(slot, 2, true);
        switch (slot) {
        case SKIN_EXIT: ws::post_message(::display.main_window, ws::WM_CLOSE, 0, 0); break;
        case SKIN_NUM_UP: step_display(SKIN_NUM, +1); break;
        case SKIN_NUM_DN: step_display(SKIN_NUM, -1); break;
        case SKIN_SZ_UP: step_display(SKIN_SZ, +1); break;
        case SKIN_SZ_DN: step_display(SKIN_SZ, -1); break;
        default: break;
        }
    }
}

void skin_release(int32_t x, int32_t y, int32_t duration) {
    if (!skin_in_force()) return;
    for (int32_t slot = kFirstButton; slot <= kLastButton; ++slot) {
        if (!element(slot).defined || !contains(element(slot), x, y)) continue;
        set_button(slot, 1, true);
        if (duration >= settings.click_time) continue;  // held too long: only the picture changes
        if (slot == SKIN_START) ws::post_message(::display.main_window, ws::WM_COMMAND, IDM_RESTART, 0);
        if (slot == SKIN_VIEW) ws::post_message(::display.main_window, ws::WM_COMMAND, IDM_ICHIRAN, 0);
    }
}

void skin_hover(int32_t x, int32_t y) {
    if (!skin_in_force()) return;
    const int32_t found = button_at(x, y);
    if (found < 0) {
        clear_hover();
        return;
    }
    if (found == shell.skin_hover_slot) return;
    hide_tooltip();
    for (int32_t slot = kFirstButton; slot <= kLastButton; ++slot)
        if (element(slot).defined) set_button(slot, slot == found ? 1 : 0, false);
    const std::string& text = element(found).text;
    if (!text.empty() && text != "none") show_tooltip(text, x, y);
    shell.skin_hover_slot = found;
}

void skin_drag(int32_t x, int32_t y) {
    if (!skin_in_force() || !::display.main_window) return;
    if (x == shell.skin_press_point.x && y == shell.skin_press_point.y) return;
    const Rect r = ws::get_window_rect(::display.main_window);
    ws::move_window(::display.main_window, r.left + x - shell.skin_press_point.x, r.top + y - shell.skin_press_point.y,
                    r.width(), r.height(), true);
}

void skin_timer() {
    if (!skin_in_force() || !::display.main_window) return;
    const Point p = ws::screen_to_client(::display.main_window, ws::cursor_pos());
    const SkinElement& win = element(SKIN_WIN);
    const SkinElement& game = element(SKIN_GAME);
    const bool in_window = p.x >= 0 && p.x < win.width && p.y >= 0 && p.y < win.height;
    const bool in_game = game.defined && p.x > game.left && p.x < game.right && p.y > game.top && p.y < game.bottom;
    if (in_window && !in_game) return;
    clear_hover();
}
