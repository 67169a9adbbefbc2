// The desk images: measuring near-black and near-white, the transparent copy, and drawing pieces onto the desk.
#include <gtest/gtest.h>

#include <vector>

#include "desk/desk.h"
#include "pieces/piece.h"
#include "shell/settings.h"

namespace {

constexpr uint32_t W = 0x00FFFFFF;
constexpr uint32_t desk_word = 0x00336699;
constexpr uint32_t back_word = 0x00102030;

uint32_t& at(MemDC& s, int32_t x, int32_t y) { return s.words()[size_t(s.height() - 1 - y) * s.width() + x]; }

// A desk of 8 x 6: desk_image in one colour, desk_back in another.
class Desk : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = settings;
        settings.kage = false;
        desk_images_create(8, 6);
        desk_image->fill(0, 0, 8, 6, 0x996633);  // colour value of desk_word
        desk_back->fill(0, 0, 8, 6, 0x302010);
    }
    void TearDown() override {
        desk_images_destroy();
        settings = saved_;
    }

    // A 3 x 3 source: 1 2 3 / 4 W 6 / 7 8 9, the centre white.
    void make_source() {
        src.create(BIT_DIB, 3, 3);
        const uint32_t words[9] = {1, 2, 3, 4, W, 6, 7, 8, 9};
        for (int32_t i = 0; i < 9; ++i) at(src, i % 3, i / 3) = words[i];
    }

    // Which desk pixels differ from the plain desk colour, as the source word there (0 where unchanged).
    std::vector<uint32_t> changes() {
        std::vector<uint32_t> out;
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < 8; ++x) out.push_back(at(*desk_image, x, y) == desk_word ? 0 : at(*desk_image, x, y));
        return out;
    }

    MemDC src;
    Settings saved_;
};

TEST_F(Desk, SetUpMeasuresTheGreysNextToBlackAndWhite) {
    EXPECT_EQ(desk_width, 8);
    EXPECT_EQ(desk_height, 6);
    EXPECT_EQ(desk_image->width(), 8);
    EXPECT_EQ(desk_back->height(), 6);
    EXPECT_EQ(near_black, 0x010101u);
    EXPECT_EQ(near_white, 0xFEFEFEu);
    EXPECT_EQ(view_x, 0);
    EXPECT_EQ(view_y, 0);
    desk_images_create(0, -5);  // a desk always has a pixel
    EXPECT_EQ(desk_width, 1);
    EXPECT_EQ(desk_height, 1);
}

TEST_F(Desk, PutTransparentLeavesWhiteOut) {
    make_source();
    put_transparent(2, 1, 3, 3, src, 0, 0);
    std::vector<uint32_t> expected(48, 0);
    const uint32_t words[9] = {1, 2, 3, 4, 0, 6, 7, 8, 9};
    for (int32_t i = 0; i < 9; ++i) expected[size_t(1 + i / 3) * 8 + 2 + i % 3] = words[i];
    EXPECT_EQ(changes(), expected);
}

TEST_F(Desk, PutTransparentIsClippedToBothSurfaces) {
    make_source();
    // Starting left of and above the desk: only the source's lower-right 2 x 2 lands, at the desk's corner.
    put_transparent(-1, -1, 3, 3, src, 0, 0);
    // Reaching past the desk's right and bottom edges.
    put_transparent(6, 4, 3, 3, src, 0, 0);
    // A block larger than the source: only what the source has is read.
    put_transparent(3, 0, 5, 5, src, 1, 1);
    std::vector<uint32_t> expected(48, 0);
    expected[0 * 8 + 1] = 6;
    expected[1 * 8 + 0] = 8;
    expected[1 * 8 + 1] = 9;
    expected[4 * 8 + 6] = 1, expected[4 * 8 + 7] = 2;
    expected[5 * 8 + 6] = 4, expected[5 * 8 + 7] = 0;
    expected[0 * 8 + 3] = 0, expected[0 * 8 + 4] = 6;
    expected[1 * 8 + 3] = 8, expected[1 * 8 + 4] = 9;
    EXPECT_EQ(changes(), expected);
    put_transparent(0, 0, 3, 3, src, 5, 0);  // nothing of the source there
    put_transparent(9, 0, 3, 3, src, 0, 0);  // nothing of the desk there
    EXPECT_EQ(changes(), expected);
}

TEST_F(Desk, PutTransparentDropsMarksTheDeskDoesNotHave) {
    src.create(BIT_DIB, 2, 1);
    at(src, 0, 0) = 0xFF000005;  // a marked piece pixel
    at(src, 1, 0) = 0xFFFFFFFF;  // a marked white pixel
    at(*desk_image, 1, 0) = 0x0A000777;
    put_transparent(0, 0, 2, 1, src, 0, 0);
    EXPECT_EQ(at(*desk_image, 0, 0), 0x00000005u);
    EXPECT_EQ(at(*desk_image, 1, 0), 0x0A000777u);
}

