// Test helpers for the rasteriser: a small word surface, the pixels holding a word, its picture as text, and case
// tables kept as data files.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>

#include "graphics/raster.h"
#include "support/cases.h"

using PixelSet = std::set<std::pair<int32_t, int32_t>>;  // (x, y), y counted from the top

struct Canvas {
    std::vector<uint32_t> words;
    int32_t width, height;

    Canvas(int32_t w, int32_t h, uint32_t fill = 0) : words(size_t(w) * size_t(h), fill), width(w), height(h) {}
    raster::Surface view() { return {words.data(), width, height}; }
    uint32_t& at(int32_t x, int32_t y) { return words[size_t(height - 1 - y) * size_t(width) + size_t(x)]; }
    PixelSet where(uint32_t word) {
        PixelSet s;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                if (at(x, y) == word) s.insert({x, y});
        return s;
    }
    // One character a pixel, top row first, in the legend golden/raster.txt opens with.
    std::string picture() {
        static const std::pair<uint32_t, char> legend[] = {{0, '.'},        {0xFFFFFF, 'w'}, {0x808080, 'g'},
                                                           {0xABCDEF, '#'}, {0x00C0C0, 'c'}, {0x123456, 'b'}};
        std::string out;
        for (int32_t y = 0; y < height; ++y, out += '\n')
            for (int32_t x = 0; x < width; ++x) {
                char c = '?';
                for (const auto& [word, ch] : legend)
                    if ((at(x, y) & 0xFFFFFF) == word) c = ch;
                if (at(x, y) >> 24) c = c == '.' ? ':' : c == '#' ? '%' : char(std::toupper(c));
                out += c;
            }
        return out;
    }
};

// The rows of tests/graphics/data/<name>.txt, whose '#' lines say what the columns are and where the values came
// from; every other line is one case: groups of integers (decimal or 0x hex) split by " | ".
using DataRow = std::vector<std::vector<int64_t>>;
inline std::vector<DataRow> data_rows(const std::string& name) {
    std::vector<DataRow> rows;
    for (const testsupport::Fields& f : testsupport::read_cases("graphics/data/" + name + ".txt")) {
        DataRow& row = rows.emplace_back(1);
        for (const std::string& w : f)
            if (w == "|") row.emplace_back();
            else row.back().push_back(std::stoll(w, nullptr, 0));
    }
    return rows;
}
// A group of integers read as points (x, y), or as 32-bit values of type T.
inline std::vector<Point> points(const std::vector<int64_t>& g) {
    std::vector<Point> out;
    for (size_t i = 0; i + 1 < g.size(); i += 2) out.push_back({int32_t(g[i]), int32_t(g[i + 1])});
    return out;
}
template <typename T>
std::vector<T> values(const std::vector<int64_t>& g) { return std::vector<T>(g.begin(), g.end()); }
