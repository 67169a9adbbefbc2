// Window layer: text extents and drawing text onto a surface's pixel words.
#include <gtest/gtest.h>

#include "ws/ws.h"

namespace {

struct Words {
    int32_t w, h;
    std::vector<uint32_t> px;
    Words(int32_t width, int32_t height, uint32_t fill) : w(width), h(height), px(size_t(width) * size_t(height), fill) {}
    uint32_t at(int32_t x, int32_t y) const { return px[size_t(h - 1 - y) * size_t(w) + size_t(x)]; }  // y from the top
};

// Counts pixels that differ from `before`, inside and outside a box (x, y, cx, cy).
std::pair<int, int> changes(const Words& before, const Words& after, int32_t x, int32_t y, Size box) {
    int in = 0, out = 0;
    for (int32_t r = 0; r < after.h; ++r)
        for (int32_t c = 0; c < after.w; ++c)
            if (before.at(c, r) != after.at(c, r))
                (c >= x && c < x + box.cx && r >= y && r < y + box.cy ? in : out)++;
    return {in, out};
}

TEST(Text, ExtentsGrowWithTheText) {
    Size one = ws::text_extent("W");
    Size three = ws::text_extent("WWW");
    Size jp = ws::text_extent("完成しました");
    EXPECT_GT(one.cx, 0);
    EXPECT_GT(one.cy, 0);
    EXPECT_EQ(three.cy, one.cy);
    EXPECT_GT(three.cx, 2 * one.cx);
    EXPECT_GT(jp.cx, 5 * one.cx / 2) << "Japanese glyphs have width (a CJK font is found)";
    EXPECT_EQ(ws::text_extent("").cx, 0);
    ws::TextMetrics m = ws::text_metrics();
    EXPECT_EQ(m.height, one.cy);
    EXPECT_EQ(m.ascent + m.descent, m.height);
}

TEST(Text, TransparentTextChangesOnlyPixelsInsideItsBoxToItsColour) {
    Words before(120, 40, 0x00FFFFFF), s = before;
    const std::string text = "zelto 完成";
    Size box = ws::text_extent(text);
    ws::draw_text(s.px.data(), s.w, s.h, 10, 5, text, 0x000000FF, 0x00000000, false);  // red text, black ignored
    auto [in, out] = changes(before, s, 10, 5, box);
    EXPECT_GT(in, 20);
    EXPECT_EQ(out, 0);
    for (uint32_t p : s.px) EXPECT_TRUE(p == 0x00FFFFFF || p == 0x00FF0000) << std::hex << p;  // no blended edges
}

TEST(Text, OpaqueTextFillsItsWholeBox) {
    Words before(100, 30, 0x00000000), s = before;
    Size box = ws::text_extent("ABC");
    ws::draw_text(s.px.data(), s.w, s.h, 4, 2, "ABC", 0x00000000, 0x00FF0000, true);  // black on blue
    auto [in, out] = changes(before, s, 4, 2, box);
    EXPECT_EQ(out, 0);
    int blue = 0;
    for (int32_t y = 2; y < 2 + box.cy; ++y)
        for (int32_t x = 4; x < 4 + box.cx; ++x) {
            uint32_t p = s.at(x, y);
            EXPECT_TRUE(p == 0x00000000 || p == 0x000000FF);
            blue += p == 0x000000FF;
        }
    EXPECT_EQ(in, blue);
    EXPECT_GT(blue, box.cx * box.cy / 2);
}

TEST(Text, TextAtTheTopLandsInTheTopRows) {
    // Surfaces store rows bottom-up; text drawn at y = 0 must change the last rows of the array.
    Words s(60, 50, 0x00FFFFFF);
    ws::draw_text(s.px.data(), s.w, s.h, 0, 0, "Hg", 0x00000000, 0, false);
    Size box = ws::text_extent("Hg");
    size_t first_changed = s.px.size();
    for (size_t i = 0; i < s.px.size(); ++i)
        if (s.px[i] != 0x00FFFFFF) {
            first_changed = i;
            break;
        }
    ASSERT_LT(first_changed, s.px.size());
    EXPECT_GE(int32_t(first_changed / size_t(s.w)), s.h - box.cy);
}

TEST(Text, DrawingIsClippedToTheSurface) {
    Words before(30, 12, 0x00FFFFFF), s = before;
    ws::draw_text(s.px.data(), s.w, s.h, -7, 6, "WWWWWWWW", 0x00000000, 0x00FF00, true);
    Size box = ws::text_extent("WWWWWWWW");
    auto [in, out] = changes(before, s, -7, 6, box);
    EXPECT_GT(in, 0);
    EXPECT_EQ(out, 0);
    Words far = before;
    ws::draw_text(far.px.data(), far.w, far.h, 500, 500, "x", 0, 0, true);
    ws::draw_text(far.px.data(), far.w, far.h, -500, 0, "x", 0, 0, true);
    ws::draw_text(nullptr, 10, 10, 0, 0, "x", 0, 0, true);
    EXPECT_EQ(far.px, before.px);
}

}  // namespace
