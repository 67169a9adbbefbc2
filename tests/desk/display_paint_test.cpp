// The desk display: items drawn bottom first with white left out and hidden items skipped, partial redraws, both
// drawing paths giving the same window, the view beyond the desk, the range rectangle and the desk's set-up.
#include <gtest/gtest.h>

#include "display_support.h"

namespace {

using namespace desktest;

constexpr uint32_t kGrey = 0x808080, kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00;

class Display : public DeskWindow {
protected:
    // Red 20 x 20 at (40, 40)-(60, 60) under a blue one at (45, 45)-(65, 65) whose five left columns are white.
    void lay_two_pieces() {
        Jig& g = new_game();
        add_solid(g, 50, 50, 20, kRed);
        add_piece(g, 55, 55, 20, 20, [](int32_t x, int32_t) { return x < 5 ? kWhite : kBlue; });
    }
    void redraw_whole_desk() {
        desk_image->blit(0, 0, desk_width, desk_height, *desk_back, 0, 0, SRCCOPY);
        current_game->disp(nullptr);
    }
    uint32_t desk_at(int32_t x, int32_t y) { return at(*desk_image, x, y); }
};

TEST_F(Display, PlainPathDrawsBottomFirstWithWhiteLeftOutAndHiddenItemsSkipped) {
    lay_two_pieces();
    redraw_whole_desk();
    EXPECT_EQ(desk_at(50, 50), kBlue);  // the later item covers the earlier
    EXPECT_EQ(desk_at(47, 50), kRed);   // white of the top piece shows the piece below
    EXPECT_EQ(desk_at(47, 62), kGrey);  // ... or the background
    EXPECT_EQ(desk_at(42, 42), kRed);
    EXPECT_EQ(desk_at(62, 62), kBlue);
    EXPECT_NE(window_at(50, 50), kBlue) << "the window changes only when painted";
    window_picture();
    EXPECT_EQ(window_at(50, 50), kBlue);

    std::swap(current_game->items[0], current_game->items[1]);
    redraw_whole_desk();
    EXPECT_EQ(desk_at(50, 50), kRed);

    std::swap(current_game->items[0], current_game->items[1]);
    current_game->items[1].hidden = 1;
    redraw_whole_desk();
    EXPECT_EQ(desk_at(50, 50), kRed);
    EXPECT_EQ(desk_at(62, 62), kGrey);
}

TEST_F(Display, ClippedRedrawErasesAndDrawsOnlyInsideTheClip) {
    lay_two_pieces();
    redraw_whole_desk();
    Piece& red = *current_game->items[0].piece;
    const Rect old_rect = red.rect;
    red.grab_x = red.cx, red.grab_y = red.cy;
    const Rect new_rect = red.move_to(red.cx + 100, red.cy);

    EXPECT_EQ(current_game->disp(&old_rect), old_rect);
    EXPECT_EQ(desk_at(42, 42), kGrey);
    EXPECT_EQ(desk_at(50, 50), kBlue) << "the blue piece is drawn again where the clip crosses it";
    EXPECT_EQ(desk_at(62, 62), kBlue);
    EXPECT_EQ(desk_at(145, 50), kGrey) << "the new place lies outside the clip";

    current_game->disp(&new_rect);
    EXPECT_EQ(desk_at(145, 50), kRed);

    // An empty clip erases nothing and draws nothing.
    at(*desk_image, 10, 10) = 0x123456;
    const std::vector<uint32_t> before = top_down(*desk_image);
    const Rect empty{10, 10, 10, 30};
    current_game->disp(&empty);
    EXPECT_EQ(top_down(*desk_image), before);
}

TEST_F(Display, ItemsWithoutPiecesAreSkippedWhileCutting) {
    Jig& g = new_game();
    add_solid(g, 50, 50, 10, kRed);
    g.item_count = 4;  // three more pieces still to cut
    g.items[1].id = g.items[2].id = g.items[3].id = -1;
    redraw_whole_desk();
    EXPECT_EQ(desk_at(50, 50), kRed);
}

// A scene of overlapping pieces with white holes, one hidden, some crossing the window's edges.
class BothPaths : public Display {
protected:
    void lay_scene() {
        Jig& g = new_game();
        add_piece(g, 60, 60, 40, 30, [](int32_t x, int32_t y) { return (x + y) % 7 == 0 ? kWhite : 0x112233u + x; });
        add_piece(g, 75, 70, 30, 30, [](int32_t x, int32_t y) { return x * x + y * y < 100 ? kWhite : 0x00AA00u + y; });
        add_solid(g, 90, 65, 16, kBlue);
        add_piece(g, 310, 120, 50, 20, [](int32_t x, int32_t) { return 0x440000u + 0x10000u * uint32_t(x % 3); });
        add_solid(g, 150, 235, 24, kGreen);
        add_solid(g, 200, 100, 30, 0x777700);
        g.items[5].hidden = 1;
        add_solid(g, 420, 330, 30, kRed);
    }

