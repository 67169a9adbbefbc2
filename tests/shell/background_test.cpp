// The desk's background: the single colour and its chooser, the repeated and the centred picture against the
// view, pictures unreadable or changed on disk, and the faint finished picture (as the scripts of
// data/background.txt), with its engraved cutting lines and their softening; and the desk display as the scripts
// of data/display.txt. They are the shell's tests because their desk is set up through the settings reader and
// played through the game window's gestures.
#include <memory>
#include <utility>

#include "desk/state.h"
#include "puzzle/settings.h"
#include "support/desk_script.h"

namespace {

using namespace testsupport;

constexpr uint32_t kRedWord = 0xFF0000;  // the desk of the picture tests: colour value 0x0000FF

uint32_t picture_pixel(int32_t x, int32_t y) { return 0x010203u + 0x020000u * uint32_t(x) + 0x0300u * uint32_t(y); }

// desk_back pixels that differ from want(x, y).
int32_t back_faults(const PixelAt& want) {
    int32_t bad = 0;
    for (int32_t y = 0; y < desk.desk_height; ++y)
        for (int32_t x = 0; x < desk.desk_width; ++x) bad += at(*desk.desk_back, x, y) != want(x, y);
    return bad;
}

// A game whose fitted picture is w x h of the given pixels, laid out as cols x rows cells with their edges.
Jig& game_with_picture(int32_t w, int32_t h, const PixelAt& pixel, int32_t cols = 1, int32_t rows = 1) {
    Jig& g = new_blank_game();
    g.picture = surface_of(w, h, pixel);
    g.pic_w = w, g.pic_h = h, g.cols = cols, g.rows = rows;
    g.line_init();
    settings.back_color = 0x0000FF;
    settings.back_gazou = true;
    return g;
}

// The scripts of data/background.txt and of data/display.txt (drawing order, clipped redraws, both paths giving
// the same window, the view beyond the desk, the range, the presenter's clip, the desk's set-up and end).
class DeskScripts : public ScriptedDesk {
protected:
    // The clip given by the last four arguments, or none (the whole desk).
    const Rect* clip(const Args& a) {
        clip_ = a.size() >= 4 ? Rect{i(a, a.size() - 4), i(a, a.size() - 3), i(a, a.size() - 2), i(a, a.size() - 1)}
                              : Rect{};
        return a.size() >= 4 ? &clip_ : nullptr;
    }
    static std::vector<uint32_t> window() { return top_down(*ws::client_surface(display.game_window)); }
    Rect drawn_, clip_;
    TempDir dir_;

public:
    DeskScripts() {
        actions_.insert({
            {"uncut", [](const Args&) { g().items[2].id = -1, g().item_count = 3; }},
            {"busy", [this](const Args& a) {  // cx cy w h: every pixel another colour, every 7th diagonal white
                add_piece(g(), i(a, 0), i(a, 1), i(a, 2), i(a, 3),
                          [](int32_t x, int32_t y) { return (x + y) % 7 ? pattern_word(x, y) : kWhite; });
            }},
            {"swap", [this](const Args& a) { std::swap(g().items[i(a, 0)], g().items[i(a, 1)]); }},
            {"move", [this](const Args& a) {
                Piece& p = piece(a);
                p.grab_x = p.cx, p.grab_y = p.cy;
                p.move_to(p.cx + i(a, 1), p.cy + i(a, 2));
            }},
            {"disp", [this](const Args& a) { drawn_ = disp(g(), clip(a)); }},
            {"poke", [this](const Args& a) { at(*desk.desk_image, i(a, 0), i(a, 1)) = uint32_t(value(a[2])); }},
            {"rangebox", [this](const Args& a) {
                display.range_x1 = i(a, 0), display.range_y1 = i(a, 1);
                display.range_x2 = i(a, 2), display.range_y2 = i(a, 3);
            }},
            {"rangestate", [this](const Args& a) { display.range_state = i(a, 0); }},
            {"paint", [this](const Args& a) { ws::paint_at_once(display.game_window, clip(a)); }},
            {"ddback", [](const Args&) { dd_back(nullptr, 0, 0), desk.presenter->flip(display.game_window, nullptr); }},
            {"dditem", [this](const Args& a) { dd_draw_item(clip(a), i(a, 0), true); }},
            {"redrawgdi", [](const Args&) { redraw_all_gdi(); }},
            {"finish", [](const Args&) { finish_window(); }},
            {"picture", [this](const Args& a) {  // W H ren|cen, or none (a file that is not there)
                const bool none = a[0] == "none";
                ASSERT_TRUE(none || write_picture(dir_.file("back.bmp"), i(a, 0), i(a, 1), picture_pixel));
                settings.back_img = dir_.file("back.bmp");
                settings.back_type = a.back() == "ren" ? IDM_BACK_IMG_REN : IDM_BACK_IMG_CEN;
                settings.back_color = 0x0000FF;
            }},
            {"faint", [this](const Args& a) {  // W H COLS ROWS WORD...: picture column x of word x (mod their count)
                const Args words(a.begin() + 4, a.end());
                game_with_picture(i(a, 0), i(a, 1), [&](int32_t x, int32_t) {
                    return uint32_t(value(words[size_t(x) % words.size()]));
                }, i(a, 2), i(a, 3));
            }},
            {"scroll", [this](const Args& a) { desk.scroll_dx = i(a, 0), desk.scroll_dy = i(a, 1); }},
            {"pokeback", [this](const Args& a) { at(*desk.desk_back, i(a, 0), i(a, 1)) = uint32_t(value(a[2])); }},
        });
        probes_.insert({
            {"drawn", [this](const Args&) { return sides(drawn_); }},
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
                    if (!g().items[k].piece->view) g().items[k].piece->set_angle(0, settings_shading());
                render_background();
                disp(g(), nullptr);
                ws::paint_at_once(display.game_window, nullptr);
                const std::vector<uint32_t> plain = window();
                start_presenter(g());
                const bool composed = window() == plain;
                ws::paint_at_once(display.game_window, nullptr);
                return n(composed) + " " + n(window() == plain);
            }},
            {"backrgb", [this](const Args& a) { return n(backrgb(i(a, 0), i(a, 1))); }},
            {"backimg", [this](const Args& a) { return n(backimg(i(a, 0))); }},
            {"colour", [](const Args&) { return n(settings.back_color); }},
            {"back", [this](const Args& a) { return n(at(*desk.desk_back, i(a, 0), i(a, 1))); }},  // the word at X Y
            {"smooth", [this](const Args& a) {  // AROUND MIDDLE X Y SIZE: a 3 x 3 source smoothed into 0x123456s
                MemDC dst;
                dst.create(BIT_DIB, 3, 3);
                std::fill(dst.words(), dst.words() + 9, 0x123456u);
                const PixelAt word = [&](int32_t x, int32_t y) { return uint32_t(value(a[x == 1 && y == 1])); };
                const std::unique_ptr<MemDC> src(surface_of(3, 3, word));
                smooth_pixel(*src, dst, i(a, 2), i(a, 3), i(a, 4), i(a, 4));
                return n(at(dst, std::max(i(a, 2), 0), i(a, 3)));
            }},
            {"same", [](const Args&) { return n(top_down(*desk.desk_image) == top_down(*desk.desk_back)); }},
            {"dialog", [this](const Args& a) {
                const auto& d = ws::test::dialogs().at(size_t(i(a, 0)));
                return d.kind + " " + n(d.owner == display.game_window);
            }},
            {"ren", [this](const Args& a) {  // W H OX OY: words unlike the picture repeated from its (ox, oy)
                const int32_t w = i(a, 0), h = i(a, 1), ox = i(a, 2), oy = i(a, 3);
                return n(back_faults([=](int32_t x, int32_t y) { return picture_pixel((x + ox) % w, (y + oy) % h); }));
            }},
            {"block", [this](const Args& a) {  // X0 Y0 W H [WORD...]: words unlike one block on the red desk
                const int32_t x0 = i(a, 0), y0 = i(a, 1), w = i(a, 2), h = i(a, 3);
                return n(back_faults([&](int32_t x, int32_t y) {
                    if (x < x0 || x >= x0 + w || y < y0 || y >= y0 + h) return kRedWord;
                    return a.size() > 4 ? uint32_t(value(a[4 + size_t(x - x0) % (a.size() - 4)]))
                                        : picture_pixel(x - x0, y - y0);
                }));
            }},
            {"engraved", [this](const Args& a) {  // X0 Y0 PLAIN: the game's faint picture at (x0, y0) of words PLAIN
                // where no line is engraved: the words changed neither on a cutting line nor just below-right of one;
                // whether over 100 are darker and over 20 lighter; whether over 50 on lines off the rim are darker
                const int32_t w = g().pic_w, h = g().pic_h;
                const uint32_t plain = uint32_t(value(a[2]));
                const std::unique_ptr<MemDC> lines(surface_of(w, h, [](int32_t, int32_t) { return kWhite; }));
                lines->set_pen(0, 1);
                for (int32_t c = 0; c < g().cols * g().rows; ++c)
                    for (const auto& edge : g().cells[c].edges) lines->bezier(edge, line_points());
                const auto on = [&](int32_t x, int32_t y) { return x >= 0 && y >= 0 && !(at(*lines, x, y) & kWhite); };
                int32_t off = 0, darker = 0, lighter = 0, inner_dark = 0;
                for (int32_t y = 0; y < h; ++y)
                    for (int32_t x = 0; x < w; ++x) {
                        const uint32_t word = at(*desk.desk_back, i(a, 0) + x, i(a, 1) + y);
                        const bool dark = (word & 0xFF00) < (plain & 0xFF00);
                        inner_dark += dark && on(x, y) && x >= 2 && x < w - 2 && y >= 2 && y < h - 2;
                        if (word == plain) continue;
                        (dark ? darker : lighter) += 1;
                        off += !on(x, y) && !on(x - 1, y) && !on(x, y - 1) && !on(x - 1, y - 1);
                    }
                return n(off) + " " + n(darker > 100) + " " + n(lighter > 20) + " " + n(inner_dark > 50);
            }},
        });
    }
};
TEST_P(DeskScripts, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Background, DeskScripts, ::testing::ValuesIn(read_scripts("shell/data/background.txt")),
                         ScriptedDesk::name);
INSTANTIATE_TEST_SUITE_P(Display, DeskScripts, ::testing::ValuesIn(read_scripts("shell/data/display.txt")),
                         ScriptedDesk::name);

}  // namespace
