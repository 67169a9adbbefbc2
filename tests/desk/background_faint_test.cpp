// The faint finished picture: the colour-model pass, its place against the view origin, the engraved cutting
// lines, the size limit of the engraving and the weighted average that softens the lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

#include "display_support.h"
#include "graphics/colour_model.h"
#include "puzzle/lines.h"

namespace {

using namespace desktest;

constexpr uint32_t kBack = 0x0000FF;  // colour value: red desk, word 0xFF0000

class Faint : public DeskWindow {
protected:
    void SetUp() override {
        DeskWindow::SetUp();
        settings.back_color = kBack;
        settings.back_gazou = true;
    }
    // A game whose fitted picture is w x h of the given pixels, laid out as cols x rows cells.
    Jig& game_with_picture(int32_t w, int32_t h, const PixelAt& pixel, int32_t cols = 1, int32_t rows = 1) {
        Jig& g = new_game();
        g.picture = new MemDC;
        g.picture->create(BIT_DIB, w, h);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) at(*g.picture, x, y) = pixel(x, y);
        g.pic_w = w, g.pic_h = h, g.cols = cols, g.rows = rows;
        return g;
    }
    // The w x h block of desk_back where the faint picture lies.
    std::vector<uint32_t> faint_block(int32_t w, int32_t h) {
        std::vector<uint32_t> out;
        const int32_t x0 = kClientW / 2 - w / 2 - view_x, y0 = kClientH / 2 - h / 2 - view_y;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) out.push_back(at(*desk_back, x0 + x, y0 + y));
        return out;
    }
};

int32_t channel(uint32_t word, int shift) { return int32_t((word >> shift) & 0xFF); }

TEST_F(Faint, DefaultNumbersKeepHuesAndLiftTheLightnessIntoTheUpperHalf) {
    const uint32_t words[4] = {0x000000, 0x808080, 0xFEFEFE, 0xC02010};
    game_with_picture(4, 2, [&](int32_t x, int32_t) { return words[x]; });
    backrgb(0, 0);
    const std::vector<uint32_t> block = faint_block(4, 2);
    // Greys: lightness 50 + L / 2, i.e. 127.5 + g / 2 truncated.
    EXPECT_EQ(block[0], 0x7F7F7Fu);
    EXPECT_EQ(block[1], 0xBFBFBFu);
    EXPECT_EQ(block[2], 0xFEFEFEu);
    // The red keeps being red, with a tenth of its saturation.
    const Lhs red = colour_to_lhs(word_to_colour(words[3]));
    EXPECT_EQ(block[3], colour_to_word(lhs_to_colour(0.5 * red.l + 50, red.h, 0.1 * red.s)));
    EXPECT_GT(channel(block[3], 16), channel(block[3], 8));
    EXPECT_GT(channel(block[3], 16), channel(block[3], 0));
    EXPECT_LT(channel(block[3], 16) - channel(block[3], 0), 40);
    EXPECT_EQ(block[4], block[0]);
    // Around it the background stays.
    EXPECT_EQ(at(*desk_back, kClientW / 2 - 3, kClientH / 2), 0xFF0000u);
    EXPECT_EQ(at(*desk_back, kClientW / 2 + 2, kClientH / 2), 0xFF0000u);
    EXPECT_EQ(top_down(*desk_image), top_down(*desk_back));
}

TEST_F(Faint, IdentityNumbersGiveThePictureBack) {
    for (double& v : settings.back_gazou_v) v = 0;
    settings.back_gazou_v[0] = settings.back_gazou_v[2] = settings.back_gazou_v[4] = 1;
    const auto pixel = [](int32_t x, int32_t y) { return uint32_t(0x3A1F07 * (x + 1) + 0x0B2C4D * (y + 2)) & kWhite; };
    game_with_picture(16, 9, pixel);
    backimg(0);  // the colour style: back_type is single colour
    const std::vector<uint32_t> block = faint_block(16, 9);
    for (int32_t i = 0; i < 16 * 9; ++i)
        for (int shift : {0, 8, 16})
            ASSERT_LE(std::abs(channel(block[size_t(i)], shift) - channel(pixel(i % 16, i / 16), shift)), 1) << i;
}

TEST_F(Faint, LaidAgainstTheViewOriginAndOnlyWhileAGameHasAPicture) {
    game_with_picture(4, 2, [](int32_t, int32_t) { return 0x000000u; });
    view_x = 10, view_y = 20;
    backrgb(0, 0);
    EXPECT_EQ(at(*desk_back, kClientW / 2 - 2 - 10, kClientH / 2 - 1 - 20), 0x7F7F7Fu);
    EXPECT_EQ(at(*desk_back, kClientW / 2 - 2, kClientH / 2 - 1), 0xFF0000u);

    delete current_game;
    current_game = nullptr;
    backrgb(0, 0);
    EXPECT_EQ(at(*desk_back, kClientW / 2 - 2 - 10, kClientH / 2 - 1 - 20), 0xFF0000u);

    new_game();  // a game whose picture could not be read
    backrgb(0, 0);
    EXPECT_EQ(at(*desk_back, kClientW / 2 - 2 - 10, kClientH / 2 - 1 - 20), 0xFF0000u);
}

TEST_F(Faint, NewGameWithAnotherPictureIsNotShownTheOldOne) {
    game_with_picture(8, 8, [](int32_t, int32_t) { return 0x000000u; });
    backrgb(0, 0);
    EXPECT_EQ(faint_block(8, 8)[9], 0x7F7F7Fu);
    game_with_picture(8, 8, [](int32_t x, int32_t y) { return x == 1 && y == 1 ? 0x808080u : 0x000000u; });
    backrgb(0, 0);
    EXPECT_EQ(faint_block(8, 8)[9], 0xBFBFBFu);
    settings.back_gazou_v[3] = 0;  // lightness offset
    backrgb(0, 0);
    EXPECT_EQ(faint_block(8, 8)[0], 0x000000u);
}

