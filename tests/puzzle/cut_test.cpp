// Cutting a game piece by piece: cell choice and the order of the random draws, offsets, sides and angles,
// scatter and rows, drawing on both presentation paths, reproducibility, wild templates and oversized pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <set>

#include "graphics/ddbase.h"
#include "pieces/desk.h"
#include "puzzle/cut.h"
#include "puzzle/state.h"
#include "support/game_builder.h"
#include "ws/ws.h"

namespace {

using testsupport::at;
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
        delete std::exchange(desk.presenter, nullptr);
        desk_images_destroy();
    }
    static std::unique_ptr<Jig> cut_game(int32_t w, int32_t h, int32_t n, int32_t client_w = 800, int32_t client_h = 600) {
        std::unique_ptr<Jig> g(testsupport::laid_game(w, h, n));
        while (g->cut_count < g->item_count) g->cut(client_w, client_h);
        return g;
    }
    testsupport::Guard guard_;
};

// Each cut takes the first uncut cell at or after a drawn one, then draws the side, the angle and the scatter
// (a, then the terms of x, then those of y), in that order; when every cell is cut, cutting stops.
TEST_F(Cutting, EveryCellIsCutOnceWithItsDrawsInOrder) {
    std::unique_ptr<Jig> g(testsupport::laid_game(400, 300, 20));
    std::set<int32_t> ids;
    for (int32_t k = 0; k < 20; ++k) {
        GameRandom r = puzzle.game_random;
        const auto pick = [&r](double n) { return std::fmod(double(r.next()), n); };
        int32_t cell = int32_t(pick(20));
        while (ids.count(cell)) cell = (cell + 1) % 20;
        const bool turned = pick(2) == 0;
        const double angle = pick(2 * std::numbers::pi), a = pick(2 * std::numbers::pi);
        const double xs = pick(800 / 6), xd = pick(800 / 5), ys = pick(600 / 4), yd = pick(600 / 5);
        const Rect rect = g->cut(800, 600);
        const Piece& p = *g->items[k].piece;
        ASSERT_EQ(g->cut_count, k + 1);
        EXPECT_EQ(rect, p.rect);
        EXPECT_EQ(g->items[k].id, cell) << k;
        EXPECT_EQ(p.turned, int32_t(turned)) << k;
        EXPECT_EQ(p.angle, angle) << k;
        EXPECT_EQ((Point{p.cx, p.cy}), (Point{int32_t(xs * std::cos(a) + xd + 800 / 6), int32_t(ys * std::sin(a) + yd + 600 / 4)}));
        EXPECT_EQ(puzzle.game_random.state, r.state) << "no other draws";
        EXPECT_TRUE(k > 0 || g->items[1].id == -1) << "uncut items have no cell";
        ids.insert(cell);
    }
    EXPECT_EQ(ids.size(), 20u);
    EXPECT_EQ(g->cut(800, 600), Rect{});
    EXPECT_EQ(g->cut_count, 20);
}

// Cells of 80 x 75 in a 400 x 300 picture, checked by hand: cell 7 is column 2, row 1, at (160, 75); its square
// of 160 starts at (120, 32); offsets lead from the square's centre to the picture's, mirrored when turned.
TEST_F(Cutting, OffsetsToThePictureCentreUprightAndTurned) {
    std::unique_ptr<Jig> g(testsupport::laid_game(400, 300, 20));
    for (int32_t k = 0; k < 5; ++k) {
        g->items[k].piece = new Piece;
        g->items[k].merged = g->items[k].hidden = 1;
    }
    g->items[1].piece->turned = 1;
    g->items[2].piece->joined = 1;
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
        EXPECT_EQ((std::vector{it[k].merged, it[k].hidden, it[k].piece->joined, it[k].piece->width, it[k].piece->height}),
                  (std::vector{0, 0, 0, 160, 160}));
    // The square of corner cell 0 starts 40 left of and 42 above the picture: all white there.
    const Piece& corner = *it[2].piece;
    for (int32_t y = 0; y < 160; ++y)
        for (int32_t x = 0; x < 160; ++x)
            ASSERT_TRUE((x >= 41 && y >= 43) || (corner.image_at(x, y) & 0xFFFFFF) == white_word) << x << "," << y;
    EXPECT_NE(corner.image_at(80, 80) & 0xFFFFFF, white_word);
}

TEST_F(Cutting, AnglesAndSidesAreDrawnOnlyWhenAllowed) {
    for (const int32_t kaiten : {234, 235, 236}) {
        settings.kaiten = kaiten;
        settings.hanten = kaiten != 235;
        auto g = cut_game(400, 300, 20);
        std::set<double> angles;
        int32_t turned = 0;
        for (int32_t k = 0; k < 20; ++k) {
            const Piece& p = *g->items[k].piece;
            ASSERT_TRUE(p.angle >= 0 && p.angle < 2 * std::numbers::pi);
            angles.insert(p.angle);
            turned += p.turned;
            EXPECT_EQ(p.view_width, kaiten == 235 ? 160 : turned_size(160, 160, p.angle).cx);
        }
        if (kaiten == 235) {
            EXPECT_EQ((std::vector{int32_t(angles.size()), int32_t(*angles.begin() == 0.0), turned}), (std::vector{1, 1, 0}));
        } else {
            EXPECT_GT(angles.size(), 15u);
            EXPECT_TRUE(turned > 0 && turned < 20) << turned;
        }
    }
}

