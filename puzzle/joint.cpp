// Re-cutting a joined group as one picture, with its margin and, on request, the marks of its inner seams.
#include <algorithm>
#include <vector>

#include "graphics/memdc.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/piece.h"
#include "puzzle/joint.h"
#include "puzzle/lines.h"
#include "puzzle/settings.h"

namespace {

constexpr Colour white = 0xFFFFFF;
constexpr Colour black = 0x000000;

// The owner of the neighbour across each side of a cell (-1 beyond the grid), in the order edges are stored.
void side_owners(const Jig& jig, int32_t col, int32_t row, int32_t out[4]) {
    out[SIDE_LEFT] = jig.left_owner(col, row);
    out[SIDE_TOP] = jig.top_owner(col, row);
    out[SIDE_RIGHT] = jig.right_owner(col, row);
    out[SIDE_BOTTOM] = jig.bottom_owner(col, row);
}

// Draws with the surface's current pen the outline of group g (every side of a member cell whose neighbour is not
// in g) or its inner edges (sides whose neighbour is in g). Two members share each inner edge point for point, so
// it is drawn once, from the cell on its left or above it.
void draw_sides(const Jig& jig, int32_t g, bool inner, int32_t points, MemDC& surface) {
    for (int32_t i = 0; i < jig.cols * jig.rows; ++i) {
        if (jig.cells[i].owner != g) continue;
        int32_t owners[4];
        side_owners(jig, i % jig.cols, i / jig.cols, owners);
        for (int32_t side = 0; side < 4; ++side) {
            if ((owners[side] == g) != inner) continue;
            if (inner && (side == SIDE_LEFT || side == SIDE_TOP)) continue;
            surface.bezier(jig.cells[i].edges[side], points);
        }
    }
}

// Whitens every region of the work picture outside the group: each foreign cell is filled from its own centre,
// so a foreign cell enclosed by the group is reached as well.
void white_out_foreign_cells(const Jig& jig, int32_t g, const GroupFrame& f, MemDC& work) {
    work.set_brush(white);
    for (int32_t i = 0; i < jig.cols * jig.rows; ++i) {
        if (jig.cells[i].owner == g) continue;
        const int32_t x = (i % jig.cols) * f.cw + f.cw / 2, y = (i / jig.cols) * f.ch + f.ch / 2;
        if (work.get_pixel(x, y) != white) work.flood_fill(x, y, white, FLOODFILLBORDER);
    }
}

// Puts 0xFF into the top byte of every work pixel on an inner edge of the group, within the part of the picture
// the group's picture takes. The outline is drawn black over the inner edges, so its pixels are never marked, also
// where an inner edge ends on it.
void mark_seams(const Jig& jig, int32_t g, const GroupFrame& f, int32_t points, MemDC& work) {
    MemDC lines;
    lines.create(BIT_DIB, jig.pic_w, jig.pic_h);
    lines.fill(0, 0, jig.pic_w, jig.pic_h, black);
    lines.set_pen1(white);
    draw_sides(jig, g, true, points, lines);
    lines.set_pen1(black);
    draw_sides(jig, g, false, points, lines);
    const uint32_t* from = lines.pixels();
    uint32_t* to = work.pixels();
    const int32_t left = std::max(f.sx, 0), right = std::min(f.sx + f.width, jig.pic_w);
    const int32_t top = std::max(f.sy, 0), bottom = std::min(f.sy + f.height, jig.pic_h);
    for (int32_t y = top; y < bottom; ++y) {
        const size_t row = size_t(jig.pic_h - 1 - y) * size_t(jig.pic_w);
        for (int32_t x = left; x < right; ++x) to[row + x] |= (from[row + x] & 0xFFFF0000u) << 8;
    }
    lines.destroy();
}

}  // namespace

GroupFrame group_frame(const Jig& jig, int32_t g) {
    GroupFrame f;
    // A grid whose cells would be under one pixel has no pictures to cut.
    if (jig.cols < 1 || jig.rows < 1 || int64_t(jig.cols) * jig.rows > max_cells) return f;
    if (jig.pic_w < jig.cols || jig.pic_h < jig.rows) return f;
    f.c0 = jig.cols, f.r0 = jig.rows;
    for (int32_t i = 0; i < jig.cols * jig.rows; ++i) {
        if (jig.cells[i].owner != g) continue;
        const int32_t col = i % jig.cols, row = i / jig.cols;
        f.c0 = std::min(f.c0, col), f.c1 = std::max(f.c1, col);
        f.r0 = std::min(f.r0, row), f.r1 = std::max(f.r1, row);
    }
    if (f.empty()) return f;
    f.cw = jig.pic_w / jig.cols, f.ch = jig.pic_h / jig.rows;
    f.x0 = f.c0 * f.cw, f.y0 = f.r0 * f.ch;
    f.gw = (f.c1 - f.c0 + 1) * f.cw, f.gh = (f.r1 - f.r0 + 1) * f.ch;
    f.width = f.gw + f.cw, f.height = f.gh + f.ch;
    f.sx = f.x0 - f.cw / 2, f.sy = f.y0 - f.ch / 2;
    return f;
}

void Jig::joint_piece(int32_t g, int32_t k) {
    const Where here = Where::current();
    if (k < 0 || k >= max_items || !items[k].piece || !picture)
        fatal_error(module_name(here), int(here.line()), "joint_piece no piece or picture", 0);
    const GroupFrame f = group_frame(*this, g);
    if (f.empty()) return;  // no cell belongs to g: there is nothing to cut
    if (graphics.trace_switch) trace_line("CUT", "joint_piece start\n");
    const int32_t points = line_points();

    MemDC work;
    work.create(BIT_DIB, pic_w, pic_h);
    work.blit(0, 0, pic_w, pic_h, *picture, 0, 0, SRCCOPY);
    work.set_pen1(white);
    draw_sides(*this, g, false, points, work);
    white_out_foreign_cells(*this, g, f, work);
    if (settings.nokosu) mark_seams(*this, g, f, points, work);

    // The group's picture is the frame's part of the work picture, white beyond the picture.
    Item& item = items[k];
    item.piece->joined = 1;
    item.piece->set_image(work, f.width, f.height, f.sx, f.sy);
    work.destroy();
    const int32_t ox = pic_w / 2 - f.gw / 2 - f.x0;
    item.home_dx = item.join_dx = item.piece->turned == 1 ? pic_w - ox : ox;
    item.home_dy = item.join_dy = pic_h / 2 - f.gh / 2 - f.y0;
    item.merged = 1;

    item.piece->release();
    if (graphics.trace_switch) trace_line("CUT", "joint_piece end\n");
}