// The pixels the game's cutting lines cover, drawn the way the engraving draws them.
std::set<std::pair<int32_t, int32_t>> line_pixels(const Jig& g, int32_t w, int32_t h) {
    MemDC lines;
    lines.create(BIT_DIB, w, h);
    lines.fill(0, 0, w, h, 0xFFFFFF);
    lines.set_pen(0, 1);
    for (int32_t c = 0; c < g.cols * g.rows; ++c)
        for (int32_t side = 0; side < 4; ++side) lines.bezier(g.cells[c].edges[side], line_points());
    std::set<std::pair<int32_t, int32_t>> out;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            if ((at(lines, x, y) & kWhite) == 0) out.insert({x, y});
    return out;
}

TEST_F(Faint, EngravedLinesAppearOnlyWithTheLineSettingAndOnlyAlongTheLines) {
    line_const_init();
    Jig& g = game_with_picture(80, 60, [](int32_t, int32_t) { return 0x606060u; }, 2, 2);
    g.line_init();
    backrgb(0, 0);
    const std::vector<uint32_t> plain = faint_block(80, 60);
    for (uint32_t w : plain) ASSERT_EQ(w, plain[0]) << "no lines without the line setting";

    settings.back_gazou_line = true;
    backrgb(0, 0);
    const std::vector<uint32_t> engraved = faint_block(80, 60);
    const auto lines = line_pixels(g, 80, 60);
    ASSERT_FALSE(lines.empty());
    int32_t darker = 0, lighter = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 80; ++x) {
            const uint32_t w = engraved[size_t(y * 80 + x)];
            if (w == plain[0]) continue;
            (channel(w, 8) < channel(plain[0], 8) ? darker : lighter) += 1;
            const bool near_line = lines.count({x, y}) || lines.count({x - 1, y}) || lines.count({x, y - 1}) ||
                                   lines.count({x - 1, y - 1});
            ASSERT_TRUE(near_line) << "changed pixel " << x << "," << y << " is not on or below-right of a line";
        }
    EXPECT_GT(darker, 100) << "the lines are dark";
    EXPECT_GT(lighter, 20) << "with a light edge below and to the right";
    // An inner line pixel, away from the border, is darkened.
    const auto inner = *std::find_if(lines.begin(), lines.end(), [](const std::pair<int32_t, int32_t>& p) {
        return p.first >= 2 && p.first <= 77 && p.second >= 2 && p.second <= 57;
    });
    EXPECT_LT(channel(engraved[size_t(inner.second * 80 + inner.first)], 8), channel(plain[0], 8));
}

TEST_F(Faint, PictureTooLargeToEngraveIsToldAndLaidWithoutLines) {
    settings.desk_w = 3200;
    init_window();
    view_x = -1500;  // the picture's left edge lies at desk x 160
    line_const_init();
    Jig& g = game_with_picture(kEngraveLimit + 1, 2, [](int32_t x, int32_t) { return x % 2 ? 0x000000u : 0x808080u; },
                               2, 1);
    g.line_init();  // a grid whose lines would cross the picture
    backrgb(0, 0);
    const std::vector<uint32_t> plain = faint_block(kEngraveLimit + 1, 2);
    settings.back_gazou_line = true;
    backrgb(0, 0);
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text, "画像が大きすぎるよ～。");
    EXPECT_EQ(ws::test::messages()[0].caption, "zelto");
    EXPECT_EQ(faint_block(kEngraveLimit + 1, 2), plain);
    backrgb(0, 0);
    EXPECT_EQ(ws::test::messages().size(), 1u) << "the same picture is not reported on every redraw";
}

// A 3 x 3 surface of one word with another word in the middle.
void three_by_three(MemDC& s, uint32_t around, uint32_t middle) {
    s.create(BIT_DIB, 3, 3);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 3; ++x) at(s, x, y) = (x == 1 && y == 1) ? middle : around;
}

TEST(SmoothPixel, WeighsABlackOrWhiteCentreAndStaysInside) {
    MemDC src, dst;
    dst.create(BIT_DIB, 3, 3);
    three_by_three(src, 0xFFFFFF, 0x000000);
    smooth_pixel(src, dst, 1, 1, 3, 3);
    EXPECT_EQ(at(dst, 1, 1), 0xB9B9B9u) << "8 x 255 / (9 + 2) = 185";

    three_by_three(src, 0x000000, 0xFFFFFF);
    smooth_pixel(src, dst, 1, 1, 3, 3);
    EXPECT_EQ(at(dst, 1, 1), 0x939393u) << "(2550 + 255) / (9 + 10) = 147";

    three_by_three(src, 0x0A141E, 0x0A141E);
    smooth_pixel(src, dst, 0, 0, 3, 3);
    EXPECT_EQ(at(dst, 0, 0), 0x0A141Eu) << "a corner averages the four pixels it has";

    three_by_three(src, 0x102030, 0x000000);
    at(dst, 2, 2) = 0x123456;
    smooth_pixel(src, dst, 2, 2, 2, 2);  // outside the given size: left alone
    smooth_pixel(src, dst, -1, 0, 3, 3);
    EXPECT_EQ(at(dst, 2, 2), 0x123456u);
    smooth_pixel(src, dst, 1, 1, 2, 2);  // only the 2 x 2 block counts: 3 x 0x102030 and a black centre twice more
    EXPECT_EQ(at(dst, 1, 1), uint32_t(0x10 * 3 / 6) << 16 | uint32_t(0x20 * 3 / 6) << 8 | uint32_t(0x30 * 3 / 6));
}

}  // namespace
