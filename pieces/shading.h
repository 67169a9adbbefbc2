// How a piece's view is shaded when it is rendered: the pieces know nothing of the settings, so whoever turns a
// piece passes the game's choice down (settings_shading() in puzzle/settings.h reads it from the settings).
#pragma once

struct Shading {
    bool kage = false;    // bevelled
    bool smooth = false;  // the bevel smoothed
    bool nokosu = false;  // a group's seams stay visible
};
