// Fitting the picture and the grid: worked grid values, trimming, the piece limit, pure black and white moved to
// the near greys, the fitted picture's size and content, picture types and pictures that cannot be used.
#include <gtest/gtest.h>

#include <filesystem>

#include "pieces/desk.h"
#include "play/state.h"
#include "puzzle/fit.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace {

using testsupport::at;

// Worked by hand: cols = round(w / k), rows = round(h / k) with k = sqrt(w h / n), the picture trimmed to whole
// cells of at least 2 x 2, and never more than 1000 cells (the setting lowered to match); a grid one short of the
// count gets the missing row (2 x 2 for 6) or column (2 x 1 for 3).
TEST(Grid, WorkedValuesAndTrimming) {
    testsupport::Guard guard;
    const struct {
        int32_t w, h, n, cols, rows, pic_w, pic_h, piece_num;
    } cases[] = {{400, 300, 20, 5, 4, 400, 300, 20},       {300, 300, 4, 2, 2, 300, 300, 4},
                 {300, 225, 600, 28, 21, 280, 210, 600},   {300, 200, 10, 4, 3, 300, 198, 10},
                 {640, 480, 1000, 37, 27, 629, 459, 1000}, {640, 480, 1200, 37, 27, 629, 459, 1000},
                 {350, 200, 10, 5, 2, 350, 200, 10},       {2, 4000, 20, 1, 200, 2, 4000, 20},
                 {1, 1, 20, 0, 0, 1, 1, 20},               {1, 4000, 20, 0, 0, 1, 4000, 20},
                 {4000, 1, 20, 0, 0, 4000, 1, 20},         {300, 300, 6, 2, 3, 300, 300, 6},
                 {150, 100, 3, 3, 1, 150, 100, 3}};
    for (const auto& c : cases) {
        std::unique_ptr<Jig> g(testsupport::laid_game(c.w, c.h, c.n));
        const bool refused = c.cols == 0;  // no room for a cell: the picture's size is of no interest
        EXPECT_EQ((std::vector{g->cols, g->rows, g->item_count, refused ? 0 : g->pic_w, refused ? 0 : g->pic_h,
                               settings.piece_num}),
                  (std::vector{c.cols, c.rows, c.cols * c.rows, refused ? 0 : c.pic_w, refused ? 0 : c.pic_h, c.piece_num}))
            << c.w << "x" << c.h << " n=" << c.n;
    }
    // Whatever the picture and the wanted count, the grid fits the table and every cell has an inside.
    for (int32_t w : {1, 2, 3, 5, 17, 40, 199, 1000, 4000, 6000})
        for (int32_t h : {1, 2, 3, 5, 17, 40, 199, 1000, 4000, 6000})
            for (int32_t n : {-5, 0, 1, 4, 20, 600, 1000, 1200}) {
                const GridSize g = grid_size(w, h, n);
                ASSERT_TRUE(g.cols >= 1 && g.rows >= 1 && g.cols * g.rows <= max_cells) << w << "x" << h << " n=" << n;
                ASSERT_TRUE((w < 2 || w / g.cols >= 2) && (h < 2 || h / g.rows >= 2)) << w << "x" << h << " n=" << n;
            }
}

// A top byte would read as a seam mark in the pieces: it goes. The near colours are set unlike grey, so that a
// mix-up of colour value and pixel word shows.
TEST(BlackAndWhite, PurePixelsMoveToTheNearGreysOthersStay) {
    testsupport::Guard guard;
    const uint32_t words[] = {0x000000, 0xFFFFFF, 0x010101, 0xFEFFFF, 0x7F123456, 0xFF000000};
    Jig game(blank_game);
    game.picture = testsupport::surface_of(6, 1, [&](int32_t x, int32_t) { return words[x]; }, BIT_SCREEN);
    const Colour old_black = std::exchange(desk.near_black, 0x030201),
                 old_white = std::exchange(desk.near_white, 0xFDFEFC);
    game.replace_black_white();
    desk.near_black = old_black, desk.near_white = old_white;
    EXPECT_EQ(testsupport::top_down(*game.picture),
              (std::vector<uint32_t>{0x010203, 0xFCFEFD, 0x010101, 0xFEFFFF, 0x123456, 0x010203}));
}

class Stretch : public ::testing::Test {
protected:
    testsupport::Guard guard_;
    testsupport::TempDir dir;
};

