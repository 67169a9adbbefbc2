// Turning a decoded picture the way its camera meant it: the EXIF orientation tag and the eight ways it names.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The orientation tag (1-8) of an EXIF block as a JPEG's APP1 segment carries it ("Exif\0\0" and a TIFF
// structure); 1 (as stored) when the block holds none, an unknown value or is malformed.
int32_t exif_orientation(const uint8_t* data, size_t size);

// Turns a width x height picture (words bottom row first) from how it is stored to how it is shown under the
// orientation tag `orientation`: 2 mirrored left to right, 3 turned half round, 4 mirrored top to bottom, 5 mirrored
// about the falling diagonal, 6 turned a quarter clockwise, 7 mirrored about the rising diagonal, 8 a quarter
// anticlockwise. 5-8 swap width and height. Any other value leaves the picture as it is.
void orient_picture(int32_t& width, int32_t& height, std::vector<uint32_t>& words, int32_t orientation);

// What the segments ahead of a JPEG's picture data say: its size as stored and its orientation tag (1 when none).
struct JpegShape {
    int32_t width = 0;
    int32_t height = 0;
    int32_t orientation = 1;
};
JpegShape jpeg_shape(const std::vector<uint8_t>& jpeg);

// Makes the orientation tag of a JPEG file's EXIF block 1 (as stored), rewriting the block; false when the file
// has no such tag or the block cannot be rewritten (the bytes are then unchanged).
bool clear_jpeg_orientation(std::vector<uint8_t>& jpeg);
