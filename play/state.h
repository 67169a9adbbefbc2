// The play folder's state: the files and companion windows of the game in play, the keys and the pointer's gesture,
// the picture list's request and answer, and the sound list. The game itself and the main and game windows the desk
// shows it in are in the desk's record (desk/state.h).
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "graphics/geometry.h"
#include "play/sound.h"
#include "ws/ws.h"

inline constexpr int32_t kTrayCount = 10;

struct Play {
    int32_t last_selected = -1;  // display index of the last item picked up, -1 when none
    // The picture (or saved game) of the game in play or the next one (UTF-8, as the player named it), and the
    // saved-game file it came from.
    std::string picture_path;
    std::string save_path;
    // The piece count and stretch size the game in play was built with (from a saved game: those it was built with).
    int32_t game_piece_num = 0;
    int32_t game_stretch_size = 0;
    int32_t close_without_asking = 0;  // ESC: the game window saves without asking when it closes
    int32_t game_saved = 0;            // the game was saved and has not changed since

    // ---- windows ----
    ws::Hwnd guide_window = 0;              // the guide image window, 0 while none is open (the game window owns it)
    ws::Hwnd list_window = 0;               // the picture list, 0 while none is open
    ws::Hwnd tray_window[kTrayCount] = {};  // open tray windows, 0 where a slot is free

    // ---- keys and gesture (window coordinates) ----
    int32_t press_time = 0;
    int32_t shift_down = 0, ctrl_down = 0, f1_down = 0;
    Point down_point;          // pointer at the last press (the range drag advances it)
    Point last_point;          // pointer at the last mouse message handled
    // The same two in the window's own pixels, where a click's travel is measured whatever the zoom.
    Point down_on_window, last_on_window;
    uint32_t down_time = 0;    // message time of the last press
    int32_t button_phase = 0;  // 0 no button, 1 one button, 2 a second button went down (or the middle one)
    int32_t moved_far = 0;     // the pointer left the click square while an item was held
    int32_t captured = 0;      // the game window holds the mouse capture
    int32_t wheel_pending = 0;  // wheel turned with Ctrl, in 1/120 notch, not yet a zoom step

    // ---- the picture list's request and answer: set by whoever opens the list, read on IDM_VIEW_END ----
    std::string view_folder;  // folder to list, ending in "\"
    std::string view_title;   // kViewChoose or kViewBackground: also the list's window title
    std::string view_result;  // the file the player clicked, "" until then

    // ---- sound ----
    std::array<SoundEntry, kSoundEvents> sound_list;  // entry of event e (1..20) is sound_list[e - 1]
    int32_t sound_looping = 0;  // 1 once a looping sound has been started; the game window clears it on stopping

    void reset() { *this = Play{}; }
};
extern Play play;

// Deletes the game in play (drop_current_game) and the presenter, then puts this record and the records of the folders below back to their start values.
void reset_play_state();
