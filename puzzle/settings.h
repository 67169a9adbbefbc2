// The game's settings record: one process-wide value per key of ZELTORC.TXT (read and written by shell/settings),
// and the shading of pieces it asks for.
#pragma once
#include <cstdint>
#include <string>

#include "graphics/geometry.h"
#include "pieces/shading.h"

inline constexpr int32_t kLineTemplates = 4;    // cutting-line templates
inline constexpr int32_t kLinePointsMax = 19;   // points per template

struct Settings {
    int32_t win_left = 0, win_top = 0;
    int32_t win_width = 0, win_height = 0;  // win_width 0 = maximized, below 0 = placed by the system
    int32_t desk_w = 0, desk_h = 0;         // 0 = screen size
    int32_t click_time = 300;               // ms: the longest press that counts as a click
    int32_t click_dxdy = 2;                 // px: the largest pointer travel that counts as a click
    int32_t line_num = 10;                  // points of each cutting-line template used (1, 4, 7, ... 19)
    Point line[kLineTemplates][kLinePointsMax] = {
        {{0, 0}, {24, -12}, {108, -24}, {74, 24}, {49, 78}, {168, 78}, {143, 24}, {108, -24}, {191, -12}, {216, 0}},
        {{0, 0}, {24, -12}, {119, -23}, {79, 24}, {64, 78}, {172, 80}, {150, 24}, {120, -23}, {191, -12}, {216, 0}},
        {{0, 0}, {35, 0}, {132, -26}, {92, 23}, {79, 77}, {168, 78}, {143, 18}, {129, -25}, {191, 3}, {216, 0}},
        {{0, 0}, {24, -12}, {112, -4}, {81, 24}, {54, 86}, {158, 82}, {133, 25}, {108, -14}, {190, -3}, {216, 0}},
    };
    int32_t edge_n = 5;  // kept for the file's sake; the game does not use it
    Point edge_v[8] = {{0, 0}, {-33, 0}, {-66, 0}, {-101, 0}, {0, 0}, {33, 0}, {66, 0}, {101, 0}};
    int32_t piece_num = 20;
    int32_t stretch_size = 300;  // 0 = the picture is not fitted
    int32_t kaiten = 236;        // menu id: 234 rotate freely, 235 no rotation, 236 quarter turns
    bool hanten = true;          // pieces may lie face down
    bool mmove = true;
    int32_t mmove_size = 50;
    double mmove_rate = 0.7;
    bool image = true;  // guide window
    bool view = true, view_follow = true;
    std::string view_dir = "data";  // picture list folder
    int32_t guide = 0;              // 0 finished picture, 1 position, 2 position while SHIFT is held
    int32_t back_type = 244;        // menu id: 243 single colour, 244 picture repeated, 245 picture centred
    uint32_t back_color = 0x808080; // 0x00BBGGRR
    std::string back_img = "bkimg\\タイル１.BMP";
    bool back_gazou = false, back_gazou_line = false;
    // saturation scale and offset, lightness scale and offset, hue scale and offset
    double back_gazou_v[6] = {0.1, 0.0, 0.5, 50.0, 1.0, 0.0};
    bool dtsave = true;  // offer to save a game in progress when the game window closes
    std::string web[10] = {"_readme\\readme.htm", "https://www.qt.io/", "https://en.wikipedia.org/wiki/Jigsaw_puzzle",
                           "none", "none", "none", "none", "none", "none", "none"};
    bool kage = true;      // bevelled pieces
    bool seiretu = false;  // pieces laid out in rows when cut
    bool ddraw = true;     // compositing presenter
    bool smooth = true;    // smoothed bevel
    bool nokosu = false;   // seams stay visible after joining
    bool tray = false;
    bool sound = false;
    bool skin = false;
    bool trace = false;
    int32_t zoom = 1000;  // the view's zoom in thousandths, one of the levels of pieces/view.h

    void reset() { *this = Settings{}; }
};

extern Settings settings;

// The shading the settings ask for pieces (kage, smooth, nokosu), for whoever turns a piece.
inline Shading settings_shading() { return {settings.kage, settings.smooth, settings.nokosu}; }
