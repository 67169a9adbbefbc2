// The EXIF orientation tag read through libexif, and the picture turned to match it.
#include "graphics/orientation.h"

#include <libexif/exif-data.h>

#include <utility>

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

void orient_picture(int32_t& width, int32_t& height, std::vector<uint32_t>& words, int32_t orientation) {
    if (orientation < 2 || orientation > 8 || width < 1 || height < 1) return;
    const int64_t w = width, h = height;
    const bool swapped = orientation >= 5;
    const int64_t out_w = swapped ? h : w, out_h = swapped ? w : h;
    std::vector<uint32_t> out(words.size());
    // Worked in rows counted from the top, as the tag's names are: (x, y) of the shown picture comes from (sx, sy)
    // of the stored one.
    for (int64_t y = 0; y < out_h; ++y) {
        uint32_t* dst = out.data() + size_t(out_h - 1 - y) * size_t(out_w);
        for (int64_t x = 0; x < out_w; ++x) {
            int64_t sx = x, sy = y;
            switch (orientation) {
            case 2: sx = w - 1 - x; break;
            case 3: sx = w - 1 - x; sy = h - 1 - y; break;
            case 4: sy = h - 1 - y; break;
            case 5: sx = y; sy = x; break;
            case 6: sx = y; sy = h - 1 - x; break;
            case 7: sx = w - 1 - y; sy = h - 1 - x; break;
            default: sx = w - 1 - y; sy = x; break;  // 8
            }
            dst[x] = words[size_t(h - 1 - sy) * size_t(w) + size_t(sx)];
        }
    }
    words = std::move(out);
    width = int32_t(out_w);
    height = int32_t(out_h);
}
