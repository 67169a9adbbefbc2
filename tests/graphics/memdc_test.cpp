// MemDC: device-context bookkeeping, pens and brushes, pixel access, colour/monochrome transfers, fatal errors.
#include "graphics/memdc.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "graphics/state.h"
#include "graphics/trace.h"
#include "ws/ws.h"

namespace {

constexpr Colour red = 0x0000FF, green = 0x00FF00, white = 0xFFFFFF;

TEST(MemDCLifecycle, ReleasedSurfaceReattachesAndDrawsIntoItsKeptPixels) {
    MemDC s;
    s.create(BIT_DIB, 4, 4);
    s.fill(0, 0, 4, 4, red);
    uint32_t* const kept = s.pixels();
    s.release_dc();
    EXPECT_FALSE(s.has_dc());
    EXPECT_FALSE(s.has_brush());
    s.fill(1, 1, 1, 1, green);
    EXPECT_TRUE(s.has_dc());
    EXPECT_EQ(s.pixels(), kept);
    EXPECT_EQ(s.get_pixel(1, 1), green);
    EXPECT_EQ(s.get_pixel(0, 0), red);
    EXPECT_EQ(kept[0], 0xFF0000u);  // the bottom-left word, 0x00RRGGBB
}

TEST(MemDCLifecycle, PensAndBrushesAreOwnedOnceAndDroppedWithTheContext) {
    const int32_t start = MemDC::live_objects();
    {
        MemDC s;
        s.create(BIT_SCREEN, 8, 8);
        const int32_t created = MemDC::live_objects();
        EXPECT_EQ(created, start + 2);  // bitmap and device context
        s.set_pen(red, 1);
        s.set_pen(green, 1);
        EXPECT_TRUE(s.has_pen());
        EXPECT_EQ(MemDC::live_objects(), created + 1);
        s.set_brush(red);
        s.fill(0, 0, 2, 2, green);  // replaces the brush
        EXPECT_EQ(MemDC::live_objects(), created + 2);
        s.release_dc();
        EXPECT_FALSE(s.has_pen());
        EXPECT_EQ(MemDC::live_objects(), start + 1);  // the bitmap alone
        s.release_dc();
        EXPECT_EQ(MemDC::live_objects(), start + 1);

        MemDC other;
        other.create(BIT_MONO, 3, 3);
        other.set_brush(white);
        other.create(BIT_DIB, 5, 5);  // a second create replaces the first surface
        EXPECT_EQ(MemDC::live_objects(), start + 3);
        other.destroy();
        other.destroy();
        EXPECT_EQ(MemDC::live_objects(), start + 1);
        s.set_pen1(red);
    }  // s is still created here: its destructor frees everything
    EXPECT_EQ(MemDC::live_objects(), start);
}

TEST(MemDCLifecycle, AFreshContextDrawsWithTheStockPenAndBrush) {
    MemDC s;
    s.create(BIT_DIB, 6, 6);
    s.fill(0, 0, 6, 6, green);
    s.set_pen1(red);
    s.set_brush(red);
    s.release_dc();
    s.line(0, 0, 3, 0);  // black pen again
    EXPECT_EQ(s.get_pixel(1, 0), 0u);
    s.flood_fill(5, 5, 0, FLOODFILLBORDER);  // white brush again
    EXPECT_EQ(s.get_pixel(5, 5), white);
}

TEST(MemDCPixels, ColourValuesInAndOutAndRowOrder) {
    MemDC s;
    s.create(BIT_DIB, 3, 2);
    s.set_pixel(0, 1, 0x00332211);
    EXPECT_EQ(s.pixels()[0], 0x00112233u);  // row 1 is the bottom row, stored first
    s.pixels()[1] = 0xAB112233;
    EXPECT_EQ(s.get_pixel(1, 1), 0x00332211u);  // the mark is dropped on reading
    EXPECT_EQ(s.get_pixel(3, 0), white);
    EXPECT_EQ(s.get_pixel(0, -1), white);
    s.set_pixel(-1, 0, red);  // ignored

    BitmapInfo info;
    s.get_info(info);
    EXPECT_EQ(info.width, 3);
    EXPECT_EQ(info.height, 2);
    EXPECT_EQ(info.width_bytes, 12);
    EXPECT_EQ(info.bits_pixel, 32);
    EXPECT_EQ(info.bits, s.pixels());
    MemDC m;
    m.create(BIT_MONO, 17, 4);
    m.get_info(info);
    EXPECT_EQ(info.bits_pixel, 1);
    EXPECT_EQ(info.width_bytes, 4);
    EXPECT_EQ(info.bits, nullptr);
}

TEST(MemDCPixels, MonochromeSurfacesHoldOnlyBlackAndWhite) {
    MemDC m;
    m.create(BIT_MONO, 4, 1);
    m.fill(0, 0, 4, 1, white);
    m.fill(0, 0, 1, 1, 0x7F8080);  // R + G + B = 383: nearer white
    m.fill(1, 0, 1, 1, 0x7F7F80);  // 382: nearer black
    m.set_pixel(2, 0, 0x00C0C0C0);
    m.set_pen1(0x0000FF);
    m.line(3, 0, 4, 0);
    EXPECT_EQ(m.get_pixel(0, 0), white);
    EXPECT_EQ(m.get_pixel(1, 0), 0u);
    EXPECT_EQ(m.get_pixel(2, 0), white);
    EXPECT_EQ(m.get_pixel(3, 0), 0u);
}

TEST(MemDCTransfers, ColourToMonochromeUsesTheSourceBackground) {
    MemDC src, mono;
    src.create(BIT_DIB, 3, 1);
    mono.create(BIT_MONO, 3, 1);
    src.pixels()[0] = 0xFF000000 | 0xFFFFFF;
    src.pixels()[1] = 0xFF0000;  // red as a word
    src.pixels()[2] = 0x000000;
    mono.blit(0, 0, 3, 1, src, 0, 0, SRCCOPY);
    EXPECT_EQ(mono.get_pixel(0, 0), white);
    EXPECT_EQ(mono.get_pixel(1, 0), 0u);
    EXPECT_EQ(mono.get_pixel(2, 0), 0u);
    src.set_bk_colour(red);
    mono.blit(0, 0, 3, 1, src, 0, 0, NOTSRCCOPY);
    EXPECT_EQ(mono.get_pixel(0, 0), white);
    EXPECT_EQ(mono.get_pixel(1, 0), 0u);
    EXPECT_EQ(mono.get_pixel(2, 0), white);
}

TEST(MemDCTransfers, MonochromeToColourUsesTheDestinationColours) {
    MemDC mono, dst;
    mono.create(BIT_MONO, 2, 1);
    mono.fill(0, 0, 1, 1, white);
    dst.create(BIT_DIB, 2, 1);
    dst.blit(0, 0, 2, 1, mono, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.pixels()[0], 0x00FFFFFFu);
    EXPECT_EQ(dst.pixels()[1], 0u);
    dst.set_text_colour(0x000080);
    dst.set_bk_colour(green);
    dst.stretch_blit(0, 0, 2, 1, mono, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dst.pixels()[0], 0x0000FF00u);
    EXPECT_EQ(dst.pixels()[1], 0x00800000u);
    dst.set_brush(0x00332211);
    dst.blit(1, 0, 1, 1, mono, 0, 0, PATCOPY);
    EXPECT_EQ(dst.pixels()[1], 0x00112233u);
}

TEST(MemDCDrawing, FrameEllipseFloodAndStretchThroughTheSurface) {
    MemDC s;
    s.create(BIT_DIB, 8, 8);
    s.fill(0, 0, 8, 8, 0x808080);
    s.set_pen1(white);
    s.frame(1, 1, 5, 5);
    int32_t ring = 0;
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x) ring += s.get_pixel(x, y) == white;
    EXPECT_EQ(ring, 16);
    s.set_brush(red);
    EXPECT_EQ(s.flood_fill(1, 1, white, FLOODFILLBORDER), 1);  // a seed on the border paints nothing
    EXPECT_EQ(s.get_pixel(1, 1), white);
    s.flood_fill(3, 3, white, FLOODFILLBORDER);
    EXPECT_EQ(s.get_pixel(2, 2), red);
    EXPECT_EQ(s.get_pixel(4, 4), red);
    EXPECT_EQ(s.get_pixel(6, 6), 0x808080u);

