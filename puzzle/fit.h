// Fitting a new game's picture and choosing its grid (the Jig members stretch, replace_black_white,
// restore_black_white, make_grid).
#pragma once
#include <cstdint>

#include "puzzle/jig.h"

struct GridSize {
    int32_t cols = 0;
    int32_t rows = 0;
};

// The grid for a w x h picture and n wanted pieces: cells as near to square as the proportions allow, at most
// classic_cells of them while n is no more (max_cells above), and never narrower or lower than two pixels where the
// picture is that large (a cell of one pixel lies wholly on its own outline). n is taken within 1 .. max_cells; a
// picture without pixels gives 0 x 0.
GridSize grid_size(int32_t w, int32_t h, int32_t n);

// The size stretch fits a w x h picture to for `stretch_size` (its longer side; 0 or less keeps the picture's own
// size), before make_grid trims it to whole cells.
struct FittedSize {
    int32_t w = 0;
    int32_t h = 0;
};
FittedSize fitted_size(int32_t w, int32_t h, int32_t stretch_size);
