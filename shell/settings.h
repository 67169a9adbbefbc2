// Reading and writing the settings file ZELTORC.TXT (the record itself is in puzzle/settings.h).
//
// Texts are held as UTF-8; on disk the file is code page 932. Paths keep the backslash form they are written in
// (bkimg\タイル１.BMP) and are opened through the path resolver.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "puzzle/settings.h"

// Longest texts, in bytes of code page 932 with the terminating NUL: a longer text read from the file is cut,
// between characters, to one byte less.
inline constexpr std::size_t kPathBytes = 260;  // view_dir, back_img
inline constexpr std::size_t kWebBytes = 256;   // each web entry

// Reads the settings file, then the sound list "SOUND\SOUND.TXT" and, with `skin` on, the skin file
// "SKIN\SKIN.TXT". A settings file that cannot be opened leaves everything as it is and reads neither of the others.
void read_settings(const char* path);
// The lines of an open settings file: each recognised value replaces the setting, anything unreadable is skipped.
void read_settings_from(std::FILE* file);

// Writes every setting, in code page 932 with "\n" line ends. The file is written beside the old one, flushed to the
// disk and then put in its place, so a failed write or a crash never loses the previous settings. False when it
// could not be written (the old file, if any, is as it was).
bool write_settings(const char* path);
// The lines of the settings file, in their order, onto an open stream.
void write_settings_to(std::FILE* file);
