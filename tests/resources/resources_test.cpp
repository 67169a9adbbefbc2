// The program's icon as the player meets it: a shaded piece with knobs and sockets on a ground that stays
// transparent in the PNG the desktop entry uses. (The main menu's entries are held by shell/'s golden table.)
#include <gtest/gtest.h>

#include "resources/resources.h"
#include "support/ws/surfaces.h"
#include "support/temp_dir.h"

namespace {

// Drawn at 64 pixels: white corners and sockets, knobs and body filled, a dark outline round the shape, the fill
// lighter towards the top left; at any size only those colours. The PNG keeps it; no file is made of nothing.
TEST(Resources, TheIconIsAShadedPieceOnATransparentGround) {
    MemDC icon;
    draw_program_icon(icon, 64);
    ASSERT_EQ(std::pair(icon.width(), icon.height()), std::pair(64, 64));
    const auto word = [&](int32_t x, int32_t y) { return testsupport::at(icon, x, y) & 0xFFFFFF; };
    constexpr uint32_t white = 0xFFFFFF, outline = 0x603010;
    for (const auto& [x, y] : {std::pair{0, 0}, {63, 63}, {17, 32}, {32, 46}, {5, 32}}) EXPECT_EQ(word(x, y), white);
    for (const auto& [x, y] : {std::pair{32, 8}, {55, 32}, {32, 32}, {20, 20}}) {
        EXPECT_NE(word(x, y), white) << x << "," << y;
        EXPECT_NE(word(x, y), outline) << x << "," << y;
    }
    EXPECT_EQ(std::tuple(word(13, 20), word(50, 50), word(12, 20)), std::tuple(outline, outline, white));
    EXPECT_GT(word(16, 16) & 0xFF00, word(47, 47) & 0xFF00) << "lighter at the top left";
    for (const int32_t size : {16, 48})
        for (const uint32_t w : (draw_program_icon(icon, size), testsupport::top_down(icon)))
            ASSERT_TRUE((w & 0xFFFFFF) == white || (w & 0xFFFFFF) == outline || (w & 0xFF0000) == 0xF00000) << w;
    testsupport::TempDir dir;
    EXPECT_TRUE(ws::save_icon_png(icon, dir.file("icon.png")));
    EXPECT_EQ(testsupport::read_file(dir.file("icon.png")).substr(0, 4), "\x89PNG");
    MemDC none;
    EXPECT_FALSE(ws::save_icon_png(icon, "") || ws::save_icon_png(none, dir.file("none.png")));
}

}  // namespace
