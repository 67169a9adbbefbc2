// Cut pieces against the picture: every pixel off the cutting lines lies in exactly one piece, unchanged, inside
// its own cell's outline; and cutting only a cell's square gives the same pixels as outlining the whole picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <vector>

#include "puzzle/cut.h"
#include "support/game_builder.h"
#include "ws/ws.h"

namespace {

using testsupport::at;
constexpr uint32_t white_word = 0xFFFFFF;

// The busy pattern with pure white and pure black planted on every 7th and 11th pixel, as pictures may have them.
uint32_t planted(int32_t x, int32_t y) {
    return (x + 3 * y) % 7 == 0 ? 0xFFFFFF : (x + 5 * y) % 11 == 0 ? 0 : testsupport::pattern_word(x, y);
}
std::unique_ptr<Jig> laid_game(int32_t w, int32_t h, int32_t n) {
    return std::unique_ptr<Jig>(testsupport::laid_game(w, h, n, planted));
}

// The cell cut out the long way: its outline drawn on a copy of the whole picture (with one spare pixel right
// and below for the border lines), the square copied out of that, and the outside filled white from the square's
// corner.
void whole_picture_square(const Jig& g, int32_t cell, MemDC& square) {
    const CellSquare q = cell_square(g, cell);
    MemDC work;
    work.create(BIT_DIB, g.pic_w + 2, g.pic_h + 2);
    work.fill(0, 0, g.pic_w, g.pic_h, 0x808080);
    work.blit(0, 0, g.pic_w, g.pic_h, *g.picture, 0, 0, SRCCOPY);
    work.set_pen(0xFFFFFF, 1);
    for (const auto& edge : g.cells[cell].edges) work.bezier(edge, line_points());
    square.create(BIT_DIB, q.side, q.side);
    square.fill(0, 0, q.side, q.side, 0x808080);
    square.blit(q.dx, q.dy, q.side - q.dx, q.side - q.dy, work, q.sx + q.dx, q.sy + q.dy, SRCCOPY);
    square.set_brush(0xFFFFFF);
    square.flood_fill(0, 0, 0xFFFFFF, FLOODFILLBORDER);
}

// Pixels of the picture that some cell's outline passes through.
std::vector<bool> cutting_lines(const Jig& g) {
    MemDC lines;
    lines.create(BIT_DIB, g.pic_w, g.pic_h);
    lines.fill(0, 0, g.pic_w, g.pic_h, 0);
    lines.set_pen(0xFFFFFF, 1);
    for (int32_t c = 0; c < g.cols * g.rows; ++c)
        for (const auto& edge : g.cells[c].edges) lines.bezier(edge, line_points());
    std::vector<bool> on(size_t(g.pic_w) * size_t(g.pic_h));
    for (int32_t y = 0; y < g.pic_h; ++y)
        for (int32_t x = 0; x < g.pic_w; ++x) on[size_t(y) * size_t(g.pic_w) + size_t(x)] = at(lines, x, y) != 0;
    return on;
}

// Pixels enclosed by the outline of `cell` alone, found on a window of the picture reaching three pixels beyond
// every control point, where only that outline is drawn: everything neither on the outline nor 4-connected to
// the window's border.
class Inside {
public:
    Inside(const Jig& g, int32_t cell) {
        const int32_t n = line_points();
        window_ = {g.pic_w, g.pic_h, 0, 0};
        for (const auto& edge : g.cells[cell].edges)
            for (int32_t k = 0; k < n; ++k)
                window_ = {std::min(window_.left, edge[k].x - 3), std::min(window_.top, edge[k].y - 3),
                           std::max(window_.right, edge[k].x + 4), std::max(window_.bottom, edge[k].y + 4)};
        const int32_t w = window_.width(), h = window_.height();
        MemDC lines;
        lines.create(BIT_DIB, w, h);
        lines.fill(0, 0, w, h, 0);
        lines.set_pen(0xFFFFFF, 1);
        for (const auto& edge : g.cells[cell].edges) {
            Point shifted[max_line_points];
            for (int32_t k = 0; k < n; ++k) shifted[k] = {edge[k].x - window_.left, edge[k].y - window_.top};
            lines.bezier(shifted, n);
        }
        state_.assign(size_t(w) * size_t(h), 0);  // 0 unknown, 1 outline, 2 outside
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                if (at(lines, x, y) != 0) state_[size_t(y) * size_t(w) + size_t(x)] = 1;
        std::vector<Point> todo{{0, 0}};
        state_[0] = 2;
        while (!todo.empty()) {
            const Point p = todo.back();
            todo.pop_back();
            for (Point q : {Point{p.x - 1, p.y}, Point{p.x + 1, p.y}, Point{p.x, p.y - 1}, Point{p.x, p.y + 1}}) {
                if (q.x < 0 || q.y < 0 || q.x >= w || q.y >= h) continue;
                uint8_t& s = state_[size_t(q.y) * size_t(w) + size_t(q.x)];
                if (s == 0) {
                    s = 2;
                    todo.push_back(q);
                }
            }
        }
    }
    bool operator()(int32_t x, int32_t y) const {
        if (x < window_.left || y < window_.top || x >= window_.right || y >= window_.bottom) return false;
        return state_[size_t(y - window_.top) * size_t(window_.width()) + size_t(x - window_.left)] == 0;
    }

private:
    Rect window_;
    std::vector<uint8_t> state_;
};

// Every picture pixel on no cutting line is in exactly one piece, with the picture's word, and no pixel is in two;
// every piece pixel lies inside its own cell's outline (near a corner that may be a pixel a neighbour's line
// crosses); nothing of a piece lies outside the picture.
void expect_cover(const Jig& g) {
    const std::vector<bool> on_line = cutting_lines(g);
    std::vector<int32_t> held(on_line.size(), 0);
    for (int32_t k = 0; k < g.cut_count; ++k) {
        const Piece& p = *g.items[k].piece;
        const int32_t cell = g.items[k].id;
        const CellSquare q = cell_square(g, cell);
        const Inside inside(g, cell);
        ASSERT_EQ(p.width, q.side);
        for (int32_t j = 0; j < q.side; ++j)
            for (int32_t i = 0; i < q.side; ++i) {
                const uint32_t word = p.image_at(p.turned ? q.side - 1 - i : i, j);
                if ((word & 0xFFFFFF) == white_word) continue;
                const int32_t x = q.sx + i, y = q.sy + j;
                ASSERT_TRUE(x >= 0 && y >= 0 && x < g.pic_w && y < g.pic_h) << "cell " << cell << " at " << x << "," << y;
                const size_t idx = size_t(y) * size_t(g.pic_w) + size_t(x);
                ASSERT_TRUE(inside(x, y)) << "cell " << cell << " holds " << x << "," << y;
                ASSERT_EQ(word, at(*g.picture, x, y)) << "cell " << cell << " at " << x << "," << y;
                ++held[idx];
            }
    }
    for (int32_t y = 0; y < g.pic_h; ++y)
        for (int32_t x = 0; x < g.pic_w; ++x) {
            const size_t idx = size_t(y) * size_t(g.pic_w) + size_t(x);
            const uint32_t colour = at(*g.picture, x, y) & 0xFFFFFF;
            ASSERT_TRUE(colour != 0 && colour != white_word) << "pure black or white left at " << x << "," << y;
            ASSERT_LE(held[idx], 1) << "picture pixel " << x << "," << y;
            if (!on_line[idx]) {
                ASSERT_EQ(held[idx], 1) << "picture pixel " << x << "," << y;
            }
        }
}

class Cover : public ::testing::Test {
protected:
    void SetUp() override {
        desk_images_create(1000, 800);
        settings.hanten = true;
        settings.kaiten = 234;
    }
    void TearDown() override { desk_images_destroy(); }
    static void cut_all(Jig& g) {
        while (g.cut_count < g.item_count) g.cut(1000, 800);
    }
    testsupport::Guard guard_;
};

}  // namespace

