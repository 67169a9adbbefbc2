// The main menu's commands, grouped by what they act on, and the helpers they share.
//
// Terms: "with a game" means current_game exists; a game in progress is one with at least two display items.
// Every command that fails or is cancelled leaves the game in play, picture_path and save_path as they were.
#pragma once
#include <cstdint>
#include <string>

#include "ws/ws.h"

// ---- shared helpers ----
bool game_in_progress();
// The game window shows the desk afresh, at once (through the presenter when one is in force).
void repaint_game_window();
// A message box owned by nobody, with the "OK" button only.
void notice(const std::string& text, const std::string& title);

// ---- games (commands_game.cpp) ----
// The tail of restarting a game on picture_path: the old game vanishes from the window, a new one is built and
// its cutting begins (an unreadable picture leaves no game).
void start_new_game();
// The tail of the commands that start a game on another picture (replace_game): an unreadable picture, Cancel of
// the close question or a save that fails keeps the game in play; false = nothing changed.
bool start_game_on(const std::string& picture);
void command_open();       // "開く..."
void command_list();       // "一覧から選ぶ..."
void command_restart();    // "始めからやり直し"
void command_load();       // "ゲームを再開..."
void command_save();       // "ゲームを保存..."
void command_katachi();    // "ピース形状"

// ---- settings (commands_settings.cpp) ----
// Commands 211 .. 261 that change a setting; false for an id that is none of them.
bool settings_command(uint32_t id);
void command_web(int32_t n);

// ---- pictures from the clipboard (paste.cpp) ----
// Writes the clipboard's bitmap as "<folder>\paste_<n>.bmp" with the first free n (0 .. 999); out_path := that name.
// 0 (out_path unchanged) when there is no bitmap, no free name, or the file cannot be written.
int32_t paste_bitmap(std::string& out_path, const std::string& folder);
// Copies the first file of the clipboard's file list, a BMP or JPEG picture, to "<folder>\paste_<n>.bmp" or
// ".jpg" with the first free n (0 .. 999), never replacing a file; out_path := that name. 0 when it cannot.
int32_t paste_file(std::string& out_path, const std::string& folder);
void command_paste();       // a new puzzle from the clipboard
void command_paste_back();  // the desk background from the clipboard

// ---- bitmap exports (export.cpp) ----
void command_bmp_window();
void command_bmp_desk();
void command_bmp_piece();
void command_bmp_all_pieces();

// The build-date box.
void show_build_date();
