// Drawing surfaces and the presenter: context bookkeeping, pixel access, colour/monochrome transfers, drawing
// through a surface, item copies with the white key, borrowed tables, presenting into a window, fatal errors.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "graphics/ddbase.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "picture_test_util.h"

namespace {

constexpr Colour red = 0x0000FF, green = 0x00FF00, white = 0xFFFFFF, grey = 0x808080;

TEST(MemDC, ContextsPensAndBrushesAreOwnedOnceAndTheStockOnesComeBack) {
    const int32_t start = MemDC::live_objects();
    {
        MemDC s;
        s.create(BIT_DIB, 6, 6);
        EXPECT_EQ(MemDC::live_objects(), start + 2);  // bitmap and device context
        s.fill(0, 0, 6, 6, red);
        uint32_t* const kept = s.pixels();
        s.set_pen(red, 1), s.set_pen(green, 1), s.set_brush(red);
        s.fill(0, 0, 1, 1, red);  // replaces the brush
        EXPECT_EQ(MemDC::live_objects(), start + 4);
        s.release_dc(), s.release_dc();
        EXPECT_FALSE(s.has_dc() || s.has_pen() || s.has_brush());
        EXPECT_EQ(MemDC::live_objects(), start + 1);  // the bitmap alone
        s.line(0, 1, 6, 1);  // reattached with the black stock pen, into the kept pixels
        EXPECT_TRUE(s.has_dc());
        EXPECT_EQ(s.pixels(), kept);
        EXPECT_EQ(s.get_pixel(1, 1), 0u);
        s.flood_fill(5, 5, 0, FLOODFILLBORDER);  // the white stock brush, stopped by the line
        EXPECT_EQ(std::pair(s.get_pixel(5, 5), s.get_pixel(0, 0)), std::pair(white, red));
        EXPECT_EQ(kept[30], 0xFF0000u);  // the top-left word, stored last, is 0x00RRGGBB
        MemDC other;
        other.create(BIT_MONO, 3, 3);
        other.set_brush(white);
        other.create(BIT_DIB, 5, 5);  // a second create replaces the first surface
        EXPECT_EQ(MemDC::live_objects(), start + 4);
        other.destroy(), other.destroy();
        EXPECT_EQ(MemDC::live_objects(), start + 2);
        s.set_pen1(red);
    }  // s is still created here: its destructor frees everything
    EXPECT_EQ(MemDC::live_objects(), start);
}

TEST(MemDC, PixelValuesRowOrderInfoAndMonochrome) {
    MemDC s, m;
    s.create(BIT_DIB, 3, 2);
    s.set_pixel(0, 1, 0x00332211);
    EXPECT_EQ(s.pixels()[0], 0x00112233u);  // row 1 is the bottom row, stored first
    s.pixels()[1] = 0xAB112233;
    EXPECT_EQ(s.get_pixel(1, 1), 0x00332211u);  // the mark is dropped on reading
    EXPECT_EQ(std::pair(s.get_pixel(3, 0), s.get_pixel(0, -1)), std::pair(white, white));
    s.set_pixel(-1, 0, red);  // ignored
    BitmapInfo info;
    s.get_info(info);
    EXPECT_EQ(std::tuple(info.width, info.height, info.width_bytes, info.bits_pixel, info.bits), std::tuple(3, 2, 12, uint16_t(32), s.pixels()));
    m.create(BIT_MONO, 17, 4);
    m.get_info(info);
    EXPECT_EQ(std::tuple(info.bits_pixel, info.width_bytes, info.bits), std::tuple(uint16_t(1), 4, nullptr));
    m.fill(0, 0, 4, 1, white);
    m.fill(0, 0, 1, 1, 0x7F8080);  // R + G + B = 383: nearer white
    m.fill(1, 0, 1, 1, 0x7F7F80);  // 382: nearer black
    m.set_pixel(2, 0, 0x00C0C0C0);
    m.set_pen1(0x0000FF);
    m.line(3, 0, 4, 0);
    EXPECT_EQ(std::vector<Colour>({m.get_pixel(0, 0), m.get_pixel(1, 0), m.get_pixel(2, 0), m.get_pixel(3, 0)}),
              std::vector<Colour>({white, 0, white, 0}));
}

TEST(MemDC, TransfersBetweenColourAndMonochromeUseTheContextColours) {
    MemDC src, mono, dst;
    src.create(BIT_DIB, 3, 1), mono.create(BIT_MONO, 3, 1), dst.create(BIT_DIB, 3, 1);
    src.pixels()[0] = 0xFF000000 | 0xFFFFFF, src.pixels()[1] = 0xFF0000, src.pixels()[2] = 0;
    const auto row = [](MemDC& m) { return std::vector<Colour>{m.get_pixel(0, 0), m.get_pixel(1, 0), m.get_pixel(2, 0)}; };
    mono.blit(0, 0, 3, 1, src, 0, 0, SRCCOPY);  // the source background (white) becomes white
    EXPECT_EQ(row(mono), (std::vector<Colour>{white, 0, 0}));
    src.set_bk_colour(red);
    mono.blit(0, 0, 3, 1, src, 0, 0, NOTSRCCOPY);
    EXPECT_EQ(row(mono), (std::vector<Colour>{white, 0, white}));
    dst.blit(0, 0, 3, 1, mono, 0, 0, SRCCOPY);
    EXPECT_EQ(std::vector<uint32_t>(dst.pixels(), dst.pixels() + 3), (std::vector<uint32_t>{0xFFFFFF, 0, 0xFFFFFF}));
    dst.set_text_colour(0x000080), dst.set_bk_colour(green);  // the destination's colours: black -> text, white -> bk
    dst.stretch_blit(0, 0, 3, 1, mono, 0, 0, 3, 1, SRCCOPY);
    EXPECT_EQ(std::vector<uint32_t>(dst.pixels(), dst.pixels() + 3), (std::vector<uint32_t>{0x00FF00, 0x800000, 0x00FF00}));
    dst.set_brush(0x00332211);
    dst.blit(1, 0, 1, 1, mono, 0, 0, PATCOPY);
    EXPECT_EQ(dst.pixels()[1], 0x00112233u);
}

TEST(MemDC, FrameFloodStretchEllipseAndTextThroughTheSurface) {
    MemDC s, small;
    s.create(BIT_DIB, 8, 8);
    s.fill(0, 0, 8, 8, grey);
    s.set_pen1(white);
    s.frame(1, 1, 5, 5);
    s.set_brush(red);
    EXPECT_EQ(s.flood_fill(1, 1, white, FLOODFILLBORDER), 1);  // a seed on the border paints nothing
    s.flood_fill(3, 3, white, FLOODFILLBORDER);
    small.create(BIT_DIB, 2, 2);
    small.stretch_blit(0, 0, 2, 2, s, 0, 0, 4, 4, SRCCOPY);  // takes columns 1, 3 and rows 0, 2
    EXPECT_EQ(std::vector<Colour>({small.get_pixel(0, 0), small.get_pixel(1, 0), small.get_pixel(0, 1), small.get_pixel(1, 1)}),
              std::vector<Colour>({grey, grey, white, red}));
    s.set_pen1(0), s.set_brush(green);
    s.ellipse(0, 0, 5, 5);
    EXPECT_EQ(std::tuple(s.get_pixel(2, 2), s.get_pixel(0, 2), s.get_pixel(0, 0)), std::tuple(green, 0u, grey));

    MemDC t;
    t.create(BIT_DIB, 120, 60);
    t.fill(0, 0, 120, 60, grey);
    t.text_bk(10, 12, "ピース", -1, 0x000000, white);
    int32_t left = 999, top = 999, right = -1, bottom = -1, dark = 0, light = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 120; ++x)
            if (const Colour c = t.get_pixel(x, y); c != grey) {
                left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
                dark += c == 0, light += c == white;
            }
    const Size box = ws::text_extent("ピース");
    EXPECT_EQ((Rect{left, top, right + 1, bottom + 1}), (Rect{10, 12, 10 + box.cx, 12 + box.cy})) << "text fills its box";
    EXPECT_TRUE(dark > 0 && light > 0);
}

