// Off-screen drawing surfaces: plain arrays of 32-bit words 0x00RRGGBB, rows bottom-up, with our own rasteriser.
//
// A surface keeps the habits of a memory device context that the game relies on: it may give up its "device
// context" (release_dc) while keeping its pixels, and every operation re-attaches first, which also drops the pen
// and brush (they must be set again after a release). Pens, brushes and contexts are counted, so tests can see that
// nothing leaks. Failures of the operations end the program through fatal_error with the caller's module and line.
// Text (ws::text, ws::text_bk) and picture files (load_picture) are drawn into a surface from ws/, which has the
// fonts and the image readers.
#pragma once
#include <cstddef>
#include <cstdint>
#include "graphics/where.h"
#include <vector>

#include "graphics/geometry.h"

using Colour = uint32_t;  // system colour value 0x00BBGGRR (pixel words are 0x00RRGGBB)


namespace raster {
struct Surface;
struct Transfer;
}  // namespace raster

enum : uint32_t {
    SRCCOPY = 0x00CC0020,
    NOTSRCCOPY = 0x00330008,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    PATCOPY = 0x00F00021,
};
enum : int32_t { FLOODFILLBORDER = 0, FLOODFILLSURFACE = 1 };
enum : int32_t { BIT_SCREEN = 0, BIT_MONO = 1, BIT_DIB = 2 };