    MemDC small;
    small.create(BIT_DIB, 2, 2);
    small.stretch_blit(0, 0, 2, 2, s, 0, 0, 4, 4, SRCCOPY);  // takes columns 1, 3 and rows 0, 2
    EXPECT_EQ(small.get_pixel(0, 0), 0x808080u);
    EXPECT_EQ(small.get_pixel(0, 1), white);
    EXPECT_EQ(small.get_pixel(1, 1), red);

    s.set_pen1(0);
    s.set_brush(green);
    s.ellipse(0, 0, 5, 5);
    EXPECT_EQ(s.get_pixel(2, 2), green);
    EXPECT_EQ(s.get_pixel(0, 2), 0u);
    EXPECT_EQ(s.get_pixel(0, 0), 0x808080u);
}

TEST(MemDCDrawing, TextFillsItsBoxAndStaysInIt) {
    MemDC s;
    s.create(BIT_DIB, 120, 60);
    s.fill(0, 0, 120, 60, 0x808080);
    s.text_bk(10, 12, "ピース", -1, 0x000000, white);
    int32_t left = 999, top = 999, right = -1, bottom = -1, dark = 0, light = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 120; ++x) {
            const Colour c = s.get_pixel(x, y);
            if (c == 0x808080) continue;
            left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
            dark += c == 0, light += c == white;
        }
    const Size box = ws::text_extent("ピース");
    EXPECT_EQ(left, 10);
    EXPECT_EQ(top, 12);
    EXPECT_EQ(right, 10 + box.cx - 1);
    EXPECT_EQ(bottom, 12 + box.cy - 1);
    EXPECT_GT(dark, 0);
    EXPECT_GT(light, 0);
}

