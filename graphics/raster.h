// The rasteriser behind the drawing surfaces: pure functions on arrays of 32-bit pixel words, rows bottom-up.
//
// Every function clips at entry: coordinates may lie anywhere in the int32 range, and nothing outside the
// surface is ever read or written. Coordinates are top-down (row 0 is the top row, stored last).
// Colour comparisons look at the low 24 bits only; words written by pens, brushes and fills carry a top byte of 0
// (the callers pass such words). Raster operations between surfaces work on whole 32-bit words.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/geometry.h"

namespace raster {

// A view of a surface's words; the surface owns them.
struct Surface {
    uint32_t* words = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t* row(int32_t r) const { return words + size_t(height - 1 - r) * size_t(width); }
};

// Fills the rectangle (x, y, width, height) with one word. Non-positive sizes fill nothing.
void fill_rect(const Surface& s, int64_t x, int64_t y, int64_t width, int64_t height, uint32_t word);

// A pen: its word and width. Wider pens stamp a square of side `width` on every pixel of the one-pixel path,
// reaching (width - 1) / 2 pixels up and left and width / 2 pixels down and right; widths below 1 count as 1.
struct Pen {
    uint32_t word = 0;
    int32_t width = 1;
};

// A line from a to b: the start pixel is drawn, the end pixel is not (a zero-length line has no pixels). The path
// is the same whether or not the line reaches past the surface.
void draw_line(const Surface& s, Point a, Point b, const Pen& pen);
// Each segment as draw_line, so inner points are drawn and only the very last point is left out.
void draw_polyline(const Surface& s, const Point* points, int32_t count, const Pen& pen);

// Flattens a chain of 1 + 3n Bézier points into polyline points (the chain's start, then each end point of the
// flattened pieces). `count` must be 1 + 3n; other counts are the caller's to refuse.
void flatten_bezier(const Point* points, int32_t count, std::vector<Point>& out);

// Flood fill from (x, y) with 4-neighbour connectivity. Border mode (surface_mode false): pixels whose colour differs
// from `colour` are inside; surface mode: pixels of `colour` are inside. Inside pixels reachable from the seed get
// `brush`. A seed outside the surface or not inside paints nothing.
void flood_fill(const Surface& s, int32_t x, int32_t y, uint32_t colour, bool surface_mode, uint32_t brush);

// Ellipse in the box [left, right) x [top, bottom): interior filled with `brush`, outline drawn with `pen` on top.
// A box whose corners are given in the other order is turned round first. Boxes of two pixels or less across are
// drawn as rectangles (outline only, which covers them).
void draw_ellipse(const Surface& s, Rect box, const Pen& pen, uint32_t brush);
// The same outline with the inside left as it was (a ring around something that must stay readable).
void draw_ellipse_outline(const Surface& s, Rect box, const Pen& pen);

// How source words become destination words in a blit or stretch.
enum class Rop { copy, not_copy, paint, and_op, pattern };
enum class Convert { none, colour_to_mono, mono_to_colour };
struct Transfer {
    Rop rop = Rop::copy;
    Convert convert = Convert::none;
    uint32_t key = 0xFFFFFF;   // colour_to_mono: source words of this colour become white, all others black
    uint32_t zero = 0;         // mono_to_colour: what black becomes
    uint32_t one = 0xFFFFFF;   // mono_to_colour: what white becomes
    uint32_t pattern = 0;      // the brush word of Rop::pattern
    uint32_t mask = 0xFFFFFFFF;  // 0x00FFFFFF for monochrome destinations
};

// Bit-block transfer of a width x height block from (sx, sy) of src to (x, y) of dst, clipped to both surfaces.
// src and dst may be the same surface, overlapping or not. Rop::pattern ignores src and clips to dst only.
void transfer_rect(const Surface& dst, int32_t x, int32_t y, int32_t width, int32_t height, const Surface& src,
                   int32_t sx, int32_t sy, const Transfer& t);

// Source index of destination index j along one axis, stretching src pixels onto dst pixels (both > 0).
// Enlarging centres each destination pixel on its source; shrinking keeps the last source column of each span
// (horizontal) or the first source row (vertical).
int32_t stretch_index(int64_t j, int32_t src, int32_t dst, bool vertical);

// Nearest-neighbour stretch of the source rectangle (sx, sy, sw, sh) onto (x, y, width, height). Destination
// pixels outside dst, or whose source pixel lies outside src, are left alone. Non-positive sizes draw nothing.
void stretch_rect(const Surface& dst, int32_t x, int32_t y, int32_t width, int32_t height, const Surface& src,
                  int32_t sx, int32_t sy, int32_t sw, int32_t sh, const Transfer& t);

}  // namespace raster
