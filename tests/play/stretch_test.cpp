// Fitting a picture file for a new game: the fitted picture's size and content, picture types, unusable pictures,
// and the new game laid out from the picture file.
#include <gtest/gtest.h>

#include <fstream>

#include "pieces/desk.h"
#include "play/jig.h"
#include "play/state.h"
#include "puzzle/fit.h"
#include "support/cases.h"
#include "support/puzzle/games.h"
#include "support/temp_dir.h"
#include "ws/ws.h"

namespace {

using testsupport::at;

// The longer side becomes the chosen size (nearest pixels when enlarged); size 0 keeps the picture as it is. Kept
// or enlarged, every source pixel lands on the middle of its block of the fitted picture. Names ending in bmp (any
// case) are type 0, JPEG files 1, the newer formats 2; files missing, broken, of an unknown kind or unnamed give no picture, nor does one
// too thin to cut. A new game is built from the picture file, or refused when it cannot be read, is too thin or
// has no room for a cell; pure white in it is moved to the near white.
TEST(Stretch, FittedPicturesPictureTypesUnusableFilesAndTheNewGame) {
    testsupport::ResetGuard<reset_play_state> guard;
    testsupport::TempDir dir;
    // The fitted sizes, those refused for slivers among them, are in data/fitted.txt.
    for (const testsupport::Fields& k : testsupport::read_cases("play/data/fitted.txt")) {
        const int32_t w = std::stoi(k[0]), h = std::stoi(k[1]), size = std::stoi(k[2]), fitted_w = std::stoi(k[3]),
                      fitted_h = std::stoi(k[4]);
        SCOPED_TRACE(testing::Message() << w << "x" << h << " to " << size);
        ASSERT_TRUE(testsupport::write_picture(dir.file("p.bmp"), w, h, testsupport::pattern_word));
        settings.stretch_size = size;
        ws::test::reset();
        Jig game(blank_game);
        EXPECT_EQ(game.stretch(dir.file("p.bmp")), fitted_w ? 1 : 0);
        std::vector<std::string> told, refused{"画像が読み込めません。\n(細長すぎてピースに切り分けられない)|glapi"};
        for (const auto& m : ws::test::messages()) told.push_back(m.text + "|" + m.caption);
        EXPECT_EQ(told, fitted_w ? std::vector<std::string>{} : refused);
        EXPECT_EQ((std::vector{game.pic_w, game.pic_h, int32_t(game.picture != nullptr)}),
                  (std::vector{fitted_w, fitted_h, int32_t(fitted_w > 0)}));
        if (!fitted_w) continue;
        EXPECT_EQ(game.picture_type, 0);
        ASSERT_TRUE(game.picture->width() >= game.pic_w && game.picture->height() >= game.pic_h);
        for (int32_t y = 0; fitted_w >= w && y < std::min(h, 50); ++y)
            for (int32_t x = 0; x < std::min(w, 50); ++x) {
                const int32_t fx = (2 * x + 1) * fitted_w / (2 * w), fy = (2 * y + 1) * fitted_h / (2 * h);
                ASSERT_EQ(at(*game.picture, fx, fy) & 0xFFFFFF, testsupport::pattern_word(x, y)) << x << "," << y;
            }
    }
    settings.stretch_size = 300;  // p.bmp is left 1000 x 23
    const auto grey_word = [](int32_t x, int32_t y) {
        return x == 3 && y == 2 ? 0xFFFFFFu : 0x404040u + uint32_t(x + y) % 16;
    };
    std::ofstream(dir.file("broken.bmp")) << "BM this is not a picture";
    for (const char* name : {"a.bmp", "b.BMP", "c.bMp", "wide.bmp"})
        ASSERT_TRUE(testsupport::write_picture(dir.file(name), name[0] == 'w' ? 400 : 4, name[0] == 'w' ? 300 : 4,
                                               grey_word));
    ASSERT_TRUE(testsupport::write_picture(dir.file("dot.bmp"), 1, 1, grey_word));
    for (const testsupport::Fields& k : testsupport::read_cases("play/data/picture_types.txt")) {
        const std::string file = k[0] == "-" ? "" : k[0][0] == '@' ? dir.file(k[0].substr(1)) : ZELTO_SOURCE_DIR + k[0];
        const int32_t type = std::stoi(k[1]);
        Jig game(blank_game);
        game.picture_type = 7;
        EXPECT_EQ(game.stretch(file), type >= 0 ? 1 : 0) << file;
        EXPECT_EQ(game.picture == nullptr, type < 0) << file;
        EXPECT_TRUE(type < 0 || game.picture_type == type) << file;
    }
    settings.piece_num = 20;
    settings.ddraw = false;
    desk_images_create(640, 480);
    for (const testsupport::Fields& k : testsupport::read_cases("play/data/new_games.txt")) {
        const std::string file = k[0];
        const int32_t stretch = std::stoi(k[1]), items = std::stoi(k[2]), pic_w = std::stoi(k[3]);
        settings.stretch_size = stretch;
        play.picture_path = dir.file(file);
        Jig game(play.picture_path);
        lay_out(game);
        EXPECT_EQ((std::vector{game.item_count, game.cut_count}), (std::vector{items, 0})) << file;
        EXPECT_TRUE(items == 0 || (game.pic_w == pic_w && game.cells[items - 1].owner == items - 1)) << file;
        EXPECT_TRUE(pic_w != 400 || at(*game.picture, 3, 2) == colour_to_word(desk.near_white)) << file;
    }
    desk_images_destroy();
}

// On a screen of device pixel ratio 2 (the device_pixels_play entry runs this), a file with more pixels than the
// fitted picture keeps is fitted a second time, at twice the size, for the finer cut: nearest pixels, its pure
// black and white moved to the near words. A file with no more pixels than the fitted picture gets none.
TEST(Stretch, AFileWithMorePixelsGetsAFinerPicture) {
    if (ws::screen_device_scale() == 1000) GTEST_SKIP() << "a screen of device pixel ratio 1";
    testsupport::ResetGuard<reset_play_state> guard;
    testsupport::TempDir dir;
    // Blocks of 2 x 2 pixels of one word each, some pure white or black, so that any pixel of a block stands for it.
    const auto block = [](int32_t x, int32_t y) {
        const int32_t k = x / 2 + 7 * (y / 2);
        return k % 5 == 0 ? 0xFFFFFFu : k % 7 == 0 ? 0u : testsupport::pattern_word(x / 2, y / 2);
    };
    ASSERT_TRUE(testsupport::write_picture(dir.file("big.bmp"), 400, 300, block));
    ASSERT_TRUE(testsupport::write_picture(dir.file("small.bmp"), 100, 75, block));
    settings.stretch_size = 100;
    Jig big(dir.file("big.bmp")), small(dir.file("small.bmp"));
    EXPECT_EQ(small.fine_picture, nullptr);
    ASSERT_NE(big.fine_picture, nullptr);
    EXPECT_EQ((std::vector{big.fine_picture->width(), big.fine_picture->height(), big.fine_scale}),
              (std::vector{200, 150, 2000}));
    const uint32_t black = colour_to_word(desk.near_black), white = colour_to_word(desk.near_white);
    for (int32_t y = 0; y < 150; ++y)
        for (int32_t x = 0; x < 200; ++x) {
            const uint32_t file = block(2 * x, 2 * y);
            const uint32_t want = file == 0 ? black : file == 0xFFFFFFu ? white : file;
            ASSERT_EQ(at(*big.fine_picture, x, y), want) << x << "," << y;
        }
}

}  // namespace
