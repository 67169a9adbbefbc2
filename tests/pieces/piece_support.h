// Helpers for the piece tests: surfaces built from rows of words, reading a surface top-down, and a settings guard.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/memdc.h"
#include "pieces/piece.h"
#include "shell/settings.h"

// Pixel words of a surface, top row first.
inline std::vector<uint32_t> top_down(MemDC& s) {
    std::vector<uint32_t> out;
    const uint32_t* w = s.words();
    for (int32_t r = 0; r < s.height(); ++r)
        for (int32_t x = 0; x < s.width(); ++x) out.push_back(w[size_t(s.height() - 1 - r) * s.width() + x]);
    return out;
}

// Words of a piece's whole image or view frame, top row first (the piece keeps only part of them).
inline std::vector<uint32_t> image_words(const Piece& p) {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x) out.push_back(p.image_at(x, y));
    return out;
}
inline std::vector<uint32_t> view_words(const Piece& p) {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < p.view_height; ++y)
        for (int32_t x = 0; x < p.view_width; ++x) out.push_back(p.view_at(x, y));
    return out;
}

// Fills a 32-bit surface from words given top row first.
inline void fill_top_down(MemDC& s, const std::vector<uint32_t>& words) {
    uint32_t* w = s.pixels();
    for (int32_t r = 0; r < s.height(); ++r)
        for (int32_t x = 0; x < s.width(); ++x)
            w[size_t(s.height() - 1 - r) * s.width() + x] = words[size_t(r) * s.width() + x];
}

// The word at top-down (x, y).
inline uint32_t word_at(MemDC& s, int32_t x, int32_t y) {
    return s.words()[size_t(s.height() - 1 - y) * s.width() + x];
}

// A piece whose image is w x h of the given words (top row first), centred at (cx, cy).
inline void give_image(Piece& p, int32_t w, int32_t h, const std::vector<uint32_t>& words, int32_t cx = 100,
                       int32_t cy = 100) {
    MemDC src;
    src.create(BIT_DIB, w, h);
    fill_top_down(src, words);
    p.cx = cx, p.cy = cy;
    p.set_image(src, w, h);
    src.destroy();
}

// Keeps the settings of a test from reaching the next one.
class SettingsGuard : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = settings;
        settings.kage = false;
        settings.smooth = false;
        settings.nokosu = false;
    }
    void TearDown() override { settings = saved_; }

private:
    Settings saved_;
};
