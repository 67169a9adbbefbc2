// Cutting lines: the 17 unit edge shapes built from the four templates, and laying them over a game's grid.
//
// Terms: a template is an edge drawn from (0, 0) to (216, 0) as a chain of cubic Bezier control points, y across
// the edge; a unit shape is a template scaled to run from (0, 0) to (1, 0) (form h) or to (0, 1) (form v).
// Shapes 0-3 are the templates, 4-7 the same run backwards, 8-15 shapes 0-7 with the knob on the other side, and
// 16 the straight edge used along the picture's border.
#pragma once
#include <cstdint>

#include "graphics/geometry.h"
#include "puzzle/jig.h"

struct UnitPoint {
    double x = 0, y = 0;
};

struct UnitShape {
    UnitPoint h[max_line_points];  // along the horizontal, from (0, 0) to (1, 0)
    UnitPoint v[max_line_points];  // along the vertical, from (0, 0) to (0, 1)
};

inline constexpr int32_t unit_shape_count = 17;
inline constexpr int32_t straight_shape = 16;
inline constexpr int32_t template_length = 216;  // templates run from x = 0 to x = 216

// Points of every edge: the setting line_num, brought into 4 .. 19 and onto the form 1 + 3k (whole Bezier
// segments), so that every outline is a closed chain whatever the settings file said.
int32_t line_points();

// Rebuilds the 17 unit shapes from the templates of the settings.
void line_const_init();

// Lays one edge in picture pixels: the vertical form of `shape` along the grid line x = line (in cells), in row
// `cell`, or the horizontal form along y = line in column `cell`, for cells of cw x ch pixels. The last point is
// pushed one pixel further along the edge, because a drawn chain leaves out its very last pixel.
void lay_vertical_edge(Point* out, int32_t shape, int32_t line, int32_t cell, double cw, double ch);
void lay_horizontal_edge(Point* out, int32_t shape, int32_t line, int32_t cell, double cw, double ch);
