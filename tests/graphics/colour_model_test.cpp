// The lightness-hue-saturation colour model and the rectangle helpers.
#include "graphics/colour_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "graphics/geometry.h"

namespace {

Colour rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

TEST(ColourModel, KnownColours) {
    const Lhs black = colour_to_lhs(0);
    EXPECT_EQ(black.l, 0.0);
    EXPECT_EQ(black.h, 0.0);
    EXPECT_EQ(black.s, 0.0);

    // The weights add up to 1.000001: a grey keeps a tiny colour difference, equal in u and v (hue 1/8 turn).
    const Lhs grey = colour_to_lhs(rgb(128, 128, 128));
    EXPECT_NEAR(grey.l, 128 * 1.000001 * 100 / 255, 1e-9);
    EXPECT_NEAR(grey.h, 12.5, 1e-9);
    EXPECT_GT(grey.s, 0.0);
    EXPECT_LT(grey.s, 1e-3);

    // Pure red: L = 0.298912 x 100; u = 255 (1 - 0.298912), v = -0.298912 x 255.
    const Lhs r = colour_to_lhs(rgb(255, 0, 0));
    EXPECT_NEAR(r.l, 29.8912, 1e-9);
    const double u = 255 * (1 - 0.298912), v = -0.298912 * 255;
    EXPECT_NEAR(r.h, (std::atan2(u, v) + M_PI) * 100 / (2 * M_PI), 1e-9);
    EXPECT_NEAR(r.s, std::hypot(u, v) * 100 / 227.687438, 1e-9);

    // Pure blue has the greatest colour difference: saturation 100. Green lies at hue 12.5 (u = v).
    EXPECT_NEAR(colour_to_lhs(rgb(0, 0, 255)).s, 100.0, 1e-3);
    EXPECT_NEAR(colour_to_lhs(rgb(0, 255, 0)).h, 12.5, 1e-9);
    EXPECT_NEAR(colour_to_lhs(rgb(0, 255, 0)).l, 58.6611, 1e-9);
    // Only the low 24 bits count.
    EXPECT_EQ(colour_to_lhs(0xFF000000 | rgb(255, 0, 0)).h, r.h);
}

TEST(ColourModel, BackToColours) {
    for (const double h : {0.0, 12.5, 50.0, 99.9, 100.5, 250.0, -30.0}) {
        EXPECT_EQ(lhs_to_colour(100, h, 0), 0x00FFFFFFu) << h;
        EXPECT_EQ(lhs_to_colour(0, h, 0), 0u) << h;
        EXPECT_EQ(lhs_to_colour(150, h, -5), 0x00FFFFFFu) << h;  // L and S are clamped
    }
    // Half lightness, no saturation: 50 x 2.55 = 127.5, truncated.
    EXPECT_EQ(lhs_to_colour(50, 33, 0), rgb(127, 127, 127));
    // Full saturation at full lightness runs every channel against its limits without wrapping.
    const Colour bright = lhs_to_colour(100, 40, 100);
    EXPECT_EQ(bright & 0xFF000000, 0u);
    // Values that are not numbers give defined channels.
    EXPECT_EQ(lhs_to_colour(NAN, 10, 0), 0u);
    EXPECT_EQ(lhs_to_colour(50, NAN, 50), 0u);
    EXPECT_EQ(lhs_to_colour(50, INFINITY, 50), 0u);
}

TEST(ColourModel, RoundTripKeepsEveryChannelWithinOne) {
    for (uint32_t r = 0; r < 256; r += 15)
        for (uint32_t g = 0; g < 256; g += 17)
            for (uint32_t b = 0; b < 256; b += 51) {
                const Lhs x = colour_to_lhs(rgb(r, g, b));
                const Colour back = lhs_to_colour(x.l, x.h, x.s);
                EXPECT_LE(std::abs(int(back & 0xFF) - int(r)), 1);
                EXPECT_LE(std::abs(int((back >> 8) & 0xFF) - int(g)), 1);
                EXPECT_LE(std::abs(int((back >> 16) & 0xFF) - int(b)), 1);
            }
}

TEST(Rectangles, OffsetAndIntersect) {
    Rect r{1, 2, 5, 7};
    offset_rect(r, -3, 4);
    EXPECT_EQ(r, (Rect{-2, 6, 2, 11}));

    EXPECT_EQ(intersect_rect({0, 0, 10, 10}, {5, -5, 20, 3}), (Rect{5, 0, 10, 3}));
    EXPECT_EQ(intersect_rect({0, 0, 10, 10}, {2, 2, 4, 4}), (Rect{2, 2, 4, 4}));
    // Touching at an edge or a corner is no overlap; nor is an empty rectangle inside another.
    EXPECT_EQ(intersect_rect({0, 0, 10, 10}, {10, 0, 20, 10}), Rect{});
    EXPECT_EQ(intersect_rect({0, 0, 10, 10}, {0, 10, 10, 20}), Rect{});
    EXPECT_EQ(intersect_rect({0, 0, 10, 10}, {10, 10, 20, 20}), Rect{});
    EXPECT_EQ(intersect_rect({0, 0, 10, 10}, {3, 3, 3, 8}), Rect{});
}

}  // namespace
