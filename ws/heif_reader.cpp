// HEIC and AVIF through libheif: the primary image with the file's own rotation and mirroring, sized before decoding.
#include <libheif/heif.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "graphics/picture_words.h"
#include "ws/picture_decoders.h"
#include "ws/picture_reader.h"

namespace {

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleFree {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageFree {
    void operator()(heif_image* i) const { heif_image_release(i); }
};

// A coded frame is whole blocks of up to 128 pixels a side.
constexpr int64_t kCodedPadding = 128;

bool ok(const heif_error& e) { return e.code == heif_error_Ok; }

// Interleaved 8-bit samples, three or four a pixel, rows top-down.
bool store(const uint8_t* plane, int stride, int32_t w, int32_t h, bool alpha, Picture& out) {
    if (!allocate_words(out.words, size_t(w) * size_t(h))) return false;
    const int step = alpha ? 4 : 3;
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* p = plane + size_t(y) * size_t(stride);
        uint32_t* dst = out.words.data() + size_t(h - 1 - y) * size_t(w);
        for (int32_t x = 0; x < w; ++x, p += step) {
            const uint32_t a = alpha ? p[3] : 255u;
            dst[x] = on_white(a << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
        }
    }
    out.width = w;
    out.height = h;
    return true;
}

}  // namespace

bool is_heif(const uint8_t* data, size_t size) {
    return size >= 12 && heif_check_filetype(data, 12) != heif_filetype_no;
}

bool read_heif_picture(const uint8_t* data, size_t size, Picture& out, int64_t max_pixels) {
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context || !ok(heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr))) return false;
    heif_image_handle* raw_handle = nullptr;
    if (!ok(heif_context_get_primary_image_handle(context.get(), &raw_handle))) return false;
    std::unique_ptr<heif_image_handle, HandleFree> handle(raw_handle);
    const int64_t w = heif_image_handle_get_width(raw_handle), h = heif_image_handle_get_height(raw_handle);
    if (w < 1 || h < 1 || w * h > max_pixels) return false;
    // A tiled picture's canvas is allocated at the size its grid states, before any tile is read, and libheif bounds
    // only each side (by 32768). A file whose grid claims more than its picture would take gigabytes for nothing, so
    // each side is held to the picture's longer one (as stored, before any crop or turn; with room for a coded
    // frame's padding to whole blocks, which the limit bounds as well) and to the side of a square of 16 times the
    // pixel limit (at the game's limit that is libheif's own bound).
    const int64_t side = std::max({w, h, int64_t(heif_image_handle_get_ispe_width(raw_handle)),
                                   int64_t(heif_image_handle_get_ispe_height(raw_handle))});
    if (side > int64_t(std::sqrt(double(max_pixels) * 16.0))) return false;
    heif_context_set_maximum_image_size_limit(context.get(), int(side + kCodedPadding + 1));
    const bool alpha = heif_image_handle_has_alpha_channel(raw_handle) != 0;
    heif_image* raw_image = nullptr;
    if (!ok(heif_decode_image(raw_handle, &raw_image, heif_colorspace_RGB,
                              alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, nullptr)))
        return false;
    std::unique_ptr<heif_image, ImageFree> image(raw_image);
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(raw_image, heif_channel_interleaved, &stride);
    const int32_t iw = heif_image_get_width(raw_image, heif_channel_interleaved);
    const int32_t ih = heif_image_get_height(raw_image, heif_channel_interleaved);
    if (!plane || iw < 1 || ih < 1 || int64_t(iw) * ih > max_pixels || stride < iw * (alpha ? 4 : 3)) return false;
    return store(plane, stride, iw, ih, alpha, out);
}
