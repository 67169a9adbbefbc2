// Re-cutting joined groups: which pixels a group picture holds, its margin and place, and the seam marks.
#include <gtest/gtest.h>

#include <memory>

#include "puzzle/joint.h"
#include "support/game_builder.h"

namespace {

using testsupport::at;

constexpr uint32_t W = 0x00FFFFFF;
constexpr int32_t unknown = -2, on_line = -1;

// A picture word that is never pure white or black and differs from pixel to pixel.
uint32_t picture_word(int32_t x, int32_t y) {
    return (uint32_t(20 + (x * 7) % 200) << 16) | (uint32_t(20 + (y * 5) % 200) << 8) | uint32_t(20 + (x + y) % 200);
}

class Joining : public ::testing::Test {
protected:
    void SetUp() override {
        settings.kage = settings.smooth = settings.nokosu = false;
        line_const_init();
    }
    void make_game(int32_t cols, int32_t rows, int32_t cw, int32_t ch) {
        jig = std::make_unique<Jig>(blank_game);
        jig->cols = cols, jig->rows = rows;
        jig->pic_w = cols * cw, jig->pic_h = rows * ch;
        jig->picture = testsupport::surface_of(jig->pic_w, jig->pic_h, picture_word, BIT_SCREEN);
        jig->line_init();
    }

    // Puts the listed cells into group g and cuts the group into item k.
    Piece& join(std::initializer_list<int32_t> members, int32_t g, int32_t k, int32_t turned = 0) {
        for (int32_t c : members) jig->cells[c].owner = g;
        jig->items[k].piece = new Piece;
        jig->items[k].piece->turned = turned;
        jig->item_count = std::max(jig->item_count, k + 1);
        jig->joint_piece(g, k);
        return *jig->items[k].piece;
    }

    bool member(int32_t cell, int32_t g) const { return jig->cells[cell].owner == g; }

    // The owner across each side of a cell, -1 beyond the grid, worked out from the grid itself.
    int32_t across(int32_t cell, int32_t side) const {
        const int32_t c = cell % jig->cols, r = cell / jig->cols;
        const int32_t dc[4] = {-1, 0, 1, 0}, dr[4] = {0, -1, 0, 1};
        const int32_t nc = c + dc[side], nr = r + dr[side];
        if (nc < 0 || nr < 0 || nc >= jig->cols || nr >= jig->rows) return -1;
        return jig->cells[nr * jig->cols + nc].owner;
    }

    // Pixels (1 = on) of the edges chosen by `pick(cell, side)`, drawn as the game draws its cutting lines.
    template <typename Pick>
    std::vector<uint8_t> edge_mask(Pick pick) const {
        MemDC s;
        s.create(BIT_DIB, jig->pic_w, jig->pic_h);
        s.fill(0, 0, jig->pic_w, jig->pic_h, 0);
        s.set_pen1(0xFFFFFF);
        for (int32_t i = 0; i < jig->cols * jig->rows; ++i)
            for (int32_t side = 0; side < 4; ++side)
                if (pick(i, side)) s.bezier(jig->cells[i].edges[side], line_points());
        std::vector<uint8_t> out(size_t(jig->pic_w) * jig->pic_h);
        for (int32_t y = 0; y < jig->pic_h; ++y)
            for (int32_t x = 0; x < jig->pic_w; ++x) out[size_t(y) * jig->pic_w + x] = s.get_pixel(x, y) != 0;
        return out;
    }

    // For every picture pixel: the cell whose outline encloses it, on_line, or unknown (a pocket of no cell).
    std::vector<int32_t> cell_labels() const {
        MemDC s;
        s.create(BIT_DIB, jig->pic_w, jig->pic_h);
        s.fill(0, 0, jig->pic_w, jig->pic_h, 0);
        s.set_pen1(0xFFFFFF);
        for (int32_t i = 0; i < jig->cols * jig->rows; ++i)
            for (int32_t side = 0; side < 4; ++side) s.bezier(jig->cells[i].edges[side], line_points());
        const int32_t cw = jig->pic_w / jig->cols, ch = jig->pic_h / jig->rows;
        for (int32_t i = 0; i < jig->cols * jig->rows; ++i) {
            s.set_brush(Colour(i + 1));
            s.flood_fill((i % jig->cols) * cw + cw / 2, (i / jig->cols) * ch + ch / 2, 0xFFFFFF, FLOODFILLBORDER);
        }
        std::vector<int32_t> out(size_t(jig->pic_w) * jig->pic_h);
        for (int32_t y = 0; y < jig->pic_h; ++y) {
            for (int32_t x = 0; x < jig->pic_w; ++x) {
                const Colour c = s.get_pixel(x, y);
                out[size_t(y) * jig->pic_w + x] = c == 0xFFFFFF ? on_line : c == 0 ? unknown : int32_t(c) - 1;
            }
        }
        return out;
    }

