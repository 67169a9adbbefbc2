// The one road into the game for picture files: the name picks the reader, the newer formats are sniffed.
#include "ws/picture_reader.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cctype>
#include <cstring>
#include <utility>

#include "graphics/jpeg_reader.h"
#include "graphics/orientation.h"
#include "graphics/paths.h"
#include "ws/bmp_reader.h"
#include "ws/picture_decoders.h"

namespace {

// The extensions read by content: a phone's HEIC named .heif, a screenshot's PNG named .webp still play.
const char* const kContentExtensions[] = {".png", ".gif", ".webp", ".tif", ".tiff", ".heic", ".heif", ".avif"};

// No picture the game takes needs a file this large (its largest, 16-bit and uncompressed, is half as much); a
// larger one is refused before it is read into memory.
constexpr qint64 kLargestFile = qint64(1) << 30;

bool ends_with(const std::string& name, const char* ext) {
    const size_t n = std::strlen(ext);
    if (name.size() <= n) return false;  // an extension alone is no picture's name
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(name[name.size() - n + i])) != ext[i]) return false;
    return true;
}

// The rule the game has always had for its first two formats: the last four characters upper-cased must be ".BMP"
// or ".JPG", or the last five ".JPEG" (so the fifth must be the point itself), in a name longer than four.
PictureName classic_name(const std::string& name) {
    const size_t n = name.size();
    if (n <= 4) return PictureName::none;
    std::string tail = name.substr(n - 4);
    for (char& c : tail) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (tail == ".BMP") return PictureName::bmp;
    if (tail == ".JPG") return PictureName::jpeg;
    if (n >= 6 && name[n - 5] == '.' && tail == "JPEG") return PictureName::jpeg;
    return PictureName::none;
}

void take(Picture& out, int32_t w, int32_t h, std::vector<uint32_t>&& words, int32_t type, bool damaged) {
    out.width = w;
    out.height = h;
    out.words = std::move(words);
    out.type = type;
    out.damaged = damaged;
}

PictureRead read_jpeg_named(const std::string& path, Picture& out) {
    JpegPicture j;
    switch (read_jpeg_file(path.c_str(), j)) {
    case JpegResult::open_error: return PictureRead::open_error;
    case JpegResult::unreadable: return PictureRead::unreadable;
    case JpegResult::loaded: break;
    }
    const bool damaged = jpeg_damaged(j);
    orient_picture(j.width, j.height, j.words, j.orientation);
    take(out, j.width, j.height, std::move(j.words), kPictureJpeg, damaged);
    return PictureRead::loaded;
}

bool read_bmp_bytes(const QByteArray& bytes, Picture& out) {
    BmpPicture b;
    if (!read_bmp(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), b)) return false;
    take(out, b.width, b.height, std::move(b.words), kPictureBmp, b.incomplete);
    return true;
}

// A file of a newer extension: BMP and JPEG bytes take their own readers (and their types), the rest the decoders.
PictureRead read_by_content(const std::string& path, Picture& out) {
    const std::string resolved = resolve_path(path);
    QFile file(QString::fromUtf8(resolved.data(), qsizetype(resolved.size())));
    if (!file.open(QIODevice::ReadOnly)) return PictureRead::open_error;
    if (file.size() > kLargestFile) return PictureRead::unreadable;
    const QByteArray bytes = file.readAll();
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    const size_t size = size_t(bytes.size());
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return read_bmp_bytes(bytes, out) ? PictureRead::loaded : PictureRead::unreadable;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        const PictureRead got = read_jpeg_named(path, out);
        return got == PictureRead::open_error ? PictureRead::unreadable : got;
    }
    return read_picture_bytes(data, size, out) ? PictureRead::loaded : PictureRead::unreadable;
}

}  // namespace

PictureName picture_name(const std::string& name) {
    const PictureName classic = classic_name(name);
    if (classic != PictureName::none) return classic;
    for (const char* ext : kContentExtensions)
        if (ends_with(name, ext)) return PictureName::by_content;
    return PictureName::none;
}

std::vector<std::string> picture_extensions() {
    std::vector<std::string> all = {".bmp", ".jpg", ".jpeg"};
    all.insert(all.end(), std::begin(kContentExtensions), std::end(kContentExtensions));
    return all;
}

PictureRead read_picture_file(const std::string& path, Picture& out) {
    out = Picture{};
    switch (picture_name(path)) {
    case PictureName::bmp: {
        BmpPicture b;
        if (!read_bmp_file(path.c_str(), b)) return PictureRead::unreadable;
        take(out, b.width, b.height, std::move(b.words), kPictureBmp, b.incomplete);
        return PictureRead::loaded;
    }
    case PictureName::jpeg: return read_jpeg_named(path, out);
    case PictureName::by_content: return read_by_content(path, out);
    case PictureName::none: break;
    }
    return PictureRead::bad_name;
}

bool read_picture_bytes(const uint8_t* data, size_t size, Picture& out, int64_t max_pixels) {
    out = Picture{};
    if (!data || size == 0 || size > size_t(INT32_MAX)) return false;
    const bool ok = is_heif(data, size) ? read_heif_picture(data, size, out, max_pixels)
                                        : read_qt_picture(data, size, out, max_pixels);
    if (!ok) {
        out = Picture{};
        return false;
    }
    out.type = kPictureOwnBytes;
    return true;
}
