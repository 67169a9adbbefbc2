// Rectangle helpers shared by surfaces, windows and the game logic.
#include "graphics/geometry.h"

#include <algorithm>

void offset_rect(Rect& r, int32_t dx, int32_t dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

Rect intersect_rect(const Rect& a, const Rect& b) {
    const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    if (r.left < r.right && r.top < r.bottom) return r;
    return {};
}
