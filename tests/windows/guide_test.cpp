// The guide window: opened after cutting, fitted and refitted, the held group's outline, the overview of the
// desk, and the close box that lets the menu open it again.
#include "pieces/piece.h"
#include "play/companions.h"
#include "play/state.h"
#include "shell/state.h"
#include "windows/guide_state.h"
#include "windows/windows_support.h"

namespace {

using namespace windowstest;

int32_t pixels_of(Colour colour, int32_t min_x = 0) {
    MemDC& s = *ws::client_surface(::play.guide_window);
    int32_t n = 0;
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = min_x; x < s.width(); ++x) n += s.get_pixel(x, y) == colour;
    return n;
}

class GuideTest : public CompanionTest {
protected:
    void SetUp() override {
        CompanionTest::SetUp();
        settings.image = true;
        jigwintest::write_picture("wide.bmp", 400, 100);
        play("wide.bmp");
        ASSERT_NE(::play.guide_window, 0);  // opened once the last piece was cut
    }
    void TearDown() override {
        ::play.shift_down = ::play.f1_down = 0;
        CompanionTest::TearDown();
    }
    static void resize(int32_t w, int32_t h) {
        ws::send_message(::play.guide_window, ws::WM_SIZE, ws::SIZE_RESTORED, ws::make_lparam(w, h));
    }
};

TEST_F(GuideTest, TheHeldGroupIsOutlinedAsTheGuideSettingAndShiftSay) {
    ::play.current_game->holding = 1;
    struct Case { int32_t guide, shift; bool outlined; };
    for (const Case c : {Case{0, 1, false}, Case{1, 0, true}, Case{2, 0, false}, Case{2, 1, true}}) {
        settings.guide = c.guide;
        ::play.shift_down = c.shift;
        ws::paint_at_once(::play.guide_window, nullptr);
        EXPECT_EQ(pixels_of(shell.line_color) > 0, c.outlined) << c.guide << " " << c.shift;
    }
    ::play.current_game->holding = 0;
    ws::paint_at_once(::play.guide_window, nullptr);
    EXPECT_EQ(pixels_of(shell.line_color), 0);
}

TEST_F(GuideTest, TheOverviewShowsAFarGroupAndTheShownDesk) {
    ::play.f1_down = 1;
    ::play.current_game->items[0].piece->cx = 20000;  // far to the right of the shown part of the desk
    ws::paint_at_once(::play.guide_window, nullptr);
    const int32_t w = ws::get_client_rect(::play.guide_window).width();
    EXPECT_GT(pixels_of(0xFF0000, w - 20), 0);  // its dot at the right edge
    EXPECT_GT(pixels_of(0x00FF00), 0);          // the frame of the shown part
    resize(4, 4);                               // too small for a dot: still drawn without a fault
    ws::paint_at_once(::play.guide_window, nullptr);
    end_game();                                 // no game (which closes the guide): only the frame
    companions.open_guide(::play.game_window);
    ws::paint_at_once(::play.guide_window, nullptr);
    EXPECT_EQ(pixels_of(0xFF0000), 0);
    EXPECT_GT(pixels_of(0x00FF00), 0);
}

// The longer side follows the window; the close box forgets the window, so the menu can open it again.
TEST_F(GuideTest, TheFittingFollowsTheWindowAndTheCloseBoxLetsTheMenuOpenItAgain) {
    EXPECT_EQ(std::make_pair(guide.thumb_w, guide.thumb_h), std::make_pair(200, 50));
    resize(300, 40);
    EXPECT_EQ(std::make_pair(guide.thumb_w, guide.thumb_h), std::make_pair(300, 75));
    const int32_t before = MemDC::live_objects();
    ws::send_message(::play.guide_window, ws::WM_CLOSE, 0, 0);
    EXPECT_EQ(::play.guide_window, 0);
    EXPECT_LT(MemDC::live_objects(), before);
    EXPECT_NE(companions.open_guide(::play.game_window), 0);
    EXPECT_NE(::play.guide_window, 0);
}

}  // namespace
