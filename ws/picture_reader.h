// Every picture file the game reads, quietly: BMP and JPEG named as such by their names, the other formats by content.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a picture's bytes are, as saved games record it: BMP and JPEG keep their numbers, every other format travels
// as its own file bytes.
inline constexpr int32_t kPictureBmp = 0, kPictureJpeg = 1, kPictureOwnBytes = 2;

// Pictures larger than this many pixels (256 MB of words) are refused from their header, before decoding.
inline constexpr int64_t kPictureMaxPixels = int64_t(1) << 26;

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> words;  // 0x00RRGGBB, bottom row first, turned the way the camera meant
    int32_t type = kPictureBmp;   // what the bytes are, whatever the file's name says
    bool damaged = false;         // a BMP or JPEG that ended early or held damage: rows missing (black or grey)
};

// How a file name tells its reader: ".bmp" and ".jpg"/".jpeg" (in any case) take those two readers whatever the
// file holds; the newer extensions are read by their content; any other name is not a picture.
enum class PictureName { bmp, jpeg, by_content, none };
PictureName picture_name(const std::string& name);
inline bool is_picture_name(const std::string& name) { return picture_name(name) != PictureName::none; }

// The extensions of the pictures the game takes, lower case with the point, for the open dialog's filter.
std::vector<std::string> picture_extensions();

enum class PictureRead { loaded, bad_name, open_error, unreadable };

// Reads the picture file `path` (through the path resolver) as its name says. BMP and JPEG files that end early or
// hold damage still give the rows they hold (`damaged`); every other format is whole or refused. Pixels of other
// formats that are transparent are laid on white. Never shows anything and never touches a window, so the picture
// list's worker thread may call it.
PictureRead read_picture_file(const std::string& path, Picture& out);

// Reads a picture of the newer formats (PNG, GIF, WebP, TIFF, HEIC, AVIF) held in memory, decided by its content;
// false for anything else, anything damaged and anything larger than `max_pixels`. Type kPictureOwnBytes.
bool read_picture_bytes(const uint8_t* data, size_t size, Picture& out, int64_t max_pixels = kPictureMaxPixels);
