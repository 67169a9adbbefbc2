// Trays: putting pieces in, the carousel and its fling, taking pieces out, closing, and the refusals of adding one.
#include "pieces/desk.h"
#include "play/state.h"
#include "support/desk_window.h"
#include "windows/companions.h"
#include "windows/tray.h"
#include "windows/tray_strip.h"

namespace {

using namespace testsupport;

uint32_t colour_of(int32_t id) { return (0x102030u + uint32_t(id) * 0x0A0B0Cu) & kWhite; }

class TrayTest : public DeskWindow {
protected:
    void SetUp() override {
        DeskWindow::SetUp();
        install_companions();
        settings.ddraw = true;
        Jig& g = new_blank_game();
        g.pic_w = g.pic_h = 80;
        g.cols = g.rows = 2;  // cells of 40: trays of 56-pixel cells, five to a tray
        for (int32_t i = 0; i < 8; ++i) {
            Piece& p = add_solid(g, 60 + 70 * (i % 4), 60 + 70 * (i / 4), 60, colour_of(i));
            p.grab_x = p.cx, p.grab_y = p.cy;
        }
        start_presenter(g);
    }
    static ws::Hwnd add() {
        const int32_t k = first_free_tray();
        tray_add();
        ws::test::pump();
        return k < 0 ? 0 : play.tray_window[k];
    }
    static Point tray_screen(int32_t k, Point client) { return ws::client_to_screen(play.tray_window[k], client); }
    // Puts item id into tray k as a drop at the tray's client x does.
    static void put(int32_t k, int32_t id, int32_t x) {
        play.current_game->items[id].hidden = 1;
        const Point p = ws::screen_to_client(play.game_window, tray_screen(k, {x, 10}));
        ws::send_message(play.tray_window[k], IDM_TRAY_PUT, uintptr_t(id), ws::make_lparam(p.x, p.y));
    }
    static void tray_mouse(int32_t k, uint32_t msg, int32_t x) {
        ws::test::mouse(msg, tray_screen(k, {x, 20}));
        ws::test::pump();
    }
    // Drags the piece at client x of tray k out and lets it go at a screen point.
    static void drag_out(int32_t k, int32_t x, Point screen) {
        tray_mouse(k, ws::WM_LBUTTONDOWN, x);
        ws::test::mouse(ws::WM_LBUTTONUP, screen);
        ws::test::pump();
    }
    static std::vector<int32_t> items_of(int32_t k) {
        return {trays.tray_items[k], trays.tray_items[k] + trays.tray_count[k]};
    }
    static std::string told() {
        std::string text;
        for (const auto& m : ws::test::messages()) text += m.text + "|";
        return text;
    }
};

// Right of the last piece appends, over a piece inserts before it; a carousel drag one cell to the right shows the
// last piece first; it and the one shown after it go out onto the desk where they are dropped.
TEST_F(TrayTest, AFullTrayScrolledToItsLastPieceGivesTwoOutSafely) {
    add();
    for (int32_t id = 0; id < 5; ++id) put(0, id, 999);
    ASSERT_TRUE(is_full(0));
    put(0, 5, trays.tray_cell + 5);
    EXPECT_EQ(items_of(0), (std::vector<int32_t>{0, 5, 1, 2, 3, 4}));
    EXPECT_EQ(ws::get_window_text(play.tray_window[0]), "トレイ<1>  6 ﾋﾟｰｽ");
    for (const uint32_t msg : {ws::WM_LBUTTONDOWN, ws::WM_MOUSEMOVE, ws::WM_LBUTTONUP})
        tray_mouse(0, msg, msg == ws::WM_LBUTTONDOWN ? 100 : 100 + trays.tray_cell);
    EXPECT_EQ(at(*ws::client_surface(play.tray_window[0]), trays.tray_cell / 2, trays.tray_cell / 2) & kWhite,
              colour_of(4));
    drag_out(0, 10, ws::client_to_screen(play.game_window, {150, 120}));
    drag_out(0, 10, ws::client_to_screen(play.game_window, {300, 200}));
    EXPECT_EQ(items_of(0), (std::vector<int32_t>{5, 1, 2, 3}));
    const MemDC& strip = *ws::client_surface(play.tray_window[0]);
    for (int32_t slot = 0; slot < 4; ++slot)
        EXPECT_EQ(at(strip, slot * trays.tray_cell + trays.tray_cell / 2, trays.tray_cell / 2) & kWhite,
                  colour_of(items_of(0)[size_t(slot)]));
    EXPECT_EQ((std::vector{shown(300, 200), shown(150, 120)}), (std::vector{colour_of(0), colour_of(4)}));
}

TEST_F(TrayTest, FlingKeepsTurningUntilTheNextPressAndOnlyThenTicks) {
    const ws::Hwnd tray = add();
    for (int32_t id = 0; id < 6; ++id) put(0, id, 5);
    EXPECT_FALSE(ws::kill_timer(tray, kTrayTimer));  // an idle tray has no timer running
    tray_mouse(0, ws::WM_LBUTTONDOWN, 200);
    for (int32_t x : {180, 150, 140}) {
        ws::test::advance(10);
        tray_mouse(0, ws::WM_MOUSEMOVE, x);
    }
    tray_mouse(0, ws::WM_LBUTTONUP, 140);
    EXPECT_EQ(trays.tray_speed[0], -30);  // 60 pixels left in 30 ms, per 15 ms tick
    const int32_t before = trays.tray_scroll[0];
    ws::test::advance(150);  // ten ticks
    EXPECT_EQ(trays.tray_scroll[0], (before + 10 * 30) % (6 * trays.tray_cell));
    tray_mouse(0, ws::WM_LBUTTONDOWN, 20);  // the next press stops it, and its timer with it
    EXPECT_FALSE(ws::kill_timer(tray, kTrayTimer));
}

// Taken out onto another tray, a piece leaves the desk alone; over no window at all, it lands where the player
// can reach it.
TEST_F(TrayTest, TakingOutGoesToAnotherTrayOrTheVisibleDesk) {
    add();
    const ws::Hwnd other = add();
    const Rect r = ws::get_window_rect(other);
    ws::move_window(other, r.left, r.top + 200, r.width(), r.height(), false);
    put(0, 4, 999);
    put(0, 5, 999);
    desk.view_x = 100, desk.view_y = 50;
    drag_out(0, 10, tray_screen(1, {20, 20}));
    EXPECT_EQ(items_of(1), std::vector<int32_t>{4});
    drag_out(0, 10, {5000, -3000});
    const Piece& p = *play.current_game->items[5].piece;
    EXPECT_EQ((Point{p.cx, p.cy}), (Point{desk.view_x + kClientW - 1, desk.view_y}));
}

// A tray holding pieces refuses to close; destroyed without a close (the run ending) the game's images stay with
// the game, twice over; the game's end closes every tray.
TEST_F(TrayTest, ClosingWaitsForEmptyTraysAndTheGameEndClosesThemAll) {
    const ws::Hwnd tray = add(), second = add();
    put(0, 1, 999);
    ws::send_message(tray, ws::WM_CLOSE, 0, 0);
    EXPECT_EQ(told() + ws::test::messages()[0].caption, "ピースを出してから閉じてください。|zelto 通知");
    EXPECT_TRUE(ws::is_window(tray));
    const int32_t images = DDBase::live_surfaces();
    EXPECT_TRUE(ws::destroy_window(second));
    EXPECT_FALSE(ws::destroy_window(second));
    EXPECT_EQ(DDBase::live_surfaces(), images);
    delete std::exchange(play.current_game, nullptr);
    EXPECT_FALSE(ws::is_window(tray));
    EXPECT_EQ(std::count(play.tray_window, play.tray_window + kTrayCount, 0), kTrayCount);
    EXPECT_EQ(DDBase::live_surfaces(), 0);
}

TEST_F(TrayTest, AddingRefusesWithoutPresenterGameOrFreeSlot) {
    for (int32_t k = 0; k < kTrayCount; ++k) ASSERT_NE(add(), 0);
    EXPECT_EQ(ws::get_window_text(play.tray_window[9]), "トレイ<10>");
    tray_add();  // an eleventh
    settings.ddraw = false;
    tray_add();
    settings.ddraw = true;
    delete std::exchange(play.current_game, nullptr);
    tray_add();
    EXPECT_EQ(told(), "これ以上のトレイは追加できません。|zeltorc.txtのddraw行をTRUEにしてください。|"
                      "ゲーム開始前はトレイを追加できません。|");
    EXPECT_EQ(std::count(play.tray_window, play.tray_window + kTrayCount, 0), kTrayCount);
}

}  // namespace
