// The companion windows as the game sees them: the picture list's purposes, the recovery timer, and the calls
// through which play tells what lives above it (the entries of the table in graphics/hooks.h); an empty entry is
// something the program does not have, and nothing happens.
#pragma once
#include <string>

#include "graphics/hooks.h"
#include "ws/tr.h"
#include "ws/ws.h"

// The picture list's two purposes, which are also its window titles (its request and answer, view_folder,
// view_title and view_result, are in play/state.h). The program compares them as they are written; only the title
// shown is translated (ws::tr("play", view_title)).
inline constexpr const char* kViewChoose = ZT_NOOP("play", "選択");         // a puzzle picture or a saved game to play
inline constexpr const char* kViewBackground = ZT_NOOP("play", "背景選択");  // a picture for the desk background


// The game window's timer that writes the recovery file of a changed game (armed by the shell, 30 s after a change).
inline constexpr uintptr_t kRecoveryTimer = 0xF420;

// The calls above, made where play meets them; an empty entry does nothing.
inline void tell_game_changed() {
    if (hooks.game_changed) hooks.game_changed();
}
inline void tell_forget_recovery() {
    if (hooks.forget_recovery) hooks.forget_recovery();
}
inline void tell_settings_changed() {
    if (hooks.settings_changed) hooks.settings_changed();
}
