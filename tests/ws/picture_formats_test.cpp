// The newer picture formats: each made here by Qt's writers or libheif's encoders, read whole, upright, on white;
// every file cut short or claiming a giant size refused.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <libheif/heif.h>

#include <map>
#include <string>

#include "support/temp_dir.h"
#include "ws/picture_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The test picture: four quadrants of clearly different colours, so that a corner tells which way it is turned
// even through a lossy encoder. Stored top-down as Qt keeps it.
constexpr uint32_t kRed = 0xE02020, kGreen = 0x20C020, kBlue = 0x2020E0, kYellow = 0xE0E020;
constexpr int kW = 48, kH = 32;

QImage quadrants(QImage::Format format = QImage::Format_RGB32) {
    QImage image(kW, kH, QImage::Format_RGB32);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            image.setPixel(x, y, 0xFF000000u | (y < kH / 2 ? (x < kW / 2 ? kRed : kGreen) : (x < kW / 2 ? kBlue : kYellow)));
    return format == QImage::Format_RGB32 ? image : image.convertToFormat(format);
}

Bytes bytes_of(const QByteArray& a) { return Bytes(a.begin(), a.end()); }

Bytes qt_file(const QImage& image, const char* format, int quality = -1, QImageIOHandler::Transformations turn = {}) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setTransformation(turn);
    return writer.write(image) ? bytes_of(out) : Bytes{};
}