// Pixel word <-> colour value (blue and red change places; the top byte is dropped).
inline uint32_t colour_to_word(Colour c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline Colour word_to_colour(uint32_t w) { return ((w & 0xFF) << 16) | (w & 0xFF00) | ((w >> 16) & 0xFF); }

// The bitmap description of get_info (type, size, bytes per row, planes, bits per pixel, pixel pointer).
struct BitmapInfo {
    int32_t type = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t width_bytes = 0;
    uint16_t planes = 1;
    uint16_t bits_pixel = 32;
    uint32_t* bits = nullptr;
};

class MemDC {
public:
    MemDC() = default;
    MemDC(const MemDC&) = delete;
    MemDC& operator=(const MemDC&) = delete;
    ~MemDC();  // a surface still created at destruction is destroyed quietly

    // Lifecycle. bit_type 0 = screen-compatible, 1 = monochrome (black and white only), 2 = 32-bit with `pixels`.
    // A new surface is black and attached. Fatal: a bit type other than 0, 1, 2 ("bit_type error"); a negative
    // size or more than 2^28 pixels (the creation step of the bit type). Creating a created surface replaces it.
    int32_t create(int32_t bit_type, int32_t width, int32_t height, Where w = Where::current());
    // Gives the surface a fresh device context (stock black pen, white brush, black text on white) unless it has
    // one. Fatal "SelectObject" on a surface that was never created (or was destroyed).
    int32_t attach(Where w = Where::current());
    void release_dc();  // drops device context, pen and brush; keeps the pixels
    void destroy();     // frees everything; harmless on a surface that is not created

    // Drawing. Coordinates are top-down (row 0 at the top); everything is clipped to the surface, and sizes that are
    // not positive draw nothing. Pens, brushes, fills, flood fills and ellipses write words with a top byte of 0;
    // on a monochrome surface a colour becomes the nearer of black and white (white when R + G + B >= 383).
    uint32_t* pixels(Where w = Where::current());  // bottom row first; fatal "NOT DIB FORMAT" unless bit_type 2
    // Pens wider than 1 stamp a square of that side on each pixel of the one-pixel path; width 0 is width 1.
    int32_t set_pen(Colour colour, int32_t width, Where w = Where::current());
    int32_t set_pen1(Colour colour, Where w = Where::current());
    int32_t set_brush(Colour colour, Where w = Where::current());
    int32_t fill(int32_t x, int32_t y, int32_t width, int32_t height, Colour colour, Where w = Where::current());
    // Raster operations SRCCOPY, NOTSRCCOPY, SRCPAINT, SRCAND (whole 32-bit words) and PATCOPY (the brush); any other
    // is fatal ("BitBlt" / "StretchBlt"). Colour to monochrome: the source's background colour becomes white, all
    // else black; monochrome to colour: black becomes this surface's text colour, white its background colour.
    // Clipped to both surfaces; a surface may be its own source.
    int32_t blit(int32_t x, int32_t y, int32_t width, int32_t height, MemDC& src, int32_t sx, int32_t sy,
                 uint32_t rop, Where w = Where::current());
    // Nearest-neighbour stretch; destination pixels whose source pixel lies outside src are left alone.
    int32_t stretch_blit(int32_t x, int32_t y, int32_t width, int32_t height, MemDC& src, int32_t sx, int32_t sy,
                         int32_t sw, int32_t sh, uint32_t rop, Where w = Where::current());
    int32_t get_info(BitmapInfo& out, Where w = Where::current());
    // A chain of 1 + 3n points drawn as one polyline; any other count is fatal ("PolyBezier").
    int32_t bezier(const Point* points, int32_t count, Where w = Where::current());
    // Lines draw their start pixel but not their end pixel; a polyline leaves out only its very last point.
    int32_t polyline(const Point* points, int32_t count, Where w = Where::current());
    int32_t line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Where w = Where::current());
    // 4-neighbour fill with the brush, mode FLOODFILLBORDER or FLOODFILLSURFACE (another mode is fatal,
    // "ExtFloodFill"). A seed on the border colour, off the colour (surface mode) or off the surface paints nothing.
    int32_t flood_fill(int32_t x, int32_t y, Colour colour, int32_t mode, Where w = Where::current());
    int32_t frame(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Where w = Where::current());
    // Box [x1, x2) x [y1, y2): filled with the brush, outlined with the pen.
    int32_t ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Where w = Where::current());

    // The platform's per-pixel calls (GetPixel/SetPixel): colour values, top byte dropped; outside gives white and
    // writes nothing. They need no device context.
    Colour get_pixel(int32_t x, int32_t y);
    void set_pixel(int32_t x, int32_t y, Colour colour);
    // Colours used when monochrome pixels meet colour ones and by text (black and white unless set). Like pen and
    // brush they belong to the device context: a release returns them to black and white.
    void set_text_colour(Colour c, Where w = Where::current());
    void set_bk_colour(Colour c, Where w = Where::current());
    Colour text_colour() const { return text_colour_; }
    Colour bk_colour() const { return bk_colour_; }
    // The colour a pixel of colour `c` takes on this surface: black or white on a monochrome one, `c` without its
    // top byte elsewhere.
    Colour held_colour(Colour c) const { return word_to_colour(ink(c)); }
    // Snaps every pixel of the box (x, y, width, height), clipped to the surface, to the colour the surface can
    // hold (held_colour): smoothed edges drawn from outside (text glyphs) become black or white on a monochrome one.
    void snap_to_held(int32_t x, int32_t y, int32_t width, int32_t height);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    bool created() const { return created_; }
    bool has_dc() const { return dc_; }
    bool has_pen() const { return pen_; }
    bool has_brush() const { return brush_; }
    // Bitmaps, device contexts, pens and brushes alive in the whole process (for leak tests).
    static int32_t live_objects();

    // Kind of bitmap (0, 1, 2) and the first pixel word (bottom row, left pixel) of a 32-bit surface.
    int32_t bit_type = 0;
    uint32_t* bits = nullptr;

    // Whole-surface pixel access for the picture loaders: replaces size and pixels (rows bottom-up); `bits` follows
    // the new pixels. Words that do not number width x height are refused (nothing changes).
    void replace_pixels(int32_t width, int32_t height, std::vector<uint32_t>&& words);
    // Takes over the size and pixels of the colour surface `from`, which is destroyed: a whole-surface copy without
    // holding the pixels twice (a picture of many megapixels). A monochrome `from` is refused (nothing changes).
    void take_pixels(MemDC& from);
    uint32_t* words() { return store_.data(); }
    const uint32_t* words() const { return store_.data(); }

private:
    // Row r (0 = top) starts here.
    uint32_t* row(int32_t r) { return store_.data() + size_t(height_ - 1 - r) * size_t(width_); }
    raster::Surface view();
    uint32_t ink(Colour c) const;  // the word a pen, brush or fill of this colour writes here
    raster::Transfer transfer_from(const MemDC& src, uint32_t rop, const char* step, const Where& w) const;
    void drop_pen();
    void drop_brush();
    void drop_dc();

    std::vector<uint32_t> store_;
    int32_t width_ = 0, height_ = 0;
    bool created_ = false, dc_ = false, pen_ = false, brush_ = false;
    Colour pen_colour_ = 0, brush_colour_ = 0xFFFFFF;
    int32_t pen_width_ = 1;
    Colour text_colour_ = 0, bk_colour_ = 0xFFFFFF;
};
