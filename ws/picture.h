// Picture files: loading one into a surface, failures told to the player; a picture rewritten whole.
#pragma once
#include <cstdint>
#include <vector>

#include "graphics/damage.h"
#include "graphics/memdc.h"

namespace ws {
// The surface's load_picture: replaces the pixels of `surface` (attached first) by the picture file, read as
// read_picture_file reads it (by its extension, the newer formats by content), turned upright. 1 = loaded, 0 =
// refused, the reason shown to the player in a message box (caption "glapi"), 2 = loaded from a BMP or JPEG file
// that ends early or is damaged (rows it lacks are grey or black). `picture_type`, when given, receives what the
// file holds (kPictureBmp, kPictureJpeg, kPictureOwnBytes) on a load.
int32_t load_picture(MemDC& surface, const char* file_name, Where w = Where::current(),
                     int32_t* picture_type = nullptr);
}  // namespace ws

// The picture file `file_name` as load_picture reads it, damage and all, as the bytes of a whole 24-bit BMP file
// of the same size, so that a game cut from a damaged file can be saved with a picture that reads back the same.
// Empty when the file cannot be read. Nothing is shown to the player.
std::vector<uint8_t> picture_as_bmp(const char* file_name);
