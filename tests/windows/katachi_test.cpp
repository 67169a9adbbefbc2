// The piece shape chooser: dragging exactly the picked point, nothing without the button, "キャンセル" putting
// every template back, a second opening reusing the first window, and the shapes the next game is cut with.
#include <cstring>

#include "play/state.h"
#include "puzzle/lines.h"
#include "puzzle/state.h"
#include "windows/katachi.h"
#include "windows/windows_support.h"

namespace {

using namespace windowstest;

class KatachiTest : public CompanionTest {
protected:
    void SetUp() override {
        CompanionTest::SetUp();
        play("pic.bmp");
        std::memcpy(start_, settings.line, sizeof start_);
        std::memcpy(shapes_, puzzle.unit_shapes, sizeof shapes_);
        hwnd_ = open_katachi(::play.game_window);
        ASSERT_NE(hwnd_, 0);
    }
    void mouse(uint32_t msg, int32_t x, int32_t y, uintptr_t keys = 0) {
        ws::send_message(hwnd_, msg, keys, ws::make_lparam(x, y));
    }
    // Drags point 1 of the selected template (at (24, -12) in every template) by (dx, dy).
    void drag_point1(int32_t dx, int32_t dy) {
        mouse(ws::WM_LBUTTONDOWN, 110 + 24, 110 - 12);
        mouse(ws::WM_MOUSEMOVE, 110 + 24 + dx, 110 - 12 + dy, ws::MK_LBUTTON);
        mouse(ws::WM_LBUTTONUP, 110 + 24 + dx, 110 - 12 + dy);
    }
    bool same_shapes() const { return std::memcmp(shapes_, puzzle.unit_shapes, sizeof shapes_) == 0; }
    Point start_[kLineTemplates][kLinePointsMax];
    UnitShape shapes_[unit_shape_count];
    ws::Hwnd hwnd_ = 0;
};

TEST_F(KatachiTest, ADragMovesOnlyThePickedPointWhileTheButtonIsHeld) {
    mouse(ws::WM_LBUTTONDOWN, 450, 65);  // "  ライン２"
    mouse(ws::WM_LBUTTONDOWN, 110 + 24, 110 - 12);
    mouse(ws::WM_MOUSEMOVE, 110 + 24 + 16, 110 - 12 + 22, ws::MK_LBUTTON);  // and the release is missed
    Point want[kLineTemplates][kLinePointsMax];
    std::memcpy(want, start_, sizeof want);
    want[1][1] = {24 + 16, -12 + 22};
    EXPECT_EQ(std::memcmp(want, settings.line, sizeof want), 0);
    mouse(ws::WM_MOUSEMOVE, 300, 300);  // no button: nothing follows, and the drag is over
    mouse(ws::WM_MOUSEMOVE, 310, 310, ws::MK_LBUTTON);
    EXPECT_EQ(std::memcmp(want, settings.line, sizeof want), 0);
    EXPECT_EQ(open_katachi(::play.game_window), hwnd_);  // the open one, not a second
}

TEST_F(KatachiTest, CancelRestoresEveryTemplateAndClosingRebuildsTheShapes) {
    for (int32_t label_y : {45, 65, 85, 105}) {
        mouse(ws::WM_LBUTTONDOWN, 450, label_y);
        drag_point1(5, 7);
    }
    mouse(ws::WM_LBUTTONDOWN, 450, 310);  // "  キャンセル"
    EXPECT_FALSE(ws::is_window(hwnd_));
    EXPECT_EQ(std::memcmp(start_, settings.line, sizeof start_), 0);
    EXPECT_TRUE(same_shapes());

    hwnd_ = open_katachi(::play.game_window);
    drag_point1(10, 30);
    ws::send_message(hwnd_, ws::WM_CLOSE, 0, 0);
    EXPECT_FALSE(same_shapes());  // the next game is cut with the new shape
    ws::test::drop_files(::play.game_window, {"pic.bmp"}, {5, 5});  // a new game in the same window
    ws::test::pump();
    ASSERT_NE(::play.current_game, nullptr);
    EXPECT_EQ(::play.current_game->cut_count, ::play.current_game->item_count);
}

}  // namespace