// Cells of two pixels, a single Bezier segment per edge (line_num 4) and large pictures all hold.
TEST_F(Cover, EveryPixelOffTheLinesIsInExactlyOnePiece) {
    const int32_t grids[][4] = {{400, 300, 20, 10}, {300, 225, 600, 10}, {97, 61, 50, 10}, {1000, 750, 4, 10},
                                {40, 30, 300, 10},  {120, 90, 12, 4}};
    for (const auto& s : grids) {
        settings.line_num = s[3];
        line_const_init();
        auto g = laid_game(s[0], s[1], s[2]);
        cut_all(*g);
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1] << " n=" << s[2]);
        expect_cover(*g);
    }
}

// Cutting only the cell's square gives what outlining and filling on the whole picture gives, except where a
// knob near the square's edge fences a neighbour's pixels into a corner: those the cut turns white.
TEST_F(Cover, SquareCutEqualsWholePictureCutWithoutFencedCorners) {
    int32_t fenced = 0;
    const int32_t grids[][3] = {{400, 300, 20}, {1000, 750, 4}, {1000, 750, 100}, {120, 90, 300}, {120, 90, 300}};
    for (const auto& s : grids) {
        ws::test::advance(13);
        auto g = laid_game(s[0], s[1], s[2]);
        for (int32_t cell = 0; cell < g->cols * g->rows; ++cell) {
            MemDC fast, slow;
            cut_square(*g, cell, fast);
            whole_picture_square(*g, cell, slow);
            ASSERT_EQ(fast.width(), slow.width());
            for (size_t i = 0; i < size_t(fast.width()) * size_t(fast.height()); ++i) {
                if (fast.words()[i] == slow.words()[i]) continue;
                ASSERT_TRUE(s[2] == 300 && (fast.words()[i] & 0xFFFFFF) == white_word) << "cell " << cell << " word " << i;
                ++fenced;
            }
        }
    }
    EXPECT_GT(fenced, 0);
}

TEST_F(Cover, TurnedPieceHoldsTheSquareMirrored) {
    auto g = laid_game(400, 300, 20);
    for (int32_t turned = 0; turned < 2; ++turned) {
        g->items[turned].piece = new Piece;
        g->items[turned].piece->turned = turned;
        g->cut_piece(7, turned);
    }
    const Piece &up = *g->items[0].piece, &over = *g->items[1].piece;
    ASSERT_EQ((std::vector{up.width, over.width}), (std::vector{160, 160}));
    int32_t non_white = 0;
    for (int32_t y = 0; y < 160; ++y)
        for (int32_t x = 0; x < 160; ++x) {
            ASSERT_EQ(over.image_at(x, y), up.image_at(159 - x, y));
            non_white += (up.image_at(x, y) & 0xFFFFFF) != white_word;
        }
    EXPECT_GT(non_white, 80 * 75 / 2);
}
