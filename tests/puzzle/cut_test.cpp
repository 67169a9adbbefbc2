// Cutting a game piece by piece: whole cut games and re-cut groups against their golden file, the refusals, the
// end of cutting, tiny windows, drawing on both presentation paths, wild templates and oversized pictures.
#include <gtest/gtest.h>

#include "graphics/ddbase.h"
#include "pieces/desk.h"
#include "puzzle/cut.h"
#include "puzzle/golden.h"
#include "puzzle/state.h"
#include "support/game_builder.h"
#include "ws/ws.h"

namespace {

using testsupport::at;

class Cutting : public ::testing::Test {
protected:
    void SetUp() override { desk_images_create(1000, 800); }
    void TearDown() override {
        delete std::exchange(desk.presenter, nullptr);
        desk_images_destroy();
    }
    testsupport::Guard guard_;
};

// Every cut item of three kinds of game (free angles scattered over a window at a view offset; upright pieces in
// rows; quarter-turn games of short edges on the presenter path), with the generator's state after each cut, so
// that the cells, sides, angles and places drawn, the order of the draws (cell, side, angle, then the scatter's a,
// x terms and y terms) and every pixel of every piece are pinned; the desk (or the presenter's back buffer) each
// game was drawn on as it was cut; then groups re-cut from the first game (an L, a ring round a foreign cell, a
// turned pair, the whole picture) with their seams, bevel and smoothing.
// golden/cut_games.txt was made once with ZELTO_WRITE_GOLDEN=1 from the cutting as it stood when the cover and
// group checks passed; by hand were checked the row layout's centres ((k mod 4) 150 + 75, (k / 4) 150 + 75 for
// cells of 75 x 75) and home offsets (113 - 75 (k mod 4), 75 - 75 (k / 4)), the upright game's angles and sides
// (all 0, no draws), cells 7 and 0 of the first game (see below) and the whole picture's group (480 x 375, home 0).
TEST_F(Cutting, CutGamesAndGroupsMatchTheirGoldenFile) {
    const struct {
        const char* name;
        int32_t w, h, n, line_num, kaiten;
        bool hanten, seiretu, kage, smooth, with_presenter;
        uint32_t clock;
    } cases[] = {{"free", 400, 300, 20, 10, 234, true, false, true, true, false, 5000000},
                 {"rows", 300, 225, 12, 19, 235, false, true, true, false, false, 5100000},
                 {"quarter", 160, 120, 48, 4, 236, true, false, false, false, true, 5200000}};
    std::vector<std::string> lines;
    std::unique_ptr<Jig> first;
    for (const auto& c : cases) {
        settings.line_num = c.line_num, settings.kaiten = c.kaiten, settings.hanten = c.hanten;
        settings.seiretu = c.seiretu, settings.kage = c.kage, settings.smooth = c.smooth;
        desk.view_x = 50, desk.view_y = 30;
        line_const_init();
        ASSERT_LT(ws::tick_count(), c.clock) << "the clock seeds the game";
        ws::test::advance(c.clock - ws::tick_count());
        std::unique_ptr<Jig> g(testsupport::laid_game(c.w, c.h, c.n));
        desk.desk_image->fill(0, 0, 1000, 800, 0x563412);
        if (c.with_presenter) {
            desk.presenter = new DDBase(g->item_count);
            desk.presenter->init(0);
            desk.presenter->table_count = desk.presenter->count;
            desk.presenter->back->fill(0, 0, desk.presenter->back->width(), desk.presenter->back->height(), 0x563412);
        }
        lines.push_back(c.name);
        while (g->cut_count < g->item_count) {
            g->cut(800, 600);
            lines.push_back(golden::item_line(g->items[g->cut_count - 1]) +
                            " random=" + std::to_string(puzzle.game_random.state));
        }
        const Piece& last = *g->items[g->cut_count - 1].piece;
        EXPECT_EQ(at(*desk.desk_image, last.cx, last.cy) == 0x123456u, c.with_presenter)
            << "the desk is drawn on one path";
        lines.push_back("shown=" + std::to_string(golden::surface_hash(c.with_presenter ? *desk.presenter->back
                                                                                        : *desk.desk_image)));
        delete std::exchange(desk.presenter, nullptr);
        if (!first) first = std::move(g);
    }
    Jig& g = *first;
    settings.kage = settings.smooth = true;
    settings.line_num = 10;
    line_const_init();
    const struct {
        std::vector<int32_t> cells;
        int32_t turned;
        double angle;
        bool nokosu;
    } groups[] = {{{0, 1, 2, 5, 10}, 0, 0.6, true},          {{0, 1, 2, 5, 10}, 0, 0.6, false},
                  {{0, 1, 2, 5, 7, 10, 11, 12}, 0, 0, true}, {{13, 14}, 1, 1.5707963267948966, true},
                  {{}, 0, 2.5, true}};
    lines.push_back("groups");
    g.items[20].piece = new Piece;
    g.item_count = 21;
    for (const auto& grp : groups) {
        settings.nokosu = grp.nokosu;
        for (int32_t i = 0; i < 20; ++i) g.cells[i].owner = grp.cells.empty() ? 3 : i;
        for (int32_t c : grp.cells) g.cells[c].owner = grp.cells[0];
        Item& it = g.items[20];
        it.id = grp.cells.empty() ? 3 : grp.cells[0];
        it.piece->turned = grp.turned;
        g.joint_piece(it.id, 20);
        it.piece->cx = 300, it.piece->cy = 200;
        it.piece->set_angle(grp.angle);
        lines.push_back(golden::item_line(it) + " merged=" + std::to_string(it.merged));
    }
    golden::expect_lines("puzzle/golden/cut_games.txt", lines);
}

// cut_piece refuses a cell or item outside the tables and an item without a piece, and makes a re-cut item a
// single piece again. Offsets lead to the picture's centre, checked by hand: cell 7 of 5 x 4 cells of 80 x 75
// lies at (160, 75): 200 - 40 - 160 = 0 and 150 - 37 - 75 = 38; turned over 400 - 0; corner cell 0 gives 160, 113.
TEST_F(Cutting, CutPieceRefusesWhatIsNotThereAndMakesASinglePiece) {
    std::unique_ptr<Jig> g(testsupport::laid_game(400, 300, 20));
    for (int32_t k = 0; k < 5; ++k) {
        g->items[k].piece = new Piece;
        g->items[k].merged = g->items[k].hidden = g->items[k].piece->joined = 1;
    }
    g->items[1].piece->turned = 1;
    g->cut_piece(7, 0);
    g->cut_piece(7, 1);
    g->cut_piece(0, 2);
    for (const std::pair<int32_t, int32_t>& refused : {std::pair{20, 3}, {-1, 3}, {3, 5}, {3, max_items}})
        g->cut_piece(refused.first, refused.second);
    EXPECT_EQ(g->items[3].piece->image, nullptr);
    EXPECT_EQ(g->items[5].piece, nullptr);
    const Item* it = g->items;
    EXPECT_EQ((std::vector{it[0].home_dx, it[0].home_dy, it[1].home_dx, it[1].join_dx, it[1].home_dy, it[2].home_dx,
                           it[2].join_dy}),
              (std::vector{0, 38, 400, 400, 38, 160, 113}));
    for (int32_t k = 0; k < 3; ++k)
        EXPECT_EQ((std::vector{it[k].merged, it[k].hidden, it[k].piece->joined, it[k].piece->width}),
                  (std::vector{0, 0, 0, 160}));
}

// Uncut items have no cell; a window too small to spread pieces over puts them at the view's origin; a game
// wholly cut cuts no more; the row layout starts from the desk's origin.
TEST_F(Cutting, TinyWindowsTheEndOfCuttingAndTheRowsOrigin) {
    desk.view_x = 50, desk.view_y = 30;
    std::unique_ptr<Jig> g(testsupport::laid_game(400, 300, 20));
    const Rect drawn = g->cut(3, 2);
    EXPECT_EQ(drawn, g->items[0].piece->rect);
    EXPECT_EQ(g->items[1].id, -1);
    while (g->cut_count < g->item_count) g->cut(3, 2);
    for (int32_t k = 0; k < 20; ++k) EXPECT_EQ((Point{g->items[k].piece->cx, g->items[k].piece->cy}), (Point{50, 30}));
    EXPECT_EQ(g->cut(800, 600), Rect{});
    EXPECT_EQ(g->cut_count, 20);
    settings.seiretu = true;
    g.reset(testsupport::laid_game(400, 300, 20));
    g->cut(800, 600);
    EXPECT_EQ((Point{desk.view_x, desk.view_y}), (Point{0, 0}));
}

// Templates edited far out of shape (control points well beyond the square, or absurdly far) still cut; an
// unfitted 6000 x 4000 picture is cut whole, each piece a square of twice its cell.
TEST_F(Cutting, WildTemplatesAndOversizedPicturesStillCut) {
    for (int32_t t = 0; t < 4; ++t) {
        settings.line[t][1] = {-150, -500 + 60 * t};
        settings.line[t][2] = {400, 450};
        settings.line[t][4] = {-90, -420};
        settings.line[t][7] = {260, -470};
    }
    settings.line[3][5] = {INT32_MAX, INT32_MIN};  // kept within two edge lengths of the edge
    line_const_init();
    EXPECT_EQ((std::vector{puzzle.unit_shapes[3].h[5].x, puzzle.unit_shapes[3].h[5].y}), (std::vector{3.0, -2.0}));
    std::unique_ptr<Jig> g(testsupport::laid_game(300, 225, 50));
    while (g->cut_count < g->item_count) g->cut(800, 600);
    for (int32_t k = 0; k < g->cut_count; ++k) EXPECT_EQ(g->items[k].piece->width, cell_square(*g, 0).side);
    settings.kage = false;
    settings.kaiten = 235;
    settings.hanten = false;
    g.reset(testsupport::laid_game(6000, 4000, 20));
    while (g->cut_count < g->item_count) g->cut(800, 600);
    ASSERT_EQ(g->item_count, 20);
    for (int32_t k = 0; k < 20; ++k) {
        const Piece& p = *g->items[k].piece;
        const CellSquare q = cell_square(*g, g->items[k].id);
        ASSERT_EQ(p.width, 2400);
        EXPECT_EQ(p.image_at(q.side / 2, q.side / 2), at(*g->picture, q.x0 + q.cw / 2, q.y0 + q.ch / 2));
    }
}

}  // namespace
