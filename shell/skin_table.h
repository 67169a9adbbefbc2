// The skin's element table and the state its handlers share (inside the skin code only).
//
// Terms: an element is one named part of the skin (the window picture, the game rectangle, a fixed picture, a
// button or a number display); its slot is its fixed place in the table. A button's pictures are 0 normal,
// 1 highlighted (pointer over it) and 2 pressed; a number display has one picture per value it can show.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/geometry.h"
#include "graphics/memdc.h"

inline constexpr int32_t kSkinSlots = 21;
inline constexpr int32_t kSkinPictures = 10;  // most pictures of one element
inline constexpr std::size_t kSkinTextBytes = 64;  // tooltip, with its terminating NUL

enum : int32_t {
    SKIN_WIN = 0, SKIN_GAME = 1, SKIN_GUIDE = 2, SKIN_FIX_A = 4, SKIN_FIX_C = 6, SKIN_EXIT = 9, SKIN_START = 10,
    SKIN_VIEW = 11, SKIN_NUM_UP = 12, SKIN_NUM_DN = 13, SKIN_SZ_UP = 14, SKIN_SZ_DN = 15, SKIN_NUM = 18, SKIN_SZ = 19,
};
inline constexpr int32_t kFirstButton = SKIN_EXIT, kLastButton = SKIN_SZ_DN;

struct SkinElement {
    int32_t defined = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t width = 0, height = 0;
    int32_t count = 0;    // pictures held
    int32_t current = 0;  // the picture shown now
    std::array<std::unique_ptr<MemDC>, kSkinPictures> images{};
    std::array<int32_t, kSkinPictures> values{};  // number in each picture's file name
    std::string text;     // tooltip (UTF-8); "\n" written as backslash-n breaks the line
};

// Names of the slots; an empty name is a slot no line can fill.
extern const char* const kSkinNames[kSkinSlots];

// True when the skin shapes the main window: `skin` on and a window picture read.
bool skin_in_force();
// The picture an element shows now (its current index kept within its pictures), or nullptr.
MemDC* shown_picture(SkinElement& e);
// Restores the window picture under (x, y, w, h) in main_back, then lays `picture` there, white left out.
void draw_element(int32_t x, int32_t y, int32_t w, int32_t h, MemDC& picture);
// Draws slot's element with its shown picture into main_back; `now`: paint that part of the main window at once,
// else only mark it for painting.
void redraw_element(int32_t slot, bool now);
// Forgets every element and frees its pictures; hover none, tooltip hidden.
void clear_skin();

// The tooltip over the main window (skin_tooltip.cpp).
void show_tooltip(const std::string& text, int32_t x, int32_t y);
void hide_tooltip();
