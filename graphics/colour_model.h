// The lightness-hue-saturation colour model used by the desk backgrounds and the piece shading.
//
// Lightness and saturation run from 0 to 100; hue runs from 0 to 100 round the colour circle (one turn).
// Colours are system colour values 0x00BBGGRR with R, G, B as 0..255.
#pragma once
#include <cstdint>

using Colour = uint32_t;  // system colour value 0x00BBGGRR

struct Lhs {
    double l = 0;  // lightness, 0..100
    double h = 0;  // hue, 0..100 (0 for colours whose red difference is exactly zero)
    double s = 0;  // saturation, 0..100 for colours of the RGB cube
};

// Splits a colour into lightness, hue and saturation (only the low 24 bits count).
Lhs colour_to_lhs(Colour colour);
// Builds a colour back. L and S are clamped to 0..100; the hue is taken as fmod(H, 101) (as the shading expects);
// R, G, B are clamped to 0..255 and truncated. Values that are not numbers give 0 for the channel they reach.
Colour lhs_to_colour(double l, double h, double s);
