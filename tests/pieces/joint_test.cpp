// Re-cutting joined groups: which pixels a group picture holds, its margin and place, and the seam marks.
#include <memory>

#include "puzzle/joint.h"
#include "puzzle/lines.h"
#include "tests/pieces/piece_support.h"

namespace {

constexpr uint32_t W = 0x00FFFFFF;
constexpr int32_t unknown = -2, on_line = -1;

// A picture word that is never pure white or black and differs from pixel to pixel.
uint32_t picture_word(int32_t x, int32_t y) {
    return (uint32_t(20 + (x * 7) % 200) << 16) | (uint32_t(20 + (y * 5) % 200) << 8) | uint32_t(20 + (x + y) % 200);
}

class Joining : public SettingsGuard {
protected:
    void make_game(int32_t cols, int32_t rows, int32_t cw, int32_t ch) {
        jig = std::make_unique<Jig>(blank_game);
        jig->cols = cols, jig->rows = rows;
        jig->pic_w = cols * cw, jig->pic_h = rows * ch;
        jig->picture = new MemDC;
        jig->picture->create(BIT_SCREEN, jig->pic_w, jig->pic_h);
        for (int32_t y = 0; y < jig->pic_h; ++y)
            for (int32_t x = 0; x < jig->pic_w; ++x)
                jig->picture->words()[size_t(jig->pic_h - 1 - y) * jig->pic_w + x] = picture_word(x, y);
        line_const_init();
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
};

TEST_F(Joining, AGroupHoldsEveryPixelOfItsCellsAndNothingElse) {
    make_game(4, 3, 24, 20);
    // An L of five cells: the top row's first three and the two below its first.
    Piece& p = join({0, 1, 2, 4, 8}, 0, 0);
    EXPECT_GT(expect_exact_cover(p, 0), 5 * 24 * 20 * 9 / 10);
    EXPECT_EQ(p.joined, 1);
}

TEST_F(Joining, ARingWhitesOutTheForeignCellItEncloses) {
    make_game(3, 3, 30, 30);
    Piece& p = join({0, 1, 2, 3, 5, 6, 7, 8}, 0, 0);
    expect_exact_cover(p, 0);
    const GroupFrame f = group_frame(*jig, 0);
    // The centre of the enclosed cell (45, 45) in the picture.
    EXPECT_EQ(p.image_at(45 - f.sx, 45 - f.sy) & 0xFFFFFF, W);
}

TEST_F(Joining, TheLastJoinGivesTheWholePictureWithAHalfCellMargin) {
    make_game(2, 2, 40, 30);
    Piece& p = join({0, 1, 2, 3}, 2, 1);
    ASSERT_EQ(p.width, 120);
    ASSERT_EQ(p.height, 90);
    for (int32_t y = 0; y < 90; ++y) {
        for (int32_t x = 0; x < 120; ++x) {
            const int32_t px = x - 20, py = y - 15;
            // The outline of the whole puzzle runs along the picture's left column and top row.
            const bool inside = px >= 1 && py >= 1 && px < 80 && py < 60;
            ASSERT_EQ(p.image_at(x, y), inside ? picture_word(px, py) : W) << x << "," << y;
        }
    }
    EXPECT_EQ(jig->items[1].merged, 1);
    EXPECT_EQ(jig->items[1].home_dx, 0);
    EXPECT_EQ(jig->items[1].home_dy, 0);
}

TEST_F(Joining, PlacesTheGroupRelativeToThePictureCentre) {
    make_game(4, 3, 24, 20);
    Piece& up = join({0, 1}, 0, 0);
    const Item& a = jig->items[0];
    EXPECT_EQ(up.width, 72);
    EXPECT_EQ(up.height, 40);
    EXPECT_EQ(a.home_dx, 24);  // 96 / 2 - 48 / 2 - 0
    EXPECT_EQ(a.home_dy, 20);  // 60 / 2 - 20 / 2 - 0
    EXPECT_EQ(a.join_dx, 24);
    EXPECT_EQ(a.join_dy, 20);
    Piece& down = join({0, 1}, 0, 1, 1);
    const Item& b = jig->items[1];
    EXPECT_EQ(b.home_dx, 96 - 24);
    EXPECT_EQ(b.join_dx, 96 - 24);
    EXPECT_EQ(b.home_dy, 20);
    // Lying turned over, the group's image is the upright one mirrored.
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 72; ++x) ASSERT_EQ(down.image_at(x, y), up.image_at(71 - x, y));
}

TEST_F(Joining, NoSeamMarksWithNokosuOff) {
    make_game(4, 3, 24, 20);
    Piece& p = join({0, 1, 2, 4, 5, 6}, 0, 0);
    for (uint32_t w : image_words(p)) ASSERT_EQ(w >> 24, 0u);
}

TEST_F(Joining, WithNokosuInnerEdgesAreMarkedAndTheOutlineIsNot) {
    settings.nokosu = true;
    make_game(4, 3, 24, 20);
    const int32_t g = 5;
    Piece& p = join({0, 1, 2, 4, 5, 6}, g, 0);
    const GroupFrame f = group_frame(*jig, g);
    const auto outline = edge_mask([&](int32_t i, int32_t s) { return member(i, g) && across(i, s) != g; });
    const auto inner = edge_mask([&](int32_t i, int32_t s) { return member(i, g) && across(i, s) == g; });
    int32_t marked = 0;
    for (int32_t y = 0; y < f.height; ++y) {
        for (int32_t x = 0; x < f.width; ++x) {
            const uint32_t w = p.image_at(x, y);
            const int32_t px = x + f.sx, py = y + f.sy;
            const bool in_picture = px >= 0 && py >= 0 && px < jig->pic_w && py < jig->pic_h;
            const size_t i = in_picture ? size_t(py) * jig->pic_w + px : 0;
            const bool seam = in_picture && inner[i] && !outline[i];
            ASSERT_EQ(w >> 24, seam ? 0xFFu : 0u) << px << "," << py;
            if (seam) {
                ++marked;
                EXPECT_EQ(w & 0xFFFFFF, picture_word(px, py));  // the seam keeps the picture's colour
            }
        }
    }
    EXPECT_GT(marked, 24 * 2 + 20 * 4);  // three inner vertical edges and two horizontal ones, at least
    // The seams of the group still cover exactly what its cells cover.
    expect_exact_cover(p, g);
}

}  // namespace