// Centres fall over the left and upper part of the window from the view origin: x within W/6 + W/5 + W/6, y
// within H/4 + H/5 + H/4; a tiny window puts them at the origin; the row layout lays cells in order from the
// desk's origin at twice the cell spacing.
TEST_F(Cutting, ScatterAndRows) {
    desk.view_x = 50, desk.view_y = 30;
    auto g = cut_game(300, 225, 600);
    int32_t right_half = 0;
    for (int32_t k = 0; k < g->cut_count; ++k) {
        const Piece& p = *g->items[k].piece;
        ASSERT_TRUE(p.cx >= 50 && p.cx < 50 + 133 + 160 + 133 && p.cy >= 30 && p.cy < 30 + 150 + 120 + 150);
        ASSERT_EQ((Point{p.rect.left, p.rect.bottom}), (Point{p.cx - p.view_width / 2, p.cy - p.view_height / 2 + p.view_height}));
        right_half += p.cx >= 50 + 213;
    }
    EXPECT_GT(right_half, 100) << "spread, not heaped in one spot";
    g = cut_game(400, 300, 20, 3, 2);
    for (int32_t k = 0; k < 20; ++k) EXPECT_EQ((Point{g->items[k].piece->cx, g->items[k].piece->cy}), (Point{50, 30}));
    settings.seiretu = true;
    g = cut_game(400, 300, 20);
    EXPECT_EQ((Point{desk.view_x, desk.view_y}), (Point{0, 0}));
    for (int32_t k = 0; k < 20; ++k)
        EXPECT_EQ((std::vector{g->items[k].id, g->items[k].piece->cx, g->items[k].piece->cy}),
                  (std::vector{k, (k % 5) * 160 + 80, (k / 5) * 150 + 75}));
}

TEST_F(Cutting, SameClockGivesTheSamePuzzle) {
    auto a = cut_game(300, 225, 100), b = cut_game(300, 225, 100);
    ws::test::advance(1);
    auto c = cut_game(300, 225, 100);
    int32_t differ = 0;
    for (int32_t k = 0; k < a->cut_count; ++k) {
        const Piece &p = *a->items[k].piece, &q = *b->items[k].piece;
        EXPECT_EQ((std::vector<double>{double(a->items[k].id), p.angle, double(p.turned), double(p.cx), double(p.cy)}),
                  (std::vector<double>{double(b->items[k].id), q.angle, double(q.turned), double(q.cx), double(q.cy)}));
        differ += a->items[k].id != c->items[k].id;
    }
    for (int32_t i = 0; i < a->cols * a->rows; ++i)
        EXPECT_EQ(std::memcmp(a->cells[i].edges, b->cells[i].edges, sizeof a->cells[i].edges), 0);
    EXPECT_GT(differ, 50);
}

// Each new piece shows at once: drawn into the desk (white left out), or handed to the presenter, which shows it
// while the desk image is left alone.
TEST_F(Cutting, EachNewPieceIsShownOnBothPaths) {
    for (const bool with_presenter : {false, true}) {
        desk.desk_image->fill(0, 0, 1000, 800, 0x563412);
        std::unique_ptr<Jig> g(testsupport::laid_game(400, 300, 20));
        if (with_presenter) {
            desk.presenter = new DDBase(g->item_count);
            desk.presenter->init(0);
            desk.presenter->table_count = desk.presenter->count;
            desk.presenter->back->fill(0, 0, desk.presenter->back->width(), desk.presenter->back->height(), 0x563412);
        }
        for (int32_t k = 0; k < (with_presenter ? 1 : 20); ++k) {
            g->cut(800, 600);
            const Item& it = g->items[k];
            const Piece& p = *it.piece;
            ASSERT_EQ(p.view == nullptr, with_presenter);
            const int32_t w = with_presenter ? desk.presenter->back->width() : 1000;
            const int32_t h = with_presenter ? desk.presenter->back->height() : 800;
            int32_t shown = 0;
            for (int32_t y = 0; y < p.view_height; y += 3)
                for (int32_t x = 0; x < p.view_width; x += 3) {
                    const int32_t dx = p.rect.left + x, dy = p.rect.top + y;
                    const uint32_t v =
                        with_presenter ? desk.presenter->get_pixel(it.id, x, y) : p.view_at(x, y) & 0xFFFFFF;
                    if (dx < 0 || dy < 0 || dx >= w || dy >= h || v == white_word) continue;
                    ASSERT_EQ(with_presenter ? desk.presenter->get_pixel(-1, dx, dy) : at(*desk.desk_image, dx, dy), v)
                        << x << "," << y;
                    ++shown;
                }
            EXPECT_GT(shown, 80 * 75 / 9 / 2) << "piece " << k;
        }
        EXPECT_EQ(at(*desk.desk_image, 999, 799), 0x123456u) << "white parts of the squares are left out";
        EXPECT_TRUE(!with_presenter || at(*desk.desk_image, g->items[0].piece->cx, g->items[0].piece->cy) == 0x123456u)
            << "the desk image is not drawn on the presenter path";
        delete std::exchange(desk.presenter, nullptr);
    }
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
    auto g = cut_game(300, 225, 50);
    for (int32_t k = 0; k < g->cut_count; ++k) EXPECT_EQ(g->items[k].piece->width, cell_square(*g, 0).side);
    settings.kage = false;
    settings.kaiten = 235;
    settings.hanten = false;
    g = cut_game(6000, 4000, 20);
    ASSERT_EQ(g->item_count, 20);
    for (int32_t k = 0; k < 20; ++k) {
        const Piece& p = *g->items[k].piece;
        const CellSquare q = cell_square(*g, g->items[k].id);
        ASSERT_EQ(p.width, 2400);
        EXPECT_EQ(p.image_at(q.side / 2, q.side / 2), at(*g->picture, q.x0 + q.cw / 2, q.y0 + q.ch / 2));
    }
}

}  // namespace
