// The program's resources as the player meets them: the main menu's entries (none grayed, checked or marked as a
// separator that should not be, every pop-up in place, the counts and sizes named as they are), and the icon, a
// shaded piece with knobs and sockets on a ground that stays transparent in the PNG the desktop entry uses.
#include <gtest/gtest.h>

#include "resources/resources.h"
#include "shell/menu.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"

namespace {

// Every entry of `m` as "text:id" (pop-ups as "text[...]"), separators "-", any grayed or checked one flagged.
std::string entries(ws::Hmenu m) {
    std::string out;
    for (int32_t k = 0; k < ws::get_menu_item_count(m); ++k) {
        const uint32_t state = ws::get_menu_state(m, uint32_t(k), ws::MF_BYPOSITION);
        const std::string text = ws::get_menu_string(m, uint32_t(k), ws::MF_BYPOSITION);
        if (state & (ws::MF_GRAYED | ws::MF_CHECKED)) out += "!";
        const ws::Hmenu sub = ws::get_sub_menu(m, k);
        out += sub ? "[" + entries(sub) + "]" : text.empty() ? "-" : std::to_string(ws::get_menu_item_id(m, k));
        out += " ";
    }
    return out;
}

TEST(Resources, TheMainMenuHoldsEveryCommandInItsPlace) {
    register_resources();
    const ws::Hmenu menu = ws::load_menu("IDM_MAIN_MENU");
    EXPECT_EQ(entries(menu), "[200 201 202 - 203 204 - 253 [205 206 207 208 ] - 209 - 210 ] "
                             "[[211 212 213 214 215 216 217 218 219 220 221 222 223 ] "
                             "[224 225 226 227 228 229 230 231 232 233 ] [234 235 236 ] [237 238 ] 257 "
                             "[239 240 241 242 ] [255 256 ] [243 244 245 254 [246 247 248 ] ] [249 250 ] ] ");
    std::string names;
    for (const int32_t pop : {SETTINGS_PIECES, SETTINGS_STRETCH}) {
        const ws::Hmenu m = ws::get_sub_menu(ws::get_sub_menu(menu, 1), pop);
        for (int32_t k = 0; k < ws::get_menu_item_count(m); ++k)
            names += ws::get_menu_string(m, uint32_t(k), ws::MF_BYPOSITION) + " ";
    }
    EXPECT_EQ(names, "4 10 20 50 75 100 150 200 250 300 400 500 600 伸縮しない 200 300 400 500 600 700 800 900 1000 ");
    ws::destroy_menu(menu);
}

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
