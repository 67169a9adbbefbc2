// The desk display: items drawn bottom first with white left out and hidden items skipped, clipped redraws, both
// drawing paths giving the same window, the view beyond the desk, the range rectangle and the desk's set-up.
#include "desk/state.h"
#include "pieces/desk.h"
#include "play/state.h"
#include "support/desk_script.h"
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
        for (Point p : points) out.push_back(at(*desk.desk_image, p.x, p.y));
        return out;
    }
    static std::vector<uint32_t> window_at(std::initializer_list<Point> points, bool paint = true) {
        std::vector<uint32_t> out;
        for (Point p : points) out.push_back(shown(p.x, p.y, paint && out.empty()));
        return out;
    }
};

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
        desk.view_x = origin.x, desk.view_y = origin.y;
        delete desk.presenter;
        desk.presenter = nullptr;
        for (int32_t i = 0; i < g.item_count; ++i)
            if (!g.items[i].piece->view) g.items[i].piece->set_angle(0);
        render_background();
        g.disp(nullptr);
        ws::paint_at_once(play.game_window, nullptr);
        const std::vector<uint32_t> plain = top_down(*ws::client_surface(play.game_window));
        start_presenter(g);
        EXPECT_EQ(top_down(*ws::client_surface(play.game_window)), plain) << "view " << origin.x << "," << origin.y;
        ws::paint_at_once(play.game_window, nullptr);
        EXPECT_EQ(top_down(*ws::client_surface(play.game_window)), plain) << "the paint presents what was composed";
        if (&origin == &origins[0]) {
            EXPECT_EQ((std::vector{plain[60 * kClientW + 61], plain[60 * kClientW + 60]}),
                      (std::vector{0x112233u + 21, kBack}))
                << "through one hole and through both";
        }
    }
    const std::vector<uint32_t> tiled = top_down(*ws::client_surface(play.game_window));
    EXPECT_EQ((std::vector{tiled[0], tiled[kClientW + 14]}), (std::vector{0x203040u, 0x203040u + 0x0A0000u + 0x0500u}));
}

TEST_F(Display, DeskSizeComesFromTheSettingsOrTheScreen) {
    const struct {
        int32_t w, h, want_w, want_h;
    } cases[] = {{0, 700, ws::screen_width(), ws::screen_height()}, {300, 200, 300, 200}, {100000, -5, kDeskSideMax, 1}};
    for (const auto& c : cases) {
        settings.desk_w = c.w, settings.desk_h = c.h;
        desk.view_x = 7;
        init_window();
        EXPECT_EQ((std::vector{desk.desk_width, desk.desk_height, desk.desk_back->width(), desk.desk_image->height(),
                               desk.view_x}),
                  (std::vector{c.want_w, c.want_h, c.want_w, c.want_h, 0}));
        EXPECT_EQ(at(*desk.desk_image, c.want_w - 1, c.want_h - 1), kBack);
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
    EXPECT_EQ(desk.presenter, nullptr);
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
    EXPECT_EQ(
        (std::vector<const void*>{desk.desk_image, desk.desk_back, desk.presenter->back, desk.presenter->surfaces[0]}),
        (std::vector<const void*>{nullptr, nullptr, nullptr, nullptr}));
    g.disp(nullptr);  // nothing left to draw on: no crash
    ws::paint_at_once(play.game_window, nullptr);
}

// data/display.txt: drawing order, clipped redraws, the view beyond the desk, the range, the presenter's clip.
class DisplayScripts : public ScriptedDesk {
protected:
    bool act_more(const std::string& op, const Values& n) override {
        const auto rect = [&](size_t i) { return Rect{int32_t(n[i]), int32_t(n[i + 1]), int32_t(n[i + 2]), int32_t(n[i + 3])}; };
        const Rect clip = n.size() >= 4 ? rect(n.size() - 4) : Rect{};
        const Rect* clip_or_all = n.size() >= 4 ? &clip : nullptr;
        if (op == "uncut") g().items[2].id = -1, g().item_count = 3;
        else if (op == "swap") std::swap(g().items[int32_t(n[0])], g().items[int32_t(n[1])]);
        else if (op == "move") {
            Piece& p = piece(n[0]);
            p.grab_x = p.cx, p.grab_y = p.cy;
            p.move_to(p.cx + int32_t(n[1]), p.cy + int32_t(n[2]));
        } else if (op == "disp") drawn_ = g().disp(clip_or_all);
        else if (op == "poke") at(*desk.desk_image, int32_t(n[0]), int32_t(n[1])) = uint32_t(n[2]);
        else if (op == "rangebox")
            display.range_x1 = int32_t(n[0]), display.range_y1 = int32_t(n[1]), display.range_x2 = int32_t(n[2]),
            display.range_y2 = int32_t(n[3]);
        else if (op == "rangestate") display.range_state = int32_t(n[0]);
        else if (op == "paint") ws::paint_at_once(play.game_window, &clip);
        else if (op == "ddback") dd_back(nullptr, 0, 0), desk.presenter->flip(play.game_window, nullptr);
        else if (op == "dditem") dd_draw_item(clip_or_all, int32_t(n[0]), true);
        else return false;
        return true;
    }
    bool probe_more(const std::string& what, const Values&, Values& v) override {
        v = {double(drawn_.left), double(drawn_.top), double(drawn_.right), double(drawn_.bottom)};
        return what == "drawn";
    }
    Rect drawn_;
};
TEST_P(DisplayScripts, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Display, DisplayScripts, ::testing::ValuesIn(read_scripts("desk/data/display.txt")), ScriptedDesk::name);

}  // namespace
