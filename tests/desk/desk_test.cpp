// The desk images: the near greys, the transparent copy with its clipping and marks, and a piece drawn and saved
// under on the desk, up to every edge.
#include <gtest/gtest.h>

#include "pieces/desk.h"
#include "puzzle/settings.h"
#include "support/desk/games.h"

namespace {

using testsupport::at;
using testsupport::top_down;

constexpr uint32_t W = 0x00FFFFFF, desk_word = 0x00336699;

// A desk of 8 x 6 in one colour; a 3 x 3 source 1 2 3 / 4 W 6 / 7 8 9.
class Desk : public ::testing::Test {
protected:
    void SetUp() override {
        settings.kage = false;
        desk_images_create(8, 6);
        desk.desk_image->fill(0, 0, 8, 6, 0x996633);  // colour value of desk_word
        src.create(BIT_DIB, 3, 3);
        for (int32_t i = 0; i < 9; ++i) at(src, i % 3, i / 3) = i == 4 ? W : uint32_t(i + 1);
    }
    void TearDown() override { desk_images_destroy(); }
    void place(Piece& p, int32_t cx, int32_t cy) {
        p.cx = cx, p.cy = cy;
        p.set_image(src, 3, 3);
        p.set_angle(0, settings_shading());
    }
    MemDC src;
    testsupport::ResetGuard<reset_desk_state> guard_;
};

TEST_F(Desk, SetUpMeasuresTheGreysNextToBlackAndWhite) {
    EXPECT_EQ((std::vector{desk.desk_width, desk.desk_height, desk.desk_image->width(), desk.desk_back->height(),
                           desk.view_x, desk.view_y}),
              (std::vector{8, 6, 8, 6, 0, 0}));
    EXPECT_EQ((std::vector{desk.near_black, desk.near_white}), (std::vector<Colour>{0x010101, 0xFEFEFE}));
    desk_images_create(0, -5);  // a desk always has a pixel
    EXPECT_EQ((std::vector{desk.desk_width, desk.desk_height}), (std::vector{1, 1}));
}

// Where the source is not white its colour replaces the desk's; everywhere the top bytes are ANDed.
TEST_F(Desk, PutTransparentOverALongRowKeepsTheMaskRule) {
    src.create(BIT_DIB, 9, 1);
    const uint32_t from[9] = {1, W, 0xFF000003, 0xFFFFFFFF, 5, 0x0F000006, W, 8, 0x00FEFEFE};
    for (int32_t x = 0; x < 9; ++x) at(src, x, 0) = from[x];
    desk_images_create(9, 1);
    for (int32_t x = 0; x < 9; ++x) at(*desk.desk_image, x, 0) = 0x0A000100 + uint32_t(x);
    put_transparent(0, 0, 9, 1, src, 0, 0);
    EXPECT_EQ(top_down(*desk.desk_image),
              (std::vector<uint32_t>{0x00000001, 0x00000101, 0x0A000003, 0x0A000103, 0x00000005, 0x0A000006, 0x00000106,
                                     0x00000008, 0x00FEFEFE}));
}

// Erasing and putting back what lay under a held piece are checked against fresh drawings by the play scripts.
TEST_F(Desk, DispDrawsTheViewWithinTheClipAndTheSaveUnderKeepsWhiteBeyondTheDesk) {
    Piece p;
    place(p, 3, 3);  // rect 2, 2, 5, 5
    const Rect clip{4, 0, 8, 3}, apart{6, 0, 8, 2};
    EXPECT_EQ((std::vector{p.disp(&clip), p.disp(&apart)}), (std::vector{Rect{4, 2, 5, 3}, Rect{}}));
    std::vector<uint32_t> want(48, desk_word);
    want[2 * 8 + 4] = 3;  // only source word 3 at (4, 2) changed the desk
    EXPECT_EQ(top_down(*desk.desk_image), want);
    MemDC* under = nullptr;
    EXPECT_EQ(p.save_under(under, 2, 2, 5, 5), (Rect{2, 2, 5, 5}));
    place(p, 7, 0);  // rect 6, -1, 9, 2: over the top and right edges
    EXPECT_EQ(p.disp(), (Rect{6, -1, 9, 2}));
    EXPECT_EQ((std::vector{at(*desk.desk_image, 6, 0), at(*desk.desk_image, 7, 0), at(*desk.desk_image, 7, 1),
                           at(*desk.desk_image, 0, 1)}),
              (std::vector{4u, desk_word, 8u, desk_word}));
    p.save_under(under, 6, -1, 9, 2);  // the old surface is destroyed (the sanitizer build's leak check sees it)
    EXPECT_EQ((std::vector{at(*under, 0, 0), at(*under, 0, 1), at(*under, 1, 2), at(*under, 2, 1)}),
              (std::vector{W, 4u, 8u, W}));
    delete under;
}

}  // namespace
