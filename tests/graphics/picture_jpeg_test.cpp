// JPEG reading: pictures written by the library's own compressor come back with the right pixels, the right way
// up, in every colour model; damaged files keep the rows decoded before the damage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/jpeg_reader.h"
#include "picture_test_util.h"

using pictest::near_word;
using pictest::word_at;

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;

// Quadrants of 16 x 16 pixels: red top-left, green top-right, blue bottom-left, yellow bottom-right.
uint32_t quadrants(int32_t x, int32_t y) {
    if (y < 16) return x < 16 ? kRed : kGreen;
    return x < 16 ? kBlue : kYellow;
}

JpegPicture decode(const std::vector<uint8_t>& bytes, bool& ok) {
    JpegPicture picture;
    std::FILE* file = fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb");
    ok = read_jpeg(file, picture);
    if (file) std::fclose(file);
    return picture;
}

// Checks the middle 8 x 8 of each quadrant (away from the blocks' edges, where JPEG rings).
void expect_quadrants(const JpegPicture& p) {
    ASSERT_EQ(p.width, 32);
    ASSERT_EQ(p.height, 32);
    for (int32_t y = 4; y < 28; ++y) {
        if (y >= 12 && y < 20) continue;
        for (int32_t x = 4; x < 28; ++x) {
            if (x >= 12 && x < 20) continue;
            ASSERT_TRUE(near_word(word_at(p.words, 32, 32, x, y), quadrants(x, y), 3))
                << x << "," << y << " got " << std::hex << word_at(p.words, 32, 32, x, y);
        }
    }
}

TEST(JpegColourModels, ColourPictureComesBackTheRightWayUp) {
    for (bool progressive : {false, true}) {
        bool ok = false;
        const JpegPicture p = decode(pictest::encode_jpeg(32, 32, 3, quadrants, 100, progressive), ok);
        ASSERT_TRUE(ok) << progressive;
        EXPECT_EQ(p.rows_decoded, 32);
        EXPECT_EQ(p.warnings, 0);
        EXPECT_FALSE(p.damaged);
        expect_quadrants(p);
        // The top byte of every word stays 0.
        EXPECT_TRUE(std::all_of(p.words.begin(), p.words.end(), [](uint32_t w) { return (w >> 24) == 0; }));
    }
}

