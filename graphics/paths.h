// The one path resolver: game paths written with backslashes and in any case, turned into paths of this system.
//
// The game names its files the way they were named on a system that ignores case and separates folders with '\'
// ("bkimg\タイル１.BMP", "SOUND\SOUND.TXT", "skin\%s_%d.bmp"). Every file the game opens goes through here.
#pragma once
#include <cstdio>
#include <string>
#include <string_view>

// Backslashes become slashes. If that names an existing file or folder it is returned; otherwise each component,
// from the first, is replaced by the entry of its folder whose name matches without regard to case (the first in
// name order when several do). From the first component with no match on, the path is returned as written, so a
// new file is created under the name it was given.
std::string resolve_path(std::string_view path);

// std::fopen of the resolved path; nullptr when it cannot be opened (and for an empty path).
std::FILE* open_file(std::string_view path, const char* mode);

// True when the resolved path is a file that opens for reading.
bool file_opens(std::string_view path);
