// The background styles: the single colour with its chooser, the repeated picture following the view origin,
// the centred picture, and pictures that cannot be read or change on disk.
#include <gtest/gtest.h>

#include "display_support.h"

namespace {

using namespace desktest;

// A picture whose every pixel differs from its neighbours.
uint32_t picture_pixel(int32_t x, int32_t y) { return 0x010203u + 0x020000u * uint32_t(x) + 0x0300u * uint32_t(y); }

class Background : public DeskWindow {
protected:
    void use_picture(int32_t w, int32_t h, int32_t style) {
        write_bmp(dir.file("back.bmp"), w, h, picture_pixel);
        settings.back_img = dir.file("back.bmp");
        settings.back_type = style;
        pic_w = w, pic_h = h;
    }
    // Every desk_back pixel is the picture at the pattern position that starts at (ox, oy).
    void expect_pattern(int32_t ox, int32_t oy) {
        for (int32_t y = 0; y < desk_height; ++y)
            for (int32_t x = 0; x < desk_width; ++x)
                ASSERT_EQ(at(*desk_back, x, y), picture_pixel((x + ox) % pic_w, (y + oy) % pic_h)) << x << "," << y;
    }
    TempDir dir;
    int32_t pic_w = 0, pic_h = 0;
};

TEST_F(Background, SingleColourFillsBothImages) {
    settings.back_color = 0x336699;
    EXPECT_EQ(backrgb(0, 0), 1);
    EXPECT_EQ(at(*desk_back, 0, 0), 0x996633u);
    EXPECT_EQ(at(*desk_back, kDeskW - 1, kDeskH - 1), 0x996633u);
    EXPECT_EQ(top_down(*desk_image), top_down(*desk_back));
    EXPECT_TRUE(ws::test::dialogs().empty());
}

TEST_F(Background, ColourChooserStartsAtTheColourAndACancelChangesNothing) {
    settings.back_color = 0x336699;
    backrgb(0, 0);
    ws::test::push_colour_answer(-1);
    at(*desk_back, 3, 3) = 0x123456;
    EXPECT_EQ(backrgb(1, 1), 0);
    EXPECT_EQ(settings.back_color, 0x336699u);
    EXPECT_EQ(at(*desk_back, 3, 3), 0x123456u) << "a cancelled choice renders nothing";

    ws::test::push_colour_answer(0x0000FF);
    EXPECT_EQ(backrgb(1, 0), 1);
    EXPECT_EQ(settings.back_color, 0x0000FFu);
    EXPECT_EQ(at(*desk_image, 3, 3), 0xFF0000u);
    ASSERT_EQ(ws::test::dialogs().size(), 2u);
    EXPECT_EQ(ws::test::dialogs()[1].kind, "colour");
    EXPECT_EQ(ws::test::dialogs()[1].owner, game_window);
}

TEST_F(Background, RedrawLaysTheGameOverTheNewBackground) {
    Jig& g = new_game();
    add_solid(g, 50, 50, 10, 0x00FF00);
    settings.back_color = 0x0000FF;
    backrgb(0, 1);
    EXPECT_EQ(at(*desk_image, 50, 50), 0x00FF00u);
    EXPECT_EQ(at(*desk_image, 30, 30), 0xFF0000u);
    backrgb(0, 0);
    EXPECT_EQ(at(*desk_image, 50, 50), 0xFF0000u) << "without redraw the desk is the bare background";
}

TEST_F(Background, RepeatedPictureStartsWhereTheViewOriginFallsInIt) {
    use_picture(100, 7, IDM_BACK_IMG_REN);
    view_x = -5;
    backimg(0);
    EXPECT_EQ(at(*desk_back, 0, 0), picture_pixel(95, 0)) << "each row starts 95 pixels into the picture";
    EXPECT_EQ(at(*desk_back, 5, 3), picture_pixel(0, 3));
    expect_pattern(95, 0);
    EXPECT_EQ(top_down(*desk_image), top_down(*desk_back));
}

TEST_F(Background, RepeatedPictureFollowsTheViewAndTheDrag) {
    use_picture(10, 7, IDM_BACK_IMG_REN);
    view_x = 20, view_y = -9;
    scroll_dx = 3;
    backimg(0);
    expect_pattern(3, 5);
}

TEST_F(Background, CentredPictureLiesInTheMiddleOfWhatTheWindowShows) {
    use_picture(10, 7, IDM_BACK_IMG_CEN);
    settings.back_color = 0x0000FF;
    backimg(0);
    const int32_t x0 = kClientW / 2 - 5, y0 = kClientH / 2 - 3;
    for (int32_t y = 0; y < 7; ++y)
        for (int32_t x = 0; x < 10; ++x) ASSERT_EQ(at(*desk_back, x0 + x, y0 + y), picture_pixel(x, y));
    EXPECT_EQ(at(*desk_back, x0 - 1, y0), 0xFF0000u);
    EXPECT_EQ(at(*desk_back, x0 + 10, y0), 0xFF0000u);
    EXPECT_EQ(at(*desk_back, x0, y0 + 7), 0xFF0000u);

    view_x = 10, view_y = 4, scroll_dx = 1, scroll_dy = 1;
    backimg(0);
    EXPECT_EQ(at(*desk_back, x0 + 11, y0 + 5), picture_pixel(0, 0));
    EXPECT_EQ(at(*desk_back, x0, y0), 0xFF0000u);
}

TEST_F(Background, ColourStyleOfBackimgNeverReadsThePicture) {
    settings.back_type = IDM_BACK_RGB;
    settings.back_img = "none";
    settings.back_color = 0x00FF00;
    EXPECT_EQ(backimg(0), 1);
    EXPECT_EQ(at(*desk_back, 100, 100), 0x00FF00u);
    EXPECT_TRUE(ws::test::messages().empty());
}

TEST_F(Background, UnreadablePictureIsToldOnceAndLeavesTheColour) {
    settings.back_img = dir.file("missing.bmp");
    settings.back_type = IDM_BACK_IMG_REN;
    settings.back_color = 0x00FF00;
    EXPECT_EQ(backimg(0), 1);
    EXPECT_EQ(backimg(0), 1);
    settings.back_type = IDM_BACK_IMG_CEN;
    backimg(0);
    EXPECT_EQ(at(*desk_back, 0, 0), 0x00FF00u);
    EXPECT_EQ(at(*desk_back, kDeskW / 2, kDeskH / 2), 0x00FF00u);
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text.rfind("画像が読み込めません。", 0), 0u);