// The longer side becomes the chosen size (nearest pixels when enlarged); size 0 keeps the picture as it is. Kept
// or enlarged, every source pixel lands on the middle of its block of the fitted picture.
TEST_F(Stretch, TheFittedPictureHasTheChosenSizeAndThePicturesPixels) {
    const struct {
        int32_t w, h, size, fitted_w, fitted_h;
    } cases[] = {{200, 200, 300, 300, 300}, {1000, 500, 300, 300, 150}, {100, 200, 300, 150, 300},
                 {123, 45, 0, 123, 45},     {1, 1, 300, 300, 300},      {3, 2, 300, 300, 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " to " << c.size);
        ASSERT_TRUE(testsupport::write_picture(dir.file("p.bmp"), c.w, c.h, testsupport::pattern_word));
        settings.stretch_size = c.size;
        Jig game(blank_game);
        ASSERT_EQ(game.stretch(dir.file("p.bmp")), 1);
        EXPECT_EQ((std::vector{game.pic_w, game.pic_h, game.picture_type}), (std::vector{c.fitted_w, c.fitted_h, 0}));
        ASSERT_TRUE(game.picture->width() >= game.pic_w && game.picture->height() >= game.pic_h);
        for (int32_t y = 0; c.fitted_w >= c.w && y < std::min(c.h, 50); ++y)
            for (int32_t x = 0; x < std::min(c.w, 50); ++x) {
                const int32_t fx = (2 * x + 1) * c.fitted_w / (2 * c.w), fy = (2 * y + 1) * c.fitted_h / (2 * c.h);
                ASSERT_EQ(at(*game.picture, fx, fy) & 0xFFFFFF, testsupport::pattern_word(x, y)) << x << "," << y;
            }
    }
}

// Names ending in bmp (any case) are type 0, others 1; files missing, broken, of an unknown kind or unnamed give
// no picture. A new game is built from the picture file, or refused when it cannot be read or has no room for a
// cell; pure white in it is moved to the near white.
TEST_F(Stretch, PictureTypesUnusableFilesAndTheNewGame) {
    const auto grey_word = [](int32_t x, int32_t y) { return x == 3 && y == 2 ? 0xFFFFFFu : 0x404040u + uint32_t((x + y) % 16); };
    const std::string jpeg = std::string(ZELTO_SOURCE_DIR) + "/data/data/city.jpg";
    std::FILE* f = std::fopen(dir.file("broken.bmp").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("BM this is not a picture", f);
    std::fclose(f);
    for (const char* name : {"a.bmp", "b.BMP", "c.bMp"}) ASSERT_TRUE(testsupport::write_picture(dir.file(name), 4, 4, grey_word));
    const std::pair<std::string, int32_t> files[] = {{dir.file("a.bmp"), 0},      {dir.file("b.BMP"), 0},
                                                     {dir.file("c.bMp"), 0},      {jpeg, 1},
                                                     {dir.file("missing.jpg"), -1}, {dir.file("broken.bmp"), -1},
                                                     {dir.file("p.png"), -1},     {"", -1}};
    for (const auto& [file, type] : files) {
        Jig game(blank_game);
        game.picture_type = 7;
        EXPECT_EQ(game.stretch(file), type >= 0 ? 1 : 0) << file;
        EXPECT_EQ(game.picture == nullptr, type < 0) << file;
        EXPECT_TRUE(type < 0 || game.picture_type == type) << file;
    }
    ASSERT_TRUE(testsupport::write_picture(dir.file("wide.bmp"), 400, 300, grey_word));
    ASSERT_TRUE(testsupport::write_picture(dir.file("dot.bmp"), 1, 1, grey_word));
    settings.piece_num = 20;
    settings.ddraw = false;
    desk_images_create(640, 480);
    const struct {
        const char* file;
        int32_t stretch, items, pic_w;
    } cases[] = {{"wide.bmp", 0, 20, 400}, {"dot.bmp", 0, 0, 1}, {"missing.bmp", 0, 0, 0}, {"dot.bmp", 300, 20, 300}};
    for (const auto& c : cases) {
        settings.stretch_size = c.stretch;
        play.picture_path = dir.file(c.file);
        Jig game;
        EXPECT_EQ((std::vector{game.item_count, game.cut_count}), (std::vector{c.items, 0})) << c.file;
        EXPECT_TRUE(c.items == 0 || (game.pic_w == c.pic_w && game.cells[c.items - 1].owner == c.items - 1)) << c.file;
        EXPECT_TRUE(c.pic_w != 400 || at(*game.picture, 3, 2) == colour_to_word(desk.near_white)) << c.file;
    }
    desk_images_destroy();
}

}  // namespace