TEST_F(Desk, PutTransparentOverALongRowKeepsTheMaskRule) {
    src.create(BIT_DIB, 9, 1);
    const uint32_t from[9] = {1, W, 0xFF000003, 0xFFFFFFFF, 5, 0x0F000006, W, 8, 0x00FEFEFE};
    for (int32_t x = 0; x < 9; ++x) at(src, x, 0) = from[x];
    desk_images_create(9, 1);  // a desk exactly one row of the source wide
    for (int32_t x = 0; x < 9; ++x) at(*desk_image, x, 0) = 0x0A000100 + uint32_t(x);
    put_transparent(0, 0, 9, 1, src, 0, 0);
    // Where the source is not white its colour replaces the desk's; everywhere the top bytes are ANDed.
    const uint32_t expected[9] = {0x00000001, 0x00000101, 0x0A000003, 0x0A000103, 0x00000005,
                                  0x0A000006, 0x00000106, 0x00000008, 0x00FEFEFE};
    for (int32_t x = 0; x < 9; ++x) EXPECT_EQ(at(*desk_image, x, 0), expected[x]) << x;
}

// A piece showing the 3 x 3 source, centred at (cx, cy).
void make_piece(Piece& p, MemDC& src, int32_t cx, int32_t cy) {
    p.cx = cx, p.cy = cy;
    p.set_image(src, 3, 3);
    p.set_angle(0);
}

TEST_F(Desk, DispDrawsTheViewWithinTheClip) {
    make_source();
    Piece p;
    make_piece(p, src, 3, 3);  // rect 2, 2, 5, 5
    const Rect clip{4, 0, 8, 3};
    EXPECT_EQ(p.disp(&clip), (Rect{4, 2, 5, 3}));
    std::vector<uint32_t> expected(48, 0);
    expected[2 * 8 + 4] = 3;
    EXPECT_EQ(changes(), expected);
    const Rect apart{6, 0, 8, 2};
    EXPECT_EQ(p.disp(&apart), (Rect{}));
    EXPECT_EQ(changes(), expected);
    EXPECT_EQ(p.disp(), (Rect{2, 2, 5, 5}));
    EXPECT_EQ(at(*desk_image, 2, 2), 1u);
    EXPECT_EQ(at(*desk_image, 3, 3), desk_word);  // the white centre
}

TEST_F(Desk, EraseRestoresTheBackgroundUnderThePiece) {
    make_source();
    Piece p;
    make_piece(p, src, 1, 1);  // rect 0, 0, 3, 3
    p.disp();
    EXPECT_EQ(p.erase(), (Rect{0, 0, 3, 3}));
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(at(*desk_image, x, y), x < 3 && y < 3 ? back_word : desk_word);
}

TEST_F(Desk, SaveUnderAndRestoreUnderPutTheDeskBack) {
    make_source();
    Piece p;
    make_piece(p, src, 6, 4);  // rect 5, 3, 8, 6
    for (int32_t i = 0; i < 48; ++i) desk_image->words()[i] = 0x100 + uint32_t(i);
    const std::vector<uint32_t> before(desk_image->words(), desk_image->words() + 48);
    MemDC* under = nullptr;
    EXPECT_EQ(p.save_under(under, 5, 3, 8, 6), (Rect{5, 3, 8, 6}));
    ASSERT_NE(under, nullptr);
    EXPECT_EQ(under->width(), 3);
    EXPECT_EQ(under->height(), 3);
    p.save_under(under, 5, 3, 8, 6);  // the old surface is destroyed (the leak checker of the sanitizer build sees it)
    p.disp();
    EXPECT_NE(std::vector<uint32_t>(desk_image->words(), desk_image->words() + 48), before);
    EXPECT_EQ(p.restore_under(*under, 5, 3, 8, 6), (Rect{5, 3, 8, 6}));
    EXPECT_EQ(std::vector<uint32_t>(desk_image->words(), desk_image->words() + 48), before);
    delete under;
}

TEST_F(Desk, SaveUnderBeyondTheDeskKeepsWhiteThere) {
    make_source();
    Piece p;
    make_piece(p, src, 0, 0);  // rect -1, -1, 2, 2
    MemDC* under = nullptr;
    p.save_under(under, -1, -1, 2, 2);
    EXPECT_EQ(at(*under, 0, 0), W);
    EXPECT_EQ(at(*under, 1, 1), desk_word);
    delete under;
}

}  // namespace
