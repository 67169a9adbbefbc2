// The presenter DDBase: a compositor that keeps one keyed image per item, composes a back buffer of the screen's
// size from the desk background and those images, and presents rectangles of it in a window.
//
// The item images are the "surfaces": copies of the pieces' views uploaded with set_img, drawn with white as the
// key colour (white pixels are not part of a piece and never drawn). The back buffer always holds the desk as
// last composed; a window shows it only after flip copies it into the window's client surface.
#pragma once
#include <cstdint>
#include <vector>

#include "graphics/geometry.h"
#include "graphics/memdc.h"
#include "ws/ws.h"

class DDBase {
public:
    // Allocates the five tables for `slot_count` item ids (the owner's part). table_count starts at 0; the owner
    // sets it to count after init.
    explicit DDBase(int32_t slot_count);
    ~DDBase();  // finish()
    DDBase(const DDBase&) = delete;
    DDBase& operator=(const DDBase&) = delete;

    // Creates the back buffer of the screen's size for presenting in `hwnd` and clears the tables.
    void init(ws::Hwnd hwnd);
    // Releases every item image and the back buffer. Idempotent. Clear a table that only borrows another
    // presenter's images (clear_table) before finishing it.
    void finish();
    // Uploads a copy of `view` as the image of `id` (0 <= id < count); an id out of range or a missing view ends
    // the program. The previous image of that id is released. A view may be the box of a larger item image that
    // is white elsewhere: `left`, `top` place it in an image of `width` x `height` (0: just large enough), and
    // draw and get_pixel take coordinates in that whole image.
    void set_img(int32_t id, MemDC* view, int32_t left = 0, int32_t top = 0, int32_t width = 0, int32_t height = 0);
    // As set_img, but the presenter takes `view` itself (a created 32-bit surface, which it then owns) instead of
    // a copy; `view` is left null.
    void take_img(int32_t id, MemDC*& view, int32_t left, int32_t top, int32_t width, int32_t height);
    // Releases the image of `id` and zeroes its table entries (ids out of range are ignored).
    void release_img(int32_t id);
    // Copies `source` from (sx, sy) into the back buffer at `rect` (nullptr = the whole back buffer), clipped to
    // the back buffer and to the source; a missing source ends the program.
    void back_clear(const Rect* rect, MemDC* source, int32_t sx, int32_t sy);
    // Draws the image of `id` from (sx, sy) into the back buffer at `rect` (nullptr = the whole back buffer),
    // leaving white out, clipped as back_clear. An id out of range ends the program; an id without image draws
    // nothing.
    void draw(const Rect* rect, int32_t id, int32_t sx, int32_t sy);
    // Presents `rect` (client coordinates, nullptr = the client area) of the back buffer in the window. Always 1.
    // With a zoom set, rect is in view coordinates and is shown scaled in the window pixels that show it.
    int32_t flip(ws::Hwnd hwnd, const Rect* rect);
    // How the back buffer is shown. At zoom kZoomFull (the start) it is the screen's size and its (0, 0) is the
    // client area's. At another zoom it is back_w x back_h (made anew when that differs), the rectangles that
    // back_clear and draw take are in view coordinates, the back buffer holds view point (x, y) at
    // (x + frame_x, y + frame_y), and flip shows it scaled, with `outside` (a pixel word) beyond the buffer.
    // `device` is the window's device pixels per client pixel (thousandths, ws::device_scale): other than 1000,
    // flip scales by it too.
    void set_frame(int32_t zoom, int32_t frame_x, int32_t frame_y, int32_t back_w, int32_t back_h, uint32_t outside,
                   int32_t device = 1000);
    // The save-under of a part of the back buffer: save_back copies the back buffer at `rect` (view coordinates)
    // into `keep`, made anew unless it has rect's size; restore_back copies it back there. Both leave out what lies
    // beyond the back buffer.
    void save_back(const Rect& rect, MemDC*& keep) const;
    void restore_back(const Rect& rect, MemDC& keep);
    // Colour (0x00BBGGRR) at (x, y) of the image of `id`, or of the back buffer when id < 0. White outside the
    // image, for an id out of range and for an id without image.
    Colour get_pixel(int32_t id, int32_t x, int32_t y);
    // Borrows the other presenter's tables: the images are shared, not copied.
    void copy_table(const DDBase& other);
    // Forgets the first table_count entries without releasing anything.
    void clear_table();

    // Item images alive in the whole process (for leak tests).
    static int32_t live_surfaces();

    // Drawn over each scaled presentation before it is shown: the window, its client surface, the part presented
    // (client coordinates) and the device scale.
    void (*overlay)(ws::Hwnd hwnd, MemDC& client, const Rect& area, int32_t device) = nullptr;

    int32_t count = 0;                // item slots
    ws::Hwnd window = 0;              // the window init was given
    MemDC* back = nullptr;            // the back buffer, screen_width x screen_height
    std::vector<MemDC*> surfaces;     // the image of each id, or nullptr
    std::vector<int32_t> widths;      // size of the whole item image last uploaded for each id
    std::vector<int32_t> surface_widths;  // size of the surface kept of it
    std::vector<int32_t> heights;
    std::vector<int32_t> surface_heights;
    std::vector<int32_t> lefts;       // where the surface lies in the whole item image
    std::vector<int32_t> tops;
    int32_t clip_left = 0, clip_top = 0;
    int32_t screen_width = 0, screen_height = 0;
    int32_t table_count = 0;  // valid entries of the tables
    int32_t zoom = 1000;      // see set_frame
    int32_t device = 1000;
    int32_t frame_x = 0, frame_y = 0;
    uint32_t outside = 0;
    // Counts every change of the back buffer or of how it stands to the view (composing, drawing, restoring, a new
    // frame), so that a copy kept of a part of it can tell whether it still agrees.
    uint64_t writes = 0;

private:
    Rect on_back(const Rect& rect) const;  // rect (view coordinates) in the back buffer, clipped to it
    void forget(int32_t id);  // zeroes the entries of id
    void flip_zoomed(ws::Hwnd hwnd, const Rect* rect);
    // The size entries of id: a surface of surface_w x surface_h at (left, top) in an image of width x height.
    void place(int32_t id, int32_t left, int32_t top, int32_t width, int32_t height, int32_t surface_w,
               int32_t surface_h);
    std::vector<uint32_t> keys_;  // key word of each image, as read back from it
};
