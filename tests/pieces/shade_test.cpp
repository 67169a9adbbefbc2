// Shading a piece's view: the bevel, its smoothing (also past a full queue) and the seams of a group.
#include <algorithm>

#include "graphics/colour_model.h"
#include "tests/pieces/piece_support.h"

namespace {

constexpr uint32_t W = 0x00FFFFFF;
constexpr uint32_t R = 0x00FF0000;  // red as a pixel word
constexpr uint32_t L = 0x00E6E6E6;  // light bevel
constexpr uint32_t K = 0x00202020;  // dark bevel

// A 6 x 6 white image with a 2 x 2 red block at columns 2-3, rows 2-3.
std::vector<uint32_t> red_block() {
    std::vector<uint32_t> w(36, W);
    for (int32_t y = 2; y < 4; ++y)
        for (int32_t x = 2; x < 4; ++x) w[size_t(y) * 6 + x] = R;
    return w;
}

using Bevel = SettingsGuard;

TEST_F(Bevel, WithKageOffTheViewIsLeftAsRendered) {
    Piece p;
    give_image(p, 6, 6, red_block());
    p.set_angle(0);
    EXPECT_EQ(view_words(p), red_block());
}

TEST_F(Bevel, LightUpLeftAndDarkDownRightJustOutsideTheShape) {
    settings.kage = true;
    Piece p;
    give_image(p, 6, 6, red_block());
    p.set_angle(0);
    std::vector<uint32_t> expected = red_block();
    for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {1, 2}}) expected[size_t(y) * 6 + x] = L;
    for (auto [x, y] : {std::pair{4, 3}, {3, 4}, {4, 4}}) expected[size_t(y) * 6 + x] = K;
    EXPECT_EQ(view_words(p), expected);
    EXPECT_EQ(image_words(p), red_block());  // the image itself is never shaded
}

TEST_F(Bevel, SmoothingAveragesWithTheBevelColourCountingThreeTimes) {
    settings.kage = true;
    settings.smooth = true;
    Piece p;
    give_image(p, 6, 6, red_block());
    p.set_angle(0);
    // Around (1, 1): three light bevel pixels (each three times) and one red one.
    // Red (9 x 230 + 255) / 10 = 232, green and blue 9 x 230 / 10 = 207.
    EXPECT_EQ(p.view_at(1, 1), 0x00E8CFCFu);
    // The red pixel (2, 2) caused a light bevel pixel; it is averaged with no colour weighted:
    // three light, four red: red (3 x 230 + 4 x 255) / 7 = 244, green and blue 690 / 7 = 98.
    EXPECT_EQ(p.view_at(2, 2), 0x00F46262u);
    // Pixels that no bevel touched stay as they were.
    EXPECT_EQ(p.view_at(0, 5), W);
    EXPECT_EQ(p.view_at(5, 0), W);
}

TEST_F(Bevel, SmoothingReachesEveryBevelPixelPastAFullQueue) {
    settings.kage = true;
    settings.smooth = true;
    // A 400 x 400 red square in a white frame of 4 pixels queues far more than one batch.
    const int32_t n = 408;
    std::vector<uint32_t> words(size_t(n) * n, W);
    for (int32_t y = 4; y < n - 4; ++y)
        for (int32_t x = 4; x < n - 4; ++x) words[size_t(y) * n + x] = R;
    Piece p;
    give_image(p, n, n, words);
    p.set_angle(0);
    const std::vector<uint32_t> view = view_words(p);
    int32_t bevel = 0;
    for (int32_t y = 0; y < n; ++y) {
        for (int32_t x = 0; x < n; ++x) {
            const uint32_t v = view[size_t(y) * n + x];
            EXPECT_NE(v, L) << x << "," << y;
            EXPECT_NE(v, K) << x << "," << y;
            if (words[size_t(y) * n + x] == W && v != W) ++bevel;
        }
    }
    EXPECT_EQ(bevel, 2 * 799);  // a light row and column above-left, a dark row and column below-right
}

TEST_F(Bevel, AViewTooSmallForABevelIsLeftAlone) {
    settings.kage = true;
    Piece p;
    give_image(p, 1, 1, {R});
    p.set_angle(0);
    EXPECT_EQ(view_words(p), (std::vector<uint32_t>{R}));
}

// A 9 x 9 piece of mid grey (columns and rows 2-6) in white; (4, 3) and (4, 4) are marked as a seam, and so is
// (6, 6), whose pixel below and to the right is the dark bevel.
std::vector<uint32_t> seamed() {
    std::vector<uint32_t> w(81, W);
    for (int32_t y = 2; y < 7; ++y)
        for (int32_t x = 2; x < 7; ++x) w[size_t(y) * 9 + x] = 0x00808080;
    for (auto [x, y] : {std::pair{4, 3}, {4, 4}, {6, 6}}) w[size_t(y) * 9 + x] |= 0xFF000000;
    return w;
}

uint32_t lightness_of(uint32_t word) { return uint32_t(colour_to_lhs(word & 0xFFFFFF).l + 0.5); }

class Seams : public SettingsGuard {
protected:
    void SetUp() override {
        SettingsGuard::SetUp();
        settings.kage = true;
        settings.nokosu = true;
    }
};

TEST_F(Seams, MarkedPixelsDarkenAndThePixelBelowRightLightens) {
    Piece p;
    p.joined = 1;
    give_image(p, 9, 9, seamed());
    p.set_angle(0);
    const auto v = [&p](int32_t x, int32_t y) { return p.view_at(x, y); };
    ASSERT_EQ(lightness_of(0x808080), 50u);
    EXPECT_EQ(lightness_of(v(4, 3)), 25u);
    EXPECT_EQ(lightness_of(v(4, 4)), 25u);
    EXPECT_EQ(lightness_of(v(5, 4)), 60u);  // below-right of (4, 3)
    EXPECT_EQ(lightness_of(v(5, 5)), 60u);  // below-right of (4, 4)
    EXPECT_EQ(v(3, 3), 0x00808080u);        // unmarked and below-right of nothing marked
    EXPECT_EQ(v(5, 3), 0x00808080u);
    EXPECT_EQ(lightness_of(v(6, 6)), 25u);
    EXPECT_GT(lightness_of(v(7, 7)), lightness_of(K));  // the dark bevel below the seam's end
    EXPECT_EQ(v(0, 0), W);
}

TEST_F(Seams, APixelOutsideThePieceStaysOutside) {
    // A seam on the top row, where no bevel is laid: the white pixel below-right of its end stays white.
    std::vector<uint32_t> w(36, W);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 1; x < 5; ++x) w[size_t(y) * 6 + x] = 0x00808080;
    w[4] |= 0xFF000000;
    Piece p;
    p.joined = 1;
    give_image(p, 6, 6, w);
    p.set_angle(0);
    EXPECT_EQ(p.view_at(5, 1), W);
    EXPECT_EQ(lightness_of(p.view_at(4, 0)), 25u);
}

TEST_F(Seams, NotShownWithNokosuOffOrForASinglePiece) {
    Piece plain, single;
    plain.joined = 1;
    settings.nokosu = false;
    give_image(plain, 9, 9, seamed());
    plain.set_angle(0);
    settings.nokosu = true;
    give_image(single, 9, 9, seamed());
    single.set_angle(0);
    for (Piece* p : {&plain, &single}) {
        EXPECT_EQ(p->view_at(4, 3), 0xFF808080u);
        EXPECT_EQ(p->view_at(5, 5), 0x00808080u);
    }
}

}  // namespace
