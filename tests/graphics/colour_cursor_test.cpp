// The lightness-hue-saturation colour model, the rectangle helpers and the busy-cursor stack.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "graphics/colour_model.h"
#include "graphics/geometry.h"
#include "ws/cursor.h"
#include "ws/ws.h"

namespace {

Colour rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

// Worked by hand from the luma weights 0.298912, 0.586611, 0.114478: red has u = 255 x 0.701088 = 178.78 and
// v = -76.22, so chroma 194.35 of the greatest, blue's, 227.69; a grey has no saturation. Back from the model every
// colour lands within two steps of where it started, and values out of range are clamped.
TEST(ColourModel, HandWorkedColoursAndTheWayBack) {
    for (const Colour red : {rgb(255, 0, 0), 0xFF000000 | rgb(255, 0, 0)}) {  // only the low 24 bits count
        const Lhs x = colour_to_lhs(red);
        EXPECT_NEAR(x.l, 29.8912, 1e-4);
        EXPECT_NEAR(x.s, 85.35749, 1e-2);
    }
    for (const auto& [c, l] : {std::pair{rgb(0, 255, 0), 58.6611}, {rgb(0, 0, 255), 11.4478}, {0x808080, 50.196129}})
        EXPECT_NEAR(colour_to_lhs(c).l, l, 1e-4) << std::hex << c;
    EXPECT_NEAR(colour_to_lhs(rgb(128, 128, 128)).s, 0, 1e-2);
    for (const double h : {0.0, 12.5, 100.5, 250.0, -30.0})
        EXPECT_EQ((std::vector{lhs_to_colour(100, h, 0), lhs_to_colour(0, h, 0), lhs_to_colour(150, h, -5)}),
                  (std::vector<Colour>{0xFFFFFF, 0, 0xFFFFFF})) << h;
    EXPECT_EQ(lhs_to_colour(50, 33, 0), rgb(127, 127, 127));  // 127.5 truncated
    EXPECT_EQ(lhs_to_colour(100, 40, 100) & 0xFF000000, 0u);  // channels stop at their limits
    EXPECT_EQ(lhs_to_colour(50, NAN, 50) | lhs_to_colour(50, INFINITY, 50) | lhs_to_colour(NAN, 10, 0), 0u);
    for (uint32_t r = 0; r < 256; r += 15)
        for (uint32_t g = 0; g < 256; g += 17)
            for (uint32_t b = 0; b < 256; b += 51) {
                const Lhs x = colour_to_lhs(rgb(r, g, b));
                const Colour back = lhs_to_colour(x.l, x.h, x.s);
                EXPECT_LE(std::abs(int(back & 0xFF) - int(r)) + std::abs(int((back >> 8) & 0xFF) - int(g)) +
                              std::abs(int((back >> 16) & 0xFF) - int(b)), 2) << r << "," << g << "," << b;
            }
}

// Touching at an edge is no overlap, nor is an empty rectangle inside another.
TEST(Rectangles, Intersect) {
    const Rect a{0, 0, 10, 10};
    EXPECT_EQ(intersect_rect(a, {5, -5, 20, 3}), (Rect{5, 0, 10, 3}));
    for (const Rect& b : {Rect{10, 0, 20, 10}, Rect{0, 10, 10, 20}, Rect{3, 3, 3, 8}})
        EXPECT_EQ(intersect_rect(a, b), Rect{});
}

TEST(BusyCursor, PushesShowTheirCursorPopsGoBackAndTheBottomStays) {
    if (cursor_depth() == 0) push_cursor(ws::IDC_ARROW);  // the stack is process-wide: down to its bottom node
    while (cursor_depth() > 1) pop_cursor();
    push_cursor(ws::IDC_ARROW);
    pop_cursor();
    const ws::Hcursor bottom = ws::get_cursor();
    const int32_t first = bottom == ws::IDC_WAIT ? ws::IDC_ARROW : ws::IDC_WAIT;
    const int32_t second = ws::IDC_ARROW + ws::IDC_WAIT - first;
    const std::tuple<int32_t, ws::Hcursor, int32_t> steps[] = {  // push this cursor (0: pop); the cursor, the depth
        {first, ws::load_cursor(first), 2}, {second, ws::load_cursor(second), 3}, {0, ws::load_cursor(first), 2},
        {0, bottom, 1}};
    for (const auto& [push, cursor, depth] : steps) {
        push ? push_cursor(push) : pop_cursor();
        EXPECT_EQ(std::pair(ws::get_cursor(), cursor_depth()), std::pair(cursor, depth));
    }
    ws::set_cursor(ws::load_cursor(first));
    for (int i = 0; i < 3; ++i) pop_cursor();  // more pops than pushes: the bottom stays, the cursor is not touched
    EXPECT_EQ(std::pair(ws::get_cursor(), cursor_depth()), std::pair(ws::load_cursor(first), 1));
    push_cursor(second);
    pop_cursor();
    EXPECT_EQ(ws::get_cursor(), bottom);
}

}  // namespace
