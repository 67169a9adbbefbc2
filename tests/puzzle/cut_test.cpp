// Cutting a game piece by piece: cell choice, offsets, starting side and angle, scatter and rows, drawing on both
// presentation paths, reproducibility, memory of a large puzzle and oversized pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <set>

#include "graphics/ddbase.h"
#include "graphics/ws.h"
#include "pieces/piece.h"
#include "puzzle/cut.h"
#include "puzzle_support.h"

using namespace puzzle_test;

namespace {

constexpr uint32_t white_word = 0xFFFFFF;

class Cutting : public ::testing::Test {
protected:
    void SetUp() override {
        desk_images_create(1000, 800);
        settings.hanten = true;
        settings.kaiten = 234;
        settings.seiretu = false;
    }
    void TearDown() override {
        delete presenter;
        presenter = nullptr;
        desk_images_destroy();
    }
    static void cut_all(Jig& g, int32_t w = 800, int32_t h = 600) {
        while (g.cut_count < g.item_count) g.cut(w, h);
    }
    Restore restore;
};

size_t surface_bytes(const MemDC* s) { return s ? size_t(s->width()) * size_t(s->height()) * 4 : 0; }

}  // namespace

TEST_F(Cutting, EveryCellIsCutOnceAndCuttingStopsAtTheEnd) {
    auto g = laid_game(400, 300, 20);
    std::set<int32_t> ids;
    for (int32_t k = 0; k < 20; ++k) {
        const Rect r = g->cut(800, 600);
        ASSERT_EQ(g->cut_count, k + 1);
        ASSERT_NE(g->items[k].piece, nullptr);
        EXPECT_EQ(r, g->items[k].piece->rect);
        if (k == 0) {
            for (int32_t i = 1; i < 20; ++i) EXPECT_EQ(g->items[i].id, -1);
        }
        ids.insert(g->items[k].id);
    }
    EXPECT_EQ(ids.size(), 20u);
    EXPECT_EQ(*ids.begin(), 0);
    EXPECT_EQ(*ids.rbegin(), 19);
    EXPECT_EQ(g->cut(800, 600), Rect{});
    EXPECT_EQ(g->cut_count, 20);
}

// Cells of 80 x 75 in a 400 x 300 picture, checked by hand: cell 7 is column 2, row 1, at (160, 75).
TEST_F(Cutting, OffsetsToThePictureCentreUprightAndTurned) {
    auto g = laid_game(400, 300, 20);
    for (int32_t k = 0; k < 3; ++k) {
        g->items[k].piece = new Piece;
        g->items[k].merged = g->items[k].hidden = 1;
    }
    g->items[1].piece->turned = 1;
    g->items[2].piece->joined = 1;
    g->cut_piece(7, 0);
    g->cut_piece(7, 1);
    g->cut_piece(0, 2);
    EXPECT_EQ(g->items[0].home_dx, 0);
    EXPECT_EQ(g->items[0].home_dy, 38);
    EXPECT_EQ(g->items[1].home_dx, 400);
    EXPECT_EQ(g->items[1].join_dx, 400);
    EXPECT_EQ(g->items[1].home_dy, 38);
    EXPECT_EQ(g->items[2].home_dx, 160);
    EXPECT_EQ(g->items[2].join_dy, 113);
    for (int32_t k = 0; k < 3; ++k) {
        EXPECT_EQ(g->items[k].merged, 0);
        EXPECT_EQ(g->items[k].hidden, 0);
        EXPECT_EQ(g->items[k].piece->joined, 0);
        EXPECT_EQ(g->items[k].piece->width, 160);
        EXPECT_EQ(g->items[k].piece->height, 160);
    }
    // The square of corner cell 0 starts 40 left of and 42 above the picture: all white there.
    const Piece& corner = *g->items[2].piece;
    for (int32_t y = 0; y < 160; ++y)
        for (int32_t x = 0; x < 160; ++x)
            if (x < 41 || y < 43) {
                ASSERT_EQ(corner.image_at(x, y) & 0xFFFFFF, white_word) << x << "," << y;
            }
    EXPECT_NE(corner.image_at(80, 80) & 0xFFFFFF, white_word);
}

TEST_F(Cutting, CutPieceRefusesCellsAndItemsItCannotCut) {
    auto g = laid_game(400, 300, 20);
    g->items[0].piece = new Piece;
    g->cut_piece(20, 0);
    g->cut_piece(-1, 0);
    g->cut_piece(3, 1);  // no piece there
    g->cut_piece(3, max_items);
    EXPECT_EQ(g->items[0].piece->image, nullptr);
    EXPECT_EQ(g->items[1].piece, nullptr);
}

