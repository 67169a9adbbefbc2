// What the box filter (zoom.cpp) and the bilinear blend (zoom_blend.cpp) of the zoomed copy share.
#pragma once
#include <cstdint>

#include "graphics/memdc.h"
#include "graphics/zoom.h"

namespace zoom_steps {

// Destination pixels per source pixel, as num / den.
struct Ratio {
    int64_t num = 1, den = 1;
};

// floor(numerator / divisor) along a run of numerators that grow by `step`, without a division per step: a
// small rectangle of a drag step would otherwise spend more time dividing than copying.
class Quotients {
public:
    Quotients(int64_t numerator, int64_t step, int64_t divisor)
        : q_(floor_div(numerator, divisor)), rem_(numerator - q_ * divisor), whole_(step / divisor),
          part_(step % divisor), divisor_(divisor) {}
    int64_t value() const { return q_; }
    void next() {
        q_ += whole_, rem_ += part_;
        if (rem_ >= divisor_) rem_ -= divisor_, ++q_;
    }

private:
    int64_t q_, rem_, whole_, part_, divisor_;
};

// Row r (0 = top) of a surface whose rows are kept bottom-up.
inline const uint32_t* row_of(const MemDC& s, int32_t r) {
    return s.words() + size_t(s.height() - 1 - r) * size_t(s.width());
}
inline uint32_t* row_of(MemDC& s, int32_t r) { return s.words() + size_t(s.height() - 1 - r) * size_t(s.width()); }

// Zooming in (zoom.num > zoom.den): the blend over `a`, which lies on dst. (`a` by value: the caller's rectangle
// whose address escaped to another file would have to be read again after every pixel written in its own loops.)
void blend_copy(MemDC& dst, Rect a, const MemDC& src, int32_t ox, int32_t oy, Ratio zoom, uint32_t outside);

}  // namespace zoom_steps
