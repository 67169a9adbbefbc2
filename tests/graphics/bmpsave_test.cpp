// BMP export: the exact bytes of the 24-bit file for narrow rectangles and whole surfaces, and a file that cannot be
// created.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/bmp_reader.h"
#include "graphics/bmpsave.h"
#include "graphics/cursor.h"
#include "graphics/state.h"
#include "picture_test_util.h"
#include "ws/ws.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Pixel (x, y) of the 5 x 2 test surface is 0x00RRGGBB with R = 0x10 + x, G = 0x20 + y, B = 0x30 + x + y.
uint32_t test_pixel(int32_t x, int32_t y) {
    return uint32_t(0x10 + x) << 16 | uint32_t(0x20 + y) << 8 | uint32_t(0x30 + x + y);
}

// The header as written for a picture of width x height, laid out by hand.
Bytes header(uint32_t width, uint32_t height, uint32_t file_size) {
    Bytes h = {'B', 'M'};
    for (uint32_t v : {file_size, 0u, 54u, 40u, width, height})
        for (int i = 0; i < 4; ++i) h.push_back(uint8_t(v >> (8 * i)));
    h.insert(h.end(), {1, 0, 24, 0});
    h.resize(54, 0);
    return h;
}

class SaveBmp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        pictest::fill_surface(surface, 5, 2, test_pixel);
        std::strcpy(graphics.bmp_name, dir.file("out.bmp").c_str());
    }
    Bytes saved(int32_t x, int32_t y, int32_t w, int32_t h) {
        EXPECT_EQ(save_bmp(surface, x, y, w, h), 1);
        return pictest::read_bytes(graphics.bmp_name);
    }
    // Blue, green, red of the test pixel.
    static Bytes bgr(int32_t x, int32_t y) {
        const uint32_t p = test_pixel(x, y);
        return {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16)};
    }
    static void append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

    pictest::TempDir dir;
    MemDC surface;
};

TEST_F(SaveBmp, RowsArePaddedToFourBytes) {
    // One pixel wide: 3 bytes and 1 pad byte a row; the bottom row (y = 1) comes first.
    Bytes one = header(1, 2, 54 + 2 * 4);
    append(one, bgr(2, 1)); one.push_back(0);
    append(one, bgr(2, 0)); one.push_back(0);
    EXPECT_EQ(saved(2, 0, 1, 2), one);

    // Three wide: 9 bytes and 3 pad bytes.
    Bytes three = header(3, 1, 54 + 12);
    for (int32_t x = 1; x < 4; ++x) append(three, bgr(x, 1));
    three.insert(three.end(), {0, 0, 0});
    EXPECT_EQ(saved(1, 1, 3, 1), three);

    // Four wide: 12 bytes, no padding.
    Bytes four = header(4, 2, 54 + 24);
    for (int32_t y : {1, 0}) for (int32_t x = 0; x < 4; ++x) append(four, bgr(x, y));
    EXPECT_EQ(saved(0, 0, 4, 2), four);
}

TEST_F(SaveBmp, WidthZeroWritesTheWholeSurfaceFromItsCorner) {
    Bytes whole = header(5, 2, 54 + 2 * 16);
    for (int32_t y : {1, 0}) {
        for (int32_t x = 0; x < 5; ++x) append(whole, bgr(x, y));
        whole.push_back(0);  // 15 bytes + 1
    }
    EXPECT_EQ(saved(3, 1, 0, 7), whole);

}

TEST_F(SaveBmp, WideSurfacesReadBackAsTheSamePicture) {
    // 37 columns: several groups of four pixels and one left over; every channel value differs.
    MemDC wide;
    pictest::fill_surface(wide, 37, 5,
                          [](int32_t x, int32_t y) { return uint32_t(x * 0x070503 + y * 0x102030) & 0xFFFFFF; });
    ASSERT_EQ(save_bmp(wide, 0, 0, 0, 0), 1);
    BmpPicture back;
    ASSERT_TRUE(read_bmp_file(graphics.bmp_name, back));
    ASSERT_EQ(back.width, 37);
    ASSERT_EQ(back.height, 5);
    EXPECT_EQ(back.words, std::vector<uint32_t>(wide.words(), wide.words() + 37 * 5));
}

TEST_F(SaveBmp, PixelsOutsideTheSurfaceAreWhite) {
    Bytes edge = header(3, 1, 54 + 12);
    append(edge, bgr(4, 0));
    edge.insert(edge.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0});
    EXPECT_EQ(saved(4, 0, 3, 1), edge);
}

TEST_F(SaveBmp, FileThatCannotBeCreatedWritesNothingAndRestoresTheCursor) {
    push_cursor(ws::IDC_ARROW);
    const int32_t depth = cursor_depth();
    const ws::Hcursor before = ws::get_cursor();
    const std::string path = dir.file("no-such-folder/out.bmp");
    std::strcpy(graphics.bmp_name, path.c_str());
    EXPECT_EQ(save_bmp(surface, 0, 0, 0, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(cursor_depth(), depth);
    EXPECT_EQ(ws::get_cursor(), before);
}

}  // namespace
