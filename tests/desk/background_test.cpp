// The desk's background: the single colour and its chooser, the repeated and the centred picture against the
// view, pictures unreadable or changed on disk, and the faint finished picture with its engraved cutting lines.
#include <set>
#include <utility>

#include "pieces/desk.h"
#include "play/state.h"
#include "support/cases.h"
#include "support/desk_window.h"
#include "support/temp_dir.h"

namespace {

using namespace testsupport;

constexpr uint32_t kRedWord = 0xFF0000;  // the desk of the picture tests: colour value 0x0000FF

uint32_t picture_pixel(int32_t x, int32_t y) { return 0x010203u + 0x020000u * uint32_t(x) + 0x0300u * uint32_t(y); }

class Background : public DeskWindow {
protected:
    void use_picture(int32_t w, int32_t h, int32_t style) {
        ASSERT_TRUE(write_picture(dir.file("back.bmp"), w, h, picture_pixel));
        settings.back_img = dir.file("back.bmp");
        settings.back_type = style;
        settings.back_color = 0x0000FF;
    }
    // Desk_back pixels that differ from want(x, y).
    static int32_t back_faults(const PixelAt& want) {
        int32_t bad = 0;
        for (int32_t y = 0; y < desk.desk_height; ++y)
            for (int32_t x = 0; x < desk.desk_width; ++x) bad += at(*desk.desk_back, x, y) != want(x, y);
        return bad;
    }
    // want(x, y) for a desk in the picture tests' colour with a w x h block at (x0, y0) of block(x - x0, y - y0).
    static int32_t block_faults(int32_t x0, int32_t y0, int32_t w, int32_t h, const PixelAt& block) {
        return back_faults([&](int32_t x, int32_t y) {
            return x >= x0 && x < x0 + w && y >= y0 && y < y0 + h ? block(x - x0, y - y0) : kRedWord;
        });
    }
    // A game whose fitted picture is w x h of the given pixels, laid out as cols x rows cells.
    Jig& game_with_picture(int32_t w, int32_t h, const PixelAt& pixel, int32_t cols = 1, int32_t rows = 1) {
        Jig& g = new_blank_game();
        g.picture = surface_of(w, h, pixel);
        g.pic_w = w, g.pic_h = h, g.cols = cols, g.rows = rows;
        settings.back_color = 0x0000FF;
        settings.back_gazou = true;
        return g;
    }
    // Pixel (x, y) of the w x h faint picture on desk_back.
    static uint32_t faint_at(int32_t w, int32_t h, int32_t x, int32_t y) {
        return at(*desk.desk_back, kClientW / 2 - w / 2 - desk.view_x + x, kClientH / 2 - h / 2 - desk.view_y + y);
    }
    TempDir dir;
};

TEST_F(Background, SingleColourAndItsChooser) {
    settings.back_color = 0x336699;
    EXPECT_EQ(backrgb(0, 0), 1);
    EXPECT_EQ(back_faults([](int32_t, int32_t) { return 0x996633u; }), 0);
    EXPECT_EQ(top_down(*desk.desk_image), top_down(*desk.desk_back));
    ws::test::push_colour_answer(-1);
    at(*desk.desk_back, 3, 3) = 0x123456;
    EXPECT_EQ(backrgb(1, 1), 0);
    EXPECT_EQ(settings.back_color, 0x336699u);
    EXPECT_EQ(at(*desk.desk_back, 3, 3), 0x123456u) << "a cancelled choice renders nothing";
    Jig& g = new_blank_game();
    add_solid(g, 50, 50, 10, 0x00FF00);
    ws::test::push_colour_answer(0x0000FF);
    EXPECT_EQ(backrgb(1, 1), 1);
    EXPECT_EQ((std::vector{settings.back_color, at(*desk.desk_image, 30, 30), at(*desk.desk_image, 50, 50)}),
              (std::vector{0x0000FFu, kRedWord, 0x00FF00u})) << "redrawn with the game over the new colour";
    EXPECT_EQ((std::pair{ws::test::dialogs().at(1).kind, ws::test::dialogs().at(1).owner}),
              (std::pair{std::string("colour"), play.game_window}));
    backrgb(0, 0);
    EXPECT_EQ(at(*desk.desk_image, 50, 50), kRedWord) << "without redraw the desk is the bare background";
    start_presenter(g);  // on the presenter the new background shows at once
    delete std::exchange(play.current_game, nullptr);
    settings.back_color = 0xFF0000;
    backrgb(0, 1);
    EXPECT_EQ(shown(50, 50), 0x0000FFu);
}

// data/back_place.txt: the repeated picture starts where the view origin (with the drag) falls in it; the
// centred one lies in the middle of what the window shows.
TEST_F(Background, PicturesFollowTheViewOrigin) {
    for (const Fields& c : read_cases("desk/data/back_place.txt")) {
        SCOPED_TRACE(joined(c));
        std::vector<int32_t> n;
        for (size_t i = 1; i < c.size(); ++i) n.push_back(std::stoi(c[i]));
        const int32_t w = n[0], h = n[1], ox = n[6], oy = n[7];
        use_picture(w, h, c[0] == "ren" ? IDM_BACK_IMG_REN : IDM_BACK_IMG_CEN);
        desk.view_x = n[2], desk.view_y = n[3], desk.scroll_dx = n[4], desk.scroll_dy = n[5];
        backimg(0);
        if (c[0] == "ren")
            EXPECT_EQ(back_faults([&](int32_t x, int32_t y) { return picture_pixel((x + ox) % w, (y + oy) % h); }), 0);
        else
            EXPECT_EQ(block_faults(ox, oy, w, h, picture_pixel), 0);
        EXPECT_EQ(top_down(*desk.desk_image), top_down(*desk.desk_back));
    }
}

TEST_F(Background, UnreadableOrChangedPicturesAreToldOnceAndReadAgain) {
    settings.back_img = dir.file("back.bmp");
    settings.back_color = 0x00FF00;
    // The colour style never reads the picture; the picture styles tell of it once.
    for (int32_t style : {IDM_BACK_RGB, IDM_BACK_IMG_REN, IDM_BACK_IMG_REN, IDM_BACK_IMG_CEN}) {
        settings.back_type = style;
        EXPECT_EQ(backimg(0), 1);
        EXPECT_EQ(ws::test::messages().size(), style == IDM_BACK_RGB ? 0u : 1u);
    }
    EXPECT_EQ(back_faults([](int32_t, int32_t) { return 0x00FF00u; }), 0);
    EXPECT_EQ(ws::test::messages().at(0).text.rfind("画像が読み込めません。", 0), 0u);
    use_picture(6, 5, IDM_BACK_IMG_REN);
    backimg(0);
    EXPECT_EQ(back_faults([](int32_t x, int32_t y) { return picture_pixel(x % 6, y % 5); }), 0);
}

// The default numbers keep the hue, cut the saturation to a tenth and lift the lightness into the upper half.
TEST_F(Background, FaintPictureKeepsHuesAndLiftsTheLightness) {
    const uint32_t words[4] = {0x000000, 0x808080, 0xFEFEFE, 0xC02010};
    // Greys lifted into the upper half; the dark red keeps its order (red, green, blue) at a tenth of its saturation.
    const uint32_t faint[4] = {0x7F7F7F, 0xBFBFBF, 0xFEFEFE, 0xB1A1A0};
    game_with_picture(4, 2, [&](int32_t x, int32_t) { return words[x]; });
    desk.view_x = 10, desk.view_y = 20;
    backrgb(0, 0);
    const auto faint_word = [&](int32_t x, int32_t) { return faint[x]; };
    EXPECT_EQ(block_faults(kClientW / 2 - 2 - desk.view_x, kClientH / 2 - 1 - desk.view_y, 4, 2, faint_word), 0);
    EXPECT_EQ(top_down(*desk.desk_image), top_down(*desk.desk_back));
    game_with_picture(8, 8, [](int32_t x, int32_t y) { return x == 1 && y == 1 ? 0x808080u : 0x000000u; });
    backrgb(0, 0);
    EXPECT_EQ(faint_at(8, 8, 1, 1), 0xBFBFBFu) << "a new game's picture, not the old one";
    settings.back_gazou_v[3] = 0;  // lightness offset
    backrgb(0, 0);
    EXPECT_EQ(faint_at(8, 8, 0, 0), 0x000000u);
    new_blank_game();  // a game whose picture could not be read: the bare colour
    backrgb(0, 0);
    EXPECT_EQ(faint_at(8, 8, 1, 1), kRedWord);
}

// Engraved lines: dark along the cutting lines with a light edge below-right, only with the line setting.
TEST_F(Background, EngravedLinesFollowTheCuttingLines) {
    Jig& g = game_with_picture(80, 60, [](int32_t, int32_t) { return 0x606060u; }, 2, 2);
    g.line_init();
    backrgb(0, 0);
    const std::vector<uint32_t> bare = top_down(*desk.desk_back);
    const uint32_t plain = faint_at(80, 60, 0, 0);
    EXPECT_EQ(std::set(bare.begin(), bare.end()), (std::set{kRedWord, plain})) << "no lines without the line setting";
    MemDC* lines = surface_of(80, 60, [](int32_t, int32_t) { return kWhite; });
    lines->set_pen(0, 1);
    for (int32_t c = 0; c < 4; ++c)
        for (int32_t side = 0; side < 4; ++side) lines->bezier(g.cells[c].edges[side], line_points());
    const auto on_line = [&](int32_t x, int32_t y) { return x >= 0 && y >= 0 && (at(*lines, x, y) & kWhite) == 0; };
    settings.back_gazou_line = true;
    backrgb(0, 0);
    int32_t darker = 0, lighter = 0, inner_dark = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 80; ++x) {
            const uint32_t w = faint_at(80, 60, x, y);
            const bool dark = (w & 0xFF00) < (plain & 0xFF00);
            inner_dark += dark && on_line(x, y) && x >= 2 && x <= 77 && y >= 2 && y <= 57;
            if (w == plain) continue;
            (dark ? darker : lighter) += 1;
            ASSERT_TRUE(on_line(x, y) || on_line(x - 1, y) || on_line(x, y - 1) || on_line(x - 1, y - 1))
                << "changed pixel " << x << "," << y << " is not on or below-right of a line";
        }
    EXPECT_GT(darker, 100);
    EXPECT_GT(lighter, 20);
    EXPECT_GT(inner_dark, 50);
    delete lines;
}

