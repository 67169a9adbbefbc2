// BMP reading: each variant of the format built byte by byte gives the hand-checked pixels; ImageMagick's own
// files agree with ImageMagick's own decoding; malformed files are refused without harm.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/bmp_reader.h"
#include "picture_test_util.h"

using pictest::word_at;

namespace {

// What goes into a hand-made BMP file (BITMAPINFOHEADER, 40 bytes).
struct BmpSpec {
    int32_t width = 0;
    int32_t height = 0;  // negative: rows stored top-down
    uint16_t bits = 24;
    uint32_t compression = 0;        // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    std::vector<uint32_t> masks;     // red, green, blue masks (bit fields)
    std::vector<uint32_t> palette;   // 0x00RRGGBB entries
    std::vector<uint8_t> pixels;     // the pixel data exactly as stored
};

void put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> make_bmp(const BmpSpec& s) {
    const uint32_t offset = 14 + 40 + uint32_t(s.masks.size() + s.palette.size()) * 4;
    std::vector<uint8_t> out;
    put(out, 'B' | 'M' << 8, 2);
    put(out, offset + uint32_t(s.pixels.size()), 4);
    put(out, 0, 4);
    put(out, offset, 4);
    put(out, 40, 4);
    put(out, uint32_t(s.width), 4);
    put(out, uint32_t(s.height), 4);
    put(out, 1, 2);
    put(out, s.bits, 2);
    put(out, s.compression, 4);
    put(out, s.compression == 0 ? 0 : uint32_t(s.pixels.size()), 4);
    put(out, 2835, 4);
    put(out, 2835, 4);
    put(out, uint32_t(s.palette.size()), 4);
    put(out, 0, 4);
    for (uint32_t m : s.masks) put(out, m, 4);
    for (uint32_t c : s.palette) put(out, c, 4);  // blue, green, red, 0 in file order
    out.insert(out.end(), s.pixels.begin(), s.pixels.end());
    return out;
}

// Decodes and returns the picture's rows top-down as words, or an empty vector when refused.
std::vector<std::vector<uint32_t>> decode_rows(const BmpSpec& spec) {
    const std::vector<uint8_t> bytes = make_bmp(spec);
    BmpPicture picture;
    if (!read_bmp(bytes.data(), bytes.size(), picture)) return {};
    std::vector<std::vector<uint32_t>> rows(size_t(picture.height));
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x)
            rows[size_t(y)].push_back(word_at(picture.words, picture.width, picture.height, x, y));
    return rows;
}

using Rows = std::vector<std::vector<uint32_t>>;

const uint32_t P0 = 0x102030, P1 = 0xF0E0D0, P2 = 0x00FF00, P3 = 0xFF0000, P4 = 0x0000FF, P5 = 0x808080,
               P6 = 0x123456;
const std::vector<uint32_t> kPalette = {P0, P1, P2, P3, P4, P5, P6};

TEST(BmpVariants, PalettedFilesOfOneFourAndEightBits) {
    // 3 x 2 pictures; the bottom row is stored first and every row is padded to 4 bytes.
    BmpSpec one{3, 2, 1, 0, {}, {P0, P1}, {0xA0, 0, 0, 0, 0x60, 0, 0, 0}};  // bottom 1 0 1, top 0 1 1
    EXPECT_EQ(decode_rows(one), (Rows{{P0, P1, P1}, {P1, P0, P1}}));

    BmpSpec four{3, 2, 4, 0, {}, kPalette, {0x20, 0x10, 0, 0, 0x11, 0x20, 0, 0}};  // bottom 2 0 1, top 1 1 2
    EXPECT_EQ(decode_rows(four), (Rows{{P1, P1, P2}, {P2, P0, P1}}));

    BmpSpec eight{3, 2, 8, 0, {}, kPalette, {6, 5, 4, 0, 3, 2, 1, 0}};
    EXPECT_EQ(decode_rows(eight), (Rows{{P3, P2, P1}, {P6, P5, P4}}));
}

