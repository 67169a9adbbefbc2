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

class Display : public DeskWindow {};

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
        else if (op == "initwindow") init_window();
        else if (op == "redrawgdi") redraw_all_gdi();
        else if (op == "finish") finish_window();
        else return false;
        return true;
    }
    bool probe_more(const std::string& what, const Values& a, Values& v) override {
        if (what == "drawn") v = {double(drawn_.left), double(drawn_.top), double(drawn_.right), double(drawn_.bottom)};
        else if (what == "desksize")
            v = {double(desk.desk_width), double(desk.desk_height), double(desk.desk_back->width()),
                 double(desk.desk_image->height()), double(desk.view_x)};
        else if (what == "presenter") v = {double(desk.presenter != nullptr), double(DDBase::live_surfaces())};
        else if (what == "has_view") v = {double(piece(a[0]).view != nullptr)};
        else if (what == "freed")  // desk images, the presenter's background and first surface
            for (const MemDC* p : {desk.desk_image, desk.desk_back, desk.presenter->back, desk.presenter->surfaces[0]})
                v.push_back(p == nullptr);
        else return false;
        return true;
    }
    Rect drawn_;
};
TEST_P(DisplayScripts, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Display, DisplayScripts, ::testing::ValuesIn(read_scripts("desk/data/display.txt")), ScriptedDesk::name);

}  // namespace
