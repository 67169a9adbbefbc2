// The four file dialogs of the main window: a picture to play, a bitmap to export to, a saved game to write and
// one to resume. Each starts in the picture folder (view_dir) with the title "選択" and returns 1 when the player
// confirmed (the chosen path in `path`), 0 when the player cancelled.
#pragma once
#include <cstdint>
#include <string>

// A picture to play. `path` is emptied first; on confirmation view_dir follows the chosen file's folder.
int32_t file_select(std::string& path);
// A bitmap to export to; ".bmp" is ensured.
int32_t out_file_select(std::string& path);
// A saved game to write: `path` holds the name offered; ".zlt" is ensured.
int32_t save_file_select(std::string& path);
// A saved game to resume. `path` is emptied first.
int32_t load_file_select(std::string& path);

// Appends `lower_ext` (".bmp") unless the path's last four characters already are that extension in any case.
std::string ensure_extension(const std::string& path, const std::string& lower_ext);
// The folder of a file: everything before its last "/" or "\"; `fallback` for a bare name.
std::string folder_of(const std::string& path, const std::string& fallback);
