// A piece on the desk (a single cut piece or a joined group): its upright image, its turned view, its placement.
//
// Terms: the image is the piece's picture upright (mirrored left-right while the piece lies turned over); the view
// is that image turned by the piece's angle and bevelled, and is what the desk draws. White (0xFFFFFF in the low
// 24 bits) is the key colour: such pixels are not part of the piece and are never drawn. The top byte of an image
// pixel word is a seam mark (non-zero on the lines where two cells of a group meet); rotations, mirroring and
// copies carry whole words, marks included.
//
// Image and view are kept trimmed: each surface holds only a box of its frame (the full image of width x height,
// the full view of view_width x view_height) outside which every word is plain white 0x00FFFFFF. A piece is mostly
// key colour around its outline, so the box is far smaller than the frame; the frame, not the box, decides centres,
// rectangles, grab points and the join test, so trimming changes no pixel anywhere. A box may keep a few white
// rows and columns of its own (a cut piece's image is the work surface it was cut on).
//
// How a view is shaded (bevel, its smoothing, a group's seams) is not the piece's to know: whoever turns it passes
// a Shading down.
#pragma once
#include <cstdint>
#include <functional>

#include "graphics/geometry.h"
#include "graphics/memdc.h"
#include "pieces/desk_index.h"
#include "pieces/shading.h"

struct Piece {
    MemDC* image = nullptr;   // owned, 32-bit; none until set_image; the box of the image frame it holds
    int32_t image_left = 0, image_top = 0;  // where that box lies in the frame (top-down)
    int32_t width = 0;        // size of the image frame
    int32_t height = 0;
    int32_t turned = 0;       // 1 = lies turned over
    double angle = 0;         // radians; a positive angle turns the picture counter-clockwise on the screen
    MemDC* view = nullptr;    // owned, 32-bit; none until set_angle (the presenter path hands it over)
    int32_t view_left = 0, view_top = 0;  // where the box view holds lies in the view frame (top-down)
    int32_t view_width = 0;   // size of the view frame
    int32_t view_height = 0;
    Rect rect;                // desk rectangle covered by the view, centred on (cx, cy)
    int32_t cx = 0, cy = 0;   // desk position of the centre
    int32_t grab_x = 0, grab_y = 0;  // desk position of the pointer at the last move or turn while held
    int32_t joined = 0;       // 1 = image was made for a group and may carry seam marks
    // Makes the image again, the same words, after drop_image; set by a single piece's cut, cleared by a group's
    // (whose image is kept). A piece that lies still needs only its view: a cut puzzle keeps half the bytes.
    std::function<void(Piece&)> recut;
    // The index of the desk this piece is filed in, under its group's id (none: not filed); every change of rect
    // is told to it, and so is the piece's end.
    DeskIndex* index = nullptr;
    int32_t filed_id = -1;
    // The same piece cut from a finer picture, for a high-density screen (owned; Jig::fine_piece makes it).
    Piece* fine = nullptr;

    Piece() = default;
    ~Piece();  // destroys image, view and fine
    Piece(const Piece&) = delete;
    Piece& operator=(const Piece&) = delete;

    // image = a 32-bit copy of the w x h block of src whose top-left is (sx, sy) (parts beyond src are white),
    // mirrored when turned is 1. A previous image is destroyed. w or h below 1 gives a 1 x 1 white image.
    void set_image(MemDC& src, int32_t w, int32_t h, int32_t sx = 0, int32_t sy = 0);
    // image = box (taken over), lying at (left, top) inside a w x h frame, mirrored when turned is 1; box must lie
    // wholly inside the frame.
    void take_image(MemDC* box, int32_t w, int32_t h, int32_t left, int32_t top);
    // Reverses image left to right (marks included). Does nothing without an image.
    void mirror();
    // Frees the image when recut can make it again; restore_image makes it again when it was freed (set_angle and
    // turn_over call it).
    void drop_image();
    void restore_image();
    // Sets angle and renders view: quarter turns exactly, other angles by nearest neighbour; re-centres rect on
    // (cx, cy) and bevels the view (shade). Shows the busy cursor meanwhile. Without an image and none to cut
    // again: fatal error.
    void set_angle(double a, Shading look);
    // Bevels view (look.kage), smooths the bevel (look.smooth) and draws the seams of a group (look.nokosu).
    // Without a view: fatal error "Piece::kage pointer of rot is NULL".
    void shade(Shading look);
    // Turns the piece over: angle = 2 pi - angle, turned flips, the image is mirrored and the view rebuilt.
    void turn_over(Shading look);
    // Moves rect and centre by the pointer's motion since the grab point; grab point = (x, y). Gives rect.
    Rect move_to(int32_t x, int32_t y);
    // Turns the piece about its centre so that its grabbed point follows the pointer to (x, y). Gives rect.
    Rect drag_turn(int32_t x, int32_t y, Shading look);
    // Lays rect round the centre (cx, cy) again, the view frame's size. Gives rect.
    Rect centre_rect();
    // Tells the desk index that rect changed.
    void note_moved() {
        if (index) index->moved(filed_id);
    }

    // Draws view onto desk_image at rect, white left out; with clip only the intersection (empty: draws nothing
    // and gives 0,0,0,0). Gives the drawn rectangle. Without a view: fatal error "Piece::disp pointer of rot is NULL".
    Rect disp(const Rect* clip = nullptr);
    // Copies desk_back over rect into desk_image (what lay under the piece) and gives rect.
    Rect erase();
    // Destroys the surface in slot and makes a new 32-bit one of the view's size holding the given rectangle of
    // desk_image (parts beyond the desk stay white). Gives the rectangle.
    Rect save_under(MemDC*& slot, int32_t left, int32_t top, int32_t right, int32_t bottom);
    // Copies surface back onto the given rectangle of desk_image. Gives the rectangle.
    Rect restore_under(MemDC& surface, int32_t left, int32_t top, int32_t right, int32_t bottom);
    // 1 when (x, y) lies strictly inside rect and the view pixel there is not white. With the presenter the pixel
    // comes from the presenter's copy of the view of item `id`; otherwise from view (none: 0).
    int32_t hit(int32_t x, int32_t y, int32_t id);
    // Gives up the device contexts of image and view (the pixels stay).
    void release();

private:
    void render_view(int32_t degrees);  // renders the image into the view's box at the current angle
    void trim_view();                   // shrinks the view's box to the words that are not plain white

public:
    // Word at (x, y), top-down, of the image frame or of the view frame: plain white outside the kept box and
    // outside the frame (no view: white).
    uint32_t image_at(int32_t x, int32_t y) const;
    uint32_t view_at(int32_t x, int32_t y) const;
    // Makes `out` a 32-bit surface of the whole view frame (for export). Without a view: fatal error.
    void full_view(MemDC& out) const;
    // Presenter path: uploads the view as the image of item `id` and lets the piece's own copy go.
    void hand_over_view(int32_t id);
};

// Rotates (x, y) by theta (y axis pointing up), rounding half away from zero. The x result uses sine and cosine
// rounded to single precision; the y result the single-precision sine and the full-precision cosine.
Point rotate_point(int32_t x, int32_t y, double theta);
// Width and height of the bounding box of a w x h rectangle turned by theta (corners at +-(w + 1) / 2, +-(h + 1) / 2).
Size turned_size(int32_t w, int32_t h, double theta);
// Signed angle from vector 1 to vector 2 (y axis pointing up), in [-pi, pi]: a difference of directions beyond
// half a turn is brought back by one turn (exactly half a turn either way is left as it is).
double angle_between(double x1, double y1, double x2, double y2);
