// Cutting lines: the unit shapes, laying every cell's four edges, and the neighbour lookups over the cells.
#include "puzzle/lines.h"

#include <algorithm>
#include <cstring>

#include "graphics/state.h"
#include "graphics/trace.h"
#include "puzzle/random.h"
#include "puzzle/settings.h"
#include "puzzle/state.h"
#include "ws/ws.h"

namespace {

// Templates are scaled by this factor rather than divided by 216, which keeps the exact unit positions the
// game has always cut with (the two differ in the last bit for some points).
constexpr double template_scale = 0.004629629629629629;

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("CUT", event);
}

// A control point may lie off the edge, but not more than two edge lengths away: a settings file can hold any
// number, and a point far out would ask for a work surface of the size of its distance.
double unit_coordinate(int32_t template_value) { return std::clamp(template_value * template_scale, -2.0, 3.0); }

// Shapes 0-3: the templates, first and last points pinned to the edge's ends.
void build_templates(int32_t n) {
    for (int32_t t = 0; t < 4; ++t) {
        UnitShape& s = puzzle.unit_shapes[t];
        s = UnitShape{};
        for (int32_t i = 1; i < n - 1; ++i)
            s.h[i] = {unit_coordinate(settings.line[t][i].x), unit_coordinate(settings.line[t][i].y)};
        s.h[n - 1] = {1, 0};
        for (int32_t i = 0; i < n; ++i) s.v[i] = {s.h[i].y, s.h[i].x};
    }
}

// Shapes 4-7 run shapes 0-3 backwards; shapes 8-15 put the knob of shapes 0-7 on the other side.
void build_variants(int32_t n) {
    for (int32_t t = 0; t < 4; ++t) {
        const UnitShape& a = puzzle.unit_shapes[t];
        UnitShape& b = puzzle.unit_shapes[t + 4];
        b = UnitShape{};
        for (int32_t j = 0; j < n; ++j) {
            b.h[j] = {1 - a.h[n - 1 - j].x, a.h[n - 1 - j].y};
            b.v[j] = {a.v[n - 1 - j].x, 1 - a.v[n - 1 - j].y};
        }
    }
    for (int32_t s = 0; s < 8; ++s) {
        const UnitShape& a = puzzle.unit_shapes[s];
        UnitShape& b = puzzle.unit_shapes[s + 8];
        b = UnitShape{};
        for (int32_t i = 0; i < n; ++i) {
            b.h[i] = {a.h[i].x, -a.h[i].y};
            b.v[i] = {-a.v[i].x, a.v[i].y};
        }
    }
    UnitShape& straight = puzzle.unit_shapes[straight_shape];
    straight = UnitShape{};
    straight.h[n - 1] = {1, 0};
    straight.v[n - 1] = {0, 1};
}

int32_t clamp_shape(int32_t shape) { return shape < 0 || shape >= unit_shape_count ? straight_shape : shape; }

}  // namespace

int32_t line_points() {
    const int32_t n = std::clamp(settings.line_num, 4, max_line_points);
    return n - (n - 1) % 3;
}

void line_const_init() {
    trace("line_const_init start\n");
    const int32_t n = line_points();
    build_templates(n);
    build_variants(n);
    trace("line_const_init end\n");
}

void lay_vertical_edge(Point* out, int32_t shape, int32_t line, int32_t cell, double cw, double ch) {
    const UnitPoint* v = puzzle.unit_shapes[clamp_shape(shape)].v;
    const int32_t n = line_points();
    std::fill(out, out + max_line_points, Point{});
    for (int32_t k = 0; k < n; ++k)
        out[k] = {int32_t((line + v[k].x) * cw), int32_t((cell + v[k].y) * ch)};
    out[n - 1].y += 1;
}

void lay_horizontal_edge(Point* out, int32_t shape, int32_t line, int32_t cell, double cw, double ch) {
    const UnitPoint* h = puzzle.unit_shapes[clamp_shape(shape)].h;
    const int32_t n = line_points();
    std::fill(out, out + max_line_points, Point{});
    for (int32_t k = 0; k < n; ++k)
        out[k] = {int32_t((cell + h[k].x) * cw), int32_t((line + h[k].y) * ch)};
    out[n - 1].x += 1;
}

// Every inner edge takes a random shape; a cell copies its left and top edges from its neighbours so that two
// cells always share one identical edge. Draws happen in cell order, right edge before bottom edge.
void Jig::line_init() {
    trace("line_init start\n");
    if (cols < 1 || rows < 1 || int64_t(cols) * rows > int64_t(cells.size()) || pic_w < cols || pic_h < rows) {
        trace("line_init end\n");
        return;
    }
    // Shapes never built, or built for another chain length, would give open outlines.
    if (puzzle.unit_shapes[straight_shape].v[line_points() - 1].y != 1) line_const_init();
    const double cw = pic_w / cols, ch = pic_h / rows;
    puzzle.game_random.seed(game_seed());
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            const int32_t i = r * cols + c;
            Cell& cell = cells[i];
            const int32_t right = c == cols - 1 ? straight_shape : int32_t(puzzle.game_random.pick(16));
            lay_vertical_edge(cell.edges[SIDE_RIGHT], right, c + 1, r, cw, ch);
            if (c == 0)
                lay_vertical_edge(cell.edges[SIDE_LEFT], straight_shape, 0, r, cw, ch);
            else
                std::memcpy(cell.edges[SIDE_LEFT], cells[i - 1].edges[SIDE_RIGHT], sizeof cell.edges[0]);
            const int32_t bottom = r == rows - 1 ? straight_shape : int32_t(puzzle.game_random.pick(16));
            lay_horizontal_edge(cell.edges[SIDE_BOTTOM], bottom, r + 1, c, cw, ch);
            if (r == 0)
                lay_horizontal_edge(cell.edges[SIDE_TOP], straight_shape, 0, c, cw, ch);
            else
                std::memcpy(cell.edges[SIDE_TOP], cells[i - cols].edges[SIDE_BOTTOM], sizeof cell.edges[0]);
            cell.owner = i;
        }
    }
    trace("line_init end\n");
}

int32_t Jig::left_owner(int32_t col, int32_t row) const {
    return col <= 0 || col >= cols || row < 0 || row >= rows ? -1 : cells[row * cols + col - 1].owner;
}

int32_t Jig::top_owner(int32_t col, int32_t row) const {
    return row <= 0 || row >= rows || col < 0 || col >= cols ? -1 : cells[(row - 1) * cols + col].owner;
}

int32_t Jig::right_owner(int32_t col, int32_t row) const {
    return col < 0 || col >= cols - 1 || row < 0 || row >= rows ? -1 : cells[row * cols + col + 1].owner;
}

int32_t Jig::bottom_owner(int32_t col, int32_t row) const {
    return row < 0 || row >= rows - 1 || col < 0 || col >= cols ? -1 : cells[(row + 1) * cols + col].owner;
}
