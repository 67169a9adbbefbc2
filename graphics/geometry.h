// Plain rectangles and points shared by surfaces, windows and the game logic.
#pragma once
#include <cstdint>

// left, top, right, bottom; right and bottom are exclusive.
struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

struct Point {
    int32_t x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int32_t cx = 0, cy = 0;
    bool operator==(const Size&) const = default;
};

// Adds dx to left and right, dy to top and bottom.
void offset_rect(Rect& r, int32_t dx, int32_t dy);
// The common part of a and b, or 0,0,0,0 when they do not overlap (touching edges do not overlap).
Rect intersect_rect(const Rect& a, const Rect& b);
