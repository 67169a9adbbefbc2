// Re-cutting a joined group as one picture, with its margin and, on request, the marks of its inner seams; and the
// same cut of any group from the finer picture.
#include <algorithm>
#include <vector>

#include "graphics/memdc.h"
#include "graphics/raster.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "graphics/zoom.h"
#include "pieces/piece.h"
#include "puzzle/joint.h"
#include "puzzle/lines.h"
#include "puzzle/settings.h"

namespace {

constexpr Colour white = 0xFFFFFF;
constexpr Colour black = 0x000000;

// The picture a cut reads: the fitted one, or the finer one at `scale` thousandths of its size, so that a finer cut
// covers the same part of the picture along the same outline, only in more pixels. Sides of frames scale as
// they are (a fitted pixel is `scale` finer pixels wide); a point of a line names a pixel, and goes to the finer
// pixel under that pixel's centre, so the lines run through the middle of where they ran. At 1000 every
// coordinate is the fitted picture's own.
struct Source {
    MemDC* picture = nullptr;
    int32_t w = 0, h = 0;  // the part of it the grid covers
    int32_t scale = kZoomFull;
    int32_t side(int32_t v) const { return scaled_nearest(v, scale); }
    int32_t of(int32_t v) const { return int32_t(floor_div(int64_t(v) * scale + scale / 2, kZoomFull)); }
    Point at(Point p) const { return {of(p.x), of(p.y)}; }
    Rect frame(const GroupFrame& f) const {
        return {side(f.sx), side(f.sy), side(f.sx + f.width), side(f.sy + f.height)};
    }
};

// The owner of the neighbour across each side of a cell (-1 beyond the grid), in the order edges are stored.
void side_owners(const Jig& jig, int32_t col, int32_t row, int32_t out[4]) {
    out[SIDE_LEFT] = jig.left_owner(col, row);
    out[SIDE_TOP] = jig.top_owner(col, row);
    out[SIDE_RIGHT] = jig.right_owner(col, row);
    out[SIDE_BOTTOM] = jig.bottom_owner(col, row);
}

// The cutting lines of a group as the polylines its Bezier chains flatten to, in picture pixels. They are
// flattened once, where the picture puts them, and only the polylines are moved onto a smaller surface: a line's
// pixels are worked out in whole numbers from its end points and do not depend on where the surface is or how
// much of the line it clips, so a polyline moved by whole pixels draws the same pixels moved.
struct Paths {
    std::vector<Point> points;
    std::vector<size_t> ends;  // one past the last point of each polyline
};

// The outline of group g (every side of a member cell whose neighbour is not in g) or its inner edges (sides whose
// neighbour is in g). Two members share each inner edge point for point, so it is taken once, from the cell on its
// left or above it.
Paths side_paths(const Jig& jig, int32_t g, bool inner, int32_t points, const Source& src) {
    Paths out;
    for (int32_t i = 0; i < jig.cols * jig.rows; ++i) {
        if (jig.cells[i].owner != g) continue;
        int32_t owners[4];
        side_owners(jig, i % jig.cols, i / jig.cols, owners);
        for (int32_t side = 0; side < 4; ++side) {
            if ((owners[side] == g) != inner) continue;
            if (inner && (side == SIDE_LEFT || side == SIDE_TOP)) continue;
            Point scaled[max_line_points];
            const Point* edge = jig.cells[i].edges[side];
            if (src.scale != kZoomFull) {
                for (int32_t k = 0; k < points; ++k) scaled[k] = src.at(edge[k]);
                edge = scaled;
            }
            raster::flatten_bezier(edge, points, out.points);
            out.ends.push_back(out.points.size());
        }
    }
    return out;
}

// Draws the paths with the surface's current pen onto a surface whose top-left corner is `origin` in the picture.
void draw_paths(const Paths& paths, Point origin, MemDC& surface) {
    std::vector<Point> moved;
    size_t from = 0;
    for (size_t end : paths.ends) {
        moved.clear();
        for (size_t i = from; i < end; ++i)
            moved.push_back({paths.points[i].x - origin.x, paths.points[i].y - origin.y});
        surface.polyline(moved.data(), int32_t(moved.size()));
        from = end;
    }
}

// The part of the picture the work must cover: the group's frame and every pixel of its outline (the knobs of a
// small cell may reach past half a cell), within the picture. A line's pixels lie within its end points' box.
Rect work_area(const Source& src, const Rect& frame, const Paths& outline) {
    Rect r = frame;
    for (const Point& p : outline.points) {
        r.left = std::min(r.left, p.x), r.right = std::max(r.right, p.x + 1);
        r.top = std::min(r.top, p.y), r.bottom = std::max(r.bottom, p.y + 1);
    }
    return intersect_rect(r, {0, 0, src.w, src.h});
}

// The picture outside `r` is one region, or two when `r` spans the picture's width (above and below it) or its
// height (left and right). Which of them holds the picture pixel (x, y) outside `r`.
int32_t outside_part(const Source& src, const Rect& r, int32_t x, int32_t y) {
    if (r.left == 0 && r.right == src.w) return y < r.top ? 0 : 1;
    if (r.top == 0 && r.bottom == src.h) return x < r.left ? 0 : 1;
    return 0;
}

// Whitens every region of the picture outside the group, on a work surface that covers only `ring` of it: each
// foreign cell is filled from its own centre, so a foreign cell enclosed by the group is reached as well. The
// picture has no pure white (near_white stands in for it) and no line leaves `r`, so each region outside `r` is one
// non-white whole. `ring` is `r` with one more pixel of picture all round: the ring joins the regions of `r` that
// meet an outside region just as that region does, so a fill from a corner of the ring stands in for a fill from
// a foreign centre further out.
void white_out_foreign_cells(const Jig& jig, int32_t g, const GroupFrame& f, const Source& src, const Rect& r,
                             const Rect& ring, MemDC& work) {
    work.set_brush(white);
    const auto fill = [&](int32_t x, int32_t y) {
        if (work.get_pixel(x - ring.left, y - ring.top) != white)
            work.flood_fill(x - ring.left, y - ring.top, white, FLOODFILLBORDER);
    };
    const auto inside = [](const Rect& a, int32_t x, int32_t y) {
        return x >= a.left && x < a.right && y >= a.top && y < a.bottom;
    };
    bool far[2] = {false, false};
    for (int32_t i = 0; i < jig.cols * jig.rows; ++i) {
        if (jig.cells[i].owner == g) continue;
        const int32_t x = src.of((i % jig.cols) * f.cw + f.cw / 2), y = src.of((i / jig.cols) * f.ch + f.ch / 2);
        if (inside(ring, x, y))
            fill(x, y);
        else
            far[outside_part(src, r, x, y)] = true;
    }
    const Point corners[] = {{ring.left, ring.top}, {ring.right - 1, ring.top}, {ring.left, ring.bottom - 1},
                             {ring.right - 1, ring.bottom - 1}};
    for (const Point c : corners)
        if (!inside(r, c.x, c.y) && far[outside_part(src, r, c.x, c.y)]) fill(c.x, c.y);
}

// Puts 0xFF into the top byte of every work pixel on an inner edge of the group, within the part of the picture
// the group's picture takes. The outline is drawn black over the inner edges, so its pixels are never marked, also
// where an inner edge ends on it.
void mark_seams(const Jig& jig, int32_t g, const Source& src, const Rect& frame, const Rect& r, const Paths& outline,
                int32_t points, MemDC& work) {
    const Rect on = intersect_rect(frame, {0, 0, src.w, src.h});
    MemDC lines;
    lines.create(BIT_DIB, on.width(), on.height());
    lines.set_pen1(white);
    draw_paths(side_paths(jig, g, true, points, src), {on.left, on.top}, lines);
    lines.set_pen1(black);
    draw_paths(outline, {on.left, on.top}, lines);
    const uint32_t* from = lines.pixels();
    uint32_t* to = work.pixels();
    for (int32_t y = on.top; y < on.bottom; ++y) {
        const uint32_t* line = from + size_t(on.bottom - 1 - y) * size_t(on.width());
        uint32_t* row = to + size_t(r.bottom - 1 - y) * size_t(r.width()) + (on.left - r.left);
        for (int32_t x = 0; x < on.width(); ++x) row[x] |= (line[x] & 0xFFFF0000u) << 8;
    }
    lines.destroy();
}

// Cuts group g along its outline from src into p's image: its frame's part of the picture, white beyond the
// outline and beyond the picture.
void cut_group(const Jig& jig, int32_t g, const GroupFrame& f, const Source& src, Piece& p) {
    const int32_t points = line_points();
    // The work covers only the part of the picture the group's picture and its outline take.
    const Paths outline = side_paths(jig, g, false, points, src);
    const Rect frame = src.frame(f);
    const Rect r = work_area(src, frame, outline);
    const Rect ring = intersect_rect({r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, {0, 0, src.w, src.h});
    MemDC work;
    work.create(BIT_DIB, ring.width(), ring.height());
    work.blit(0, 0, ring.width(), ring.height(), *src.picture, ring.left, ring.top, SRCCOPY);
    work.set_pen1(white);
    draw_paths(outline, {ring.left, ring.top}, work);
    white_out_foreign_cells(jig, g, f, src, r, ring, work);
    if (settings.nokosu) mark_seams(jig, g, src, frame, ring, outline, points, work);
    p.set_image(work, frame.width(), frame.height(), frame.left - ring.left, frame.top - ring.top);
    work.destroy();
}

}  // namespace

void cut_fine(const Jig& jig, int32_t g, Piece& p) {
    const GroupFrame f = group_frame(jig, g);
    if (!jig.fine_picture || f.empty()) return;
    Source src{jig.fine_picture, 0, 0, jig.fine_scale};
    src.w = std::min(src.side(jig.pic_w), jig.fine_picture->width());
    src.h = std::min(src.side(jig.pic_h), jig.fine_picture->height());
    cut_group(jig, g, f, src, p);
}

GroupFrame group_frame(const Jig& jig, int32_t g) {
    GroupFrame f;
    // A grid whose cells would be under one pixel has no pictures to cut.
    if (jig.cols < 1 || jig.rows < 1 || int64_t(jig.cols) * jig.rows > int64_t(jig.cells.size())) return f;
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
    if (k < 0 || k >= int32_t(items.size()) || !items[k].piece || !picture)
        fatal_error(module_name(here), int(here.line()), "joint_piece no piece or picture", 0);
    const GroupFrame f = group_frame(*this, g);
    if (f.empty()) return;  // no cell belongs to g: there is nothing to cut
    if (graphics.trace_switch) trace_line("CUT", "joint_piece start\n");
    Item& item = items[k];
    item.piece->joined = 1;
    item.piece->recut = nullptr;  // a group's image is kept: no cell can make it again
    cut_group(*this, g, f, Source{picture, pic_w, pic_h}, *item.piece);
    const int32_t ox = pic_w / 2 - f.gw / 2 - f.x0;
    item.home_dx = item.join_dx = item.piece->turned == 1 ? pic_w - ox : ox;
    item.home_dy = item.join_dy = pic_h / 2 - f.gh / 2 - f.y0;
    item.merged = 1;

    item.piece->release();
    if (graphics.trace_switch) trace_line("CUT", "joint_piece end\n");
}
