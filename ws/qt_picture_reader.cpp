// PNG, GIF, WebP and TIFF through Qt's image readers: sized from the header first, decoded whole or refused.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include "ws/picture_decoders.h"
#include "ws/picture_reader.h"

namespace {

// Only the formats the game offers: Qt would also read icons, pixmaps and other files a player never meant.
bool offered(const QByteArray& format) {
    return format == "png" || format == "gif" || format == "webp" || format == "tiff";
}

// Qt's GIF reader gives a frame cut short as a whole one with the rest left as it began; a whole file ends in
// the trailer byte.
bool looks_whole(const QByteArray& format, const uint8_t* data, size_t size) {
    return format != "gif" || data[size - 1] == 0x3B;
}

void store(const QImage& image, Picture& out) {
    const int32_t w = image.width(), h = image.height();
    out.words.resize(size_t(w) * size_t(h));
    for (int32_t y = 0; y < h; ++y) {
        // Qt's rows run top-down; ours bottom-up.
        const auto* src = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        uint32_t* dst = out.words.data() + size_t(h - 1 - y) * size_t(w);
        for (int32_t x = 0; x < w; ++x) dst[x] = on_white(src[x]);
    }
    out.width = w;
    out.height = h;
}

}  // namespace

bool read_qt_picture(const uint8_t* data, size_t size, Picture& out, int64_t max_pixels) {
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return false;
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);  // a TIFF's orientation tag
    const QByteArray format = reader.format();
    if (!offered(format) || !looks_whole(format, data, size)) return false;
    // The header's size, before anything is allocated.
    const QSize header = reader.size();
    if (header.width() < 1 || header.height() < 1 || int64_t(header.width()) * header.height() > max_pixels)
        return false;
    QImage image;
    if (!reader.read(&image) || image.isNull()) return false;
    if (int64_t(image.width()) * image.height() != int64_t(header.width()) * header.height()) return false;
    // Straight alpha, so that laying it on white sees each pixel's own colour.
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return false;
    store(image, out);
    return true;
}
