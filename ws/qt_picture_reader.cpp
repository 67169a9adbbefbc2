// PNG, GIF, WebP and TIFF through Qt's image readers: sized from the header first, decoded whole or refused.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include "graphics/picture_words.h"
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

// Qt's 32-bit words, rows top-down, into the picture's, bottom-up; only an image with alpha is laid on white.
bool store(const QImage& image, Picture& out) {
    const int32_t w = image.width(), h = image.height();
    if (!allocate_words(out.words, size_t(w) * size_t(h))) return false;
    const bool alpha = image.hasAlphaChannel();
    for (int32_t y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        uint32_t* dst = out.words.data() + size_t(h - 1 - y) * size_t(w);
        if (alpha)
            for (int32_t x = 0; x < w; ++x) dst[x] = on_white(src[x]);
        else
            for (int32_t x = 0; x < w; ++x) dst[x] = src[x] & 0x00FFFFFFu;
    }
    out.width = w;
    out.height = h;
    return true;
}

// Qt's rows of the picture's own words, top-down, turned bottom-up in place and laid on white.
void turn_rows_over(Picture& out) {
    const size_t w = size_t(out.width);
    for (size_t top = 0, bottom = size_t(out.height); top < bottom--; ++top) {
        uint32_t* a = out.words.data() + top * w;
        uint32_t* b = out.words.data() + bottom * w;
        for (size_t x = 0; x < w; ++x) {
            const uint32_t upper = on_white(a[x]);
            a[x] = on_white(b[x]);
            b[x] = upper;
        }
    }
}

bool words_as_they_are(QImage::Format f) { return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32; }

// Qt's PNG reader decodes a photo's 32-bit words straight into an image it is given of their size, here the
// picture's own memory, so the rows need only turning over and no second copy is made. Other images (palettes,
// grey, 16 bits, a TIFF turned by its tag, other formats) are copied, converted where their words are not ours.
bool decode(QImageReader& reader, const QSize& size, Picture& out) {
    QImage image;
    if (reader.format() == "png" && words_as_they_are(reader.imageFormat())) {
        if (!allocate_words(out.words, size_t(size.width()) * size_t(size.height()))) return false;
        auto* bits = reinterpret_cast<uchar*>(out.words.data());
        image = QImage(bits, size.width(), size.height(), qsizetype(size.width()) * 4, reader.imageFormat());
        if (!reader.read(&image) || image.isNull()) return false;
        if (image.constBits() == bits && image.size() == size) {
            out.width = size.width();
            out.height = size.height();
            turn_rows_over(out);
            return true;
        }
    } else if (!reader.read(&image) || image.isNull()) {
        return false;
    }
    // Straight alpha, so that laying it on white sees each pixel's own colour.
    if (!words_as_they_are(image.format())) image = image.convertToFormat(QImage::Format_ARGB32);
    return !image.isNull() && store(image, out);
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
    if (!decode(reader, header, out)) return false;
    return int64_t(out.width) * out.height == int64_t(header.width()) * header.height();
}
