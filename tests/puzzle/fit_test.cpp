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

uint32_t grey_word(int32_t x, int32_t y) { return 0x404040u + uint32_t((x + y) % 16); }

// Worked by hand: cols = round(w / k), rows = round(h / k) with k = sqrt(w h / n), the picture trimmed to whole
// cells of at least 2 x 2, and never more than 1000 cells (the setting lowered to match).
TEST(Grid, WorkedValuesAndTrimming) {
    testsupport::Guard guard;
    const struct {
        int32_t w, h, n, cols, rows, pic_w, pic_h, piece_num;
    } cases[] = {{400, 300, 20, 5, 4, 400, 300, 20},     {300, 300, 4, 2, 2, 300, 300, 4},
                 {300, 225, 600, 28, 21, 280, 210, 600}, {300, 200, 10, 4, 3, 300, 198, 10},
                 {640, 480, 1000, 37, 27, 629, 459, 1000}, {640, 480, 1200, 37, 27, 629, 459, 1000},
                 {350, 200, 10, 5, 2, 350, 200, 10},     {2, 4000, 20, 1, 200, 2, 4000, 20},      {1, 1, 20, 0, 0, 1, 1, 20},
                 {1, 4000, 20, 0, 0, 1, 4000, 20},       {4000, 1, 20, 0, 0, 4000, 1, 20}};
    for (const auto& c : cases) {
        std::unique_ptr<Jig> g(testsupport::laid_game(c.w, c.h, c.n));
        const bool refused = c.cols == 0;  // no room for a cell: the picture's size is of no interest
        EXPECT_EQ((std::vector{g->cols, g->rows, g->item_count, refused ? 0 : g->pic_w, refused ? 0 : g->pic_h,
                               settings.piece_num}),
                  (std::vector{c.cols, c.rows, c.cols * c.rows, refused ? 0 : c.pic_w, refused ? 0 : c.pic_h, c.piece_num}))
            << c.w << "x" << c.h << " n=" << c.n;
    }
}

// Whatever the picture and the wanted count, the grid fits the table and every cell has an inside.
TEST(Grid, EveryGridFitsTheTableAndEveryCellHasAnInside) {
    for (int32_t w : {1, 2, 3, 5, 17, 40, 199, 1000, 4000, 6000})
        for (int32_t h : {1, 2, 3, 5, 17, 40, 199, 1000, 4000, 6000})
            for (int32_t n : {-5, 0, 1, 4, 20, 600, 1000, 1200}) {
                const GridSize g = grid_size(w, h, n);
                ASSERT_TRUE(g.cols >= 1 && g.rows >= 1 && g.cols * g.rows <= max_cells) << w << "x" << h << " n=" << n;
                ASSERT_TRUE((w < 2 || w / g.cols >= 2) && (h < 2 || h / g.rows >= 2)) << w << "x" << h << " n=" << n;
            }
}

TEST(BlackAndWhite, PurePixelsMoveToTheNearGreysOthersStay) {
    testsupport::Guard guard;
    const uint32_t words[] = {0x000000, 0xFFFFFF, 0x010101, 0xFEFFFF, 0x7F123456, 0xFF000000};
    Jig game(blank_game);
    game.picture = testsupport::surface_of(6, 1, [&](int32_t x, int32_t) { return words[x]; }, BIT_SCREEN);
    const Colour old_black = desk.near_black, old_white = desk.near_white;
    desk.near_black = 0x030201;  // unlike grey, so that a mix-up of colour value and pixel word shows
    desk.near_white = 0xFDFEFC;
    game.replace_black_white();
    desk.near_black = old_black;
    desk.near_white = old_white;
    // A top byte would read as a seam mark in the pieces: it goes.
    EXPECT_EQ(testsupport::top_down(*game.picture),
              (std::vector<uint32_t>{0x010203, 0xFCFEFD, 0x010101, 0xFEFFFF, 0x123456, 0x010203}));
}

class Stretch : public ::testing::Test {
protected:
    testsupport::Guard guard_;
    testsupport::TempDir dir;
};

// The longer side becomes the chosen size (nearest pixels when enlarged); size 0 keeps the picture as it is.
TEST_F(Stretch, TheFittedPictureHasTheChosenSizeAndThePicturesPixels) {
    const struct {
        int32_t w, h, size, fitted_w, fitted_h;
    } cases[] = {{200, 200, 300, 300, 300}, {1000, 500, 300, 300, 150}, {100, 200, 300, 150, 300},
                 {123, 45, 0, 123, 45},     {1, 1, 300, 300, 300},      {3, 2, 300, 300, 200}};
    for (const auto& c : cases) {
        ASSERT_TRUE(testsupport::write_picture(dir.file("p.bmp"), c.w, c.h, testsupport::pattern_word));
        settings.stretch_size = c.size;
        Jig game(blank_game);
        ASSERT_EQ(game.stretch(dir.file("p.bmp")), 1);
        EXPECT_EQ((std::vector{game.pic_w, game.pic_h, game.picture_type}), (std::vector{c.fitted_w, c.fitted_h, 0}))
            << c.w << "x" << c.h << " to " << c.size;
        ASSERT_TRUE(game.picture->width() >= game.pic_w && game.picture->height() >= game.pic_h);
        // Kept or enlarged, every source pixel lands on the middle of its block of the fitted picture.
        if (c.fitted_w < c.w) continue;
        for (int32_t y = 0; y < std::min(c.h, 50); ++y)
            for (int32_t x = 0; x < std::min(c.w, 50); ++x) {
                const int32_t fx = (2 * x + 1) * c.fitted_w / (2 * c.w), fy = (2 * y + 1) * c.fitted_h / (2 * c.h);
                ASSERT_EQ(at(*game.picture, fx, fy) & 0xFFFFFF, testsupport::pattern_word(x, y)) << x << "," << y;
            }
    }
}

TEST_F(Stretch, PictureTypeFollowsTheNameEndingAndUnusableFilesGiveNothing) {
    for (const char* name : {"a.bmp", "b.BMP", "c.bMp"}) {
        ASSERT_TRUE(testsupport::write_picture(dir.file(name), 4, 4, grey_word));
        Jig game(blank_game);
        game.picture_type = 7;
        ASSERT_EQ(game.stretch(dir.file(name)), 1) << name;
        EXPECT_EQ(game.picture_type, 0) << name;
    }
    const std::string jpeg = (std::filesystem::path(ZELTO_SOURCE_DIR) / "data/data/city.jpg").string();
    if (std::filesystem::exists(jpeg)) {
        Jig game(blank_game);
        ASSERT_EQ(game.stretch(jpeg), 1);
        EXPECT_EQ(game.picture_type, 1);
    }
    std::FILE* f = std::fopen(dir.file("broken.bmp").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("BM this is not a picture", f);
    std::fclose(f);
    for (const std::string& file : {dir.file("missing.jpg"), dir.file("broken.bmp"), dir.file("p.png"), std::string()}) {
        Jig game(blank_game);
        EXPECT_EQ(game.stretch(file), 0) << file;
        EXPECT_EQ(game.picture, nullptr) << file;
    }
}

// The new game is built from the picture file, or refused when it cannot be read or has no room for a cell.
TEST_F(Stretch, GameIsBuiltFromThePictureFileOrRefused) {
    ASSERT_TRUE(testsupport::write_picture(dir.file("wide.bmp"), 400, 300, grey_word));
    ASSERT_TRUE(testsupport::write_picture(dir.file("dot.bmp"), 1, 1, grey_word));
    settings.stretch_size = 0;
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
    }
    desk_images_destroy();
}

}  // namespace
