// Test helper for the rasteriser: a small word surface and the set of pixels that hold a given word.
#pragma once
#include <cstdint>
#include <set>
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
};
