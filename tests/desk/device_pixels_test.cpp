// The game window in device pixels on a high-density screen (its own CTest entry runs it with QT_SCALE_FACTOR=2):
// at 50 % each device pixel shows a desk pixel of its own, and at 100 % the pieces show the finer picture's own
// pixels, on both drawing paths, so a noise desk keeps its detail in every 2 x 2 block of device pixels.
#include <gtest/gtest.h>

#include "desk/display.h"
#include "desk/state.h"
#include "support/desk/games.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "puzzle/settings.h"
#include "ws/ddbase.h"

namespace {

using testsupport::at;

intptr_t painting_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    if (msg != ws::WM_PAINT) return ws::def_window_proc(hwnd, msg, wparam, lparam);
    desk_paint(hwnd);
    return 0;
}

void fill_noise(MemDC& s) {
    uint32_t seed = 7;
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = 0; x < s.width(); ++x) at(s, x, y) = (seed = seed * 1664525u + 1013904223u) >> 8;
}

class DevicePixels : public ::testing::TestWithParam<bool> {
protected:
    void TearDown() override {
        delete std::exchange(desk.presenter, nullptr);
        ws::test::reset();
    }
    // The game window of w x h client pixels, drawn in device pixels.
    static ws::Hwnd open_window(int32_t w, int32_t h) {
        ws::register_class({"DeviceGame", painting_proc, 0, ws::IDC_ARROW, ws::NO_BACKGROUND, ""});
        display.game_window = ws::create_window("DeviceGame", "", ws::WS_POPUP | ws::WS_VISIBLE, 0, 0, w, h, 0, 0);
        ws::use_device_pixels(display.game_window);
        return display.game_window;
    }
    testsupport::ResetGuard<reset_desk_state> guard_;
};

TEST_P(DevicePixels, HalfZoomAtRatioTwoShowsEveryDeskPixel) {
    const bool presenter = GetParam();
    const ws::Hwnd hwnd = open_window(60, 40);
    if (ws::device_scale(hwnd) == 1000) GTEST_SKIP() << "a screen of device pixel ratio 1";
    ASSERT_EQ(ws::device_scale(hwnd), 2000);
    const MemDC& shown = *ws::client_surface(hwnd);
    ASSERT_EQ((std::vector{shown.width(), shown.height()}), (std::vector{120, 80}));
    desk_images_create(200, 150);
    desk.zoom = 500, desk.view_x = 7, desk.view_y = 3;
    if (presenter) {
        desk.presenter = new DDBase(1);
        desk.presenter->init(hwnd);
        fill_noise(*desk.desk_back);  // the background as composed, without rendering the settings' own
        const Rect view{0, 0, 120, 80};
        dd_back(&view, 0, 0);
    } else {
        fill_noise(*desk.desk_image);
    }
    const MemDC& source = presenter ? *desk.desk_back : *desk.desk_image;
    ws::paint_at_once(hwnd, nullptr);
    int32_t unlike = 0, flat_blocks = 0;
    for (int32_t y = 0; y < 80; ++y)
        for (int32_t x = 0; x < 120; ++x) unlike += at(shown, x, y) != (at(source, 7 + x, 3 + y) & 0xFFFFFF);
    for (int32_t y = 0; y < 80; y += 2)
        for (int32_t x = 0; x < 120; x += 2)
            flat_blocks += at(shown, x, y) == at(shown, x + 1, y) && at(shown, x, y) == at(shown, x, y + 1);
    EXPECT_EQ(unlike, 0);
    EXPECT_EQ(flat_blocks, 0);
}

// At 100 % each piece is drawn from the finer picture: around every piece's centre the device pixels are the finer
// picture's own, those round the centre of the piece's square, on both paths, with the view away from the desk's
// corner.
TEST_P(DevicePixels, FullSizeAtRatioTwoShowsTheFinerPicture) {
    const bool presenter = GetParam();
    const ws::Hwnd hwnd = open_window(160, 120);
    if (ws::device_scale(hwnd) == 1000) GTEST_SKIP() << "a screen of device pixel ratio 1";
    ASSERT_EQ(ws::device_scale(hwnd), 2000);
    settings.kage = false;
    desk_images_create(200, 150);
    desk.view_x = 10, desk.view_y = 6;
    const Point centres[] = {{50, 40}, {130, 40}, {50, 110}, {130, 110}};
    Jig& game = *(display.current_game = testsupport::finer_game(centres));
    if (presenter) {
        desk.presenter = new DDBase(4);
        desk.presenter->init(hwnd);
        desk.presenter->table_count = 4;
        for (int32_t k = 0; k < 4; ++k) game.items[k].piece->hand_over_view(k);
    }
    const Rect whole{0, 0, 200, 150};
    disp(game, &whole);
    ws::paint_at_once(hwnd, nullptr);
    const MemDC& shown = *ws::client_surface(hwnd);
    for (int32_t k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        // The block of 16 x 16 device pixels round the piece's centre, and round its square's centre in the finer
        // picture (the square's centre is the cell's, half a pixel down in a cell 45 high).
        const int32_t bx = 2 * (centres[k].x - desk.view_x) - 8, by = 2 * (centres[k].y - desk.view_y) - 8;
        const int32_t fx = 2 * ((k % 2) * 60 + 30) - 8, fy = 2 * ((k / 2) * 45 + 23) - 8;
        int32_t flat = 0;
        for (int32_t y = 0; y < 16; y += 2)
            for (int32_t x = 0; x < 16; x += 2)
                flat += at(shown, bx + x, by + y) == at(shown, bx + x + 1, by + y) &&
                        at(shown, bx + x, by + y) == at(shown, bx + x, by + y + 1);
        EXPECT_EQ(testsupport::matching_words(shown, bx, by, *game.fine_picture, fx, fy, 16), 256);
        EXPECT_EQ(flat, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, DevicePixels, ::testing::Values(false, true));

}  // namespace