// Death tests: the fatal report writes its message into the trace file, which each child points elsewhere.
std::string fatal_text(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

std::string report_file(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("zelto_memdc_") + name + ".txt")).string();
}

void point_trace_at(const std::string& file) {
    std::remove(file.c_str());
    std::snprintf(graphics.trace_file_name, sizeof graphics.trace_file_name, "%s", file.c_str());
}

TEST(MemDCDeathTest, FatalErrorsNameTheCallerAndTheStep) {
    const struct {
        const char* name;
        void (*run)();
        const char* step;
    } cases[] = {
        {"bit_type", [] { MemDC s; s.create(3, 4, 4); }, "bit_type error"},
        {"dib", [] { MemDC s; s.create(BIT_SCREEN, 4, 4); s.pixels(); }, "NOT DIB FORMAT"},
        {"bezier", [] { MemDC s; s.create(BIT_DIB, 4, 4); const Point p[2] = {}; s.bezier(p, 2); }, "PolyBezier"},
        {"uncreated", [] { MemDC s; s.fill(0, 0, 1, 1, 0); }, "SelectObject"},
    };
    for (const auto& c : cases) {
        const std::string file = report_file(c.name);
        EXPECT_EXIT((point_trace_at(file), c.run()), testing::ExitedWithCode(1), "") << c.name;
        const std::string text = fatal_text(file);
        EXPECT_NE(text.find(c.step), std::string::npos) << c.name << ": " << text;
        EXPECT_NE(text.find("memdc_test"), std::string::npos) << c.name << ": " << text;
        std::remove(file.c_str());
    }
}

}  // namespace
