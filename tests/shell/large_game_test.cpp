// A game of more than a thousand pieces: laid on a desk grown for it, every piece wholly on the desk and spread
// over all of it, with no whole desk image beside the presenter; the next game of a few pieces gets the desk of its
// own size back.
#include <numbers>

#include "desk/display.h"
#include "desk/state.h"
#include "pieces/desk.h"
#include "shell/shell_test.h"

using namespace shelltest;

namespace {

using LargeGame = SaveTest;

TEST_F(LargeGame, IsSpreadWhollyOverADeskGrownForItAndTheDeskComesBack) {
    const Jig& g = cut_game("big.bmp", 1200, 900, 2000);
    ASSERT_EQ(std::tuple(g.cols, g.rows, g.pic_w, g.pic_h, g.cut_count), std::tuple(52, 39, 1196, 897, 2028));
    const int32_t own_w = ws::screen_width(), own_h = ws::screen_height();
    // 1196 x 897 times 1.35 each way.
    EXPECT_EQ(std::pair(desk.desk_width, desk.desk_height), std::pair(std::max(own_w, 1614), std::max(own_h, 1210)));
    EXPECT_EQ(desk.desk_image->width(), desk.desk_width) << "the plain path draws the whole desk";
    int32_t quarter[4] = {};
    for (int32_t i = 0; i < g.item_count; ++i) {
        const Rect& r = g.items[size_t(i)].piece->rect;
        ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= desk.desk_width && r.bottom <= desk.desk_height) << i;
        const Piece& p = *g.items[size_t(i)].piece;
        ++quarter[(p.cx >= desk.desk_width / 2) + 2 * (p.cy >= desk.desk_height / 2)];
    }
    for (int32_t q : quarter) EXPECT_GT(q, g.item_count / 5) << "heaped: " << q << " of " << g.item_count;
    // Laid in rows, each piece takes twice its 23-pixel cell each way: the desk is twice the picture and a cell.
    settings.seiretu = true;
    const Jig& rows = cut_game("big.bmp", 0, 0, 2000);
    EXPECT_EQ(std::pair(desk.desk_width, desk.desk_height), std::pair(2 * 1196 + 46, 2 * 897 + 46));
    const Rect& last = rows.items[size_t(rows.item_count - 1)].piece->rect;
    EXPECT_TRUE(last.right <= desk.desk_width && last.bottom <= desk.desk_height);
    settings.seiretu = false;
    // The presenter composes the window itself: the whole desk image is made only for an export.
    settings.ddraw = true;
    cut_game("big.bmp", 0, 0, 2000);
    EXPECT_EQ(std::pair(desk.desk_image->width(), desk.desk_image->height()), std::pair(1, 1));
    redraw_all_gdi();
    EXPECT_EQ(std::pair(desk.desk_image->width(), desk.desk_image->height()), std::pair(desk.desk_width, desk.desk_height));
    cut_game("small.bmp", 64, 64, 4);
    EXPECT_EQ(std::pair(desk.desk_width, desk.desk_height), std::pair(own_w, own_h));
    EXPECT_EQ(desk.desk_image->width(), own_w);
    EXPECT_FALSE(display.desk_grown);
}

}  // namespace
