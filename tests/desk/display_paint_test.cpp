// The desk display: items drawn bottom first with white left out and hidden items skipped, clipped redraws, both
// drawing paths giving the same window, the view beyond the desk, the range rectangle and the desk's set-up.
#include "support/desk_window.h"
#include "support/temp_dir.h"

namespace {

using namespace testsupport;

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00;

class Display : public DeskWindow {
protected:
    // Red 20 x 20 at (40, 40)-(60, 60) under a blue one at (45, 45)-(65, 65) whose five left columns are white.
    Jig& lay_two_pieces() {
        Jig& g = new_blank_game();
        add_solid(g, 50, 50, 20, kRed);
        add_piece(g, 55, 55, 20, 20, [](int32_t x, int32_t) { return x < 5 ? kWhite : kBlue; });
        return g;
    }
    static std::vector<uint32_t> desk_at(std::initializer_list<Point> points) {
        std::vector<uint32_t> out;
        for (Point p : points) out.push_back(at(*desk_image, p.x, p.y));
        return out;
    }
    static std::vector<uint32_t> window_at(std::initializer_list<Point> points, bool paint = true) {
        std::vector<uint32_t> out;
        for (Point p : points) out.push_back(shown(p.x, p.y, paint && out.empty()));
        return out;
    }
};

TEST_F(Display, PlainPathDrawsBottomFirstWithWhiteLeftOutAndHiddenItemsSkipped) {
    Jig& g = lay_two_pieces();
    g.items[2].id = -1, g.item_count = 3;  // one piece still to cut: skipped
    draw_desk(g);
    // The later item covers the earlier; white shows what lies below.
    EXPECT_EQ(desk_at({{50, 50}, {47, 50}, {47, 62}, {42, 42}, {62, 62}}), (std::vector{kBlue, kRed, kBack, kRed, kBlue}));
    EXPECT_NE(shown(50, 50, false), kBlue) << "the window changes only when painted";
    EXPECT_EQ(shown(50, 50), kBlue);
    std::swap(g.items[0], g.items[1]);
    draw_desk(g);
    EXPECT_EQ(desk_at({{50, 50}}), (std::vector{kRed}));
    std::swap(g.items[0], g.items[1]);
    g.items[1].hidden = 1;
    draw_desk(g);
    EXPECT_EQ(desk_at({{50, 50}, {62, 62}}), (std::vector{kRed, kBack}));
}

TEST_F(Display, ClippedRedrawErasesAndDrawsOnlyInsideTheClipOnBothPaths) {
    for (const bool with_presenter : {false, true}) {
        Jig& g = lay_two_pieces();
        draw_desk(g);
        if (with_presenter) start_presenter(g);
        Piece& red = *g.items[0].piece;
        const Rect old_rect = red.rect;
        red.grab_x = red.cx, red.grab_y = red.cy;
        const Rect new_rect = red.move_to(red.cx + 100, red.cy);
        EXPECT_EQ(g.disp(&old_rect), old_rect);
        const std::vector<uint32_t> want{kBack, kBlue, kBlue, kBack};
        if (with_presenter) {
            EXPECT_EQ(window_at({{42, 42}, {50, 50}, {62, 62}, {145, 50}}, false), want);
        } else {
            EXPECT_EQ(desk_at({{42, 42}, {50, 50}, {62, 62}, {145, 50}}), want);
            at(*desk_image, 10, 10) = 0x123456;  // an empty clip erases and draws nothing
            const std::vector<uint32_t> before = top_down(*desk_image);
            const Rect empty{10, 10, 10, 30};
            g.disp(&empty);
            EXPECT_EQ(top_down(*desk_image), before);
        }
        g.disp(&new_rect);
        EXPECT_EQ(with_presenter ? shown(145, 50, false) : at(*desk_image, 145, 50), kRed);
        delete presenter;
        presenter = nullptr;
    }
}

// Overlapping pieces with white holes, one hidden, some crossing the window's edges: the presenter composes the
// same window the plain path paints, wherever the view lies and over a repeated picture.
TEST_F(Display, BothPathsGiveTheSameWindow) {
    TempDir dir;
    ASSERT_TRUE(write_picture(dir.file("tile.bmp"), 13, 9, [](int32_t x, int32_t y) {
        return 0x203040u + 0x0A0000u * uint32_t(x) + 0x0500u * uint32_t(y);
    }));
    Jig& g = new_blank_game();
    add_piece(g, 60, 60, 40, 30, [](int32_t x, int32_t y) { return (x + y) % 7 == 0 ? kWhite : 0x112233u + x; });
    add_piece(g, 75, 70, 30, 30, [](int32_t x, int32_t y) { return x * x + y * y < 100 ? kWhite : 0x00AA00u + y; });
    add_solid(g, 90, 65, 16, kBlue);
    add_piece(g, 390, 120, 50, 20, [](int32_t x, int32_t) { return 0x440000u + 0x10000u * uint32_t(x % 3); });
    add_solid(g, 150, 295, 24, kGreen);
    add_solid(g, 200, 100, 30, 0x777700);
    g.items[5].hidden = 1;
    add_solid(g, 500, 400, 30, kRed);
    const Point origins[] = {{0, 0}, {37, 11}, {-30, -20}, {400, 300}, {0, 0}};
    for (const Point& origin : origins) {
        if (&origin == &origins[4]) {  // last: over a repeated picture
            settings.back_img = dir.file("tile.bmp");
            settings.back_type = IDM_BACK_IMG_REN;
        }
        view_x = origin.x, view_y = origin.y;
        delete presenter;
        presenter = nullptr;
        for (int32_t i = 0; i < g.item_count; ++i)
            if (!g.items[i].piece->view) g.items[i].piece->set_angle(0);
        render_background();
        g.disp(nullptr);
        ws::paint_at_once(game_window, nullptr);
        const std::vector<uint32_t> plain = top_down(*ws::client_surface(game_window));
        start_presenter(g);
        EXPECT_EQ(top_down(*ws::client_surface(game_window)), plain) << "view " << origin.x << "," << origin.y;
        ws::paint_at_once(game_window, nullptr);
        EXPECT_EQ(top_down(*ws::client_surface(game_window)), plain) << "the paint presents what was composed";
        if (&origin == &origins[0]) {
            EXPECT_EQ((std::vector{plain[60 * kClientW + 61], plain[60 * kClientW + 60]}),
                      (std::vector{0x112233u + 21, kBack}))
                << "through one hole and through both";
        }
    }
    const std::vector<uint32_t> tiled = top_down(*ws::client_surface(game_window));
    EXPECT_EQ((std::vector{tiled[0], tiled[kClientW + 14]}), (std::vector{0x203040u, 0x203040u + 0x0A0000u + 0x0500u}));
}

TEST_F(Display, ViewBeyondTheDeskShowsTheNeutralFillOnBothPaths) {
    Jig& g = lay_two_pieces();
    view_x = -30, view_y = -20;
    draw_desk(g);
    EXPECT_EQ(window_at({{29, 100}, {100, 19}, {30, 20}, {80, 80}}),
              (std::vector{kBeyondDeskColour, kBeyondDeskColour, kBack, kBlue}));
    view_x = kDeskW - 40, view_y = 0;  // the desk ends 40 pixels into the window
    const std::vector<uint32_t> want{kBack, kBeyondDeskColour, kBeyondDeskColour};
    EXPECT_EQ(window_at({{39, 5}, {40, 5}, {kClientW - 1, kClientH - 1}}), want);
    start_presenter(g);
    EXPECT_EQ(window_at({{39, 5}, {40, 5}, {kClientW - 1, kClientH - 1}}, false), want);
}

TEST_F(Display, RangeIsADottedRectangleOnBothPathsWhileDrawnOrShown) {
    Jig& g = lay_two_pieces();
    draw_desk(g);
    range_x1 = 100, range_y1 = 50, range_x2 = 40, range_y2 = 20;  // drawn from lower right to upper left
    // Three black, three white from the anchor corner, running on round the corners; inside stays as it is.
    const uint32_t k = 0;
    const std::vector<uint32_t> dots{k, k, kWhite, kWhite, k, (30 + 30) % 6 < 3 ? k : kWhite,
                                     (30 + 60 + 15) % 6 < 3 ? k : kWhite, kBack};
    const auto look = [] { return window_at({{100, 50}, {100, 48}, {100, 47}, {100, 45}, {100, 44}, {70, 20}, {40, 35}, {70, 35}}); };
    for (int32_t state : {0, 3}) {
        range_state = state;
        EXPECT_EQ(shown(100, 50), kBack) << "state " << state;
    }
    range_state = 1;
    const Rect top_part{0, 0, kClientW, 48};
    ws::paint_at_once(game_window, &top_part);
    EXPECT_EQ(shown(70, 50, false), kBack) << "a partial paint dots only inside itself";
    for (int32_t state : {1, 2}) {
        range_state = state;
        EXPECT_EQ(look(), dots) << "plain path, state " << state;
    }
    start_presenter(g);
    EXPECT_EQ(look(), dots) << "presenter path";
    range_state = 0;
    EXPECT_EQ(shown(100, 50), kBack);
}

TEST_F(Display, PresenterDrawsOnlyThePartOfAnItemInsideTheClip) {
    Jig& g = new_blank_game();
    add_piece(g, 110, 105, 20, 10, [](int32_t x, int32_t) { return x < 10 ? kRed : kGreen; });  // (100,100)-(120,110)
    start_presenter(g);
    dd_back(nullptr, 0, 0);
    presenter->flip(game_window, nullptr);
    const Rect clip{110, 90, 200, 200};
    dd_draw_item(&clip, 0, true);
    EXPECT_EQ(window_at({{110, 105}, {119, 109}, {109, 105}}, false), (std::vector{kGreen, kGreen, kBack}));
    view_x = 50;  // the same piece 50 pixels further left in the window
    dd_draw_item(nullptr, 0, true);
    EXPECT_EQ(window_at({{50, 100}, {60, 100}}, false), (std::vector{kRed, kGreen}));
    g.items[0].hidden = 1;
    view_x = 0;
    dd_back(nullptr, 0, 0);
    presenter->flip(game_window, nullptr);
    dd_draw_item(nullptr, 0, true);
    EXPECT_EQ(shown(105, 105, false), kBack);
    dd_draw_item(nullptr, 7, true);  // not a live item: nothing happens
    dd_draw_item(nullptr, -1, true);
}

TEST_F(Display, DeskSizeComesFromTheSettingsOrTheScreen) {
    const struct {
        int32_t w, h, want_w, want_h;
    } cases[] = {{0, 700, ws::screen_width(), ws::screen_height()}, {300, 200, 300, 200}, {100000, -5, kDeskSideMax, 1}};
    for (const auto& c : cases) {
        settings.desk_w = c.w, settings.desk_h = c.h;
        view_x = 7;
        init_window();
        EXPECT_EQ((std::vector{desk_width, desk_height, desk_back->width(), desk_image->height(), view_x}),
                  (std::vector{c.want_w, c.want_h, c.want_w, c.want_h, 0}));
        EXPECT_EQ(at(*desk_image, c.want_w - 1, c.want_h - 1), kBack);
    }
}

TEST_F(Display, InitWindowShowsTheBackgroundOnceWithAShortLivedPresenter) {
    settings.back_color = 0x123456;
    const int32_t surfaces = DDBase::live_surfaces();
    init_window();
    EXPECT_NE(shown(5, 5, false), 0x563412u) << "without the presenter the window waits for its paint";
    settings.ddraw = true;
    init_window();
    EXPECT_EQ(window_at({{5, 5}, {kClientW - 1, kClientH - 1}}, false), (std::vector{0x563412u, 0x563412u}));
    EXPECT_EQ(presenter, nullptr);
    EXPECT_EQ(DDBase::live_surfaces(), surfaces);
}

TEST_F(Display, FinishWindowEndsTheDeskAndRedrawAllGdiServesTheExport) {
    Jig& g = lay_two_pieces();
    start_presenter(g);
    g.items[0].piece->set_angle(0);  // one piece kept its view
    redraw_all_gdi();
    EXPECT_EQ(desk_at({{50, 50}, {47, 50}}), (std::vector{kBlue, kRed}));
    EXPECT_NE(g.items[0].piece->view, nullptr);
    EXPECT_EQ(g.items[1].piece->view, nullptr) << "a view made for the export goes again";
    finish_window();
    EXPECT_EQ((std::vector<const void*>{desk_image, desk_back, presenter->back, presenter->surfaces[0]}),
              (std::vector<const void*>{nullptr, nullptr, nullptr, nullptr}));
    g.disp(nullptr);  // nothing left to draw on: no crash
    ws::paint_at_once(game_window, nullptr);
}

}  // namespace
