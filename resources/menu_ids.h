// The main menu's command numbers, the piece counts and picture sizes its entries offer, and the positions of the
// entries that carry marks: the menu description (main_menu.cpp) is laid out by them and the shell acts on them.
#pragma once
#include <cstdint>

#include "desk/background.h"  // IDM_BACK_RGB, IDM_BACK_IMG_REN, IDM_BACK_IMG_CEN (243-245)

// Commands of the main menu (WM_COMMAND, low 16 bits).
enum : uint32_t {
    IDM_FOPEN = 200, IDM_ICHIRAN = 201, IDM_RESTART = 202, IDM_LOAD = 203, IDM_SAVE = 204, IDM_BMP_WIN = 205,
    IDM_BMP_DESK = 206, IDM_BMP_PIECE = 207, IDM_BMP_PIECE_ALL = 208, IDM_COMP_DATE = 209, IDM_EXIT = 210,
    IDM_PIECE_FIRST = 211, IDM_PIECE_LAST = 223,      // 4, 10, 20, ... 600 pieces
    IDM_STRETCH_FIRST = 224, IDM_STRETCH_LAST = 233,  // 0, 200, 300, ... 1000
    IDM_KAITEN = 234, IDM_KAITEN_NASI = 235, IDM_KAITEN_90 = 236, IDM_HANTEN = 237, IDM_HANTEN_NASI = 238,
    IDM_IMAGE_ON = 239, IDM_IMAGE_GUIDE = 240, IDM_IMAGE_GUIDE_SHIFT = 241, IDM_IMAGE_OFF = 242,
    IDM_BACK_IMG_ON = 246, IDM_BACK_IMG_LINE = 247, IDM_BACK_IMG_OFF = 248, IDM_SOUND_ON = 249, IDM_SOUND_OFF = 250,
    IDM_TRAY_ADD = 251, IDM_PASTE = 253, IDM_PASTE_BACK = 254, IDM_NOKOSU_ON = 255, IDM_NOKOSU_OFF = 256,
    IDM_KATACHI = 257, IDM_PIECE_BIG_FIRST = 258, IDM_PIECE_BIG_LAST = 261,  // 1000, 2000, 5000, 10000 pieces
    IDM_ZOOM_IN = 262, IDM_ZOOM_OUT = 263, IDM_ZOOM_FULL = 264, IDM_ZOOM_WHOLE_DESK = 265,
    IDM_WEB_FIRST = 0xF40C,  // + n for web entry n (0 .. 9)
};
inline constexpr int32_t kWebEntries = 10;

// The piece counts and stretch sizes of the menu entries, in menu order (piece_command(i), IDM_STRETCH_FIRST + i).
inline constexpr int32_t kPieceCounts[] = {4, 10, 20, 50, 75, 100, 150, 200, 250, 300, 400, 500, 600,
                                           1000, 2000, 5000, 10000};
inline constexpr int32_t kStretchSizes[] = {0, 200, 300, 400, 500, 600, 700, 800, 900, 1000};

// The piece counts up to 600 came first and keep their commands; the larger ones follow the shape editor's.
inline constexpr int32_t kSmallPieceEntries = int32_t(IDM_PIECE_LAST - IDM_PIECE_FIRST + 1);
constexpr uint32_t piece_command(int32_t entry) {
    return entry < kSmallPieceEntries ? IDM_PIECE_FIRST + uint32_t(entry)
                                      : IDM_PIECE_BIG_FIRST + uint32_t(entry - kSmallPieceEntries);
}
// The entry of kPieceCounts that command `id` chooses, or -1 for a command that chooses none.
constexpr int32_t piece_entry(uint32_t id) {
    if (id >= IDM_PIECE_FIRST && id <= IDM_PIECE_LAST) return int32_t(id - IDM_PIECE_FIRST);
    if (id >= IDM_PIECE_BIG_FIRST && id <= IDM_PIECE_BIG_LAST)
        return kSmallPieceEntries + int32_t(id - IDM_PIECE_BIG_FIRST);
    return -1;
}

// Positions of the entries of "設定(&O)" whose entries carry marks.
enum : int32_t {
    SETTINGS_PIECES = 0, SETTINGS_STRETCH = 1, SETTINGS_KAITEN = 2, SETTINGS_HANTEN = 3, SETTINGS_GUIDE = 5,
    SETTINGS_NOKOSU = 6, SETTINGS_BACK = 7, SETTINGS_SOUND = 8, SETTINGS_ZOOM = 9,
};
inline constexpr int32_t kBackFinishedPicture = 4;  // "完成画像" within "背景"