    std::vector<uint32_t> plain_window() {
        render_background();
        current_game->disp(nullptr);
        return window_picture();
    }

    std::vector<uint32_t> presenter_window() {
        if (!presenter) start_presenter(*current_game);
        current_game->disp(nullptr);
        const std::vector<uint32_t> flipped = top_down(*ws::client_surface(game_window));
        const std::vector<uint32_t> painted = window_picture();
        EXPECT_EQ(flipped, painted) << "the paint presents what the redraw composed";
        return painted;
    }
};

TEST_F(BothPaths, GiveTheSameWindowWhereverTheViewLies) {
    lay_scene();
    for (const Point origin : {Point{0, 0}, Point{37, 11}, Point{-30, -20}, Point{400, 300}}) {
        view_x = origin.x, view_y = origin.y;
        delete presenter;
        presenter = nullptr;
        current_game->free_dc();
        for (int32_t i = 0; i < current_game->item_count; ++i) {
            Piece& p = *current_game->items[i].piece;
            if (!p.view) p.set_angle(p.angle);
        }
        const std::vector<uint32_t> plain = plain_window();
        if (origin == Point{0, 0}) {
            EXPECT_EQ(plain[size_t(60 * kClientW + 61)], 0x112233u + 21);  // through the hole of the piece above
            EXPECT_EQ(plain[size_t(60 * kClientW + 60)], kGrey);            // through both holes
        }
        EXPECT_EQ(presenter_window(), plain) << "view " << origin.x << "," << origin.y;
    }
}

TEST_F(BothPaths, GiveTheSameWindowOverARepeatedPicture) {
    TempDir dir;
    write_bmp(dir.file("tile.bmp"), 13, 9, [](int32_t x, int32_t y) { return 0x203040u + 0x0A0000u * x + 0x0500u * y; });
    settings.back_img = dir.file("tile.bmp");
    settings.back_type = IDM_BACK_IMG_REN;
    lay_scene();
    const std::vector<uint32_t> plain = plain_window();
    EXPECT_EQ(plain[0], 0x203040u);
    EXPECT_EQ(plain[size_t(1 * kClientW + 14)], 0x203040u + 0x0A0000u + 0x0500u);
    EXPECT_EQ(presenter_window(), plain);
}

TEST_F(Display, ViewBeyondTheDeskShowsTheNeutralFillOnBothPaths) {
    lay_two_pieces();
    view_x = -30, view_y = -20;
    redraw_whole_desk();
    window_picture();
    EXPECT_EQ(window_at(29, 100), kBeyondDeskColour);
    EXPECT_EQ(window_at(100, 19), kBeyondDeskColour);
    EXPECT_EQ(window_at(30, 20), kGrey);
    EXPECT_EQ(window_at(80, 80), kBlue);  // desk (50, 50)

    view_x = 600, view_y = 0;  // the desk ends 40 pixels into the window
    window_picture();
    EXPECT_EQ(window_at(39, 5), kGrey);
    EXPECT_EQ(window_at(40, 5), kBeyondDeskColour);
    EXPECT_EQ(window_at(kClientW - 1, kClientH - 1), kBeyondDeskColour);

    start_presenter(*current_game);
    current_game->disp(nullptr);
    EXPECT_EQ(window_at(39, 5), kGrey);
    EXPECT_EQ(window_at(40, 5), kBeyondDeskColour);
    EXPECT_EQ(window_at(kClientW - 1, kClientH - 1), kBeyondDeskColour);
}

TEST_F(Display, RangeIsADottedRectangleOnBothPathsWhileDrawnOrShown) {
    lay_two_pieces();
    redraw_whole_desk();
    // Corners as the player drew them, from lower right to upper left.
    range_x1 = 100, range_y1 = 50, range_x2 = 40, range_y2 = 20;
    const auto expect_dots = [&](const char* path) {
        SCOPED_TRACE(path);
        EXPECT_EQ(window_at(100, 50), 0u);  // three black from the anchor corner ...
        EXPECT_EQ(window_at(100, 48), 0u);
        EXPECT_EQ(window_at(100, 47), kWhite);  // ... then three white
        EXPECT_EQ(window_at(100, 45), kWhite);
        EXPECT_EQ(window_at(100, 44), 0u);
        // The pattern runs on round the corners: 30 pixels down the first side, 60 along the second.
        EXPECT_EQ(window_at(70, 20), (30 + 30) % 6 < 3 ? 0u : kWhite);
        EXPECT_EQ(window_at(40, 35), (30 + 60 + 15) % 6 < 3 ? 0u : kWhite);
        EXPECT_EQ(window_at(70, 35), kGrey);  // inside stays as it is
    };
    for (int32_t state : {0, 3}) {
        range_state = state;
        window_picture();
        EXPECT_EQ(window_at(100, 50), kGrey) << "state " << state;
    }
    range_state = 1;
    window_picture();
    expect_dots("plain path, being drawn");
    range_state = 2;
    window_picture();
    expect_dots("plain path, shown");

    start_presenter(*current_game);
    current_game->disp(nullptr);
    window_picture();
    expect_dots("presenter path");
    range_state = 0;
    window_picture();
    EXPECT_EQ(window_at(100, 50), kGrey);
}

TEST_F(Display, PresenterDrawsOnlyThePartOfAnItemInsideTheClip) {
    Jig& g = new_game();
    add_piece(g, 110, 105, 20, 10, [](int32_t x, int32_t) { return x < 10 ? kRed : kGreen; });  // (100,100)-(120,110)
    start_presenter(g);
    dd_back(nullptr, 0, 0);
    presenter->flip(game_window, nullptr);
    const Rect clip{110, 90, 200, 200};
    dd_draw_item(&clip, 0, true);
    EXPECT_EQ(window_at(110, 105), kGreen);
    EXPECT_EQ(window_at(119, 109), kGreen);
    EXPECT_EQ(window_at(109, 105), kGrey);

    view_x = 50;  // the same piece 50 pixels further left in the window
    dd_draw_item(nullptr, 0, true);
    EXPECT_EQ(window_at(50, 100), kRed);
    EXPECT_EQ(window_at(60, 100), kGreen);

    g.items[0].hidden = 1;
    view_x = 0;
    dd_back(nullptr, 0, 0);
    presenter->flip(game_window, nullptr);
    dd_draw_item(nullptr, 0, true);
    EXPECT_EQ(window_at(105, 105), kGrey);

    dd_draw_item(nullptr, 7, true);  // not a live item: nothing happens
    dd_draw_item(nullptr, -1, true);
}

TEST_F(Display, ClippedPresenterRedrawComposesOnlyTheClip) {
    lay_two_pieces();
    start_presenter(*current_game);
    current_game->disp(nullptr);
    Piece& red = *current_game->items[0].piece;
    red.grab_x = red.cx, red.grab_y = red.cy;
    const Rect old_rect = red.rect;
    red.move_to(red.cx + 100, red.cy);
    current_game->disp(&old_rect);
    EXPECT_EQ(window_at(42, 42), kGrey);
    EXPECT_EQ(window_at(50, 50), kBlue);
    EXPECT_EQ(window_at(145, 50), kGrey);
    current_game->disp(&red.rect);
    EXPECT_EQ(window_at(145, 50), kRed);
}

TEST_F(Display, DeskSizeComesFromTheSettingsOrTheScreen) {
    settings.desk_w = 0, settings.desk_h = 700;
    init_window();
    EXPECT_EQ(desk_width, ws::screen_width());
    EXPECT_EQ(desk_height, ws::screen_height());
    EXPECT_EQ(desk_image->width(), desk_width);

    settings.desk_w = 300, settings.desk_h = 200;
    view_x = 7;
    init_window();
    EXPECT_EQ(desk_back->width(), 300);
    EXPECT_EQ(desk_back->height(), 200);
    EXPECT_EQ(view_x, 0);
    EXPECT_EQ(at(*desk_image, 299, 199), kGrey);

    settings.desk_w = 100000, settings.desk_h = -5;
    init_window();
    EXPECT_EQ(desk_width, kDeskSideMax);
    EXPECT_EQ(desk_height, 1);
}

TEST_F(Display, InitWindowShowsTheBackgroundOnceWithAShortLivedPresenter) {
    settings.back_color = 0x123456;
    const int32_t surfaces = DDBase::live_surfaces();
    settings.ddraw = false;
    init_window();
    EXPECT_NE(window_at(5, 5), 0x563412u) << "without the presenter the window waits for its paint";
    settings.ddraw = true;
    init_window();
    EXPECT_EQ(window_at(5, 5), 0x563412u);
    EXPECT_EQ(window_at(kClientW - 1, kClientH - 1), 0x563412u);
    EXPECT_EQ(presenter, nullptr);
    EXPECT_EQ(DDBase::live_surfaces(), surfaces);
}

TEST_F(Display, FinishWindowDestroysTheDeskAndEndsThePresentation) {
    lay_two_pieces();
    start_presenter(*current_game);
    finish_window();
    EXPECT_EQ(desk_image, nullptr);
    EXPECT_EQ(desk_back, nullptr);
    EXPECT_EQ(presenter->back, nullptr);
    EXPECT_EQ(presenter->surfaces[0], nullptr);
    current_game->disp(nullptr);  // nothing left to draw on: no crash
    window_picture();
}

TEST_F(Display, RedrawAllGdiMakesTheDeskImageWhileThePresenterShows) {
    lay_two_pieces();
    start_presenter(*current_game);
    current_game->items[0].piece->set_angle(0);  // one piece kept its view
    redraw_all_gdi();
    EXPECT_EQ(at(*desk_image, 50, 50), kBlue);
    EXPECT_EQ(at(*desk_image, 47, 50), kRed);
    EXPECT_NE(current_game->items[0].piece->view, nullptr);
    EXPECT_EQ(current_game->items[1].piece->view, nullptr) << "a view made for the export goes again";
}

}  // namespace
