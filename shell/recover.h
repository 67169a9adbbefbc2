// The recovery file: the game in play kept beside the program while it changes, offered back at the next start
// when a run did not end cleanly (killed, a crash, a power cut), and the orderly end on a signal.
//
// Terms: the game is "pending" from its first change after a save or a recovery write until the next one. A
// pending game is written to "zelto_recover.zlt" (the saved-game format) 30 seconds later by a timer on the game
// window, or at once when the program loses the focus or is asked to end, and the game's save path and picture
// path beside it. A clean end of the game (completed, saved by the player, not saved at the player's word,
// replaced by another game) deletes both.
#pragma once
#include <cstdint>

#include "ws/tr.h"
#include "ws/ws.h"

inline constexpr const char* kRecoveryFile = "zelto_recover.zlt";
inline constexpr const char* kRecoveryBadFile = "zelto_recover.bad";
// Beside the recovery file: the game's own save path and picture path, which the saved-game format does not hold.
inline constexpr const char* kRecoveryPathsFile = "zelto_recover.paths";
inline constexpr const char* kRecoveryQuestion = ZT_NOOP("shell", "前回のゲームは正しく終了しませんでした。続きから再開しますか？");
inline constexpr const char* kRecoveryTitle = "zelto";
inline constexpr uint32_t kRecoveryPeriod = 30000;  // ms of play between a change and its recovery write
inline constexpr uint32_t kRecoveryRetry = 1000;    // ms: a write due while a group is held waits for its drop

// Loop messages of this module (hwnd 0), besides the layer's WM_ENDSESSION and WM_ACTIVATEAPP.
inline constexpr uint32_t IDM_RECOVERY_SETTLE = ws::WM_APP + 0x20;  // the resume of the recovery file is over

// Fills the recovery entries of the table of upward calls (graphics/hooks.h) and starts with nothing pending.
void install_recovery();

// A change of the game in play: starts the timer unless the game is pending already.
void recovery_game_changed();
// The timer fired: writes the pending game (or waits for the held group to be dropped).
void recovery_due();
// Writes a pending game to the recovery file now. False when it could not be written (the player is told once,
// until a write succeeds again; an older recovery file stays as it was).
bool write_recovery();
// The game ended cleanly or gave way to another one: stops the timer and deletes the recovery file. Nothing
// happens while the program ends on a signal, nor for the game that is being resumed from the file itself.
void forget_recovery();

// At start, before any window: when a recovery file lies there, asks whether to resume it. はい without a picture
// argument: picture_path names the file, so the game window resumes it as it would a saved game, and the caller
// posts IDM_RECOVERY_SETTLE once the main window exists; the resumed game then takes back its own save path and
// picture path (the picture only while that file still holds the same bytes; without a sound paths file, no save
// path and the resumed picture). いいえ, or はい when a picture argument wins: the file goes to the trash. True when
// the file is to be resumed.
bool ask_recovery();

// Handles the loop's own messages: WM_ENDSESSION (a signal: the game goes to its recovery file, the windows close
// without asking, the loop ends with code 0), WM_ACTIVATEAPP (losing the focus: a pending game is written) and
// IDM_RECOVERY_SETTLE (a resumed recovery file that could not be played is kept aside as "zelto_recover.bad").
// False for any other message.
bool recovery_loop_message(const ws::Msg& msg);

// True from a signal's arrival until the program ends (or a close was refused).
bool session_ending();
