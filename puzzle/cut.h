// Cutting the picture into pieces: the square around a cell, and where a new piece lands on the desk.
//
// Terms: a piece's square is S x S pixels with S = twice the larger cell side, centred on the cell, so the knobs
// of all four edges fit in it; everything outside the cell's outline is white, the key colour.
#pragma once
#include <cstdint>

#include "graphics/geometry.h"
#include "puzzle/jig.h"

class MemDC;
struct Piece;

// Where a cell's square lies in the picture.
struct CellSquare {
    int32_t cw = 0, ch = 0;  // cell size
    int32_t x0 = 0, y0 = 0;  // the cell's top-left corner in the picture
    int32_t side = 0;        // S
    int32_t sx = 0, sy = 0;  // the square's top-left corner in the picture (may be negative)
    int32_t dx = 0, dy = 0;  // the part of the square left of and above the picture
};

// The square of `cell` of a game whose grid is laid (cols, rows >= 1, cell inside the grid).
CellSquare cell_square(const Jig& game, int32_t cell);

// Cuts `cell` out of the game's picture into `square` (created here, 32-bit, S x S): the picture inside the
// cell's outline, white everywhere else, the outline included. Only the square's own neighbourhood is copied and
// outlined, and the outside is filled from beyond the outline's reach, so a knob that comes up to the square's
// edge never fences a neighbour's pixels into the piece.
void cut_square(const Jig& game, int32_t cell, MemDC& square);
// The same cut on a work area around the outline, created here: gives where the area lies in the picture. The
// square's pixels beyond the area are white.
Rect cut_out(const Jig& game, int32_t cell, MemDC& work);
// The image of a single piece of `cell`: its square cut out (the work surface itself when the area lies inside the
// square, else the square's part of it, trimmed), mirrored when the piece lies turned over.
void cut_image(const Jig& game, int32_t cell, Piece& p);

// Start of the row layout: piece k of a game cut in cell order lies in column k mod cols, row k / cols, with
// twice the cell size between centres.
Point row_position(const Jig& game, int32_t k);
