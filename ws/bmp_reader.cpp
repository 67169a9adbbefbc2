// BMP decoding: QtGui's BMP reader does the parsing (it covers every common variant); this file bounds and converts.
#include "ws/bmp_reader.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <algorithm>

#include "graphics/paths.h"

namespace {

uint32_t le(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
    return v;
}

// The kind of image Qt makes for a file's pixels: one colour index a byte for 4 and 8 bits, bits for 1, words
// otherwise (with alpha when bit fields give it a mask). Qt leaves pixels that the data does not reach (a short
// file, a jump or an early end of run lengths, data placed past its offset) as it allocated them; given a
// cleared image of this kind and the file's size it fills that one instead, so those pixels take the first
// colour or black, the same on every reading.
QImage::Format format_of(const uint8_t* data, size_t size) {
    if (size < 30) return QImage::Format_Invalid;
    const bool core = le(data + 14, 4) == 12;
    const uint32_t bits = le(data + (core ? 24 : 28), 2), compression = core || size < 34 ? 0 : le(data + 30, 4);
    if (bits == 1) return QImage::Format_Mono;
    if (bits == 4 || bits == 8) return QImage::Format_Indexed8;
    const bool alpha = (compression == 3 || compression == 6) && size >= 70 && le(data + 66, 4) != 0;
    return alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

// The one place where BMP bytes are parsed. The device bounds every read; the size is checked before any
// allocation so that a header claiming a huge picture costs nothing.
bool decode(QIODevice& device, BmpPicture& out, int64_t max_pixels, QImage::Format format) {
    QImageReader reader(&device, "bmp");
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    // The header's size, before anything is allocated; a top-down file gives its height negative here.
    const QSize header = reader.size();
    const int64_t header_w = header.width();
    const int64_t header_h = header.height() < 0 ? -int64_t(header.height()) : int64_t(header.height());
    if (header_w < 1 || header_h < 1 || header_w * header_h > max_pixels) return false;
    QImage image;
    if (format != QImage::Format_Invalid) {
        image = QImage(int(header_w), int(header_h), format);
        image.fill(0u);
    }
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

// Whether run-length data from `at` ends before its end mark or its last row. Qt stops at either and keeps
// what came before them.
bool runs_short(const uint8_t* data, size_t size, size_t at, int64_t rows, bool four_bits) {
    for (int64_t row = 0; row < rows;) {
        if (size - at < 2) return true;
        const uint8_t count = data[at], code = data[at + 1];
        at += 2;
        if (count > 0 || code == 0) {  // a run, or the end of a row
            row += count == 0;
            continue;
        }
        if (code == 1) return false;  // the end of the picture
        // A jump by two bytes (x, y), or `code` pixels as they are, padded to a whole word.
        size_t n = code == 2 ? 2 : four_bits ? (code + 1u) / 2 : code;
        if (code != 2) n += n & 1;
        if (size - at < n) return true;
        if (code == 2) row += data[at + 1];
        at += n;
    }
    return false;
}

// What the pixel data of a file that Qt read as a width x height picture holds: whether it ends before the rows
// its header gives (Qt then keeps the rows it could read), and for uncompressed data how many whole rows it holds,
// in file order. Only the plain headers are judged, and the data is taken to start no earlier than Qt could start
// it, so that a whole file is never called short.
struct Extent {
    bool short_data = false;
    int64_t rows = -1;  // -1: not counted (run lengths)
    bool top_down = false;
};

Extent extent_of(const uint8_t* data, size_t size, int64_t width, int64_t height) {
    Extent e;
    if (size < 30) return e;
    const uint32_t offset = le(data + 10, 4), header = le(data + 14, 4);
    const bool core = header == 12;  // the old header: 16-bit sizes, never compressed
    if (!core && (header < 40 || size < 34)) return e;
    const uint32_t bits = le(data + (core ? 24 : 28), 2), compression = core ? 0 : le(data + 30, 4);
    e.top_down = !core && int32_t(le(data + 22, 4)) < 0;
    if (compression == 1 || compression == 2) {  // run lengths of 8 or 4 bits, from where the header says
        const bool placed = offset >= 14 + header && offset < size;
        e.short_data = placed && runs_short(data, size, offset, height, compression == 2);
        return e;
    }
    if (compression != 0 && compression != 3 && compression != 6) return e;  // plain, bit fields, alpha bit fields
    const int64_t stride = (width * bits + 31) / 32 * 4, start = std::max<int64_t>(offset, core ? 26 : 54);
    e.rows = stride > 0 && int64_t(size) > start ? std::min(height, (int64_t(size) - start) / stride) : 0;
    e.short_data = e.rows < height;
    return e;
}

// Rows the file does not hold are black, whatever Qt left in them.
void blacken_missing_rows(BmpPicture& p, const Extent& e) {
    const size_t width = size_t(p.width), missing = size_t(p.height - e.rows);
    // The file's rows run bottom-up, as ours do, unless its header gave the height negative.
    uint32_t* first = p.words.data() + (e.top_down ? 0 : size_t(e.rows) * width);
    std::fill(first, first + missing * width, 0u);
}

}  // namespace

bool read_bmp(const uint8_t* data, size_t size, BmpPicture& out, int64_t max_pixels, Damage damage) {
    out = BmpPicture{};
    if (!data || size == 0 || size > size_t(INT32_MAX)) return false;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly) || !decode(buffer, out, max_pixels, format_of(data, size))) {
        out = BmpPicture{};
        return false;
    }
    const Extent e = extent_of(data, size, out.width, out.height);
    out.incomplete = e.short_data;
    if (!out.incomplete) return true;
    if (damage == Damage::refused) {
        out = BmpPicture{};
        return false;
    }
    if (e.rows >= 0) blacken_missing_rows(out, e);
    return true;
}

bool read_bmp_file(const char* path, BmpPicture& out, int64_t max_pixels) {
    out = BmpPicture{};
    if (!path) return false;
    const std::string resolved = resolve_path(path);
    QFile file(QString::fromUtf8(resolved.data(), qsizetype(resolved.size())));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    return read_bmp(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), out, max_pixels);
}