TEST(BmpVariants, RunLengthEncodedFiles) {
    // RLE8, 4 x 2: bottom row a run of four 1s; top row three literal pixels 2 3 4 (padded) and a run of one 5.
    BmpSpec rle8{4, 2, 8, 1, {}, kPalette,
                 {4, 1, 0, 0, 0, 3, 2, 3, 4, 0, 1, 5, 0, 0, 0, 1}};
    EXPECT_EQ(decode_rows(rle8), (Rows{{P2, P3, P4, P5}, {P1, P1, P1, P1}}));

    // RLE4, 4 x 2: bottom row a run of four alternating 1 and 2; top row four literal pixels 3 4 5 6.
    BmpSpec rle4{4, 2, 4, 2, {}, kPalette, {4, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 1}};
    EXPECT_EQ(decode_rows(rle4), (Rows{{P3, P4, P5, P6}, {P1, P2, P1, P2}}));
}

TEST(BmpVariants, TrueColourFilesWithPaddingAndTopDownRows) {
    // 24 bits, 3 x 2: nine bytes a row and three bytes of padding; blue, green, red in each pixel.
    const std::vector<uint8_t> bottom = {0x01, 0x02, 0x03, 0x10, 0x20, 0x30, 0xFF, 0x00, 0x80, 0, 0, 0};
    const std::vector<uint8_t> top = {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x33, 0x66, 0x99, 0, 0, 0};
    BmpSpec up{3, 2, 24, 0, {}, {}, bottom};
    up.pixels.insert(up.pixels.end(), top.begin(), top.end());
    const Rows expected = {{0xFFFFFF, 0x000000, 0x996633}, {0x030201, 0x302010, 0x8000FF}};
    EXPECT_EQ(decode_rows(up), expected);

    // The same picture stored top-down (negative height) has the rows in the other order.
    BmpSpec down{3, -2, 24, 0, {}, {}, top};
    down.pixels.insert(down.pixels.end(), bottom.begin(), bottom.end());
    EXPECT_EQ(decode_rows(down), expected);

    // 32 bits without masks: blue, green, red and an unused byte that must not darken the colour.
    BmpSpec plain32{2, 1, 32, 0, {}, {}, {0x11, 0x22, 0x33, 0x00, 0xFF, 0xEE, 0xDD, 0x7F}};
    EXPECT_EQ(decode_rows(plain32), (Rows{{0x332211, 0xDDEEFF}}));
}

TEST(BmpVariants, BitFieldMasks) {
    // 32 bits with the masks turned round: red in the lowest byte, blue in the third.
    BmpSpec swapped{2, 1, 32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}, {}, {0x11, 0x22, 0x33, 0, 0xAB, 0xCD, 0xEF, 0}};
    EXPECT_EQ(decode_rows(swapped), (Rows{{0x112233, 0xABCDEF}}));

    // 16 bits 5-6-5: full red, full green, full blue, black. Five or six bits cannot say 255 exactly, so allow the
    // step of the coarsest channel.
    BmpSpec rgb565{4, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x00, 0x00}};
    const Rows r565 = decode_rows(rgb565);
    ASSERT_EQ(r565.size(), 1u);
    const uint32_t want565[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(pictest::near_word(r565[0][size_t(i)], want565[i], 8)) << i;

    // 16 bits without masks are 5-5-5: 0x7C00 red, 0x03E0 green, then 0x4210 a middle grey (16 of 31).
    BmpSpec rgb555{3, 1, 16, 0, {}, {}, {0x00, 0x7C, 0xE0, 0x03, 0x10, 0x42, 0, 0}};
    const Rows r555 = decode_rows(rgb555);
    ASSERT_EQ(r555.size(), 1u);
    EXPECT_TRUE(pictest::near_word(r555[0][0], 0xFF0000, 8));
    EXPECT_TRUE(pictest::near_word(r555[0][1], 0x00FF00, 8));
    EXPECT_TRUE(pictest::near_word(r555[0][2], 0x848484, 5));
}

