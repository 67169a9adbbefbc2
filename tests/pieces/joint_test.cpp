// Re-cutting joined groups, worked by hand on grids of small cells: the whole picture with its half-cell margin,
// a ring round a foreign cell and the offsets to the picture's centre. (Every pixel of the groups of a cut game,
// seam marks with and without nokosu included, is pinned by the cut games' golden file of tests/puzzle.)
#include <gtest/gtest.h>

#include "puzzle/joint.h"
#include "support/game_builder.h"

namespace {

constexpr uint32_t W = 0x00FFFFFF;

// A picture word that is never pure white or black and differs from pixel to pixel.
uint32_t picture_word(int32_t x, int32_t y) {
    return (uint32_t(20 + (x * 7) % 200) << 16) | (uint32_t(20 + (y * 5) % 200) << 8) | uint32_t(20 + (x + y) % 200);
}

class Joining : public ::testing::Test {
protected:
    void SetUp() override { settings.kage = settings.smooth = settings.nokosu = false; }
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
    testsupport::Guard guard_;
    std::unique_ptr<Jig> jig;
};

// The outline of the whole puzzle runs along the picture's left column and top row; the rest is the picture.
TEST_F(Joining, TheLastJoinGivesTheWholePictureWithAHalfCellMargin) {
    make_game(2, 2, 40, 30);
    Piece& p = join({0, 1, 2, 3}, 2, 1);
    ASSERT_EQ((std::vector{p.width, p.height, p.joined}), (std::vector{120, 90, 1}));
    for (int32_t y = 0; y < 90; ++y)
        for (int32_t x = 0; x < 120; ++x) {
            const int32_t px = x - 20, py = y - 15;
            const bool inside = px >= 1 && py >= 1 && px < 80 && py < 60;
            ASSERT_EQ(p.image_at(x, y), inside ? picture_word(px, py) : W) << x << "," << y;
        }
    EXPECT_EQ((std::vector{jig->items[1].merged, jig->items[1].home_dx, jig->items[1].home_dy}), (std::vector{1, 0, 0}));
    EXPECT_EQ(group_frame(*jig, 7).empty(), true);
}

// Offsets lead to the picture's centre (96 / 2 - 48 / 2, 60 / 2 - 20 / 2), mirrored for a group lying turned
// over, whose image is the upright one mirrored; a ring's enclosed foreign cell stays white.
TEST_F(Joining, PlacesTheGroupAtThePictureCentreAndLeavesAnEnclosedCellOut) {
    make_game(4, 3, 24, 20);
    Piece& up = join({0, 1}, 0, 0);
    Piece& down = join({0, 1}, 0, 1, 1);
    const Item &a = jig->items[0], &b = jig->items[1];
    EXPECT_EQ((std::vector{up.width, up.height, a.home_dx, a.home_dy, a.join_dx, a.join_dy, b.home_dx, b.join_dx, b.home_dy}),
              (std::vector{72, 40, 24, 20, 24, 20, 96 - 24, 96 - 24, 20}));
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 72; ++x) ASSERT_EQ(down.image_at(x, y), up.image_at(71 - x, y));
    make_game(3, 3, 30, 30);
    Piece& ring = join({0, 1, 2, 3, 5, 6, 7, 8}, 0, 0);
    EXPECT_EQ((std::vector{ring.image_at(60, 60), ring.image_at(25, 25) & W}), (std::vector{W, picture_word(10, 10)}));
}

}  // namespace
