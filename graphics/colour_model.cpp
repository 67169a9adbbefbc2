// The lightness-hue-saturation colour model: a luma and two colour differences, turned into polar form.
#include "graphics/colour_model.h"

#include <cmath>

namespace {

constexpr double weight_r = 0.298912, weight_g = 0.586611, weight_b = 0.114478;
constexpr double pi = 3.141592653589793;
constexpr double max_chroma = 227.687438;  // chroma of the most saturated colour; 100 on the saturation scale

// Clamps to [lo, hi]; a value that is not a number becomes lo (so no conversion below sees it).
double clamp(double v, double lo, double hi) {
    if (v >= hi) return hi;
    if (v > lo) return v;
    return lo;
}

}  // namespace

Lhs colour_to_lhs(Colour colour) {
    const double r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    const double y = weight_r * r + weight_g * g + weight_b * b;
    const double u = r - y, v = b - y;
    // The weights add up to 1.000001, so greys keep a tiny colour difference and a hue of their own.
    const double hue = u == 0 ? 0 : std::atan2(u, v) + pi;
    const double chroma = std::sqrt(u * u + v * v);
    return {y * 0.39215686274509803, hue * 15.915494309189535, chroma * 100 / max_chroma};
}

Colour lhs_to_colour(double l, double h, double s) {
    // The factor 2.55 applied as 255 / 100, so whole lightness values land on whole channel values (L = 100 is
    // exactly 255, never 254.99...).
    const double y = clamp(l, 0, 100) * 255 / 100;
    const double a = std::fmod(h, 101) * 0.06283185307179587 - pi;
    const double chroma = max_chroma * clamp(s, 0, 100) * 0.01;
    const double u = chroma * std::sin(a), v = chroma * std::cos(a);
    const double r = y + u, g = y - (weight_r * u + weight_b * v) / weight_g, b = y + v;
    const auto channel = [](double c) { return Colour(clamp(c, 0, 255)); };
    return channel(r) | channel(g) << 8 | channel(b) << 16;
}
