// Loading a picture into a surface: the extension rules, the player's messages, and surfaces left alone on failure.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/bmpsave.h"
#include "graphics/memdc.h"
#include "graphics/state.h"
#include "picture_test_util.h"
#include "ws/ws.h"

namespace {

const std::string kBadExtension = "画像が読み込めません。\n(拡張子が.BMP .JPG .JPEGでない)";
const std::string kUnreadable = "画像が読み込めません。";
const std::string kJpegOpenError = "画像が読み込めません。(jpeg open error)";

class LoadPicture : public ::testing::Test {
protected:
    void SetUp() override {
        ws::test::reset();
        ASSERT_TRUE(dir.ok());
        // A 5 x 3 picture to load, written once as BMP and once as JPEG.
        MemDC source;
        pictest::fill_surface(source, 5, 3, [](int32_t x, int32_t y) { return uint32_t(0x204060 + x * 0x10 + y); });
        std::strcpy(graphics.bmp_name, dir.file("picture.bmp").c_str());
        ASSERT_EQ(save_bmp(source, 0, 0, 0, 0), 1);
        bmp_bytes = pictest::read_bytes(dir.file("picture.bmp"));
        jpeg_bytes = pictest::encode_jpeg(5, 3, 3, [](int32_t, int32_t) { return 0x3366CCu; }, 95);
        // The surface under test starts as a 2 x 2 picture that failures must leave exactly as it is.
        pictest::fill_surface(surface, 2, 2, [](int32_t x, int32_t y) { return uint32_t(0x010101 * (1 + x + 2 * y)); });
    }

    // Writes `bytes` under `name` and loads it; returns load_picture's result.
    int32_t load(const std::string& name, const std::vector<uint8_t>& bytes) {
        pictest::write_bytes(dir.file(name), bytes);
        return surface.load_picture(dir.file(name).c_str());
    }

    bool unchanged() {
        return surface.width() == 2 && surface.height() == 2 && surface.get_pixel(0, 0) == 0x010101 &&
               surface.get_pixel(1, 1) == 0x040404;
    }

    // The message boxes shown since the test began: text and caption.
    std::vector<std::string> shown() {
        std::vector<std::string> out;
        for (const auto& m : ws::test::messages()) out.push_back(m.text + "|" + m.caption);
        return out;
    }

    pictest::TempDir dir;
    MemDC surface;
    std::vector<uint8_t> bmp_bytes, jpeg_bytes;
};

TEST_F(LoadPicture, ExtensionsAreMatchedWithoutRegardToCase) {
    for (const char* name : {"a.bmp", "b.BMP", "c.BmP"}) {
        ASSERT_EQ(load(name, bmp_bytes), 1) << name;
        EXPECT_EQ(surface.width(), 5) << name;
        EXPECT_EQ(surface.get_pixel(4, 2), word_to_colour(0x204060 + 4 * 0x10 + 2)) << name;
    }
    for (const char* name : {"d.jpg", "e.JPG", "f.jpeg", "g.JpEg", "h.JPEG"}) {
        ASSERT_EQ(load(name, jpeg_bytes), 1) << name;
        EXPECT_EQ(surface.width(), 5) << name;
        EXPECT_EQ(surface.height(), 3) << name;
        EXPECT_TRUE(pictest::near_word(colour_to_word(surface.get_pixel(2, 1)), 0x3366CC, 3)) << name;
    }
    EXPECT_TRUE(shown().empty());
}

TEST_F(LoadPicture, OtherNamesAreRefusedWithTheExtensionMessage) {
    // Four characters or fewer (even ".bmp" itself), other extensions, and "JPEG" without its point.
    int32_t refused = 0;
    for (const char* name : {"a.png", "b.jpe", "c.jpeg2", "dxjpeg", "ejpg", "f.bm"}) {
        EXPECT_EQ(load(name, jpeg_bytes), 0) << name;
        ++refused;
    }
    for (const char* name : {"", "x", ".bmp", ".JPG", "jpeg", "a.jp"}) {
        EXPECT_EQ(surface.load_picture(name), 0) << name;
        ++refused;
    }
    // Five characters: ".jpeg" passes the length rule but not the one that needs six for a JPEG name.
    EXPECT_EQ(surface.load_picture(".jpeg"), 0);
    EXPECT_EQ(surface.load_picture(nullptr), 0);
    refused += 2;
    EXPECT_TRUE(unchanged());
    const std::vector<std::string> messages = shown();
    ASSERT_EQ(int32_t(messages.size()), refused);
    for (const auto& m : messages) EXPECT_EQ(m, kBadExtension + "|glapi");
}

TEST_F(LoadPicture, CallersNameIsNotChanged) {
    pictest::write_bytes(dir.file("lower.jpg"), jpeg_bytes);
    std::string path = dir.file("lower.jpg");
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    ASSERT_EQ(surface.load_picture(name.data()), 1);
    EXPECT_STREQ(name.data(), path.c_str());
}

TEST_F(LoadPicture, UnreadableFilesAreToldAndLeaveTheSurfaceAsItWas) {
    // A missing JPEG, a BMP that is not one, a JPEG that is not one, and a JPEG cut off inside its header.
    EXPECT_EQ(surface.load_picture(dir.file("missing.jpg").c_str()), 0);
    EXPECT_EQ(load("junk.bmp", {'B', 'M', 0, 1, 2, 3, 4, 5}), 0);
    EXPECT_EQ(load("empty.bmp", {}), 0);
    EXPECT_EQ(load("junk.jpg", {'J', 'F', 'I', 'F'}), 0);
    EXPECT_EQ(load("cut.jpeg", std::vector<uint8_t>(jpeg_bytes.begin(), jpeg_bytes.begin() + 30)), 0);
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(shown(), (std::vector<std::string>{kJpegOpenError + "|glapi", kUnreadable + "|glapi",
                                                 kUnreadable + "|glapi", kUnreadable + "|glapi",
                                                 kUnreadable + "|glapi"}));
}

TEST_F(LoadPicture, TruncatedJpegIsLoadedWithWhatItGave) {
    // Red on top, then busy pixels that fill most of the file; the cut falls among the busy ones.
    const auto busy = [](int32_t x, int32_t y) {
        return y < 8 ? 0xFF0000u : uint32_t(x * 0x3F1 ^ y * 0x1F3F7) & 0xFFFFFF;
    };
    std::vector<uint8_t> big = pictest::encode_jpeg(40, 40, 3, busy, 90);
    big.resize(big.size() * 3 / 4);
    ASSERT_EQ(load("truncated.jpg", big), 1);
    EXPECT_EQ(surface.width(), 40);
    EXPECT_EQ(surface.height(), 40);
    EXPECT_TRUE(pictest::near_word(colour_to_word(surface.get_pixel(3, 3)), 0xFF0000, 3));
    EXPECT_TRUE(shown().empty());
}

}  // namespace
