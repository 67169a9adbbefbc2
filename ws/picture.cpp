// Loading a picture file into a surface by its extension, failures told to the player; a picture rewritten whole.
#include "ws/picture.h"

#include <cctype>
#include <cstring>
#include <string>
#include <utility>

#include "graphics/jpeg_reader.h"
#include "ws/bmp_reader.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {

const char* const kCaption = "glapi";
const char* const kUnreadable = ZT_NOOP("ws", "画像が読み込めません。");
const char* const kBadExtension = ZT_NOOP("ws", "画像が読み込めません。\n(拡張子が.BMP .JPG .JPEGでない)");
const char* const kJpegOpenError = ZT_NOOP("ws", "画像が読み込めません。(jpeg open error)");

enum class PictureKind { bmp, jpeg, unknown };

void tell_player(const char* text) { ws::message_box(0, ws::tr("ws", text), kCaption, ws::MB_OK); }

// The extension rule: the last four characters upper-cased must be ".BMP" or ".JPG", or the last five ".JPEG"
// (only those four are upper-cased, so the fifth must be the point itself). The caller's name is not changed.
PictureKind kind_of(const char* file_name, size_t n) {
    if (n <= 4) return PictureKind::unknown;
    std::string tail(file_name + n - 5, 5);
    for (size_t i = 1; i < 5; ++i) tail[i] = char(std::toupper(static_cast<unsigned char>(tail[i])));
    if (tail.compare(1, 4, ".BMP") == 0) return PictureKind::bmp;
    if (tail.compare(1, 4, ".JPG") == 0) return PictureKind::jpeg;
    if (n < 6 || tail != ".JPEG") return PictureKind::unknown;
    return PictureKind::jpeg;
}

int32_t load_bmp(MemDC& surface, const char* file_name) {
    BmpPicture picture;
    if (!read_bmp_file(file_name, picture)) {
        tell_player(kUnreadable);
        return 0;
    }
    const int32_t whole = picture.incomplete ? 2 : 1;
    surface.replace_pixels(picture.width, picture.height, std::move(picture.words));
    return whole;
}

// A JPEG that stopped part way is kept with the rows it gave (2); one that gave no row at all counts as unreadable.
int32_t load_jpeg(MemDC& surface, const char* file_name) {
    JpegPicture picture;
    switch (read_jpeg_file(file_name, picture)) {
    case JpegResult::open_error:
        tell_player(kJpegOpenError);
        return 0;
    case JpegResult::unreadable:
        tell_player(kUnreadable);
        return 0;
    case JpegResult::loaded:
        break;
    }
    const int32_t whole = jpeg_damaged(picture) ? 2 : 1;
    surface.replace_pixels(picture.width, picture.height, std::move(picture.words));
    return whole;
}

void put_le(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// A plain 24-bit BMP of w x h words stored bottom-up, as the file keeps its rows.
std::vector<uint8_t> bmp_of(int32_t w, int32_t h, const std::vector<uint32_t>& words) {
    const uint32_t row_bytes = (uint32_t(w) * 3 + 3) / 4 * 4, data = row_bytes * uint32_t(h);
    std::vector<uint8_t> out = {'B', 'M'};
    out.reserve(54 + size_t(data));
    for (const auto& [v, n] : std::initializer_list<std::pair<uint32_t, int>>{
             {54 + data, 4}, {0, 4}, {54, 4}, {40, 4}, {uint32_t(w), 4}, {uint32_t(h), 4}, {1, 2}, {24, 2}, {0, 4},
             {data, 4}, {2835, 4}, {2835, 4}, {0, 4}, {0, 4}})
        put_le(out, v, n);
    for (int32_t y = 0; y < h; ++y) {
        const uint32_t* row = words.data() + size_t(y) * size_t(w);
        for (int32_t x = 0; x < w; ++x) put_le(out, row[x], 3);
        out.resize(out.size() + row_bytes - uint32_t(w) * 3, 0);
    }
    return out;
}

}  // namespace

int32_t ws::load_picture(MemDC& surface, const char* file_name, Where w) {
    surface.attach(w);
    const size_t n = file_name ? std::strlen(file_name) : 0;
    switch (kind_of(file_name, n)) {
    case PictureKind::bmp:
        return load_bmp(surface, file_name);
    case PictureKind::jpeg:
        return load_jpeg(surface, file_name);
    case PictureKind::unknown:
        break;
    }
    tell_player(kBadExtension);
    return 0;
}

std::vector<uint8_t> picture_as_bmp(const char* file_name) {
    const size_t n = file_name ? std::strlen(file_name) : 0;
    switch (kind_of(file_name, n)) {
    case PictureKind::bmp: {
        BmpPicture picture;
        if (read_bmp_file(file_name, picture)) return bmp_of(picture.width, picture.height, picture.words);
        break;
    }
    case PictureKind::jpeg: {
        JpegPicture picture;
        if (read_jpeg_file(file_name, picture) == JpegResult::loaded)
            return bmp_of(picture.width, picture.height, picture.words);
        break;
    }
    case PictureKind::unknown:
        break;
    }
    return {};
}
