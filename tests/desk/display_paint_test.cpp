// The desk display as the scripts of data/display.txt.
#include "support/desk_script.h"

namespace {

using namespace testsupport;

// data/display.txt: drawing order, clipped redraws, both paths giving the same window, the view beyond the desk,
// the range, the presenter's clip, the desk's set-up and end.
class DisplayScripts : public ScriptedDesk {
protected:
    // The clip given by the last four arguments, or none (the whole desk).
    const Rect* clip(const Args& a) {
        clip_ = a.size() >= 4 ? Rect{i(a, a.size() - 4), i(a, a.size() - 3), i(a, a.size() - 2), i(a, a.size() - 1)}
                              : Rect{};
        return a.size() >= 4 ? &clip_ : nullptr;
    }
    static std::vector<uint32_t> window() { return top_down(*ws::client_surface(play.game_window)); }
    Rect drawn_, clip_;
    TempDir dir_;

public:
    DisplayScripts() {
        actions_.insert({
            {"uncut", [](const Args&) { g().items[2].id = -1, g().item_count = 3; }},
            {"busy", [this](const Args& a) {  // cx cy w h: every pixel another colour, every 7th diagonal white
                add_piece(g(), i(a, 0), i(a, 1), i(a, 2), i(a, 3),
                          [](int32_t x, int32_t y) { return (x + y) % 7 ? pattern_word(x, y) : kWhite; });
            }},
            {"tile", [this](const Args&) {  // a repeated background picture of 13 x 9
                ASSERT_TRUE(write_picture(dir_.file("tile.bmp"), 13, 9, [](int32_t x, int32_t y) {
                    return 0x203040u + 0x0A0000u * uint32_t(x) + 0x0500u * uint32_t(y);
                }));
                settings.back_img = dir_.file("tile.bmp");
                settings.back_type = IDM_BACK_IMG_REN;
            }},
            {"swap", [this](const Args& a) { std::swap(g().items[i(a, 0)], g().items[i(a, 1)]); }},
            {"move", [this](const Args& a) {
                Piece& p = piece(a);
                p.grab_x = p.cx, p.grab_y = p.cy;
                p.move_to(p.cx + i(a, 1), p.cy + i(a, 2));
            }},
            {"disp", [this](const Args& a) { drawn_ = g().disp(clip(a)); }},
            {"poke", [this](const Args& a) { at(*desk.desk_image, i(a, 0), i(a, 1)) = uint32_t(value(a[2])); }},
            {"rangebox", [this](const Args& a) {
                display.range_x1 = i(a, 0), display.range_y1 = i(a, 1);
                display.range_x2 = i(a, 2), display.range_y2 = i(a, 3);
            }},
            {"rangestate", [this](const Args& a) { display.range_state = i(a, 0); }},
            {"paint", [this](const Args& a) { ws::paint_at_once(play.game_window, clip(a)); }},
            {"ddback", [](const Args&) { dd_back(nullptr, 0, 0), desk.presenter->flip(play.game_window, nullptr); }},
            {"dditem", [this](const Args& a) { dd_draw_item(clip(a), i(a, 0), true); }},
            {"redrawgdi", [](const Args&) { redraw_all_gdi(); }},
            {"finish", [](const Args&) { finish_window(); }},
        });
        probes_.insert({
            {"drawn", [this](const Args&) {
                return n(drawn_.left) + " " + n(drawn_.top) + " " + n(drawn_.right) + " " + n(drawn_.bottom);
            }},
            {"desksize", [](const Args&) {
                return n(desk.desk_width) + " " + n(desk.desk_height) + " " + n(desk.desk_back->width()) + " " +
                       n(desk.desk_image->height()) + " " + n(desk.view_x);
            }},
            {"presenter", [](const Args&) { return n(desk.presenter != nullptr) + " " + n(DDBase::live_surfaces()); }},
            {"has_view", [this](const Args& a) { return n(piece(a).view != nullptr); }},
            {"freed", [](const Args&) {  // desk images, the presenter's background and first surface
                return n(!desk.desk_image) + " " + n(!desk.desk_back) + " " + n(!desk.presenter->back) + " " +
                       n(!desk.presenter->surfaces[0]);
            }},
            {"paths", [](const Args&) {  // the presenter's window is the plain path's: as composed, and as painted
                delete std::exchange(desk.presenter, nullptr);
                for (int32_t k = 0; k < g().item_count; ++k)
                    if (!g().items[k].piece->view) g().items[k].piece->set_angle(0);
                render_background();
                g().disp(nullptr);
                ws::paint_at_once(play.game_window, nullptr);
                const std::vector<uint32_t> plain = window();
                start_presenter(g());
                const bool composed = window() == plain;
                ws::paint_at_once(play.game_window, nullptr);
                return n(composed) + " " + n(window() == plain);
            }},
        });
    }
};
TEST_P(DisplayScripts, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Display, DisplayScripts, ::testing::ValuesIn(read_scripts("desk/data/display.txt")),
                         ScriptedDesk::name);

}  // namespace
