// Drawing surfaces: context objects, pixel access, colour/monochrome transfers; the presenter's image ownership; the
// fatal errors of surfaces and the presenter.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "graphics/state.h"
#include "graphics/trace.h"
#include "ws/ddbase.h"

namespace {

constexpr Colour red = 0x0000FF, green = 0x00FF00, white = 0xFFFFFF;

// Pens and brushes replace each other rather than pile up; releasing the context frees them with it, and a context
// taken again starts with the stock white brush.
TEST(MemDC, PensAndBrushesAreOwnedOnce) {
    const int32_t start = MemDC::live_objects();
    MemDC s;
    s.create(BIT_DIB, 6, 6);  // a bitmap and its context
    s.fill(0, 0, 6, 6, red);
    for (Colour c : {red, green}) s.set_pen(c, 1);
    s.set_brush(red);
    s.fill(0, 0, 1, 1, red);  // replaces the brush
    EXPECT_EQ(MemDC::live_objects(), start + 4);
    s.release_dc();
    EXPECT_EQ(MemDC::live_objects(), start + 1);
    s.flood_fill(5, 5, 0, FLOODFILLBORDER);
    EXPECT_EQ(s.get_pixel(5, 5), white);
    s.destroy();
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
    EXPECT_EQ(std::tuple(info.width, info.height, info.width_bytes, info.bits_pixel, info.bits),
              std::tuple(3, 2, 12, uint16_t(32), s.pixels()));
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
    for (MemDC* m : {&src, &mono, &dst}) m->create(m == &mono ? BIT_MONO : BIT_DIB, 3, 1);
    std::copy_n(std::array<uint32_t, 3>{0xFF000000 | 0xFFFFFF, 0xFF0000, 0}.data(), 3, src.pixels());
    const auto row = [](MemDC& m) { return std::vector{m.get_pixel(0, 0), m.get_pixel(1, 0), m.get_pixel(2, 0)}; };
    mono.blit(0, 0, 3, 1, src, 0, 0, SRCCOPY);  // the source background (white) becomes white
    EXPECT_EQ(row(mono), (std::vector<Colour>{white, 0, 0}));
    src.set_bk_colour(red);
    mono.blit(0, 0, 3, 1, src, 0, 0, NOTSRCCOPY);
    EXPECT_EQ(row(mono), (std::vector<Colour>{white, 0, white}));
    dst.blit(0, 0, 3, 1, mono, 0, 0, SRCCOPY);
    EXPECT_EQ(row(dst), (std::vector<Colour>{white, 0, white}));
    dst.set_text_colour(0x000080);  // the destination's colours: black -> text, white -> bk
    dst.set_bk_colour(green);
    dst.stretch_blit(0, 0, 3, 1, mono, 0, 0, 3, 1, SRCCOPY);
    EXPECT_EQ(row(dst), (std::vector<Colour>{green, 0x000080, green}));
    dst.set_brush(0x00332211);
    dst.blit(1, 0, 1, 1, mono, 0, 0, PATCOPY);
    EXPECT_EQ(dst.pixels()[1], 0x00112233u);
}

// Whatever is drawn on a monochrome surface, by every operation and in any colour (the nearer of black and white
// is taken), it holds only pure black and pure white words: marked colour words become white, smoothed text edges
// snap to one of the two.
TEST(MemDC, MonochromeSurfacesHoldOnlyBlackAndWhite) {
    MemDC colour, m;
    colour.create(BIT_DIB, 40, 30);
    for (int32_t i = 0; i < 40 * 30; ++i) colour.pixels()[i] = uint32_t(i * 0x9E3779B1u) | 0xFF000000u;
    m.create(BIT_MONO, 80, 40);
    m.blit(0, 0, 40, 30, colour, 0, 0, SRCCOPY);
    m.stretch_blit(40, 0, 40, 40, colour, 0, 0, 40, 30, NOTSRCCOPY);
    ws::text_bk(m, 2, 2, "モノクロ mono", -1, 0x00E0E0, 0x202080);
    m.set_pen(0x7F8080, 3);
    const Point curve[4] = {{0, 39}, {20, 0}, {60, 39}, {79, 0}};
    m.bezier(curve, 4);
    m.set_brush(0x30C030);
    m.ellipse(50, 10, 75, 35);
    m.flood_fill(1, 38, 0x00FFFF, FLOODFILLSURFACE);
    m.set_pixel(79, 39, 0xC0C0C0);
    int32_t black = 0, white = 0, other = 0;
    for (size_t i = 0; i < 80 * 40; ++i) {
        const uint32_t w = m.words()[i];
        (w == 0 ? black : w == 0xFFFFFF ? white : other) += 1;
    }
    EXPECT_EQ(other, 0);
    EXPECT_GT(std::min(black, white), 50);
}

// A frame holds a border fill inside it; an ellipse is outlined with the pen and filled with the brush.
TEST(MemDC, FramesFillsAndEllipsesTakeThePenAndTheBrush) {
    constexpr Colour grey = 0x808080;
    MemDC s;
    s.create(BIT_DIB, 8, 8);
    s.fill(0, 0, 8, 8, grey);
    s.set_pen1(white);
    s.frame(1, 1, 5, 5);
    s.set_brush(red);
    s.flood_fill(3, 3, white, FLOODFILLBORDER);
    EXPECT_EQ(std::tuple(s.get_pixel(3, 3), s.get_pixel(5, 3), s.get_pixel(6, 6)), std::tuple(red, white, grey));
    s.set_pen1(0);
    s.set_brush(green);
    s.ellipse(0, 0, 5, 5);
    EXPECT_EQ(std::tuple(s.get_pixel(2, 2), s.get_pixel(0, 2), s.get_pixel(0, 0)), std::tuple(green, 0u, grey));
}

// Replacing an image releases the old one; a presenter that borrowed another's table releases none of its images
// when it clears the table or finishes.
TEST(Presenter, ImagesAreReleasedOnceAndBorrowedTablesNever) {
    DDBase owner(4), tray(8);
    owner.init(0);
    tray.init(0);
    MemDC item;
    item.create(BIT_SCREEN, 10, 8);
    for (int32_t id : {0, 1}) owner.set_img(id, &item);
    owner.table_count = 2;
    const int32_t before = DDBase::live_surfaces();
    owner.set_img(1, &item);
    EXPECT_EQ(DDBase::live_surfaces(), before);
    tray.copy_table(owner);
    EXPECT_EQ(std::pair(tray.table_count, tray.surfaces[1]), std::pair(2, owner.surfaces[1]));
    tray.clear_table();
    EXPECT_EQ(std::pair(tray.surfaces[0], tray.surfaces[1]), std::pair((MemDC*)nullptr, (MemDC*)nullptr));
    tray.finish();
    EXPECT_EQ(DDBase::live_surfaces(), before);
}

// A 4 x 4 surface of the given type and a presenter of two slots, for the fatal cases below to misuse.
MemDC& made(int32_t type) {
    static MemDC s;
    s.create(type, 4, 4);
    return s;
}
DDBase& presenter() {
    static DDBase d(2);
    d.init(0);
    return d;
}

// Death tests: the fatal report writes its step text into the trace file, which each child points elsewhere.
TEST(SurfaceDeathTest, FatalErrorsNameTheCallerAndTheStep) {
    const std::tuple<void (*)(), const char*, const char*> cases[] = {  // the misuse, the module named, the step
        {[] { made(3); }, "surface_test", "bit_type error"},
        {[] { MemDC().create(BIT_MONO, -1, 4); }, "surface_test", "CreateBitmap"},
        {[] { MemDC().create(BIT_DIB, 4, -1); }, "surface_test", "CreateDIBSection"},
        {[] { MemDC().create(BIT_DIB, 1 << 15, (1 << 13) + 1); }, "surface_test", "CreateDIBSection"},  // > 2^28
        {[] { made(BIT_SCREEN).pixels(); }, "surface_test", "NOT DIB FORMAT"},
        {[] { made(BIT_DIB).bezier(std::array<Point, 2>{}.data(), 2); }, "surface_test", "PolyBezier"},
        {[] { MemDC().fill(0, 0, 1, 1, 0); }, "surface_test", "SelectObject"},
        {[] { presenter().set_img(2, &made(BIT_SCREEN)); }, "ddbase", "set_img noが不正 no=2"},
        {[] { presenter().set_img(1, nullptr); }, "ddbase", "set_img ビットマップポインタが不正(NULL) no=1"},
        {[] { presenter().draw(nullptr, -1, 0, 0); }, "ddbase", "draw noが不正 no=-1"},
        {[] { presenter().back_clear(nullptr, nullptr, 0, 0); }, "ddbase",
         "back_clear ビットマップポインタが不正(NULL)"},
    };
    // Beside the test program (a death test's child runs it again), so builds tested side by side keep apart.
    const std::string f = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "surface_fatal").string();
    for (const auto& [run, who, step] : cases) {
        std::remove(f.c_str());
        EXPECT_EXIT((std::strcpy(graphics.trace_file_name, f.c_str()), run()), testing::ExitedWithCode(1), "") << step;
        std::ostringstream read;
        read << std::ifstream(f).rdbuf();
        const std::string text = read.str();
        EXPECT_NE(text.find(step), std::string::npos) << text;
        EXPECT_EQ(text.find(std::string(who) + " line="), text.find('\n') + 1) << text;
    }
    std::remove(f.c_str());
}

}  // namespace