constexpr uint32_t kBackground = 0x203040;
// The item picture, 10 x 8: a colour per pixel, with a white column at x = 4 and a white pixel at (0, 0).
uint32_t item_pixel(int32_t x, int32_t y) {
    return x == 4 || (x == 0 && y == 0) ? 0xFFFFFF : uint32_t(0x100000 * (x + 1) + 0x1000 * (y + 1) + 7);
}
uint32_t back_at(const DDBase& dd, int32_t x, int32_t y) {
    return dd.back->words()[size_t(dd.back->height() - 1 - y) * size_t(dd.back->width()) + size_t(x)];
}

class Presenter : public ::testing::Test {
protected:
    void SetUp() override {
        dd.init(0);
        dd.table_count = dd.count;
        pictest::fill_surface(desk, dd.screen_width, dd.screen_height, [](int32_t, int32_t) { return kBackground; });
        dd.back_clear(nullptr, &desk, 0, 0);
        pictest::fill_surface(view, 10, 8, item_pixel);
        dd.set_img(1, &view);
    }
    // The rectangle (x, y, w, h) of the back buffer shows the item from (sx, sy) with white left out, and the
    // pixels just outside it show the background.
    void expect_item_at(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy) {
        for (int32_t r = -1; r <= h; ++r)
            for (int32_t c = -1; c <= w; ++c) {
                if (x + c < 0 || y + r < 0 || x + c >= dd.screen_width || y + r >= dd.screen_height) continue;
                const bool in = r >= 0 && c >= 0 && r < h && c < w;
                const uint32_t item = in ? item_pixel(sx + c, sy + r) : 0xFFFFFF;
                ASSERT_EQ(back_at(dd, x + c, y + r), item == 0xFFFFFF ? kBackground : item) << "at " << x + c << "," << y + r;
            }
    }
    DDBase dd{4};
    MemDC desk, view;
};