TEST_F(Cutting, UprightAndFaceUpWithoutRotationOrTurning) {
    settings.kaiten = 235;
    settings.hanten = false;
    auto g = laid_game(400, 300, 20);
    cut_all(*g);
    for (int32_t k = 0; k < 20; ++k) {
        EXPECT_EQ(g->items[k].piece->angle, 0.0);
        EXPECT_EQ(g->items[k].piece->turned, 0);
        EXPECT_EQ(g->items[k].piece->view_width, 160);
    }
}

TEST_F(Cutting, RandomAnglesAndSidesWhenAllowed) {
    for (int32_t kaiten : {234, 236}) {
        settings.kaiten = kaiten;
        auto g = laid_game(400, 300, 20);
        cut_all(*g);
        std::set<double> angles;
        int32_t turned = 0;
        for (int32_t k = 0; k < 20; ++k) {
            const double a = g->items[k].piece->angle;
            EXPECT_GE(a, 0.0);
            EXPECT_LT(a, 2 * std::numbers::pi);
            angles.insert(a);
            turned += g->items[k].piece->turned;
        }
        EXPECT_GT(angles.size(), 15u);
        EXPECT_GT(turned, 0);
        EXPECT_LT(turned, 20);
    }
}

// Centres fall over the left and upper part of the window: x within 0 .. W/6 + W/5 + W/6, y within
// 0 .. H/4 + H/5 + H/4, from the view origin.
TEST_F(Cutting, ScatterStaysOverTheUpperLeftOfTheWindow) {
    view_x = 50;
    view_y = 30;
    auto g = laid_game(300, 225, 600);
    cut_all(*g, 800, 600);
    int32_t right_half = 0;
    for (int32_t k = 0; k < g->cut_count; ++k) {
        const Piece& p = *g->items[k].piece;
        ASSERT_GE(p.cx, 50);
        ASSERT_LT(p.cx, 50 + 133 + 160 + 133);
        ASSERT_GE(p.cy, 30);
        ASSERT_LT(p.cy, 30 + 150 + 120 + 150);
        EXPECT_EQ(p.rect.left, p.cx - p.view_width / 2);
        EXPECT_EQ(p.rect.bottom, p.cy - p.view_height / 2 + p.view_height);
        right_half += p.cx >= 50 + 213;
    }
    EXPECT_GT(right_half, 100);  // spread, not heaped in one spot
}

TEST_F(Cutting, TinyWindowStillPlacesPiecesAtTheViewOrigin) {
    auto g = laid_game(400, 300, 20);
    cut_all(*g, 3, 2);
    for (int32_t k = 0; k < 20; ++k) {
        EXPECT_EQ(g->items[k].piece->cx, 0);
        EXPECT_EQ(g->items[k].piece->cy, 0);
    }
}

TEST_F(Cutting, RowLayoutCutsInCellOrderWithDoubleSpacingFromTheDeskOrigin) {
    settings.seiretu = true;
    view_x = 70;
    view_y = 20;
    auto g = laid_game(400, 300, 20);
    cut_all(*g);
    EXPECT_EQ(view_x, 0);
    EXPECT_EQ(view_y, 0);
    for (int32_t k = 0; k < 20; ++k) {
        EXPECT_EQ(g->items[k].id, k);
        EXPECT_EQ(g->items[k].piece->cx, (k % 5) * 160 + 80) << k;
        EXPECT_EQ(g->items[k].piece->cy, (k / 5) * 150 + 75) << k;
    }
}

TEST_F(Cutting, SameClockGivesTheSamePuzzle) {
    auto a = laid_game(300, 225, 100);
    cut_all(*a);
    auto b = laid_game(300, 225, 100);
    cut_all(*b);
    ws::test::advance(1);
    auto c = laid_game(300, 225, 100);
    cut_all(*c);
    int32_t differ = 0;
    for (int32_t k = 0; k < a->cut_count; ++k) {
        const Piece& p = *a->items[k].piece;
        const Piece& q = *b->items[k].piece;
        EXPECT_EQ(a->items[k].id, b->items[k].id);
        EXPECT_EQ(p.angle, q.angle);
        EXPECT_EQ(p.turned, q.turned);
        EXPECT_EQ(p.cx, q.cx);
        EXPECT_EQ(p.cy, q.cy);
        differ += a->items[k].id != c->items[k].id;
    }
    for (int32_t i = 0; i < a->cols * a->rows; ++i)
        EXPECT_EQ(std::memcmp(a->cells[i].edges, b->cells[i].edges, sizeof a->cells[i].edges), 0);
    EXPECT_GT(differ, 50);
}