    // Checks that the group picture of g holds every pixel of its cells (seams included) with the picture's
    // colour, and nothing else. Gives the number of pixels the group holds.
    int32_t expect_exact_cover(Piece& piece, int32_t g) {
        const GroupFrame f = group_frame(*jig, g);
        EXPECT_EQ(piece.width, f.width);
        EXPECT_EQ(piece.height, f.height);
        const auto outline = edge_mask([&](int32_t i, int32_t s) { return member(i, g) && across(i, s) != g; });
        const auto inner = edge_mask([&](int32_t i, int32_t s) { return member(i, g) && across(i, s) == g; });
        const auto foreign = edge_mask([&](int32_t i, int32_t s) { return !member(i, g) && across(i, s) != g; });
        const auto labels = cell_labels();
        int32_t held = 0;
        for (int32_t y = 0; y < f.height; ++y) {
            for (int32_t x = 0; x < f.width; ++x) {
                const uint32_t got = piece.image_at(x, y) & 0xFFFFFF;
                held += got != W;
                const int32_t px = x + f.sx, py = y + f.sy;
                if (px < 0 || py < 0 || px >= jig->pic_w || py >= jig->pic_h) {
                    EXPECT_EQ(got, W) << "margin " << x << "," << y;
                    continue;
                }
                const size_t i = size_t(py) * jig->pic_w + px;
                bool kept;
                if (outline[i]) kept = false;
                else if (labels[i] >= 0) kept = member(labels[i], g);
                else if (labels[i] == unknown || (inner[i] && foreign[i])) continue;
                else kept = inner[i];
                EXPECT_EQ(got, kept ? picture_word(px, py) : W) << "picture pixel " << px << "," << py;
            }
        }
        return held;
    }

    std::unique_ptr<Jig> jig;
    testsupport::Guard guard_;
};

// An L of five cells and a ring round a foreign cell: every pixel of the group's cells, nothing else.
TEST_F(Joining, AGroupHoldsEveryPixelOfItsCellsAndNothingElse) {
    make_game(4, 3, 24, 20);
    Piece& l = join({0, 1, 2, 4, 8}, 0, 0);
    EXPECT_GT(expect_exact_cover(l, 0), 5 * 24 * 20 * 9 / 10);
    EXPECT_EQ(l.joined, 1);
    make_game(3, 3, 30, 30);
    Piece& ring = join({0, 1, 2, 3, 5, 6, 7, 8}, 0, 0);
    expect_exact_cover(ring, 0);
    const GroupFrame f = group_frame(*jig, 0);
    EXPECT_EQ(ring.image_at(45 - f.sx, 45 - f.sy) & 0xFFFFFF, W) << "the enclosed cell's centre";
}

TEST_F(Joining, TheLastJoinGivesTheWholePictureWithAHalfCellMargin) {
    make_game(2, 2, 40, 30);
    Piece& p = join({0, 1, 2, 3}, 2, 1);
    ASSERT_EQ((std::vector{p.width, p.height}), (std::vector{120, 90}));
    for (int32_t y = 0; y < 90; ++y)
        for (int32_t x = 0; x < 120; ++x) {
            const int32_t px = x - 20, py = y - 15;
            // The outline of the whole puzzle runs along the picture's left column and top row.
            const bool inside = px >= 1 && py >= 1 && px < 80 && py < 60;
            ASSERT_EQ(p.image_at(x, y), inside ? picture_word(px, py) : W) << x << "," << y;
        }
    EXPECT_EQ((std::vector{jig->items[1].merged, jig->items[1].home_dx, jig->items[1].home_dy}), (std::vector{1, 0, 0}));
}

// Offsets to the picture's centre, mirrored for a group lying turned over, whose image is the upright one mirrored.
TEST_F(Joining, PlacesTheGroupRelativeToThePictureCentre) {
    make_game(4, 3, 24, 20);
    Piece& up = join({0, 1}, 0, 0);
    Piece& down = join({0, 1}, 0, 1, 1);
    const Item &a = jig->items[0], &b = jig->items[1];
    EXPECT_EQ((std::vector{up.width, up.height, a.home_dx, a.home_dy, a.join_dx, a.join_dy}),
              (std::vector{72, 40, 24, 20, 24, 20}));  // 96 / 2 - 48 / 2, 60 / 2 - 20 / 2
    EXPECT_EQ((std::vector{b.home_dx, b.join_dx, b.home_dy}), (std::vector{96 - 24, 96 - 24, 20}));
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 72; ++x) ASSERT_EQ(down.image_at(x, y), up.image_at(71 - x, y));
}

// With nokosu the inner edges are marked (keeping the picture's colour) and the outline is not; without, nothing.
TEST_F(Joining, SeamMarksFollowTheInnerEdgesWithNokosu) {
    make_game(4, 3, 24, 20);
    for (uint32_t w : testsupport::image_words(join({0, 1, 2, 4, 5, 6}, 0, 0))) ASSERT_EQ(w >> 24, 0u);
    settings.nokosu = true;
    const int32_t g = 5;
    Piece& p = join({0, 1, 2, 4, 5, 6}, g, 1);
    const GroupFrame f = group_frame(*jig, g);
    const auto outline = edge_mask([&](int32_t i, int32_t s) { return member(i, g) && across(i, s) != g; });
    const auto inner = edge_mask([&](int32_t i, int32_t s) { return member(i, g) && across(i, s) == g; });
    int32_t marked = 0;
    for (int32_t y = 0; y < f.height; ++y)
        for (int32_t x = 0; x < f.width; ++x) {
            const uint32_t w = p.image_at(x, y);
            const int32_t px = x + f.sx, py = y + f.sy;
            const bool in_picture = px >= 0 && py >= 0 && px < jig->pic_w && py < jig->pic_h;
            const bool seam = in_picture && inner[size_t(py) * jig->pic_w + px] && !outline[size_t(py) * jig->pic_w + px];
            ASSERT_EQ(w >> 24, seam ? 0xFFu : 0u) << px << "," << py;
            marked += seam;
            EXPECT_TRUE(!seam || (w & 0xFFFFFF) == picture_word(px, py)) << "the seam keeps the colour";
        }
    EXPECT_GT(marked, 24 * 2 + 20 * 4);  // three inner vertical edges and two horizontal ones, at least
    expect_exact_cover(p, g);
}

}  // namespace
