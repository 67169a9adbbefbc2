// The game window "JigWin": the child of the main window that shows the desk and turns the player's input, dropped
// files and the game's own start messages into operations on the game in play.
#pragma once
#include <cstdint>
#include <string>

#include "ws/ws.h"

// The game's own messages to the game window (posted; the mouse's synchronous ones are in play/play.h).
inline constexpr uint32_t IDM_INIT_DISP = 0xF400;      // one cutting step, or the step that starts play
inline constexpr uint32_t IDM_CONTINUE_GAME = 0xF40A;  // build the saved game named by save_path
inline constexpr uint32_t IDM_LIST_MOUSE = 0xF41C;     // to the picture list: the pointer moved over the desk
inline constexpr uint32_t IDM_VIEW_END = 0xF500;       // the picture list closed with a choice
inline constexpr uint32_t IDM_FIT_PARENT = 0xF417;     // the main window changed size

// Registers the class "JigWin" (once; later calls change nothing).
bool register_game_window();
// Creates the game window as a child filling the parent's client area, or, with a skin, over `area` (the skin's
// game rectangle in the parent's client coordinates); shows it and paints it. 0 on failure.
ws::Hwnd create_game_window(ws::Hwnd parent, const Rect* area = nullptr);
intptr_t game_window_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);

// Asked before the game in play ends, on closing the window or for another game. With a game in progress (all
// its pieces cut, not complete, not saved since its last change) and dtsave on it asks "保存確認" whether to save it
// under default_save_name(), or saves without asking after ESC. true = the game may end: nothing to ask, No, or Yes
// and the save written (save_path names it; the picture list and the guide window are closed). false = the game
// stays as it was: Cancel, or the save failed and was reported.
bool offer_save(ws::Hwnd hwnd);

// Asked when the game window is to close: offer_save, then 1 = close (the game has been ended), or 0 = stay open
// with the game and its clock as they were.
int32_t confirm_close(ws::Hwnd hwnd);

// Closes the guide image window if one is open.
void close_guide_window();
// Closes the picture list if it is open.
void close_list_window();

// The kind of a file by its extension, in any case: the pictures of is_picture_name, ".ZLT" saved games.
enum class FileKind { picture, saved_game, other };
FileKind file_kind(const std::string& path);
