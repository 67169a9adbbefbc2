// Fitting the picture and the grid: the worked grid values, trimming, picture sizes, unreadable and tiny pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "puzzle/fit.h"
#include "puzzle_support.h"

using namespace puzzle_test;

namespace {

uint32_t grey_word(int32_t x, int32_t y) { return 0x404040u + uint32_t((x + y) % 16); }

std::string repository_file(const std::string& relative) {
    return (std::filesystem::path(ZELTO_SOURCE_DIR) / relative).string();
}

}  // namespace

TEST(Grid, WorkedValues) {
    struct Case {
        int32_t w, h, n, cols, rows;
    };
    const Case cases[] = {
        {400, 300, 20, 5, 4},     {300, 300, 4, 2, 2},       {300, 225, 600, 28, 21},
        {300, 200, 10, 4, 3},     {640, 480, 1000, 37, 27},
    };
    for (const Case& c : cases) {
        const GridSize g = grid_size(c.w, c.h, c.n);
        EXPECT_EQ(g.cols, c.cols) << c.w << "x" << c.h << " n=" << c.n;
        EXPECT_EQ(g.rows, c.rows) << c.w << "x" << c.h << " n=" << c.n;
    }
}

TEST(Grid, TrimsPictureToWholeCells) {
    Restore restore;
    auto a = laid_game(300, 225, 600);
    EXPECT_EQ(a->pic_w, 280);
    EXPECT_EQ(a->pic_h, 210);
    EXPECT_EQ(a->item_count, 588);
    auto b = laid_game(300, 200, 10);
    EXPECT_EQ(b->pic_w, 300);
    EXPECT_EQ(b->pic_h, 198);
    EXPECT_EQ(b->item_count, 12);
}

TEST(Grid, PieceNumAboveLimitIsLoweredInTheSettings) {
    Restore restore;
    auto game = laid_game(640, 480, 1200);
    EXPECT_EQ(settings.piece_num, 1000);
    EXPECT_EQ(game->cols * game->rows, 999);
}

// Whatever the picture and the wanted count, the grid is usable: at least one cell, at most the table's capacity,
// and every cell at least 2 x 2 pixels where the picture has that much.
TEST(Grid, EveryGridFitsTheTableAndEveryCellHasAnInside) {
    const int32_t sides[] = {1, 2, 3, 5, 17, 40, 199, 1000, 4000, 6000};
    const int32_t counts[] = {-5, 0, 1, 4, 20, 600, 1000, 1200};
    for (int32_t w : sides)
        for (int32_t h : sides)
            for (int32_t n : counts) {
                const GridSize g = grid_size(w, h, n);
                ASSERT_GE(g.cols, 1) << w << "x" << h << " n=" << n;
                ASSERT_GE(g.rows, 1) << w << "x" << h << " n=" << n;
                ASSERT_LE(g.cols * g.rows, max_cells) << w << "x" << h << " n=" << n;
                if (w >= 2) {
                    ASSERT_GE(w / g.cols, 2) << w << "x" << h << " n=" << n;
                }
                if (h >= 2) {
                    ASSERT_GE(h / g.rows, 2) << w << "x" << h << " n=" << n;
                }
            }
}

TEST(Grid, PictureWithoutRoomForACellIsRefused) {
    Restore restore;
    for (auto [w, h] : {std::pair{1, 1}, std::pair{1, 4000}, std::pair{4000, 1}}) {
        auto game = laid_game(w, h, 20);
        EXPECT_EQ(game->item_count, 0) << w << "x" << h;
        EXPECT_EQ(game->cols * game->rows, 0) << w << "x" << h;
    }
    auto narrow = laid_game(2, 4000, 20);
    EXPECT_EQ(narrow->cols, 1);
    EXPECT_GT(narrow->item_count, 1);
}

TEST(BlackAndWhite, PurePixelsMoveToTheNearGreysOthersStay) {
    Restore restore;
    Jig game(blank_game);
    game.picture = pattern_picture(3, 2);
    set_word(*game.picture, 0, 0, 0x000000);
    set_word(*game.picture, 1, 0, 0xFFFFFF);
    set_word(*game.picture, 2, 0, 0x010101);
    set_word(*game.picture, 0, 1, 0xFEFFFF);
    set_word(*game.picture, 1, 1, 0x7F123456);  // a top byte would read as a seam mark in the pieces
    set_word(*game.picture, 2, 1, 0xFF000000);
    const Colour old_black = near_black, old_white = near_white;
    near_black = 0x030201;  // unlike grey, so that a mix-up of colour value and pixel word shows
    near_white = 0xFDFEFC;
    game.replace_black_white();
    EXPECT_EQ(word_at(*game.picture, 0, 0), 0x010203u);
    EXPECT_EQ(word_at(*game.picture, 1, 0), 0xFCFEFDu);
    EXPECT_EQ(word_at(*game.picture, 2, 0), 0x010101u);
    EXPECT_EQ(word_at(*game.picture, 0, 1), 0xFEFFFFu);
    EXPECT_EQ(word_at(*game.picture, 1, 1), 0x123456u);
    EXPECT_EQ(word_at(*game.picture, 2, 1), 0x010203u);
    near_black = old_black;
    near_white = old_white;
}

