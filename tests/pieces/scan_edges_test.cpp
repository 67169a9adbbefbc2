// Row scans that work four words at a time: the kept ends of a row and the flood fill's runs, on every short length
// (where a row ends part way through a block of four) against word-by-word answers.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/raster.h"
#include "pieces/piece_box.h"

namespace {

constexpr uint32_t W = piece_box::plain_white;

// Rows of 0..11 words, white but for words p and q (-1: none; a marked white word counts as kept).
TEST(ScanEdges, KeptEndsOfEveryShortRow) {
    for (int32_t n = 0; n < 12; ++n)
        for (int32_t p = -1; p < n; ++p)
            for (int32_t q = p; q < n; ++q) {
                std::vector<uint32_t> row(size_t(n) + 1, W);  // one white word beyond the row's end
                if (p >= 0) row[size_t(p)] = 0xFF000000 | W;
                if (q >= 0) row[size_t(q)] = 0x123456;
                const int32_t first = p >= 0 ? p : q >= 0 ? q : n;
                EXPECT_EQ(piece_box::first_kept(row.data(), n), first) << n << ' ' << p << ' ' << q;
                EXPECT_EQ(piece_box::last_kept(row.data(), n), q) << n << ' ' << p << ' ' << q;
            }
}

// Fills from the middle of a surface whose words are scattered so that runs end everywhere within blocks of four,
// in both modes (up to white, and over dark grey), against a four-way fill that paints one word at a time.
TEST(ScanEdges, FloodFillMatchesWordByWordFill) {
    constexpr uint32_t dark = 0x101010;
    for (const bool surface_mode : {false, true})
        for (int32_t w = 1; w < 14; ++w)
            for (uint32_t seed = 1; seed < 40; ++seed) {
                const int32_t h = 5, x = w / 2, y = 2;
                std::vector<uint32_t> words(size_t(w * h));
                for (size_t i = 0; i < words.size(); ++i)
                    words[i] = ((i * 2654435761u ^ seed * 40503u) >> 7) % 3 ? dark : W;
                words[size_t((h - 1 - y) * w + x)] = dark;
                std::vector<uint32_t> expected = words;
                std::vector<std::pair<int32_t, int32_t>> todo{{x, y}};
                while (!todo.empty()) {
                    const auto [px, py] = todo.back();
                    todo.pop_back();
                    if (px < 0 || py < 0 || px >= w || py >= h) continue;
                    uint32_t& word = expected[size_t((h - 1 - py) * w + px)];
                    if (word != dark) continue;  // white, painted or not, is never inside in either mode
                    word = W;
                    todo.insert(todo.end(), {{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}});
                }
                raster::flood_fill({words.data(), w, h}, x, y, surface_mode ? dark : W, surface_mode, W);
                EXPECT_EQ(words, expected) << surface_mode << ' ' << w << ' ' << seed;
            }
}

}  // namespace
