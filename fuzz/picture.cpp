// Fuzz target: the newer picture formats (PNG, GIF, WebP, TIFF, HEIC, AVIF) and the EXIF orientation of any bytes
// never crash, hang or read outside their input; a picture given is whole, of the size it says, and turns upright
// into the size its orientation names.
#include <cstdlib>

#include "graphics/orientation.h"
#include "ws/picture_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int32_t orientation = exif_orientation(data, size);
    if (orientation < 1 || orientation > 8) std::abort();
    Picture picture;
    // A small limit keeps inputs that claim huge pictures quick; the decoding paths are the same.
    if (!read_picture_bytes(data, size, picture, int64_t(1) << 20)) return 0;
    if (picture.width < 1 || picture.height < 1 || picture.type != kPictureOwnBytes ||
        picture.words.size() != size_t(picture.width) * size_t(picture.height))
        std::abort();
    for (uint32_t w : picture.words)
        if (w >> 24) std::abort();
    const int32_t w = picture.width, h = picture.height, turn = int32_t(size % 8) + 1;
    orient_picture(picture.width, picture.height, picture.words, turn);
    const bool sideways = turn >= 5;
    if (picture.width != (sideways ? h : w) || picture.height != (sideways ? w : h)) std::abort();
    return 0;
}