class Stretch : public ::testing::Test {
protected:
    Restore restore;
    TempDir dir;
};

TEST_F(Stretch, LongerSideBecomesTheChosenSize) {
    struct Case {
        int32_t w, h, size, fitted_w, fitted_h;
    };
    const Case cases[] = {{200, 200, 300, 300, 300}, {1000, 500, 300, 300, 150}, {100, 200, 300, 150, 300},
                          {123, 45, 0, 123, 45},     {1, 1, 300, 300, 300}};
    for (const Case& c : cases) {
        const std::string file = dir.file("p.bmp");
        ASSERT_TRUE(write_bmp(file, c.w, c.h, grey_word));
        settings.stretch_size = c.size;
        Jig game(blank_game);
        ASSERT_EQ(game.stretch(file), 1);
        ASSERT_NE(game.picture, nullptr);
        EXPECT_EQ(game.pic_w, c.fitted_w) << c.w << "x" << c.h << " to " << c.size;
        EXPECT_EQ(game.pic_h, c.fitted_h) << c.w << "x" << c.h << " to " << c.size;
        EXPECT_GE(game.picture->width(), game.pic_w);
        EXPECT_GE(game.picture->height(), game.pic_h);
    }
}

TEST_F(Stretch, UnfittedPictureKeepsItsPixels) {
    const std::string file = dir.file("p.bmp");
    ASSERT_TRUE(write_bmp(file, 37, 11, pattern_word));
    settings.stretch_size = 0;
    Jig game(blank_game);
    ASSERT_EQ(game.stretch(file), 1);
    for (int32_t y = 0; y < 11; ++y)
        for (int32_t x = 0; x < 37; ++x) ASSERT_EQ(word_at(*game.picture, x, y) & 0xFFFFFFu, pattern_word(x, y));
}

TEST_F(Stretch, PictureTypeFollowsTheNameEnding) {
    for (const char* name : {"a.bmp", "b.BMP", "c.bMp"}) {
        ASSERT_TRUE(write_bmp(dir.file(name), 4, 4, grey_word));
        Jig game(blank_game);
        game.picture_type = 7;
        ASSERT_EQ(game.stretch(dir.file(name)), 1) << name;
        EXPECT_EQ(game.picture_type, 0) << name;
    }
    const std::string jpeg = repository_file("data/data/city.jpg");
    if (!std::filesystem::exists(jpeg)) GTEST_SKIP() << "no JPEG picture beside the sources";
    Jig game(blank_game);
    ASSERT_EQ(game.stretch(jpeg), 1);
    EXPECT_EQ(game.picture_type, 1);
}

TEST_F(Stretch, UnreadablePictureGivesZeroAndKeepsNothing) {
    std::FILE* f = std::fopen(dir.file("broken.bmp").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("BM this is not a picture", f);
    std::fclose(f);
    for (const std::string& file : {dir.file("missing.jpg"), dir.file("broken.bmp"), dir.file("p.png"),
                                    std::string("")}) {
        Jig game(blank_game);
        EXPECT_EQ(game.stretch(file), 0) << file;
        EXPECT_EQ(game.picture, nullptr) << file;
    }
}

TEST_F(Stretch, GameIsBuiltFromThePictureFileOrRefused) {
    ASSERT_TRUE(write_bmp(dir.file("wide.bmp"), 400, 300, grey_word));
    ASSERT_TRUE(write_bmp(dir.file("dot.bmp"), 1, 1, grey_word));
    ASSERT_TRUE(write_bmp(dir.file("thread.bmp"), 1, 4000, grey_word));
    settings.stretch_size = 0;
    settings.piece_num = 20;
    settings.ddraw = false;
    desk_images_create(640, 480);
    picture_path = dir.file("wide.bmp");
    {
        Jig game;
        EXPECT_EQ(game.item_count, 20);
        EXPECT_EQ(game.cols, 5);
        EXPECT_EQ(game.cut_count, 0);
        EXPECT_EQ(game.cells[19].owner, 19);
    }
    for (const char* refused : {"dot.bmp", "thread.bmp", "missing.bmp"}) {
        picture_path = dir.file(refused);
        Jig game;
        EXPECT_EQ(game.item_count, 0) << refused;
    }
    settings.stretch_size = 300;
    picture_path = dir.file("dot.bmp");
    {
        Jig enlarged;
        EXPECT_EQ(enlarged.item_count, 20);
        EXPECT_EQ(enlarged.pic_w, 300);
    }
    desk_images_destroy();
}
