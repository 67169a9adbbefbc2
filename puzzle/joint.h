// Re-cutting a joined group as one picture: the group's cells cut afresh from the fitted picture along their
// common outline, with half a cell of white margin and, with the setting nokosu, seam marks on the inner edges.
//
// The operation itself is Jig::joint_piece(g, k) (declared with the game record); this header gives the sizes
// it works with so that callers and tests can place the result, and the same cut from the finer picture.
#pragma once
#include <cstdint>

#include "graphics/geometry.h"
#include "puzzle/jig.h"

struct Piece;

// Where a group's picture lies in the fitted picture.
struct GroupFrame {
    int32_t c0 = 0, c1 = -1, r0 = 0, r1 = -1;  // bounding box of the group's cells (c1 < c0: no cell)
    int32_t cw = 0, ch = 0;                    // cell size
    int32_t x0 = 0, y0 = 0;                    // top-left of the bounding box, in picture pixels
    int32_t gw = 0, gh = 0;                    // size of the bounding box
    int32_t width = 0, height = 0;             // size of the group picture: the box plus half a cell all round
    int32_t sx = 0, sy = 0;                    // the group picture's top-left corner in the picture
    bool empty() const { return c1 < c0; }
};

// The frame of group g in a game (empty when no cell belongs to g, or the game has no grid of whole pixels).
GroupFrame group_frame(const Jig& jig, int32_t g);

// Cuts group g (a joined group, or a single piece's cell) from the game's finer picture into p's image, the cut
// of joint_piece at fine_scale; p's `turned` is set by the caller. Without a finer picture p is left as it is.
void cut_fine(const Jig& jig, int32_t g, Piece& p);
