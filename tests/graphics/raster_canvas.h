// Test helpers for the rasteriser: a small word surface, the pixels holding a word, pictures kept as golden text, and
// case tables kept as data files.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "graphics/raster.h"

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
    // One character a pixel, top row first: black '.', white 'w', grey 'g', 0xABCDEF '#', 0x00C0C0 'c', 0x123456 'b';
    // a word with a top byte in upper case ('.' ':', '#' '%'); any other word '?'.
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

// The picture called `name` in tests/graphics/golden/<file>.txt: the lines after "[name]" up to a blank line.
// With ZELTO_GOLDEN_PRINT set, `actual` is printed in that form, to make the file again after a deliberate change.
inline std::string golden(const std::string& file, const std::string& name, const std::string& actual) {
    if (std::getenv("ZELTO_GOLDEN_PRINT")) std::printf("[%s]\n%s\n", name.c_str(), actual.c_str());
    std::ifstream in(std::string(ZELTO_SOURCE_DIR) + "/tests/graphics/golden/" + file + ".txt");
    std::string line, out;
    bool inside = false;
    while (std::getline(in, line) && !(inside && line.empty())) {
        if (inside) out += line + '\n';
        inside = inside || line == "[" + name + "]";
    }
    return out;
}

// The rows of tests/graphics/data/<name>.txt. Lines opening with '#' say what the columns are and where the expected
// values came from; every other line is one case: groups of integers (decimal or 0x hex) split by '|'.
using DataRow = std::vector<std::vector<int64_t>>;
inline std::vector<DataRow> data_rows(const std::string& name) {
    std::ifstream in(std::string(ZELTO_SOURCE_DIR) + "/tests/graphics/data/" + name + ".txt");
    std::vector<DataRow> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream groups(line);
        DataRow& row = rows.emplace_back();
        for (std::string group; std::getline(groups, group, '|');) {
            std::istringstream words(group);
            row.emplace_back();
            for (std::string w; words >> w;) row.back().push_back(std::stoll(w, nullptr, 0));
        }
        if (line.back() == '|') row.emplace_back();  // an empty last group
    }
    EXPECT_FALSE(rows.empty()) << name;
    return rows;
}
// A group of integers read as points (x, y), or as 32-bit values of type T.
inline std::vector<Point> points(const std::vector<int64_t>& g) {
    std::vector<Point> out;
    for (size_t i = 0; i + 1 < g.size(); i += 2) out.push_back({int32_t(g[i]), int32_t(g[i + 1])});
    return out;
}
template <typename T> std::vector<T> values(const std::vector<int64_t>& g) { return std::vector<T>(g.begin(), g.end()); }
