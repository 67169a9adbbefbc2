// BMP decoding: QtGui's BMP reader does the parsing (it covers every common variant); this file bounds and converts.
#include "graphics/bmp_reader.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>

#include "graphics/paths.h"

namespace {

// The one place where BMP bytes are parsed. The device bounds every read; the size is checked before any
// allocation so that a header claiming a huge picture costs nothing.
bool decode(QIODevice& device, BmpPicture& out, int64_t max_pixels) {
    QImageReader reader(&device, "bmp");
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    // The header's size, before anything is allocated; a top-down file gives its height negative here.
    const QSize header = reader.size();
    const int64_t header_w = header.width();
    const int64_t header_h = header.height() < 0 ? -int64_t(header.height()) : int64_t(header.height());
    if (header_w < 1 || header_h < 1 || header_w * header_h > max_pixels) return false;
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.width() != header_w || image.height() != header_h)
        return false;
    // Unpremultiplied 32-bit words keep the colour bytes of the file whatever its alpha says.
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return false;

    const int32_t width = image.width(), height = image.height();
    out.words.resize(size_t(width) * size_t(height));
    for (int32_t y = 0; y < height; ++y) {
        // Qt's rows run top-down; ours bottom-up.
        const auto* src = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        uint32_t* dst = out.words.data() + size_t(height - 1 - y) * size_t(width);
        for (int32_t x = 0; x < width; ++x) dst[x] = src[x] & 0x00FFFFFFu;
    }
    out.width = width;
    out.height = height;
    return true;
}

}  // namespace

bool read_bmp(const uint8_t* data, size_t size, BmpPicture& out, int64_t max_pixels) {
    out = BmpPicture{};
    if (!data || size == 0 || size > size_t(INT32_MAX)) return false;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return false;
    if (decode(buffer, out, max_pixels)) return true;
    out = BmpPicture{};
    return false;
}

bool read_bmp_file(const char* path, BmpPicture& out, int64_t max_pixels) {
    out = BmpPicture{};
    if (!path) return false;
    const std::string resolved = resolve_path(path);
    QFile file(QString::fromUtf8(resolved.data(), qsizetype(resolved.size())));
    if (!file.open(QIODevice::ReadOnly)) return false;
    if (decode(file, out, max_pixels)) return true;
    out = BmpPicture{};
    return false;
}