heif_error write_to(heif_context*, const void* data, size_t size, void* userdata) {
    auto* out = static_cast<Bytes*>(userdata);
    out->insert(out->end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

// The quadrants through libheif's encoder of `compression`, with rotation and mirroring boxes for `orientation`;
// empty when the library has no such encoder.
Bytes heif_file(heif_compression_format compression, int orientation = 1) {
    const QImage image = quadrants().convertToFormat(QImage::Format_RGB888);
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* picture = nullptr;
    Bytes out;
    if (heif_context_get_encoder_for_format(context, compression, &encoder).code == heif_error_Ok &&
        heif_image_create(kW, kH, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &picture).code == heif_error_Ok &&
        heif_image_add_plane(picture, heif_channel_interleaved, kW, kH, 8).code == heif_error_Ok) {
        int stride = 0;
        uint8_t* plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
        for (int y = 0; y < kH; ++y) std::memcpy(plane + y * stride, image.constScanLine(y), size_t(kW) * 3);
        heif_encoder_set_lossy_quality(encoder, 90);
        heif_writer writer{1, write_to};
        heif_encoding_options* options = heif_encoding_options_alloc();
        options->image_orientation = heif_orientation(orientation);
        const heif_error encoded = heif_context_encode_image(context, picture, encoder, options, nullptr);
        heif_encoding_options_free(options);
        if (encoded.code != heif_error_Ok ||
            heif_context_write(context, &writer, &out).code != heif_error_Ok)
            out.clear();
    }
    if (picture) heif_image_release(picture);
    if (encoder) heif_encoder_release(encoder);
    heif_context_free(context);
    return out;
}

// A JPEG of the quadrants with an EXIF block naming `orientation`, laid right after the start of image as cameras
// lay it: "Exif\0\0", then a little-endian TIFF structure with one directory entry, tag 0x0112 (SHORT, 1 value).
Bytes jpeg_turned(int orientation) {
    Bytes jpeg = qt_file(quadrants(), "jpeg", 95);
    const uint8_t o = uint8_t(orientation);
    const Bytes app1 = {0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                        0x12, 0x01, 3, 0, 1, 0, 0, 0, o, 0, 0, 0, 0, 0, 0, 0};
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    return jpeg;
}

// The colour of a corner of a picture of words stored bottom-up: x and y 0 for left and top, 1 for right and bottom.
uint32_t corner(const Picture& p, int right, int bottom) {
    const int x = right ? p.width - 2 : 1, y = bottom ? p.height - 2 : 1;
    return p.words[size_t(p.height - 1 - y) * size_t(p.width) + size_t(x)];
}

bool near(uint32_t a, uint32_t b, int slack) {
    for (int s = 0; s < 24; s += 8)
        if (std::abs(int(a >> s & 0xFF) - int(b >> s & 0xFF)) > slack) return false;
    return true;
}

struct Reading {
    testsupport::TempDir dir;
    // Reads `bytes` written under `name` through the file road the game uses.
    PictureRead read(const std::string& name, const Bytes& bytes, Picture& out) {
        testsupport::write_file(dir.file(name), std::string(bytes.begin(), bytes.end()));
        return read_picture_file(dir.file(name), out);
    }
};

// Every format comes out at its size with each quadrant where it was, and with the type a saved game records. A
// file cut anywhere up to its last pixels is refused whole: never a picture half of noise (a PNG that lacks only
// its closing chunk, the last 12 bytes, holds every pixel and plays; a JPEG that ends early still plays, as it
// always has).
TEST(PictureFormats, EachFormatReadsWholeAndTheRightWayUpAndCutShortIsRefused) {
    // The name it is read under, the file, how far a lossy encoder may move a colour, the type.
    const std::tuple<const char*, Bytes, int, int32_t> formats[] = {
        {"rgb.png", qt_file(quadrants(), "png"), 0, kPictureOwnBytes},
        {"deep.PNG", qt_file(quadrants(QImage::Format_RGBA64), "png"), 0, kPictureOwnBytes},
        {"palette.png", qt_file(quadrants(QImage::Format_Indexed8), "png"), 0, kPictureOwnBytes},
        {"first.gif", testsupport::read_file<Bytes>(ZELTO_SOURCE_DIR "/tests/ws/data/quadrants.gif"), 0,
         kPictureOwnBytes},  // Qt writes none
        {"photo.webp", qt_file(quadrants(), "webp", 100), 0, kPictureOwnBytes},
        {"scan.tif", qt_file(quadrants(), "tiff"), 0, kPictureOwnBytes},
        {"phone.heic", heif_file(heif_compression_HEVC), 40, kPictureOwnBytes},
        {"web.avif", heif_file(heif_compression_AV1), 40, kPictureOwnBytes},
        {"named-wrong.webp", qt_file(quadrants(), "png"), 0, kPictureOwnBytes},
        {"jpeg-inside.png", qt_file(quadrants(), "jpeg", 95), 24, kPictureJpeg},
    };
    Reading r;
    for (const auto& [name, whole, slack, type] : formats) {
        SCOPED_TRACE(name);
        Picture p;
        ASSERT_EQ(r.read(name, whole, p), PictureRead::loaded) << whole.size() << " bytes written";
        EXPECT_EQ(std::tuple(p.width, p.height, p.type, p.damaged), std::tuple(kW, kH, type, false));
        for (const auto& [right, bottom, colour] :
             {std::tuple(0, 0, kRed), {1, 0, kGreen}, {0, 1, kBlue}, {1, 1, kYellow}})
            EXPECT_TRUE(near(corner(p, right, bottom), colour, slack)) << std::hex << corner(p, right, bottom);
        if (type == kPictureJpeg) continue;
        for (const size_t keep : {size_t(0), size_t(12), whole.size() / 4, whole.size() / 2, whole.size() * 7 / 8,
                                  whole.size() - 13}) {
            SCOPED_TRACE(keep);
            const Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(keep));
            EXPECT_EQ(r.read(name, cut, p), PictureRead::unreadable);
            EXPECT_TRUE(p.words.empty());
            EXPECT_FALSE(read_picture_bytes(cut.data(), cut.size(), p));
        }
    }
}

// Which stored quadrant each orientation shows at the top left, top right, bottom left and bottom right (R G B Y
// as stored), worked out once from the tag's definition: 6 is a camera held upright, 8 the other way round.
const std::map<int, std::string> kShown = {{1, "RGBY"}, {2, "GRYB"}, {3, "YBGR"}, {4, "BYRG"},
                                           {5, "RBGY"}, {6, "BRYG"}, {7, "YGBR"}, {8, "GYRB"}};

char quadrant_of(uint32_t c) {
    for (const auto& [colour, letter] : {std::pair(kRed, 'R'), {kGreen, 'G'}, {kBlue, 'B'}, {kYellow, 'Y'}})
        if (near(c, colour, 40)) return letter;
    return '?';
}

std::string shown(const Picture& p) {
    return {quadrant_of(corner(p, 0, 0)), quadrant_of(corner(p, 1, 0)), quadrant_of(corner(p, 0, 1)),
            quadrant_of(corner(p, 1, 1))};
}

// The EXIF orientation of a JPEG, the orientation tag of a TIFF and the rotation and mirroring of a HEIC turn the
// picture as the camera meant.
TEST(PictureFormats, JpegTiffAndHeicAreTurnedAsTheirOrientationSays) {
    Reading r;
    // Qt's names for the eight orientations, in the tag's order.
    const QImageIOHandler::Transformations turns[] = {
        QImageIOHandler::TransformationNone,       QImageIOHandler::TransformationMirror,
        QImageIOHandler::TransformationRotate180,  QImageIOHandler::TransformationFlip,
        QImageIOHandler::TransformationFlipAndRotate90, QImageIOHandler::TransformationRotate90,
        QImageIOHandler::TransformationMirrorAndRotate90, QImageIOHandler::TransformationRotate270};
    for (const auto& [orientation, expected] : kShown) {
        const std::pair<int, int> size = orientation >= 5 ? std::pair(kH, kW) : std::pair(kW, kH);  // sideways
        for (const auto& [name, bytes] : {std::pair("camera.JPG", jpeg_turned(orientation)),
                                          {"scan.tiff", qt_file(quadrants(), "tiff", -1, turns[orientation - 1])},
                                          {"phone.heic", heif_file(heif_compression_HEVC, orientation)}}) {
            SCOPED_TRACE(testing::Message() << name << " " << orientation);
            Picture p;
            ASSERT_EQ(r.read(name, bytes, p), PictureRead::loaded);
            EXPECT_EQ(std::tuple(p.width, p.height, shown(p)), std::tuple(size.first, size.second, expected));
        }
    }
}

// Transparent pixels are laid on white; half transparent ones halfway to it.
TEST(PictureFormats, TransparencyIsLaidOnWhite) {
    QImage image(4, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, 0x00000000u);  // wholly transparent black
    image.setPixel(1, 0, 0x80FF0000u);  // half transparent red
    image.setPixel(2, 0, 0xFF123456u);  // opaque
    image.setPixel(3, 0, 0x40000000u);
    Reading r;
    for (const char* format : {"png", "webp"}) {
        SCOPED_TRACE(format);
        Picture p;
        ASSERT_EQ(r.read(std::string("a.") + format, qt_file(image, format, 100), p), PictureRead::loaded);
        ASSERT_EQ(p.words.size(), 4u);
        const uint32_t want[] = {0xFFFFFF, 0xFF7F7F, 0x123456, 0xBFBFBF};  // the half transparent ones within 1
        for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(i % 2 ? near(p.words[i], want[i], 1) : p.words[i] == want[i]) << i;
    }
}

// Headers that claim more pixels than the game takes are refused before anything is decoded; files of the newer
// names that hold no picture at all likewise.
TEST(PictureFormats, GiantAndForeignFilesAreRefused) {
    Reading r;
    Bytes png = qt_file(quadrants(), "png");
    // IHDR's width (bytes 16-19, big-endian) made 40000: 40000 x 32 passes, x 2000 rows would not.
    Bytes wide = png;
    wide[16] = 0, wide[17] = 0, wide[18] = 0x9C, wide[19] = 0x40, wide[22] = 0x07, wide[23] = 0xD0;
    const Bytes svg = {'<', 's', 'v', 'g', '>', '<', '/', 's', 'v', 'g', '>'};
    const Bytes xpm = bytes_of(QByteArray("/* XPM */\nstatic char *x[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n"));
    for (const auto& [name, bytes] : {std::pair("giant.png", wide), {"drawing.png", svg}, {"pixmap.gif", xpm}}) {
        SCOPED_TRACE(name);
        Picture p;
        EXPECT_EQ(r.read(name, bytes, p), PictureRead::unreadable);
    }
    Picture p;
    // The limit holds to the pixel, for Qt's readers and for libheif alike.
    for (const Bytes& b : {png, heif_file(heif_compression_HEVC)}) {
        EXPECT_TRUE(read_picture_bytes(b.data(), b.size(), p, kW * kH));
        EXPECT_FALSE(read_picture_bytes(b.data(), b.size(), p, kW * kH - 1));
    }
    EXPECT_EQ(read_picture_file(r.dir.file("missing.png"), p), PictureRead::open_error);
    EXPECT_EQ(r.read("notes.txt", png, p), PictureRead::bad_name);
    // BMP and JPEG bytes are never another format's own bytes, which a saved game keeps under its own type.
    EXPECT_FALSE(read_picture_bytes(png.data(), 0, p));
    const Bytes jpeg = qt_file(quadrants(), "jpeg");
    EXPECT_FALSE(read_picture_bytes(jpeg.data(), jpeg.size(), p));
}

}  // namespace