TEST_F(Presenter, DrawClipsAtTheBackBufferAndTakesTheMatchingPartOfTheItem) {
    const int32_t w = dd.screen_width, h = dd.screen_height;
    const struct {
        Rect r;
        int32_t sx, sy;   // offset into the item
        int32_t x, y, cw, ch, fx, fy;  // where it lands, how much, from where in the item
    } cases[] = {{{20, 30, 40, 50}, 0, 0, 20, 30, 10, 8, 0, 0},  // a larger rectangle draws only the item
                 {{-3, -2, 7, 6}, 0, 0, 0, 0, 7, 6, 3, 2},
                 {{w - 4, h - 3, w + 6, h + 5}, 0, 0, w - 4, h - 3, 4, 3, 0, 0},
                 {{100, 100, 120, 120}, -2, -1, 102, 101, 10, 8, 0, 0},  // a negative offset moves the destination on
                 {{200, 200, 210, 210}, 10, 0, 200, 200, 0, 0, 0, 0},   // an offset at the item's edge draws nothing
                 {{300, 300, 300, 310}, 0, 0, 300, 300, 0, 0, 0, 0}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.r.left);
        dd.draw(&k.r, 1, k.sx, k.sy);
        expect_item_at(k.x, k.y, k.cw, k.ch, k.fx, k.fy);
    }
    MemDC source;
    pictest::fill_surface(source, 50, 40, [](int32_t x, int32_t y) { return uint32_t(0x010000 * x + 0x000100 * y + 1); });
    const Rect r{-5, -6, 20, 20}, at{100, 100, 110, 110};
    dd.back_clear(&r, &source, 0, 0);
    EXPECT_EQ(std::tuple(back_at(dd, 0, 0), back_at(dd, 19, 19), back_at(dd, 20, 19)), std::tuple(0x050601u, 0x181901u, kBackground));
    dd.back_clear(nullptr, &source, 10, 0);  // the source runs out after 40 columns and 40 rows
    EXPECT_EQ(std::tuple(back_at(dd, 39, 39), back_at(dd, 40, 0), back_at(dd, 0, 40)), std::tuple(0x312701u, kBackground, kBackground));
    dd.back_clear(&at, &source, -3, 0);
    EXPECT_EQ(std::pair(back_at(dd, 102, 100), back_at(dd, 103, 100)), std::pair(kBackground, 0x000001u));
}

