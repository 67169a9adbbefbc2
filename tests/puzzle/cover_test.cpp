// Cut pieces against the picture: every pixel off the cutting lines lies in exactly one piece, with the picture's
// word, and no piece holds anything else; cutting a cell's square alone gives the piece's image upright.
#include <gtest/gtest.h>

#include "puzzle/cut.h"
#include "support/game_builder.h"

namespace {

using testsupport::at;

// The busy pattern with pure white and pure black planted on every 7th and 11th pixel, as pictures may have them.
uint32_t planted(int32_t x, int32_t y) {
    return (x + 3 * y) % 7 == 0 ? 0xFFFFFF : (x + 5 * y) % 11 == 0 ? 0 : testsupport::pattern_word(x, y);
}

// Cells of two pixels, single Bezier segments (line_num 4), large pictures, and cells of six pixels, whose knobs
// reach the edge of the square and could fence a neighbour's pixels into a corner of it, all hold.
TEST(Cover, EveryPixelOffTheLinesIsInExactlyOnePieceWithItsWord) {
    testsupport::Guard guard;
    desk_images_create(1000, 800);
    settings.kaiten = 234;
    const int32_t grids[][4] = {{400, 300, 20, 10}, {300, 225, 600, 10}, {97, 61, 50, 10}, {1000, 750, 4, 10},
                                {40, 30, 300, 10},  {120, 90, 12, 4},    {120, 90, 300, 10}};
    for (const auto& s : grids) {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1] << " n=" << s[2]);
        settings.line_num = s[3];
        line_const_init();
        std::unique_ptr<Jig> g(testsupport::laid_game(s[0], s[1], s[2], planted));
        while (g->cut_count < g->item_count) g->cut(1000, 800);
        MemDC lines;
        lines.create(BIT_DIB, g->pic_w, g->pic_h);
        lines.fill(0, 0, g->pic_w, g->pic_h, 0);
        lines.set_pen(0xFFFFFF, 1);
        for (int32_t c = 0; c < g->item_count; ++c)
            for (const auto& edge : g->cells[c].edges) lines.bezier(edge, line_points());
        std::vector<int32_t> held(size_t(g->pic_w) * size_t(g->pic_h));
        for (int32_t k = 0; k < g->cut_count; ++k) {
            const Piece& p = *g->items[k].piece;
            const CellSquare q = cell_square(*g, g->items[k].id);
            MemDC square;
            cut_square(*g, g->items[k].id, square);
            ASSERT_EQ(p.width, q.side);
            for (int32_t j = 0; j < q.side; ++j)
                for (int32_t i = 0; i < q.side; ++i) {
                    const uint32_t word = p.image_at(p.turned ? q.side - 1 - i : i, j);
                    const int32_t x = q.sx + i, y = q.sy + j;
                    ASSERT_EQ(word, at(square, i, j)) << "the square cut alone, cell " << g->items[k].id;
                    if ((word & 0xFFFFFF) == 0xFFFFFF) continue;
                    ASSERT_TRUE(x >= 0 && y >= 0 && x < g->pic_w && y < g->pic_h) << "cell " << g->items[k].id;
                    ASSERT_EQ(word, at(*g->picture, x, y)) << "cell " << g->items[k].id << " at " << x << "," << y;
                    ++held[size_t(y) * size_t(g->pic_w) + size_t(x)];
                }
        }
        for (int32_t y = 0; y < g->pic_h; ++y)
            for (int32_t x = 0; x < g->pic_w; ++x) {
                const int32_t n = held[size_t(y) * size_t(g->pic_w) + size_t(x)];
                ASSERT_TRUE(n == 1 || (n == 0 && at(lines, x, y) != 0)) << x << "," << y << " held " << n;
            }
    }
    desk_images_destroy();
}

}  // namespace
