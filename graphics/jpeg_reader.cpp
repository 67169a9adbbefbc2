// JPEG decoding with libjpeg (version 62 interface): an error, or a warning where a picture must be whole, jumps back.
#include "graphics/jpeg_reader.h"

#include <bit>
#include <csetjmp>
#include <cstring>

#include <jpeglib.h>

#include "graphics/orientation.h"
#include "graphics/paths.h"
#include "graphics/picture_words.h"

namespace {

// A real progressive picture has about ten scans; thousands of tiny ones only make a file slow to refuse.
constexpr int kMaxScans = 500;
// Working memory the library may take (progressive pictures keep all coefficients).
constexpr long kMaxLibraryMemory = 1024L * 1024L * 1024L;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void jump_to_loader(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// The library's error exit must not return: let it print its message, then go back to read_jpeg's recovery point.
[[noreturn]] void error_exit_to_loader(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    jump_to_loader(cinfo);
}

// For a picture that must be whole: a warning (msg_level -1; the others are trace lines) ends the decoding as an
// error does. The library counts warnings in its default emitter, so this one counts them too.
void stop_at_warning(j_common_ptr cinfo, int msg_level) {
    if (msg_level >= 0) return;
    ++cinfo->err->num_warnings;
    jump_to_loader(cinfo);
}

void print_nothing(j_common_ptr) {}

void limit_scans(j_common_ptr cinfo) {
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        jump_to_loader(cinfo);
}

void store_rgb(const JSAMPLE* p, uint32_t* dst, int32_t width) {
    for (int32_t x = 0; x < width; ++x, p += 3)
        dst[x] = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[2]);
}

// Adobe's programs write CMYK inverted (0 = full ink) and mark the file with their APP14 marker.
void store_cmyk(const JSAMPLE* p, uint32_t* dst, int32_t width, bool inverted) {
    for (int32_t x = 0; x < width; ++x, p += 4) {
        uint32_t c = p[0], m = p[1], y = p[2], k = p[3];
        if (!inverted) { c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k; }
        uint32_t r = (c * k + 127) / 255, g = (m * k + 127) / 255, b = (y * k + 127) / 255;
        dst[x] = r << 16 | g << 8 | b;
    }
}

// Three samples a pixel would need a conversion pass per pixel. libjpeg-turbo can instead write four bytes a pixel
// that read as one native word 0xXXRRGGBB, straight into the picture; only the unused top byte needs clearing.
#ifdef JCS_EXTENSIONS
constexpr bool kDirectWords = true;
constexpr J_COLOR_SPACE kWordOrder = std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;
#else
constexpr bool kDirectWords = false;
constexpr J_COLOR_SPACE kWordOrder = JCS_RGB;
#endif

void clear_top_bytes(uint32_t* words, int32_t width) {
    for (int32_t x = 0; x < width; ++x) words[x] &= 0x00FFFFFFu;
}

// The orientation tag of the first APP1 segment that holds EXIF (a camera writes it right after the start).
int32_t orientation_of(const jpeg_decompress_struct& cinfo) {
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 && std::memcmp(m->data, "Exif\0\0", 6) == 0)
            return exif_orientation(m->data, m->data_length);
    return 1;
}

// Everything that may end in the error exit. No object with a destructor lives in this frame, so the jump back
// to read_jpeg skips nothing; `out` lives in the caller and keeps what was stored before an error.
void run_decoder(jpeg_decompress_struct& cinfo, JpegPicture& out, int64_t max_pixels) {
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    out.orientation = orientation_of(cinfo);
    if (int64_t(cinfo.image_width) * int64_t(cinfo.image_height) > max_pixels) return;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : kWordOrder;  // grey-scale comes out as three equal samples
    jpeg_start_decompress(&cinfo);

    const int32_t width = int32_t(cinfo.output_width), height = int32_t(cinfo.output_height);
    if (!allocate_words(out.words, size_t(width) * size_t(height))) return;
    out.width = width;
    out.height = height;
    const bool direct = kDirectWords && !cmyk;
    JSAMPARRAY samples = direct ? nullptr
                                : (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                             JDIMENSION(width * cinfo.output_components), 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int32_t y = int32_t(cinfo.output_scanline);
        // The first scanline is the top of the picture, which is the last row in memory.
        uint32_t* dst = out.words.data() + size_t(height - 1 - y) * size_t(width);
        JSAMPROW target = direct ? reinterpret_cast<JSAMPROW>(dst) : samples[0];
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) break;
        if (direct)
            clear_top_bytes(dst, width);
        else if (cmyk)
            store_cmyk(samples[0], dst, width, cinfo.saw_Adobe_marker);
        else
            store_rgb(samples[0], dst, width);
        out.rows_decoded = y + 1;
    }
    jpeg_finish_decompress(&cinfo);
}

}  // namespace

bool read_jpeg(std::FILE* file, JpegPicture& out, int64_t max_pixels, Damage damage) {
    out = JpegPicture{};
    if (!file) return false;
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = error_exit_to_loader;
    if (damage == Damage::refused) {
        err.pub.emit_message = stop_at_warning;
        err.pub.output_message = print_nothing;
    }
    progress.progress_monitor = limit_scans;
    if (setjmp(err.jump) == 0) {
        jpeg_create_decompress(&cinfo);
        cinfo.mem->max_memory_to_use = kMaxLibraryMemory;
        cinfo.progress = &progress;
        jpeg_stdio_src(&cinfo, file);
        run_decoder(cinfo, out, max_pixels);
    } else {
        out.damaged = true;
    }
    out.warnings = int32_t(err.pub.num_warnings);
    jpeg_destroy_decompress(&cinfo);
    if (out.rows_decoded > 0 && (damage == Damage::kept || !jpeg_damaged(out))) return true;
    out = JpegPicture{};
    return false;
}

JpegResult read_jpeg_file(const char* path, JpegPicture& out, int64_t max_pixels) {
    out = JpegPicture{};
    std::FILE* file = path ? open_file(path, "rb") : nullptr;
    if (!file) return JpegResult::open_error;
    const bool ok = read_jpeg(file, out, max_pixels);
    std::fclose(file);
    return ok ? JpegResult::loaded : JpegResult::unreadable;
}
