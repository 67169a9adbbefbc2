// The guide window's state (one guide at a time) and its line colour, shared by its window and drawing files; tests
// read it too.
#pragma once
#include <cstdint>

#include "graphics/memdc.h"
#include "ws/ws.h"

struct Jig;

inline constexpr Colour kGuideBackground = 0xD3FAF5;  // (245, 250, 211) around the fitted picture
inline constexpr int32_t kGuideStartSide = 200;       // the fitted picture's longer side when the guide opens

// The window itself is play.guide_window.
struct Guide {
    ws::Hwnd parent = 0;       // the game window
    // The game whose picture holds picture_path's own pixels lends it (it closes the guide before it goes);
    // otherwise `picture` holds the file read again.
    const Jig* lender = nullptr;
    MemDC picture;
    MemDC thumb;               // the fitted picture on the background: the client area within the screen, device pixels
    int32_t pic_w0 = 0, pic_h0 = 0;
    int32_t thumb_w = 0, thumb_h = 0;  // the fitted size; also the size asked for on input to the fitting
    double thumb_scale = 0;
    bool creating = false;     // size messages of the window's own placing are not the player's
    Colour line_color = 0x0000FF;  // the held group's outline (the player picks it with the keys R G B W Z)

    // Back to the start values; the surfaces are destroyed (they cannot be copied over).
    void reset() {
        parent = 0;
        lender = nullptr;
        picture.destroy();
        thumb.destroy();
        pic_w0 = pic_h0 = thumb_w = thumb_h = 0;
        thumb_scale = 0;
        creating = false;
        line_color = 0x0000FF;
    }
};
extern Guide guide;

// Takes the picture to show from the current game, or reads it from picture_path when the game cannot lend it.
void take_picture();
// Fits the picture to the size asked for in thumb_w / thumb_h (the longer side follows it); draw_thumb shows it.
void fit_picture();
// Makes the thumb the size of a w x h client area, as far as the screen reaches, in the guide window's device pixels
// (ws::device_rect); true when it was made anew.
bool size_thumb(int32_t w, int32_t h);
// Fills the thumb with the background and stretches the picture onto the device pixels of its top-left thumb_w x
// thumb_h client pixels.
void draw_thumb();
// The outline of the held group over the window's client surface (in its device pixels), in the line colour.
void draw_held_outline(MemDC& dc, int32_t client_w, int32_t client_h);
// The overview of every group and the shown part of the desk, as the rectangle r of the window shows it.
void draw_overview(MemDC& dc, const Rect& r);
