// The EXIF orientation tag read through libexif, and the picture turned to match it.
#include "graphics/orientation.h"

#include <libexif/exif-data.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "graphics/picture_words.h"

int32_t exif_orientation(const uint8_t* data, size_t size) {
    if (!data || size < 14 || size > 0xFFFF) return 1;
    ExifData* exif = exif_data_new_from_data(data, unsigned(size));
    if (!exif) return 1;
    int32_t orientation = 1;
    const ExifEntry* e = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (e && e->format == EXIF_FORMAT_SHORT && e->components >= 1 && e->data && e->size >= 2) {
        const int32_t v = exif_get_short(e->data, exif_data_get_byte_order(exif));
        if (v >= 1 && v <= 8) orientation = v;
    }
    exif_data_unref(exif);
    return orientation;
}

namespace {

// Where the stored word lies that the shown picture has at (x, y), both counted from the top as the tag's names
// are, for a stored picture of w x h words kept bottom row first.
int64_t source_of(int32_t orientation, int64_t x, int64_t y, int64_t w, int64_t h) {
    int64_t sx = x, sy = y;
    switch (orientation) {
    case 2: sx = w - 1 - x; break;
    case 3: sx = w - 1 - x, sy = h - 1 - y; break;
    case 4: sy = h - 1 - y; break;
    case 5: sx = y, sy = x; break;
    case 6: sx = y, sy = h - 1 - x; break;
    case 7: sx = w - 1 - y, sy = h - 1 - x; break;
    default: sx = w - 1 - y, sy = x; break;  // 8
    }
    return (h - 1 - sy) * w + sx;
}

}  // namespace

void orient_picture(int32_t& width, int32_t& height, std::vector<uint32_t>& words, int32_t orientation) {
    if (orientation < 2 || orientation > 8 || width < 1 || height < 1) return;
    const int64_t w = width, h = height;
    const bool swapped = orientation >= 5;
    const int64_t out_w = swapped ? h : w, out_h = swapped ? w : h;
    std::vector<uint32_t> out;
    if (!allocate_words(out, words.size())) return;  // kept as stored rather than lost
    // Along a shown row the stored words lie a fixed step apart (a whole stored row for the quarter turns).
    for (int64_t y = 0; y < out_h; ++y) {
        const int64_t first = source_of(orientation, 0, y, w, h), step = source_of(orientation, 1, y, w, h) - first;
        uint32_t* dst = out.data() + size_t(out_h - 1 - y) * size_t(out_w);
        for (int64_t x = 0; x < out_w; ++x) dst[x] = words[size_t(first + x * step)];
    }
    words = std::move(out);
    width = int32_t(out_w);
    height = int32_t(out_h);
}

namespace {

uint32_t be16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }

// Where the first EXIF block's bytes ("Exif\0\0" on) lie, 0 when none; the stored size from the frame header.
struct Segments {
    size_t exif_at = 0, exif_size = 0;
    int32_t width = 0, height = 0;
};

// Walks the marker segments from the start of image to the start of the scan, each bounded by the file.
Segments segments_of(const std::vector<uint8_t>& j) {
    Segments s;
    if (j.size() < 4 || j[0] != 0xFF || j[1] != 0xD8) return s;
    for (size_t at = 2; at + 4 <= j.size() && j[at] == 0xFF;) {
        const uint8_t marker = j[at + 1];
        const size_t length = be16(&j[at + 2]);
        if (marker == 0xDA || marker == 0xD9 || length < 2 || at + 2 + length > j.size()) break;
        const uint8_t* body = &j[at + 4];
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && length >= 7) s.height = int32_t(be16(body + 1)), s.width = int32_t(be16(body + 3));
        if (marker == 0xE1 && !s.exif_at && length >= 8 && std::memcmp(body, "Exif\0\0", 6) == 0)
            s.exif_at = at + 4, s.exif_size = length - 2;
        at += 2 + length;
    }
    return s;
}

}  // namespace

JpegShape jpeg_shape(const std::vector<uint8_t>& jpeg) {
    const Segments s = segments_of(jpeg);
    const int32_t o = s.exif_at ? exif_orientation(&jpeg[s.exif_at], s.exif_size) : 1;
    return {s.width, s.height, o};
}

bool clear_jpeg_orientation(std::vector<uint8_t>& jpeg) {
    const Segments s = segments_of(jpeg);
    if (!s.exif_at) return false;
    ExifData* exif = exif_data_new_from_data(&jpeg[s.exif_at], unsigned(s.exif_size));
    if (!exif) return false;
    ExifEntry* e = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    unsigned char* block = nullptr;
    unsigned int size = 0;
    if (e && e->format == EXIF_FORMAT_SHORT && e->data && e->size >= 2) {
        exif_set_short(e->data, exif_data_get_byte_order(exif), 1);
        exif_data_save_data(exif, &block, &size);
    }
    exif_data_unref(exif);
    const bool fits = block && size >= 6 && size + 2 <= 0xFFFF;
    if (fits) {
        // The segment's length field (just before its bytes) counts itself.
        jpeg[s.exif_at - 2] = uint8_t((size + 2) >> 8), jpeg[s.exif_at - 1] = uint8_t(size + 2);
        jpeg.erase(jpeg.begin() + std::ptrdiff_t(s.exif_at), jpeg.begin() + std::ptrdiff_t(s.exif_at + s.exif_size));
        jpeg.insert(jpeg.begin() + std::ptrdiff_t(s.exif_at), block, block + size);
    }
    std::free(block);
    return fits;
}