TEST(JpegColourModels, GreyScaleGivesGreyWords) {
    // A ramp from black on the left to white on the right.
    const auto ramp = [](int32_t x, int32_t) { return uint32_t(x * 255 / 63); };
    bool ok = false;
    const JpegPicture p = decode(pictest::encode_jpeg(64, 8, 1, ramp, 100), ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(p.width, 64);
    for (int32_t x = 0; x < 64; ++x) {
        const uint32_t w = word_at(p.words, 64, 8, x, 4);
        const uint32_t grey = w & 0xFF;
        EXPECT_EQ(w, grey << 16 | grey << 8 | grey) << x;
        EXPECT_NEAR(int(grey), int(ramp(x, 4)), 3) << x;
    }
}

TEST(JpegColourModels, AdobeCmykBecomesRgb) {
    // Adobe's CMYK is stored inverted (255 = no ink): no cyan, full magenta and yellow, no black is red.
    const auto cmyk = [](int32_t x, int32_t) -> uint32_t {
        return x < 8 ? 0xFF0000FFu    // c 255, m 0, y 0, k 255: red
                     : 0x80808080u;   // every ink at half: (128 * 128 / 255) in each channel
    };
    bool ok = false;
    const JpegPicture p = decode(pictest::encode_jpeg(16, 8, 4, cmyk, 100), ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(near_word(word_at(p.words, 16, 8, 3, 3), kRed, 3)) << std::hex << word_at(p.words, 16, 8, 3, 3);
    EXPECT_TRUE(near_word(word_at(p.words, 16, 8, 12, 3), 0x404040, 3)) << std::hex << word_at(p.words, 16, 8, 12, 3);
}

// Top half red, bottom half blue, 32 x 64: the damage comes after the top half.
uint32_t halves(int32_t, int32_t y) { return y < 32 ? kRed : kBlue; }

// Offset of the first entropy-coded byte (after the start-of-scan segment).
size_t scan_data_start(const std::vector<uint8_t>& bytes) {
    for (size_t i = 2; i + 3 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA) return i + 2 + (size_t(bytes[i + 2]) << 8 | bytes[i + 3]);
    return 0;
}

TEST(JpegDamage, TruncatedFileKeepsItsDecodedRowsAndTheRestIsGrey) {
    std::vector<uint8_t> bytes = pictest::encode_jpeg(32, 64, 3, halves, 90);
    const size_t start = scan_data_start(bytes);
    ASSERT_GT(start, 0u);
    bytes.resize(start + (bytes.size() - start) * 6 / 10);  // most of the top half, little of the bottom
    bool ok = false;
    const JpegPicture p = decode(bytes, ok);
    ASSERT_TRUE(ok);
    EXPECT_GE(p.warnings, 1);
    EXPECT_FALSE(p.damaged);  // running out of data is a warning: the library finishes the picture itself
    EXPECT_EQ(p.rows_decoded, 64);
    for (int32_t y : {0, 10, 20}) EXPECT_TRUE(near_word(word_at(p.words, 32, 64, 5, y), kRed, 3)) << y;
    EXPECT_TRUE(near_word(word_at(p.words, 32, 64, 5, 63), 0x808080, 2))
        << std::hex << word_at(p.words, 32, 64, 5, 63);
}

TEST(JpegDamage, ErrorAfterTheRowsKeepsThePicture) {
    // A marker the library refuses, placed inside the scan: the rows before it decode, then the library stops with
    // an error while finishing. The picture decoded so far is kept.
    std::vector<uint8_t> bytes = pictest::encode_jpeg(32, 64, 3, halves, 90);
    const size_t start = scan_data_start(bytes);
    ASSERT_GT(start, 0u);
    const size_t at = start + (bytes.size() - start) * 7 / 10;
    bytes[at] = 0xFF;
    bytes[at + 1] = 0xC8;
    bool ok = false;
    const JpegPicture p = decode(bytes, ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(p.damaged);
    EXPECT_EQ(p.width, 32);
    EXPECT_GT(p.rows_decoded, 0);
    for (int32_t y : {0, 15, 30}) EXPECT_TRUE(near_word(word_at(p.words, 32, 64, 5, y), kRed, 3)) << y;
}

TEST(JpegDamage, NothingDecodedIsUnreadable) {
    const std::vector<uint8_t> good = pictest::encode_jpeg(16, 16, 3, quadrants, 90);
    bool ok = true;
    // Cut inside the header, garbage after the start marker, and not a JPEG at all.
    const std::vector<uint8_t> cut(good.begin(), good.begin() + 40);
    const std::vector<uint8_t> garbage = {0xFF, 0xD8, 0xFF, 0xC8, 0x00, 0x04, 0x12, 0x34};
    const std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    for (const auto* bytes : {&cut, &garbage, &text}) {
        const JpegPicture p = decode(*bytes, ok);
        EXPECT_FALSE(ok);
        EXPECT_TRUE(p.words.empty());
        EXPECT_EQ(p.rows_decoded, 0);
    }
    JpegPicture p;
    EXPECT_FALSE(read_jpeg(nullptr, p));
}

TEST(JpegLimits, TooLargeAPictureIsRefusedAndMissingFilesAreTold) {
    const std::vector<uint8_t> bytes = pictest::encode_jpeg(64, 64, 3, quadrants, 50);
    JpegPicture p;
    std::FILE* file = fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb");
    EXPECT_FALSE(read_jpeg(file, p, 64 * 63));
    std::fclose(file);

    pictest::TempDir dir;
    EXPECT_EQ(read_jpeg_file(dir.file("missing.jpg").c_str(), p), JpegResult::open_error);
    pictest::write_bytes(dir.file("text.jpg"), {'n', 'o', 't'});
    EXPECT_EQ(read_jpeg_file(dir.file("text.jpg").c_str(), p), JpegResult::unreadable);
    pictest::write_bytes(dir.file("good.jpg"), bytes);
    EXPECT_EQ(read_jpeg_file(dir.file("good.jpg").c_str(), p), JpegResult::loaded);
    EXPECT_EQ(p.width, 64);
}

// ImageMagick writes photo-like files the way cameras and editors do (chroma subsampling, progressive scans,
// grey-scale); libjpeg-turbo's own djpeg decodes them to PPM/PGM, and our words must match it exactly.
class JpegAgainstDjpeg : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v convert >/dev/null 2>&1 && command -v djpeg >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "needs ImageMagick's convert and djpeg";
        ASSERT_TRUE(dir.ok());
        source = dir.file("source.png");
        ASSERT_EQ(std::system(("convert -seed 9 -size 37x23 plasma:orange-navy " + source).c_str()), 0);
    }

    // Reads a binary PPM (P6) or PGM (P5) with maxval 255 as 0x00RRGGBB words, top row first.
    static std::vector<uint32_t> read_netpbm(const std::string& path, int32_t& w, int32_t& h) {
        const std::vector<uint8_t> bytes = pictest::read_bytes(path);
        std::string text(bytes.begin(), bytes.begin() + std::ptrdiff_t(std::min<size_t>(bytes.size(), 64)));
        std::istringstream in(text);
        std::string magic;
        int maxval = 0;
        in >> magic >> w >> h >> maxval;
        const size_t start = size_t(in.tellg()) + 1;
        const int channels = magic == "P6" ? 3 : 1;
        std::vector<uint32_t> out;
        for (size_t i = 0; i < size_t(w) * size_t(h); ++i) {
            const uint8_t* p = &bytes[start + i * size_t(channels)];
            out.push_back(channels == 3 ? uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2] : p[0] * 0x010101u);
        }
        return out;
    }

    void check(const std::string& options, const std::string& name) {
        const std::string jpg = dir.file(name + ".jpg"), pnm = dir.file(name + ".pnm");
        ASSERT_EQ(std::system(("convert " + source + " " + options + " " + jpg).c_str()), 0) << name;
        ASSERT_EQ(std::system(("djpeg -outfile " + pnm + " " + jpg).c_str()), 0) << name;
        int32_t w = 0, h = 0;
        const std::vector<uint32_t> want = read_netpbm(pnm, w, h);
        JpegPicture p;
        ASSERT_EQ(read_jpeg_file(jpg.c_str(), p), JpegResult::loaded) << name;
        ASSERT_EQ(p.width, w);
        ASSERT_EQ(p.height, h);
        int wrong = 0;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) wrong += word_at(p.words, w, h, x, y) != want[size_t(y * w + x)];
        EXPECT_EQ(wrong, 0) << name;
    }

    pictest::TempDir dir;
    std::string source;
};

TEST_F(JpegAgainstDjpeg, SubsampledProgressiveAndGreyFiles) {
    check("-quality 75 -sampling-factor 2x2", "subsampled420");
    check("-quality 85 -sampling-factor 2x1", "subsampled422");
    check("-quality 80 -interlace Plane", "progressive");
    check("-colorspace Gray -quality 90", "grey");
}

}  // namespace