TEST(BmpMalformed, RefusedWithoutHarm) {
    BmpPicture picture;
    EXPECT_FALSE(read_bmp(nullptr, 0, picture));
    const std::vector<uint8_t> junk = {'B', 'M', 1, 2, 3};
    EXPECT_FALSE(read_bmp(junk.data(), junk.size(), picture));
    EXPECT_TRUE(picture.words.empty());

    // A header claiming a picture of 60000 x 60000 pixels is refused before anything is allocated for it.
    BmpSpec huge{60000, 60000, 24, 0, {}, {}, {1, 2, 3, 0}};
    const std::vector<uint8_t> big = make_bmp(huge);
    EXPECT_FALSE(read_bmp(big.data(), big.size(), picture));

    // A palette index beyond the palette and a header cut short must not read past the data either.
    BmpSpec eight{3, 2, 8, 0, {}, kPalette, {6, 5, 4, 0, 3, 2, 1, 0}};
    std::vector<uint8_t> cut = make_bmp(eight);
    for (size_t keep : {size_t(10), size_t(30), size_t(54)}) {
        std::vector<uint8_t> part(cut.begin(), cut.begin() + std::ptrdiff_t(keep));
        EXPECT_FALSE(read_bmp(part.data(), part.size(), picture)) << keep;
    }
    BmpSpec wild{2, 1, 8, 0, {}, {P0, P1}, {200, 255, 0, 0}};
    const std::vector<uint8_t> wild_bytes = make_bmp(wild);
    if (read_bmp(wild_bytes.data(), wild_bytes.size(), picture)) {
        EXPECT_EQ(picture.words.size(), 2u);
    }

    EXPECT_FALSE(read_bmp_file("/nonexistent/zelto/picture.bmp", picture));
}

// ImageMagick writes each variant of a test picture; its own decoding of that file is the reference.
class BmpAgainstImageMagick : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick is not installed";
        ASSERT_TRUE(dir.ok());
        source = dir.file("source.png");
        // An odd width exercises row padding; plasma gives every pixel a different colour.
        run("convert -seed 7 -size 37x23 plasma:red-blue " + source);
    }
    static void run(const std::string& command) {
        ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0) << command;
    }

    void check(const std::string& options, const std::string& name) {
        const std::string bmp = dir.file(name + ".bmp"), raw = dir.file(name + ".rgb");
        run("convert " + source + " " + options + " BMP3:" + bmp);
        run("convert " + bmp + " -depth 8 rgb:" + raw);
        const std::vector<uint8_t> ref = pictest::read_bytes(raw);
        BmpPicture picture;
        ASSERT_TRUE(read_bmp_file(bmp.c_str(), picture)) << name;
        ASSERT_EQ(picture.width, 37);
        ASSERT_EQ(picture.height, 23);
        ASSERT_EQ(ref.size(), size_t(37 * 23 * 3));
        int wrong = 0;
        for (int32_t y = 0; y < 23; ++y)
            for (int32_t x = 0; x < 37; ++x) {
                const uint8_t* p = &ref[size_t(y * 37 + x) * 3];
                const uint32_t want = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
                wrong += word_at(picture.words, 37, 23, x, y) != want;
            }
        EXPECT_EQ(wrong, 0) << name;
    }

    pictest::TempDir dir;
    std::string source;
};

TEST_F(BmpAgainstImageMagick, EveryVariantItWrites) {
    check("-type truecolor", "true24");
    check("-colors 200 -type palette -compress none", "palette8");
    check("-colors 200 -type palette -compress rle", "rle8");
    check("-colors 12 -type palette -compress none", "palette4");
    check("-monochrome", "mono1");
}

}  // namespace