TEST_F(Cutting, DrawsEachNewPieceOntoTheDesk) {
    desk_image->fill(0, 0, 1000, 800, 0x563412);
    auto g = laid_game(400, 300, 20);
    for (int32_t k = 0; k < 20; ++k) {
        g->cut(800, 600);
        const Piece& p = *g->items[k].piece;
        ASSERT_NE(p.view, nullptr);
        int32_t shown = 0;
        for (int32_t y = 0; y < p.view_height; y += 3)
            for (int32_t x = 0; x < p.view_width; x += 3) {
                const int32_t dx = p.rect.left + x, dy = p.rect.top + y;
                if (dx < 0 || dy < 0 || dx >= 1000 || dy >= 800) continue;
                const uint32_t v = p.view_at(x, y);
                if ((v & 0xFFFFFF) == white_word) continue;
                ASSERT_EQ(word_at(*desk_image, dx, dy), v) << "piece " << k << " at " << x << "," << y;
                ++shown;
            }
        EXPECT_GT(shown, 80 * 75 / 9 / 2) << "piece " << k;
    }
    // A desk corner no piece can reach keeps its colour: white parts of the squares were left out.
    EXPECT_EQ(word_at(*desk_image, 999, 799), 0x123456u);
}

TEST_F(Cutting, PresenterTakesTheViewAndShowsThePiece) {
    auto g = laid_game(400, 300, 20);
    presenter = new DDBase(g->item_count);
    presenter->init(0);
    presenter->table_count = presenter->count;
    presenter->back->fill(0, 0, presenter->back->width(), presenter->back->height(), 0x563412);
    desk_image->fill(0, 0, 1000, 800, 0x563412);
    g->cut(800, 600);
    const Item& it = g->items[0];
    const Piece& p = *it.piece;
    EXPECT_EQ(p.view, nullptr);
    ASSERT_NE(presenter->surfaces[size_t(it.id)], nullptr);
    EXPECT_EQ(presenter->widths[size_t(it.id)], p.view_width);
    int32_t shown = 0;
    for (int32_t y = 0; y < p.view_height; ++y)
        for (int32_t x = 0; x < p.view_width; ++x) {
            const Colour c = presenter->get_pixel(it.id, x, y);
            const int32_t wx = p.rect.left + x, wy = p.rect.top + y;
            if (c == 0xFFFFFF || wx < 0 || wy < 0 || wx >= presenter->back->width() || wy >= presenter->back->height())
                continue;
            ASSERT_EQ(presenter->get_pixel(-1, wx, wy), c) << x << "," << y;
            ++shown;
        }
    EXPECT_GT(shown, 80 * 75 / 2);
    EXPECT_EQ(word_at(*desk_image, p.cx, p.cy), 0x123456u);  // the desk image is not drawn on this path
}

// Templates edited far out of shape (control points well beyond the square and the picture, or absurdly far)
// still cut.
TEST_F(Cutting, WildTemplatesStillCut) {
    for (int32_t t = 0; t < 4; ++t) {
        settings.line[t][1] = {-150, -500 + 60 * t};
        settings.line[t][2] = {400, 450};
        settings.line[t][4] = {-90, -420};
        settings.line[t][7] = {260, -470};
    }
    settings.line[3][5] = {INT32_MAX, INT32_MIN};  // kept within two edge lengths of the edge
    line_const_init();
    EXPECT_EQ(unit_shapes[3].h[5].x, 3.0);
    EXPECT_EQ(unit_shapes[3].h[5].y, -2.0);
    auto g = laid_game(300, 225, 50);
    cut_all(*g);
    for (int32_t k = 0; k < g->cut_count; ++k) EXPECT_EQ(g->items[k].piece->width, cell_square(*g, 0).side);
}

// 1000 pieces wanted from a 1000 x 1000 picture: 961 pieces, all surfaces together within 100 MB.
TEST_F(Cutting, ThousandPiecePuzzleFitsInAHundredMegabytes) {
    auto g = laid_game(1000, 1000, 1000);
    ASSERT_EQ(g->item_count, 961);
    cut_all(*g, 1000, 800);
    size_t bytes = surface_bytes(g->picture);
    for (int32_t k = 0; k < g->cut_count; ++k)
        bytes += surface_bytes(g->items[k].piece->image) + surface_bytes(g->items[k].piece->view);
    RecordProperty("surface_bytes", std::to_string(bytes));
    EXPECT_LE(bytes, size_t(100) << 20);
}

// An unfitted 6000 x 4000 picture: the default 20 pieces are cut whole, each a square of twice its cell.
TEST_F(Cutting, OversizedUnfittedPictureIsCutWhole) {
    settings.kage = false;
    settings.kaiten = 235;
    settings.hanten = false;
    auto g = laid_game(6000, 4000, 20);
    ASSERT_EQ(g->item_count, 20);
    cut_all(*g);
    for (int32_t k = 0; k < 20; ++k) {
        const Piece& p = *g->items[k].piece;
        ASSERT_EQ(p.width, 2400);
        const CellSquare q = cell_square(*g, g->items[k].id);
        EXPECT_EQ(p.image_at(q.side / 2, q.side / 2), word_at(*g->picture, q.x0 + q.cw / 2, q.y0 + q.ch / 2));
    }
}
