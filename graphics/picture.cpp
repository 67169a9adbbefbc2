// Loading a picture file into a surface: the extension picks the BMP or JPEG reader; failures are told to the player.
#include <cctype>
#include <cstring>
#include <string>
#include <utility>

#include "graphics/bmp_reader.h"
#include "graphics/jpeg_reader.h"
#include "graphics/memdc.h"
#include "ws/ws.h"

namespace {

const char* const kCaption = "glapi";
const char* const kUnreadable = "画像が読み込めません。";
const char* const kBadExtension = "画像が読み込めません。\n(拡張子が.BMP .JPG .JPEGでない)";
const char* const kJpegOpenError = "画像が読み込めません。(jpeg open error)";

enum class PictureKind { bmp, jpeg, unknown };

void tell_player(const char* text) { ws::message_box(0, text, kCaption, ws::MB_OK); }

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
    surface.replace_pixels(picture.width, picture.height, std::move(picture.words));
    return 1;
}

// A JPEG that stopped part way is kept with the rows it gave; one that gave no row at all counts as unreadable.
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
    surface.replace_pixels(picture.width, picture.height, std::move(picture.words));
    return 1;
}

}  // namespace

int32_t MemDC::load_picture(const char* file_name, Where w) {
    attach(w);
    const size_t n = file_name ? std::strlen(file_name) : 0;
    switch (kind_of(file_name, n)) {
    case PictureKind::bmp:
        return load_bmp(*this, file_name);
    case PictureKind::jpeg:
        return load_jpeg(*this, file_name);
    case PictureKind::unknown:
        break;
    }
    tell_player(kBadExtension);
    return 0;
}
