// The kept box of a piece's surfaces: finding the part of a frame that is not plain white, and copying it out.
#pragma once
#include <cstdint>

#include "graphics/geometry.h"
#include "graphics/memdc.h"

namespace piece_box {

constexpr uint32_t plain_white = 0x00FFFFFF;  // the word a frame holds wherever its surface keeps nothing

// Index of the first word of row[0, n) that is not plain white (n when none).
int32_t first_kept(const uint32_t* row, int32_t n);
// Index of the last word of row[0, n) that is not plain white (-1 when none).
int32_t last_kept(const uint32_t* row, int32_t n);

// The box (top-down, relative to `area`) of the words of s within `area` (top-down, inside s) that are not plain
// white; empty when there are none.
Rect kept_box(const MemDC& s, const Rect& area);

// A new 32-bit surface holding the part `box` (top-down, inside s) of s, words unchanged.
MemDC* copy_out(const MemDC& s, const Rect& box);

// A new 32-bit surface of w x h, all plain white.
MemDC* white_surface(int32_t w, int32_t h);

}  // namespace piece_box
