// Trays: putting pieces in, the carousel and its fling, taking pieces out, closing, and the refusals of adding one.
#include "pieces/desk.h"
#include "play/state.h"
#include "support/desk_window.h"
#include "windows/companions.h"
#include "windows/tray.h"
#include "windows/tray_strip.h"

namespace {

using namespace testsupport;

uint32_t colour_of(int32_t id) { return 0x102030u + uint32_t(id) * 0x0A0B0Cu; }

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
    ws::Hwnd add() {
        const int32_t k = first_free_tray();
        tray_add();
        ws::test::pump();
        return k < 0 ? 0 : play.tray_window[k];
    }
    static Point screen(Point client) { return ws::client_to_screen(play.game_window, client); }
    Point tray_screen(int32_t k, Point client) { return ws::client_to_screen(play.tray_window[k], client); }
    // Puts item id into tray k as a drop at the tray's client x does.
    void put(int32_t k, int32_t id, int32_t x) {
        play.current_game->items[id].hidden = 1;
        const Point p = ws::screen_to_client(play.game_window, tray_screen(k, {x, 10}));
        ws::send_message(play.tray_window[k], IDM_TRAY_PUT, uintptr_t(id), ws::make_lparam(p.x, p.y));
    }
    void tray_mouse(int32_t k, uint32_t msg, Point client) {
        ws::test::mouse(msg, tray_screen(k, client));
        ws::test::pump();
    }
    // Drags the piece at client x of tray k out and lets it go at a screen point.
    void drag_out(int32_t k, int32_t x, Point screen) {
        tray_mouse(k, ws::WM_LBUTTONDOWN, {x, 20});
        ws::test::mouse(ws::WM_LBUTTONUP, screen);
        ws::test::pump();
    }
    uint32_t tray_pixel(int32_t k, int32_t slot) {
        return at(*ws::client_surface(play.tray_window[k]), slot * trays.tray_cell + trays.tray_cell / 2,
                  trays.tray_cell / 2) &
               kWhite;
    }
    std::vector<int32_t> items_of(int32_t k) {
        return {trays.tray_items[k], trays.tray_items[k] + trays.tray_count[k]};
    }
};

TEST_F(TrayTest, AFullTrayScrolledToItsLastPieceGivesTwoOutSafely) {
    add();
    for (int32_t id = 0; id < 5; ++id) put(0, id, 999);  // right of the last piece: appended
    ASSERT_TRUE(is_full(0));
    put(0, 5, trays.tray_cell + 5);  // over the second piece: inserted before it
    EXPECT_EQ(items_of(0), (std::vector<int32_t>{0, 5, 1, 2, 3, 4}));
    EXPECT_EQ(ws::get_window_text(play.tray_window[0]), "トレイ<1>  6 ﾋﾟｰｽ");
    tray_mouse(0, ws::WM_LBUTTONDOWN, {100, 20});  // a carousel drag one cell to the right: the last piece first
    tray_mouse(0, ws::WM_MOUSEMOVE, {100 + trays.tray_cell, 20});
    tray_mouse(0, ws::WM_LBUTTONUP, {100 + trays.tray_cell, 20});
    EXPECT_EQ(tray_pixel(0, 0), colour_of(4) & kWhite);
    drag_out(0, 10, screen({150, 120}));  // the last piece, out onto the desk
    drag_out(0, 10, screen({300, 200}));  // then the one shown first after it
    EXPECT_EQ(items_of(0), (std::vector<int32_t>{5, 1, 2, 3}));
    for (int32_t slot = 0; slot < 4; ++slot) EXPECT_EQ(tray_pixel(0, slot), colour_of(items_of(0)[size_t(slot)]) & kWhite);
    EXPECT_EQ(shown(300, 200), colour_of(0) & kWhite);
    EXPECT_EQ(shown(150, 120), colour_of(4) & kWhite);
}

