// The companion windows as the game sees them: the picture list's request and answer, and the doors through which
// play reaches what lives above it (the windows of windows/, the recovery file and the menu of shell/). Start-up
// fills the doors in; an empty door is something the program does not have, and nothing happens.
#pragma once
#include <string>

#include "ws/ws.h"

// The picture list's two purposes, which are also its window titles (its request and answer, view_folder,
// view_title and view_result, are in play/state.h).
inline constexpr const char* kViewChoose = "選択";         // a puzzle picture or a saved game to play
inline constexpr const char* kViewBackground = "背景選択";  // a picture for the desk background

struct Companions {
    ws::Hwnd (*open_list)(ws::Hwnd parent) = nullptr;   // the picture list on view_folder and view_title
    ws::Hwnd (*open_guide)(ws::Hwnd parent) = nullptr;  // the guide window on picture_path
    void (*close_trays)() = nullptr;                    // the game ended: every tray emptied and closed
    // The recovery file of the game in play (kept by the shell): play tells it what happens to the game.
    void (*game_changed)() = nullptr;     // a move, a turn or a join changed the game in play
    void (*recovery_due)() = nullptr;     // the game window's kRecoveryTimer fired
    void (*forget_recovery)() = nullptr;  // the game ended cleanly or gave way to another: its recovery is not wanted
    // The menu (kept by the shell): play changed settings the menu marks (a resume takes its file's piece count and
    // picture size), so the marks are set again.
    void (*settings_changed)() = nullptr;
};
extern Companions companions;

// The game window's timer that writes the recovery file of a changed game (armed by the shell, 30 s after a change).
inline constexpr uintptr_t kRecoveryTimer = 0xF420;

// The doors above, called where play meets them; an empty door does nothing.
inline void tell_game_changed() {
    if (companions.game_changed) companions.game_changed();
}
inline void tell_forget_recovery() {
    if (companions.forget_recovery) companions.forget_recovery();
}
inline void tell_settings_changed() {
    if (companions.settings_changed) companions.settings_changed();
}
