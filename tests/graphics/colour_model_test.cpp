// The lightness-hue-saturation colour model and the rectangle helpers.
#include "graphics/colour_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "graphics/geometry.h"

namespace {

Colour rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

// Values worked out by hand from the luma weights 0.298912, 0.586611, 0.114478 (they add up to 1.000001, so a
// grey keeps a tiny colour difference, equal in u and v: hue 1/8 turn). Red: u = 255 x 0.701088 = 178.78,
// v = -76.22, hue = (atan2(u, v) + pi) / 2 pi = 81.414 %, chroma 194.35 of the greatest, blue's, 227.69.
TEST(ColourModel, KnownColours) {
    const struct {
        Colour c;
        double l, h, s;
    } known[] = {
        {0, 0, 0, 0},
        {rgb(255, 0, 0), 29.8912, 81.41422, 85.35749},
        {0xFF000000 | rgb(255, 0, 0), 29.8912, 81.41422, 85.35749},  // only the low 24 bits count
        {rgb(0, 255, 0), 58.6611, 12.5, 92.9108},
        {rgb(0, 0, 255), 11.4478, 47.9538, 100.0},
        {rgb(128, 128, 128), 50.196129, 12.5, 0.0},
    };
    for (const auto& k : known) {
        const Lhs x = colour_to_lhs(k.c);
        EXPECT_NEAR(x.l, k.l, 1e-4) << std::hex << k.c;
        EXPECT_NEAR(x.h, k.h, 1e-2) << std::hex << k.c;
        EXPECT_NEAR(x.s, k.s, 1e-2) << std::hex << k.c;
    }
}

TEST(ColourModel, BackToColoursClampedAndWithinOneOfTheStart) {
    for (const double h : {0.0, 12.5, 99.9, 100.5, 250.0, -30.0}) {
        EXPECT_EQ(lhs_to_colour(100, h, 0), 0x00FFFFFFu) << h;
        EXPECT_EQ(lhs_to_colour(0, h, 0), 0u) << h;
        EXPECT_EQ(lhs_to_colour(150, h, -5), 0x00FFFFFFu) << h;
    }
    EXPECT_EQ(lhs_to_colour(50, 33, 0), rgb(127, 127, 127));  // 127.5 truncated
    EXPECT_EQ(lhs_to_colour(100, 40, 100) & 0xFF000000, 0u);  // channels stop at their limits
    for (double bad : {double(NAN), double(INFINITY)}) EXPECT_EQ(lhs_to_colour(50, bad, 50), 0u);
    EXPECT_EQ(lhs_to_colour(NAN, 10, 0), 0u);
    for (uint32_t r = 0; r < 256; r += 15)
        for (uint32_t g = 0; g < 256; g += 17)
            for (uint32_t b = 0; b < 256; b += 51) {
                const Lhs x = colour_to_lhs(rgb(r, g, b));
                const Colour back = lhs_to_colour(x.l, x.h, x.s);
                EXPECT_LE(std::abs(int(back & 0xFF) - int(r)) + std::abs(int((back >> 8) & 0xFF) - int(g)) +
                              std::abs(int((back >> 16) & 0xFF) - int(b)),
                          2)
                    << r << "," << g << "," << b;
            }
}

TEST(Rectangles, OffsetAndIntersect) {
    Rect r{1, 2, 5, 7};
    offset_rect(r, -3, 4);
    EXPECT_EQ(r, (Rect{-2, 6, 2, 11}));
    const Rect a{0, 0, 10, 10};
    EXPECT_EQ(intersect_rect(a, {5, -5, 20, 3}), (Rect{5, 0, 10, 3}));
    EXPECT_EQ(intersect_rect(a, {2, 2, 4, 4}), (Rect{2, 2, 4, 4}));
    // Touching at an edge or a corner is no overlap; nor is an empty rectangle inside another.
    for (const Rect& b : {Rect{10, 0, 20, 10}, Rect{0, 10, 10, 20}, Rect{10, 10, 20, 20}, Rect{3, 3, 3, 8}})
        EXPECT_EQ(intersect_rect(a, b), Rect{});
}

}  // namespace