    write_bmp(settings.back_img, 4, 4, picture_pixel);  // the file appears: it is read now
    backimg(0);
    EXPECT_EQ(at(*desk_back, kClientW / 2 - 2, kClientH / 2 - 2), picture_pixel(0, 0));
}

TEST_F(Background, ChangedPictureFileIsReadAgain) {
    use_picture(10, 7, IDM_BACK_IMG_REN);
    backimg(0);
    expect_pattern(0, 0);
    write_bmp(settings.back_img, 6, 5, [](int32_t x, int32_t y) { return picture_pixel(x + 50, y); });
    backimg(0);
    EXPECT_EQ(at(*desk_back, 6, 0), picture_pixel(50, 0));
    EXPECT_EQ(at(*desk_back, 1, 5), picture_pixel(51, 0));
}

TEST_F(Background, PresenterWithoutGameShowsTheNewBackgroundAtOnce) {
    Jig& g = new_game();
    add_solid(g, 50, 50, 10, 0x00FF00);
    start_presenter(g);
    delete current_game;
    current_game = nullptr;
    settings.back_color = 0x0000FF;
    backrgb(0, 1);
    window_picture();  // the window shows the back buffer when it is painted
    EXPECT_EQ(window_at(50, 50), 0xFF0000u);
}

}  // namespace