TEST_F(TrayTest, FlingKeepsTurningUntilTheNextPressAndOnlyThenTicks) {
    const ws::Hwnd tray = add();
    for (int32_t id = 0; id < 6; ++id) put(0, id, 5);
    EXPECT_FALSE(ws::kill_timer(tray, kTrayTimer));  // an idle tray has no timer running
    tray_mouse(0, ws::WM_LBUTTONDOWN, {200, 20});
    for (int32_t x : {180, 150, 140}) {
        ws::test::advance(10);
        tray_mouse(0, ws::WM_MOUSEMOVE, {x, 20});
    }
    tray_mouse(0, ws::WM_LBUTTONUP, {140, 20});
    EXPECT_EQ(trays.tray_speed[0], -30);  // 60 pixels left in 30 ms, per 15 ms tick
    const int32_t before = trays.tray_scroll[0];
    ws::test::advance(150);  // ten ticks
    EXPECT_EQ(trays.tray_scroll[0], (before + 10 * 30) % (6 * trays.tray_cell));
    tray_mouse(0, ws::WM_LBUTTONDOWN, {20, 20});  // the next press stops it, and its timer with it
    EXPECT_FALSE(ws::kill_timer(tray, kTrayTimer));
}

TEST_F(TrayTest, TakingOutGoesToAnotherTrayOrTheVisibleDesk) {
    add();
    const ws::Hwnd other = add();
    const Rect r = ws::get_window_rect(other);
    ws::move_window(other, r.left, r.top + 200, r.width(), r.height(), false);
    put(0, 4, 999);
    put(0, 5, 999);
    desk.view_x = 100, desk.view_y = 50;
    drag_out(0, 10, tray_screen(1, {20, 20}));  // onto the other tray: the desk is untouched
    EXPECT_EQ(items_of(1), std::vector<int32_t>{4});
    drag_out(0, 10, {5000, -3000});  // over no window at all: it lands where the player can reach it
    const Piece& p = *play.current_game->items[5].piece;
    EXPECT_EQ(p.cx, desk.view_x + kClientW - 1);
    EXPECT_EQ(p.cy, desk.view_y);
}

TEST_F(TrayTest, ClosingWaitsForEmptyTraysAndTheGameEndClosesThemAll) {
    const ws::Hwnd tray = add();
    add();
    put(0, 1, 999);
    ws::send_message(tray, ws::WM_CLOSE, 0, 0);
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text + ws::test::messages()[0].caption, "ピースを出してから閉じてください。zelto 通知");
    EXPECT_TRUE(ws::is_window(tray));
    // Destroyed without a close (the run ending): the game's images stay with the game, twice over.
    const int32_t images = DDBase::live_surfaces();
    const ws::Hwnd second = play.tray_window[1];
    EXPECT_TRUE(ws::destroy_window(second));
    EXPECT_FALSE(ws::destroy_window(second));
    EXPECT_EQ(DDBase::live_surfaces(), images);
    delete play.current_game;
    play.current_game = nullptr;
    EXPECT_FALSE(ws::is_window(tray));
    for (ws::Hwnd w : play.tray_window) EXPECT_EQ(w, 0);
    EXPECT_EQ(DDBase::live_surfaces(), 0);
}

TEST_F(TrayTest, AddingRefusesWithoutPresenterGameOrFreeSlot) {
    for (int32_t k = 0; k < kTrayCount; ++k) ASSERT_NE(add(), 0);
    EXPECT_EQ(ws::get_window_text(play.tray_window[9]), "トレイ<10>");
    tray_add();  // an eleventh
    settings.ddraw = false;
    tray_add();
    settings.ddraw = true;
    delete play.current_game;
    play.current_game = nullptr;
    tray_add();
    std::string told;
    for (const auto& m : ws::test::messages()) told += m.text + "|";
    EXPECT_EQ(told, "これ以上のトレイは追加できません。|zeltorc.txtのddraw行をTRUEにしてください。|"
                    "ゲーム開始前はトレイを追加できません。|");
    for (ws::Hwnd w : play.tray_window) EXPECT_EQ(w, 0);
}

}  // namespace