TEST_F(Presenter, ImagesAreOwnedOnceReadBackAndSharedWithBorrowers) {
    const int32_t before = DDBase::live_surfaces();
    EXPECT_EQ(dd.get_pixel(1, 2, 3), word_to_colour(item_pixel(2, 3)));
    EXPECT_EQ(dd.get_pixel(-1, 5, 5), word_to_colour(kBackground));
    for (const auto& [id, x] : {std::pair{1, 10}, {2, 0}, {99, 0}}) EXPECT_EQ(dd.get_pixel(id, x, 0), white) << id;
    {
        DDBase tray(8);
        tray.init(0);
        tray.copy_table(dd);
        EXPECT_EQ(std::pair(tray.table_count, tray.surfaces[1]), std::pair(dd.table_count, dd.surfaces[1]));
        tray.back_clear(nullptr, &desk, 0, 0);
        const Rect r{0, 0, 10, 8};
        tray.draw(&r, 1, 0, 0);
        EXPECT_EQ(tray.get_pixel(-1, 5, 3), word_to_colour(item_pixel(5, 3)));
        tray.clear_table();
        EXPECT_EQ(tray.surfaces[1], nullptr);
    }
    EXPECT_EQ(DDBase::live_surfaces(), before) << "clearing a borrowed table releases nothing";
    MemDC bigger;
    pictest::fill_surface(bigger, 12, 9, [](int32_t, int32_t) { return 0x00AA00u; });
    dd.set_img(1, &bigger);
    EXPECT_EQ(DDBase::live_surfaces(), before);
    EXPECT_EQ(std::pair(dd.widths[1], dd.surface_heights[1]), std::pair(12, 9));
    bigger.destroy();  // the presenter keeps its own copy
    EXPECT_EQ(dd.get_pixel(1, 11, 8), word_to_colour(0x00AA00));
    dd.release_img(1);
    EXPECT_EQ(DDBase::live_surfaces(), before - 1);
    EXPECT_EQ(std::pair(dd.surfaces[1], dd.widths[1]), std::pair((MemDC*)nullptr, 0));
    const Rect r{0, 0, 20, 20};
    dd.draw(&r, 1, 0, 0);  // an id without image draws nothing
    EXPECT_EQ(back_at(dd, 1, 1), kBackground);
    dd.finish();
    EXPECT_EQ(DDBase::live_surfaces(), before - 1);
}

// Death tests: the fatal report writes its step text into the trace file, which each child points elsewhere.
TEST(SurfaceDeathTest, FatalErrorsNameTheCallerAndTheStep) {
    const struct {
        const char* name;
        void (*run)();
        const char *who, *step;  // the module named, and the step
    } cases[] = {
        {"bit_type", [] { MemDC s; s.create(3, 4, 4); }, "surface_test", "bit_type error"},
        {"dib", [] { MemDC s; s.create(BIT_SCREEN, 4, 4); s.pixels(); }, "surface_test", "NOT DIB FORMAT"},
        {"bezier", [] { MemDC s; s.create(BIT_DIB, 4, 4); const Point p[2] = {}; s.bezier(p, 2); }, "surface_test", "PolyBezier"},
        {"uncreated", [] { MemDC s; s.fill(0, 0, 1, 1, 0); }, "surface_test", "SelectObject"},
        {"set_img_id", [] { DDBase d(2); d.init(0); MemDC v; v.create(BIT_SCREEN, 2, 2); d.set_img(2, &v); }, "ddbase", "set_img noが不正 no=2"},
        {"set_img_null", [] { DDBase d(2); d.init(0); d.set_img(1, nullptr); }, "ddbase", "set_img ビットマップポインタが不正(NULL) no=1"},
        {"draw_id", [] { DDBase d(2); d.init(0); d.draw(nullptr, -1, 0, 0); }, "ddbase", "draw noが不正 no=-1"},
        {"back_clear", [] { DDBase d(2); d.init(0); d.back_clear(nullptr, nullptr, 0, 0); }, "ddbase", "back_clear ビットマップポインタが不正(NULL)"},
    };
    for (const auto& c : cases) {
        const std::string file = (std::filesystem::temp_directory_path() / ("zelto_surface_" + std::string(c.name) + ".txt")).string();
        std::remove(file.c_str());
        EXPECT_EXIT(
            (std::snprintf(graphics.trace_file_name, sizeof graphics.trace_file_name, "%s", file.c_str()), c.run()),
            testing::ExitedWithCode(1), "")
            << c.name;
        const auto bytes = pictest::read_bytes(file);
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_NE(text.find(c.step), std::string::npos) << c.name << ": " << text;
        EXPECT_EQ(text.find(std::string(c.who) + " line="), text.find('\n') + 1) << c.name << ": " << text;
        std::remove(file.c_str());
    }
}

}  // namespace
