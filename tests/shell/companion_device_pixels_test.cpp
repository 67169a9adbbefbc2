// The guide and the picture list on a screen of device pixel ratio 2 (their own CTest entry runs this with
// QT_SCALE_FACTOR=2): a picture twice the size of its client-pixel thumbnail shows every one of its pixels on the
// window's surface, while the layout (the guide's overview frame, the list's selection frame) keeps its client
// pixels, each now a 2 x 2 block; the list's buttons are drawn in device pixels.
#include <gtest/gtest.h>

#include <thread>

#include "play/companions.h"
#include "play/state.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"
#include "support/ws/surfaces.h"
#include "windows/guide.h"
#include "windows/viewer.h"
#include "windows/viewer_state.h"

namespace {

using testsupport::at;

// Pixels of `area` of `shown` that are not the picture's own pixel there.
int32_t unlike(const MemDC& shown, Rect area) {
    int32_t n = 0;
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x) n += at(shown, x, y) != testsupport::pattern_word(x, y);
    return n;
}

class CompanionsAtRatioTwo : public ::testing::Test {
protected:
    void SetUp() override {
        // Framed and shown, so that the layer knows what frame the guide's outer size must add.
        ws::register_class({"DeviceParent", ws::def_window_proc});
        parent_ = ws::create_window("DeviceParent", "", ws::WS_OVERLAPPEDWINDOW | ws::WS_VISIBLE, 0, 0, 300, 250, 0,
                                    0);
        display.game_window = parent_;
    }
    void TearDown() override { ws::test::reset(); }  // closing the windows ends the list's loader
    testsupport::Guard guard_;
    testsupport::TempDir dir_;
    ws::Hwnd parent_ = 0;
};

// A 400 x 300 picture fits the guide at 200 x 150 client pixels: 400 x 300 device pixels, the picture itself.
TEST_F(CompanionsAtRatioTwo, GuideShowsThePicturesOwnPixels) {
    ASSERT_TRUE(testsupport::write_picture(dir_.file("p.bmp"), 400, 300, testsupport::pattern_word));
    play.picture_path = dir_.file("p.bmp");
    const ws::Hwnd guide = guide_create(parent_);
    if (ws::device_scale(guide) == 1000) GTEST_SKIP() << "a screen of device pixel ratio 1";
    ASSERT_EQ(ws::device_scale(guide), 2000);
    ws::paint_at_once(guide, nullptr);
    const MemDC& shown = *ws::client_surface(guide);
    ASSERT_EQ((std::vector{shown.width(), shown.height()}), (std::vector{398, 298}));  // the client is 199 x 149
    EXPECT_EQ(unlike(shown, {0, 0, shown.width(), shown.height()}), 0);
    // The overview fills the whole surface; its frame's left side is two device pixels wide.
    play.f1_down = 1;
    ws::paint_at_once(guide, nullptr);
    EXPECT_EQ((std::vector{at(shown, 1, 10), at(shown, 2, 10), at(shown, shown.width() - 1, shown.height() - 1)}),
              (std::vector<uint32_t>{0x00FF00, 0xDCDCDC, 0xDCDCDC}));
}

// A 160 x 160 picture is the list's 80 x 80 thumbnail in device pixels: inside the slot's frame (two device pixels
// wide, left and right) the list shows the picture itself.
TEST_F(CompanionsAtRatioTwo, ListShowsThePicturesOwnPixels) {
    ASSERT_TRUE(testsupport::write_picture(dir_.file("p.bmp"), 160, 160, testsupport::pattern_word));
    play.view_folder = dir_.string() + "/";
    play.view_title = kViewBackground;
    const ws::Hwnd list = viewer_create(parent_);
    if (ws::device_scale(list) == 1000) GTEST_SKIP() << "a screen of device pixel ratio 1";
    for (int32_t k = 0; k < 5000 && viewer.loading; ++k)
        ws::test::advance(100), std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(viewer.thumbs.size(), 1u);
    ws::paint_at_once(list, nullptr);
    const MemDC& shown = *ws::client_surface(list);
    EXPECT_EQ(unlike(shown, {2, 2, 158, 158}), 0);
    const uint32_t blue = 0x0000FF;  // the frame's word (0x00RRGGBB)
    EXPECT_EQ((std::vector{at(shown, 1, 80), at(shown, 160, 80), at(shown, 161, 80)}),
              (std::vector{blue, blue, blue}));
    // The left arrow (22 x 17 client pixels at 174, 83) is drawn in device pixels: its slanting head steps by
    // single device pixels, so not every 2 x 2 block of it is one colour, as it would be if it were doubled.
    int32_t mixed = 0;
    for (int32_t y = 166; y < 166 + 34; y += 2)
        for (int32_t x = 348; x < 348 + 44; x += 2)
            mixed += !(at(shown, x, y) == at(shown, x + 1, y) && at(shown, x, y) == at(shown, x, y + 1) &&
                       at(shown, x, y) == at(shown, x + 1, y + 1));
    EXPECT_GT(mixed, 4);
}

}  // namespace
