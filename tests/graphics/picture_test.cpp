// Pictures: BMP and JPEG reading (hand-made files, damage, other programs' files), loading into a surface with the
// player's messages, and the exact bytes of a BMP export.

#include <cstdlib>
#include <cstring>
#include <map>

#include "graphics/jpeg_reader.h"
#include "raster_canvas.h"
#include "support/ws/surfaces.h"
#include "support/temp_dir.h"
#include "ws/bmp_reader.h"
#include "ws/cursor.h"
#include "ws/picture.h"

namespace {

using Bytes = std::vector<uint8_t>;

void write_bytes(const std::string& path, const Bytes& bytes) {
    testsupport::write_file(path, std::string(bytes.begin(), bytes.end()));
}
Bytes read_bytes(const std::string& path) { return testsupport::read_file<Bytes>(path); }

// The JPEG files beside the tests were made once with ImageMagick 7 and libjpeg-turbo's cjpeg:
//   cmyk.jpg     convert -size 8x8 xc:'cmyk(0,255,255,0)' -size 8x8 xc:'cmyk(127,127,127,127)' +append -strip
//                -quality 100 (Adobe CMYK, no subsampling: red on the left, every ink at half on the right)
//   redblue.jpg  convert -size 32x32 xc:red -size 32x32 xc:blue -append ppm:- | cjpeg -quality 90 -sample 1x1
//   solid.jpg    convert -size 5x3 xc:'#3366CC' -strip -quality 95
//   busy.jpg     convert -seed 7 -size 40x8 xc:red \( -size 40x32 xc:gray +noise Random \) -append -strip -quality 90
const std::string kData = std::string(ZELTO_SOURCE_DIR) + "/tests/graphics/data/";
Bytes data_file(const std::string& name) { return read_bytes(kData + name); }

// Channels of two words differ by at most `tolerance` each, and the top bytes are equal.
bool near_word(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    return (a >> 24) == (b >> 24);
}

// The word at (x, y top-down) of a picture stored bottom-up.
uint32_t word_at(const std::vector<uint32_t>& words, int32_t width, int32_t height, int32_t x, int32_t y) {
    return words[size_t(height - 1 - y) * size_t(width) + size_t(x)];
}

void put(Bytes& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// A BMP file with a 40-byte header; `masks` and `palette` (0x00RRGGBB) follow it, then the pixel data as stored.
Bytes make_bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression, const std::vector<uint32_t>& masks,
               const std::vector<uint32_t>& palette, const Bytes& pixels) {
    const uint32_t offset = 14 + 40 + uint32_t(masks.size() + palette.size()) * 4;
    Bytes out;
    for (const auto& [v, n] : std::initializer_list<std::pair<uint32_t, int>>{
             {'B' | 'M' << 8, 2}, {offset + uint32_t(pixels.size()), 4}, {0, 4}, {offset, 4}, {40, 4},
             {uint32_t(width), 4}, {uint32_t(height), 4}, {1, 2}, {bits, 2}, {compression, 4},
             {compression ? uint32_t(pixels.size()) : 0, 4}, {2835, 4}, {2835, 4}, {uint32_t(palette.size()), 4},
             {0, 4}})
        put(out, v, n);
    for (uint32_t m : masks) put(out, m, 4);
    for (uint32_t c : palette) put(out, c, 4);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// The variants and their hand-worked pixels are rows of data/bmp_variants.txt, some cut short.
TEST(Bmp, EveryVariantGivesTheHandCheckedPixels) {
    for (const DataRow& k : data_rows("bmp_variants")) {
        SCOPED_TRACE(testing::Message() << k[0][0] << " x " << k[0][1] << ", " << k[0][2] << " bits, type " << k[0][3]);
        const Bytes whole = make_bmp(int32_t(k[0][0]), int32_t(k[0][1]), uint16_t(k[0][2]), uint32_t(k[0][3]),
                                     values<uint32_t>(k[1]), values<uint32_t>(k[2]), values<uint8_t>(k[3]));
        const size_t cut = k.size() > 6 ? size_t(k[6][0]) : 0;
        const Bytes file(whole.begin(), whole.end() - std::ptrdiff_t(cut));
        BmpPicture p, refused;
        ASSERT_TRUE(read_bmp(file.data(), file.size(), p));
        const bool kept = read_bmp(file.data(), file.size(), refused, kBmpMaxPixels, Damage::refused);
        EXPECT_EQ(std::tuple(p.incomplete, kept, refused.words.empty()), std::tuple(cut > 0, cut == 0, cut > 0));
        ASSERT_EQ(std::pair(p.width, p.height), std::pair(int32_t(k[0][0]), int32_t(std::abs(k[0][1]))));
        for (size_t i = 0; i < k[4].size(); ++i) {
            const int32_t x = int32_t(i % size_t(p.width)), y = int32_t(i / size_t(p.width));
            EXPECT_TRUE(near_word(word_at(p.words, p.width, p.height, x, y), uint32_t(k[4][i]), int(k[5][0]))) << i;
        }
    }
}

TEST(Bmp, MalformedFilesAreRefusedWithoutHarm) {
    BmpPicture p;
    EXPECT_FALSE(read_bmp(nullptr, 0, p));
    const Bytes eight = make_bmp(3, 2, 8, 0, {}, std::vector<uint32_t>(7), {6, 5, 4, 0, 3, 2, 1, 0});
    const Bytes huge = make_bmp(60000, 60000, 24, 0, {}, {}, {1, 2, 3, 0});  // refused before anything is allocated
    for (const Bytes& bad : {Bytes{'B', 'M', 1, 2, 3}, Bytes(eight.begin(), eight.begin() + 10),
                             Bytes(eight.begin(), eight.begin() + 30), Bytes(eight.begin(), eight.begin() + 54), huge})
        EXPECT_FALSE(read_bmp(bad.data(), bad.size(), p)) << bad.size();
    EXPECT_TRUE(p.words.empty());
    const Bytes wild = make_bmp(2, 1, 8, 0, {}, {0x102030, 0xF0E0D0}, {200, 255, 0, 0});  // indices past the palette
    EXPECT_TRUE(!read_bmp(wild.data(), wild.size(), p) || p.words.size() == 2u);
    EXPECT_FALSE(read_bmp_file("/nonexistent/zelto/picture.bmp", p));
}

JpegPicture decode(const Bytes& bytes, bool& ok, int64_t max_pixels = kJpegMaxPixels, Damage damage = Damage::kept) {
    JpegPicture p;
    std::FILE* file = fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb");
    ok = read_jpeg(file, p, max_pixels, damage);
    if (file) std::fclose(file);
    return p;
}
// Baseline, progressive, subsampled and grey files are compared pixel for pixel with djpeg's below. Adobe's CMYK
// is stored inverted (255 = no ink): no cyan, full magenta and yellow, no black is red; every ink at half is
// 128 * 128 / 255 in each channel.
TEST(Jpeg, AdobeCmykComesBackAsRgb) {
    bool ok = false;
    const JpegPicture p = decode(data_file("cmyk.jpg"), ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(std::tuple(p.width, p.height, p.rows_decoded, p.warnings, p.damaged), std::tuple(16, 8, 8, 0, false));
    EXPECT_TRUE(near_word(word_at(p.words, 16, 8, 3, 3), 0xFF0000, 3));
    EXPECT_TRUE(near_word(word_at(p.words, 16, 8, 12, 3), 0x404040, 3));
}

TEST(Jpeg, DamagedFilesKeepTheRowsDecodedBeforeTheDamage) {
    const Bytes good = data_file("redblue.jpg");
    size_t start = 0;  // the first entropy-coded byte, after the start-of-scan segment
    for (size_t i = 2; i + 3 < good.size() && !start; ++i)
        if (good[i] == 0xFF && good[i + 1] == 0xDA) start = i + 2 + (size_t(good[i + 2]) << 8 | good[i + 3]);
    ASSERT_GT(start, 0u);
    // Cut short: a warning, and the library finishes the picture itself; the missing rows are grey.
    bool ok = false;
    const size_t tenth = (good.size() - start) / 10;
    const JpegPicture cut = decode(Bytes(good.begin(), good.begin() + std::ptrdiff_t(start + 6 * tenth)), ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(std::tuple(cut.warnings > 0, cut.damaged, cut.rows_decoded), std::tuple(true, false, 64));
    EXPECT_TRUE(near_word(word_at(cut.words, 32, 64, 5, 63), 0x808080, 2));
    // A refused marker inside the scan: the library stops with an error; what was decoded is kept.
    Bytes marked = good;
    marked[start + 7 * tenth] = 0xFF;
    marked[start + 7 * tenth + 1] = 0xC8;
    const JpegPicture broken = decode(marked, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(std::tuple(broken.damaged, broken.width, broken.rows_decoded > 0), std::tuple(true, 32, true));
    for (const JpegPicture* p : {&cut, &broken})
        for (int32_t y : {0, 15, 30}) EXPECT_TRUE(near_word(word_at(p->words, 32, 64, 5, y), 0xFF0000, 3)) << y;
    const JpegPicture whole = decode(good, ok, kJpegMaxPixels, Damage::refused);
    EXPECT_TRUE(ok && whole.rows_decoded == 64 && whole.words == decode(good, ok).words);
    // Refused: both where the picture must be whole (without a word on the terminal; the whole file is not); cut
    // inside the header, garbage after the start marker, not a JPEG, too large.
    for (const auto& [bad, damage, most] :
         {std::tuple(Bytes(good.begin(), good.end() - 2), Damage::refused, kJpegMaxPixels),
          {marked, Damage::refused, kJpegMaxPixels},
          {Bytes(good.begin(), good.begin() + 40), Damage::kept, kJpegMaxPixels},
          {Bytes{0xFF, 0xD8, 0xFF, 0xC8, 0, 4, 0x12, 0x34}, Damage::kept, kJpegMaxPixels},
          {Bytes{'h', 'e', 'l', 'l', 'o'}, Damage::kept, kJpegMaxPixels}, {good, Damage::kept, 32 * 63}}) {
        testing::internal::CaptureStderr();
        const JpegPicture p = decode(bad, ok, most, damage);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(damage == Damage::kept || said.empty()) << said;
        EXPECT_FALSE(ok || p.rows_decoded || !p.words.empty()) << bad.size() << " bytes";
    }
    JpegPicture p;
    EXPECT_FALSE(read_jpeg(nullptr, p));
}

struct Pictures : ::testing::Test {
    void SetUp() override {
        ws::test::reset();
        ASSERT_TRUE(dir.ok());
        const std::unique_ptr<MemDC> source(testsupport::surface_of(
            5, 3, [](int32_t x, int32_t y) { return uint32_t(0x204060 + x * 0x10 + y); }, BIT_SCREEN));
        std::strcpy(graphics.bmp_name, dir.file("picture.bmp").c_str());
        ASSERT_EQ(save_bmp(*source, 0, 0, 0, 0), 1);
        bmp = read_bytes(graphics.bmp_name);
        jpeg = data_file("solid.jpg");
        start_picture();
    }
    // The surface under test starts as a 2 x 2 picture that failures must leave exactly as it is.
    void start_picture() {
        surface.reset(testsupport::surface_of(
            2, 2, [](int32_t x, int32_t y) { return 0x010101u * (1 + x + 2 * y); }, BIT_SCREEN));
    }
    std::vector<std::string> shown() {
        std::vector<std::string> out;
        for (const auto& m : ws::test::messages()) out.push_back(m.text + "|" + m.caption);
        return out;
    }
    testsupport::TempDir dir;
    std::unique_ptr<MemDC> surface;
    Bytes bmp, jpeg;
};

// Each name of data/picture_names.txt is loaded over the 2 x 2 picture, which only a load that succeeds may change.
TEST_F(Pictures, NamesAndContentsAreLoadedOrRefusedWithTheirMessage) {
    const Bytes cut(jpeg.begin(), jpeg.begin() + 30), bm{'B', 'M', 0, 1, 2, 3, 4, 5}, jfif{'J', 'F', 'I', 'F'};
    const std::map<std::string, Bytes> holds = {{"bmp", bmp},   {"jpeg", jpeg}, {"cut", cut},
                                                {"bm", bm},     {"jfif", jfif}, {"empty", {}}};
    const std::map<std::string, std::string> told = {
        {"extension", "画像が読み込めません。\n(拡張子が.BMP .JPG .JPEGでない)|glapi"},
        {"unreadable", "画像が読み込めません。|glapi"}, {"open", "画像が読み込めません。(jpeg open error)|glapi"}};
    for (const testsupport::Fields& k : testsupport::read_cases("graphics/data/picture_names.txt")) {
        SCOPED_TRACE(k[0]);
        ws::test::reset();
        const std::string name = k[0] == "-" ? "" : k[0];
        if (holds.count(k[1])) write_bytes(dir.file(name), holds.at(k[1]));
        const bool ok = ws::load_picture(*surface, k[1] == "bare" ? name.c_str() : dir.file(name).c_str()) == 1;
        EXPECT_EQ(ok, k[2] == "ok");
        EXPECT_EQ(shown(), ok ? std::vector<std::string>{} : std::vector<std::string>{told.at(k[2])});
        if (!ok) {
            EXPECT_TRUE(surface->width() == 2 && surface->get_pixel(0, 0) == 0x010101 &&
                        surface->get_pixel(1, 1) == 0x040404);
            continue;
        }
        EXPECT_EQ(std::pair(surface->width(), surface->height()), std::pair(5, 3));
        const uint32_t corner = colour_to_word(surface->get_pixel(4, 2));
        EXPECT_TRUE(near_word(corner, k[1] == "bmp" ? 0x204060 + 0x42 : 0x3366CC, k[1] == "bmp" ? 0 : 3));
        start_picture();
    }
    EXPECT_EQ(ws::load_picture(*surface, nullptr), 0);
    std::string path = dir.file("e.JPG");  // the caller's name is not changed
    ASSERT_EQ(ws::load_picture(*surface, path.data()), 1);
    EXPECT_EQ(path, dir.file("e.JPG"));
    // Red on top, then busy pixels that fill most of the file; a cut among the busy ones still loads, unannounced,
    // and the caller learns that the picture is not whole; so does a BMP cut short.
    ws::test::reset();
    const Bytes busy = data_file("busy.jpg");
    write_bytes(dir.file("truncated.jpg"), Bytes(busy.begin(), busy.begin() + std::ptrdiff_t(busy.size() * 3 / 4)));
    ASSERT_EQ(ws::load_picture(*surface, dir.file("truncated.jpg").c_str()), 2);
    EXPECT_EQ(std::pair(surface->width(), surface->height()), std::pair(40, 40));
    EXPECT_TRUE(near_word(colour_to_word(surface->get_pixel(3, 3)), 0xFF0000, 3) && shown().empty());
    write_bytes(dir.file("short.bmp"), Bytes(bmp.begin(), bmp.end() - 1));
    EXPECT_EQ(ws::load_picture(*surface, dir.file("short.bmp").c_str()) * 10 + surface->width(), 25);
    EXPECT_TRUE(shown().empty());
}

// Files ImageMagick wrote (data/other_programs.txt says how) load exactly as the reference decoder read them.
TEST_F(Pictures, OtherProgramsFilesLoadExactlyAsTheirReferenceDecodesThem) {
    for (const testsupport::Fields& k : testsupport::read_cases("graphics/data/other_programs.txt")) {
        SCOPED_TRACE(k[0]);
        const Bytes want = data_file("other/" + k[0].substr(0, k[0].rfind('.')) + ".rgb");
        ASSERT_EQ(ws::load_picture(*surface, (kData + "other/" + k[0]).c_str()), 1);
        ASSERT_EQ(std::tuple(surface->width(), surface->height(), want.size()), std::tuple(37, 23, 37 * 23 * 3u));
        int wrong = 0;
        for (int32_t i = 0; i < 37 * 23; ++i) {
            const uint8_t* rgb = &want[size_t(i) * 3];
            wrong += surface->get_pixel(i % 37, i / 37) != (uint32_t(rgb[2]) << 16 | uint32_t(rgb[1]) << 8 | rgb[0]);
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(Pictures, BmpExportWritesTheExactBytes) {
    // Pixel (x, y) of the 5 x 2 surface: R = 0x10 + x, G = 0x20 + y, B = 0x30 + x + y (cases: data/bmp_export.txt).
    surface.reset(testsupport::surface_of(
        5, 2, [](int32_t x, int32_t y) { return 0x102030u + uint32_t(x * 0x10001 + y * 0x101); }, BIT_SCREEN));
    for (const DataRow& row : data_rows("bmp_export")) {
        const std::vector<int32_t> part = values<int32_t>(row[0]);  // x y width height asked for
        const uint32_t width = uint32_t(row[1][0]), height = uint32_t(row[1][1]), row_bytes = (width * 3 + 3) / 4 * 4;
        ASSERT_EQ(save_bmp(*surface, part[0], part[1], part[2], part[3]), 1);
        Bytes want = {'B', 'M'};
        for (uint32_t v : {54 + row_bytes * height, 0u, 54u, 40u, width, height, 0x180001u}) put(want, v, 4);
        want.resize(54, 0);
        const int32_t top = part[2] ? part[1] : 0;
        for (int32_t y = top + int32_t(height) - 1; y >= top; --y) {
            for (int64_t x : row[2])
                for (int shift : {0, 8, 16})
                    want.push_back(x < 0 ? 0xFF : uint8_t(colour_to_word(surface->get_pixel(int32_t(x), y)) >> shift));
            want.resize(want.size() + row_bytes - width * 3, 0);
        }
        EXPECT_EQ(read_bytes(graphics.bmp_name), want) << part[0] << "," << part[1];
    }
    // A file that cannot be created: nothing written, the cursor as it was.
    push_cursor(ws::IDC_ARROW);
    const int32_t depth = cursor_depth();
    const ws::Hcursor before = ws::get_cursor();
    std::strcpy(graphics.bmp_name, dir.file("no-such-folder/out.bmp").c_str());
    EXPECT_EQ(save_bmp(*surface, 0, 0, 0, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(graphics.bmp_name));
    EXPECT_EQ(std::pair(cursor_depth(), ws::get_cursor()), std::pair(depth, before));
}

}  // namespace