TEST_F(Background, PictureTooLargeToEngraveIsToldOnceAndLaidWithoutLines) {
    settings.desk_w = 3200;
    init_window();
    desk.view_x = -1400;
    const auto stripes = [](int32_t x, int32_t) { return x % 2 ? 0x000000u : 0x808080u; };
    Jig& g = game_with_picture(kEngraveLimit + 1, 2, stripes, 2, 1);
    g.line_init();
    backrgb(0, 0);
    const std::vector<uint32_t> plain = top_down(*desk.desk_back);
    settings.back_gazou_line = true;
    backrgb(0, 0);
    backrgb(0, 0);
    ASSERT_EQ(ws::test::messages().size(), 1u) << "the same picture is not reported on every redraw";
    EXPECT_EQ((std::vector<std::string>{ws::test::messages()[0].text, ws::test::messages()[0].caption}),
              (std::vector<std::string>{"画像が大きすぎるよ～。", "zelto"}));
    EXPECT_EQ(top_down(*desk.desk_back), plain);
}

// data/smooth.txt: the weighted average that softens the lines weighs a black or white centre more and keeps
// inside the given block.
TEST(SmoothPixel, WeighsABlackOrWhiteCentreAndStaysInside) {
    MemDC dst;
    dst.create(BIT_DIB, 3, 3);
    for (const Fields& c : read_cases("desk/data/smooth.txt")) {
        SCOPED_TRACE(joined(c));
        const auto word = [&](size_t i) { return uint32_t(std::stoul(c[i], nullptr, 0)); };
        MemDC* src = surface_of(3, 3, [&](int32_t x, int32_t y) { return x == 1 && y == 1 ? word(1) : word(0); });
        for (int32_t i = 0; i < 9; ++i) dst.words()[i] = 0x123456;
        const int32_t x = std::stoi(c[2]), y = std::stoi(c[3]), size = std::stoi(c[4]);
        smooth_pixel(*src, dst, x, y, size, size);
        EXPECT_EQ(at(dst, std::max(x, 0), y), word(5));
        delete src;
    }
}

}  // namespace
